#include <gtest/gtest.h>

#include <string>

#include "support/file_replace_win32.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

std::string ScratchDirectory() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string dir = EnsureBackslash(temp) + "qs_support_test";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

}  // namespace

TEST(ReadTextLine, LeavesTheFileJustAfterEachLine) {
  const std::string path = ScratchDirectory() + "\\lines.txt";
  WriteBytes(path, "first\r\nsecond\nstill second\r\n\r\nabcdefghij\r\nlast");
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char buffer[8];
  std::string lines;
  while (ReadTextLine(f, buffer, sizeof buffer)) lines += std::string("[") + buffer + "]";
  CloseHandle(f);
  EXPECT_EQ(lines, "[first][second\n][still s][econd][][abcdefg][hij][last]");
}

TEST(FileSearch, ExistsAndDeleteMatching) {
  const std::string dir = ScratchDirectory();
  WriteBytes(dir + "\\a1.tmp", "x");
  WriteBytes(dir + "\\a2.tmp", "y");
  WriteBytes(dir + "\\b.dat", "z");
  EXPECT_TRUE(FileExists(dir + "\\a*.tmp"));
  EXPECT_EQ(DeleteMatching(dir + "\\a*.tmp"), 2);
  EXPECT_FALSE(FileExists(dir + "\\a*.tmp"));
  EXPECT_TRUE(FileExists(dir + "\\b.dat"));
}

TEST(TempNames, AreFreshAndFollowTheClockPattern) {
  const std::string dir = ScratchDirectory();
  const std::string first = MakeTempName(dir);
  ASSERT_EQ(first.size(), dir.size() + 1 + 12);
  EXPECT_EQ(first.substr(first.size() - 4), ".TMP");
  WriteBytes(first, "taken");
  const std::string second = MakeTempName(dir);
  EXPECT_NE(first, second);
  DeleteFileA(first.c_str());
}

TEST(Registry, RootCodesAndReadSetting) {
  EXPECT_EQ(RegistryRoot(2), HKEY_CURRENT_USER);
  EXPECT_EQ(RegistryRoot(3), HKEY_LOCAL_MACHINE);
  EXPECT_EQ(RegistryRoot(1), HKEY_CLASSES_ROOT);
  EXPECT_EQ(RegistryRoot(99), HKEY_CLASSES_ROOT);
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\QsTest", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "Name", 0, REG_SZ, reinterpret_cast<const BYTE*>("value"), 6);
  RegCloseKey(key);
  EXPECT_EQ(ReadSetting(2, "Software\\QsTest", "Name", "default"), "value");
  EXPECT_EQ(ReadSetting(2, "Software\\QsTest", "Missing", "default"), "default");
  EXPECT_EQ(ReadSetting(2, "Software\\NoSuchKey", "Name", "default"), "default");
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\QsTest");
}

TEST(StagedFiles, ReplaceOnlyWhenCommitted) {
  const std::string dir = ScratchDirectory();
  const std::string target = dir + "\\settings.ini";
  WriteBytes(target, "old");
  const std::string staged = StagingNameFor(target);
  EXPECT_EQ(DirectoryPart(staged), EnsureBackslash(dir));
  const std::string other = StagingNameFor(target);  // each call reserves a name of its own
  EXPECT_NE(other, staged);
  DeleteFileA(other.c_str());
  WriteBytes(staged, "new");
  ASSERT_TRUE(CommitStagedFile(staged, target));
  EXPECT_EQ(GetFileAttributesA(staged.c_str()), INVALID_FILE_ATTRIBUTES);
  HANDLE f = CreateFileA(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  char bytes[8] = {};
  DWORD read = 0;
  ReadFile(f, bytes, sizeof bytes, &read, nullptr);
  CloseHandle(f);
  EXPECT_EQ(std::string(bytes, read), "new");

  // A target in a folder that does not exist: nothing moves, the staged file stays.
  const std::string orphan = StagingNameFor(target);
  EXPECT_FALSE(CommitStagedFile(orphan, dir + "\\missing\\x.ini"));
  EXPECT_NE(GetFileAttributesA(orphan.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileA(orphan.c_str());
  DeleteFileA(target.c_str());
}
