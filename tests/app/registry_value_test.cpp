// Reading registry values as the about box does: the NUL rule, numbers, and the failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>

#include "app/lumivane/registry_value.h"

namespace {

constexpr char kTestKey[] = "Software\\LumivaneTests\\Values";

class RegistryValue : public ::testing::Test {
 protected:
  void SetUp() override {
    RegCreateKeyExA(HKEY_CURRENT_USER, kTestKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_,
                    nullptr);
  }
  void TearDown() override {
    RegCloseKey(key_);
    RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey);
  }
  void SetBytes(const char* name, DWORD type, const void* data, DWORD size) {
    RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size);
  }
  std::string Read(const char* name, bool* found = nullptr) {
    std::string value = "untouched";
    const bool ok = GetKeyValue(HKEY_CURRENT_USER, kTestKey, name, value);
    if (found) *found = ok;
    return value;
  }
  HKEY key_ = nullptr;
};

TEST_F(RegistryValue, AStringReadsTheSameWithOrWithoutItsStoredNul) {
  const char path[] = "C:\\Tools\\msinfo32.exe";
  SetBytes("WithNul", REG_SZ, path, sizeof path);
  SetBytes("WithoutNul", REG_SZ, path, sizeof path - 1);
  EXPECT_EQ(Read("WithNul"), path);
  EXPECT_EQ(Read("WithoutNul"), path);
  SetBytes("Empty", REG_SZ, "", 0);
  bool found = false;
  EXPECT_EQ(Read("Empty", &found), "");
  EXPECT_TRUE(found);
}

TEST_F(RegistryValue, ANumberReadsAsHexadecimalHighestByteFirst) {
  const DWORD number = 0x1020304;
  SetBytes("Number", REG_DWORD, &number, sizeof number);
  EXPECT_EQ(Read("Number"), "&h01020304");
  const DWORD small = 300;  // its top byte is 0 and falls under the NUL rule
  SetBytes("Small", REG_DWORD, &small, sizeof small);
  EXPECT_EQ(Read("Small"), "&h00012C");
}

TEST_F(RegistryValue, OtherTypesLeaveTheTextAsItWas) {
  const char bytes[] = {1, 2, 3};
  SetBytes("Binary", REG_BINARY, bytes, sizeof bytes);
  bool found = false;
  EXPECT_EQ(Read("Binary", &found), "untouched");
  EXPECT_TRUE(found);
}

TEST_F(RegistryValue, AMissingKeyOrValueOrAnOversizedValueFailsWithAnEmptyText) {
  bool found = true;
  EXPECT_EQ(Read("Missing", &found), "");
  EXPECT_FALSE(found);
  std::string value = "x";
  EXPECT_FALSE(GetKeyValue(HKEY_CURRENT_USER, "Software\\LumivaneTests\\NoSuchKey", "PATH", value));
  EXPECT_EQ(value, "");
  const std::string big(2000, 'a');
  SetBytes("Big", REG_SZ, big.c_str(), static_cast<DWORD>(big.size() + 1));
  EXPECT_EQ(Read("Big", &found), "");
  EXPECT_FALSE(found);
}

}  // namespace
