// Script fixtures of the machine's commands (tests/scripts/win32), run by the real interpreter
// in the test process. Each is copied to C:\qstests\fixtures\TEST.QLS and run to its end; its
// "//> var NAME = VALUE" and "//> unset NAME" lines say what the variables hold afterwards
// (\n stands for a line feed).
#include <gtest/gtest.h>

#include <sstream>

#include "support/text.h"
#include "tests/wine/config_test_support.h"

namespace {

// The fixtures' folder as Windows sees the build machine's (drive Z: is its root).
std::string FixtureFolder() {
  std::string folder = std::string("Z:") + QS_WIN32_SCRIPT_FIXTURES + "/";
  ReplaceAll(folder, "/", "\\", true);
  return folder;
}

std::vector<std::string> FixtureNames() {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((FixtureFolder() + "*.qls").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

class MachineScript : public ::testing::TestWithParam<std::string> {};

}  // namespace

TEST_P(MachineScript, MeetsItsExpectations) {
  const std::string script = ReadFileBytes(FixtureFolder() + GetParam());
  ASSERT_FALSE(script.empty());
  const std::string path = FreshFolder("fixtures") + "TEST.QLS";
  WriteFileBytes(path, script);
  InProcessRun run;
  ASSERT_EQ(run.Script(path), 0);
  std::istringstream lines(script);
  std::string line;
  int checks = 0;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::istringstream words(line);
    std::string marker, verb, name;
    words >> marker >> verb >> name;
    if (marker != "//>") continue;
    ++checks;
    if (verb == "var") {
      const size_t equals = line.find(" = ");
      std::string expected = equals == std::string::npos ? "" : line.substr(equals + 3);
      ReplaceAll(expected, "\\n", "\n", true);
      EXPECT_EQ(run.Var(name), expected) << "variable " << name;
    } else if (verb == "unset") {
      EXPECT_EQ(run.Var(name), "") << "variable " << name;
    } else if (verb != "check") {  // "check" lines are the script checker's
      ADD_FAILURE() << "unknown directive: " << line;
    }
  }
  EXPECT_GT(checks, 0);
}

INSTANTIATE_TEST_SUITE_P(Win32, MachineScript, ::testing::ValuesIn(FixtureNames()),
                         [](const ::testing::TestParamInfo<std::string>& param) {
                           std::string name = param.param.substr(0, param.param.find('.'));
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(MachineScript);
