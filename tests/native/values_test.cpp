#include <gtest/gtest.h>

#include "engine/values.h"
#include "tests/native/fake_platform.h"

TEST(ValueStacks, ReadFrontToBackAndRefuseThe26th) {
  NumberStack numbers;
  numbers.Reset();
  for (int i = 0; i < 25; ++i) ASSERT_EQ(numbers.Push(i), 0);
  EXPECT_EQ(numbers.Push(99), 10008);
  EXPECT_EQ(numbers.Next(), 0);
  EXPECT_EQ(numbers.Next(), 1);
  StringStack strings;
  strings.Reset();
  ASSERT_EQ(strings.Push("a"), 0);
  ASSERT_EQ(strings.Push("b"), 0);
  EXPECT_EQ(strings.Next(), "a");
  EXPECT_EQ(strings.Next(), "b");
  EXPECT_EQ(strings.Next(), "");  // beyond the last value: empty, no error
  for (int i = 2; i < 25; ++i) ASSERT_EQ(strings.Push("x"), 0);
  EXPECT_EQ(strings.Push("26th"), 10007);
  strings.Reset();
  EXPECT_EQ(strings.Count(), 0);
  EXPECT_EQ(strings.Next(), "");
}

class Variables : public ::testing::Test {
 protected:
  std::map<std::string, std::string> env{{"PATH", "C:\\DOS"}, {"B", "from env"}};
  VariableStore store{[this](const std::string& name) {
    const auto it = env.find(name);
    return it == env.end() ? std::string() : it->second;
  }};
};

TEST_F(Variables, NamesAreCaseBlindAndEmptyRemoves) {
  EXPECT_EQ(store.SetVariable("a", "1"), 0);
  EXPECT_EQ(store.GetVariable("A"), "1");
  EXPECT_EQ(store.GetVariable("a"), "1");
  EXPECT_EQ(store.NameAt(0), "A");
  store.SetVariable("B", "mine");
  EXPECT_EQ(store.GetVariable("B"), "mine");
  store.SetVariable("B", "");
  EXPECT_EQ(store.GetVariable("B"), "from env");
  EXPECT_EQ(store.GetVariable("PATH"), "C:\\DOS");
  EXPECT_EQ(store.GetVariable("NONE"), "");
  EXPECT_EQ(store.SetVariable("NEVER", ""), 0);
  EXPECT_EQ(store.Highest(), 0);
}

TEST_F(Variables, RemovalLowersHighestPastHolesAndNewNamesFillTheLowestHole) {
  store.SetVariable("A", "1");
  store.SetVariable("B", "2");
  store.SetVariable("C", "3");
  store.SetVariable("B", "");
  EXPECT_EQ(store.Highest(), 2);
  store.SetVariable("C", "");
  EXPECT_EQ(store.Highest(), 0);  // past the hole that B left
  store.SetVariable("B", "2");
  store.SetVariable("D", "4");
  store.SetVariable("B", "");
  store.SetVariable("E", "5");
  EXPECT_EQ(store.NameAt(1), "E");
  EXPECT_EQ(store.Highest(), 2);
}

TEST_F(Variables, The129thVariableDoesNotFit) {
  for (int i = 0; i < 128; ++i) ASSERT_EQ(store.SetVariable("V" + std::to_string(i), "x"), 0);
  EXPECT_EQ(store.SetVariable("ONEMORE", "x"), 10017);
  EXPECT_EQ(store.GetVariable("ONEMORE"), "");
  EXPECT_EQ(store.SetVariable("V5", "changed"), 0);  // a known name still changes
  EXPECT_EQ(store.GetVariable("V5"), "changed");
}

TEST_F(Variables, NumbersAreDecimalTextReadByTheirLeadingNumber) {
  store.SetVariableNumber("N", -7);
  EXPECT_EQ(store.GetVariable("N"), "-7");
  store.SetVariable("M", "12abc");
  EXPECT_EQ(store.GetVariableNumber("M"), 12);
  store.SetVariable("M", "abc");
  EXPECT_EQ(store.GetVariableNumber("M"), 0);
  store.SetVariable("M", "  +42");
  EXPECT_EQ(store.GetVariableNumber("M"), 42);
}

TEST_F(Variables, DumpWritesTheBannerAndEveryVariableInSlotOrder) {
  MemoryLogBackend backend;
  DebugLog log(backend);
  store.SetVariable("ONE", "1");
  store.SetVariable("TWO", "2");
  store.SetVariable("ONE", "");
  store.SetVariable("THREE", "3");
  store.DumpVariables(log);
  EXPECT_NE(backend.text.find("\n*** Variables Dump ***\n\nTHREE=3\nTWO=2\n"), std::string::npos) << backend.text;
}
