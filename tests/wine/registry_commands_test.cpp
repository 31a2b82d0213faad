// The registry commands and helpers, and the shared-file counts, against Wine's registry; read
// back through the registry API and regedit.
#include <gtest/gtest.h>

#include "support/registry_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "tests/wine/config_test_support.h"

namespace {

constexpr const char* kTestKey = "Software\\QsRegTest";
constexpr const char* kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

}  // namespace

TEST(RegistryHelpers, StringsNumbersAndTrees) {
  RemoveRegTree(HKEY_CURRENT_USER, kTestKey);
  ASSERT_EQ(WriteRegString(2, kTestKey, "S", "text"), 0);
  DWORD type = 0;
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, kTestKey, "S", &type), "text");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  ASSERT_EQ(WriteRegNumber(2, kTestKey, "N", -5), 0);
  EXPECT_EQ(RegValueNumber(HKEY_CURRENT_USER, kTestKey, "N"), 0xFFFFFFFBL);
  EXPECT_EQ(ReadRegNumber(2, kTestKey, "N", 1), -5);
  EXPECT_EQ(ReadRegNumber(2, kTestKey, "S", 1), 1);  // not four bytes
  // A long string is read whole and cut at 255, or kept whole where it is to be written back.
  const std::string longText(300, 'L');
  SetRegText(HKEY_CURRENT_USER, kTestKey, "Long", longText, REG_EXPAND_SZ);
  EXPECT_EQ(ReadRegString(2, kTestKey, "Long", "d"), longText.substr(0, 255));
  EXPECT_EQ(ReadRegLongString(2, kTestKey, "Long", "d", &type), longText);
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(ReadRegString(2, kTestKey, "Missing", std::string(300, 'd')), std::string(300, 'd'));  // default whole
  bool opened = true;
  EXPECT_EQ(ReadRegString(2, "Software\\QsNoSuchKey", "S", "d", &opened), "d");
  EXPECT_FALSE(opened);

  SetRegText(HKEY_CURRENT_USER, std::string(kTestKey) + "\\Sub\\Deeper", "x", "y");
  EXPECT_EQ(DeleteRegEntry(2, kTestKey, "S"), 0);
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, kTestKey, "S"), "<none>");
  EXPECT_EQ(DeleteRegEntry(2, "Software\\QsNoSuchKey", "S"), 1);
  EXPECT_EQ(DeleteRegTree(HKEY_CURRENT_USER, ""), ERROR_BADKEY);
  EXPECT_EQ(DeleteRegTree(HKEY_CURRENT_USER, kTestKey), ERROR_SUCCESS);
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kTestKey));
}

TEST(RegistryCommands, ValuesAndKeysByRootCode) {
  RemoveRegTree(HKEY_CURRENT_USER, kTestKey);
  RemoveRegTree(HKEY_CLASSES_ROOT, "QsRegTest.File");
  InProcessRun run;
  ASSERT_EQ(run.Line("REGWRITESETTING(2, \"Software\\QsRegTest\\Sub\", \"Name\", \"value\")"), 0);
  ASSERT_EQ(run.Line("REGWRITEINT(2, \"Software\\QsRegTest\", \"Count\", 42)"), 0);
  ASSERT_EQ(run.Line("REGWRITESETTING(1, \"QsRegTest.File\", \"\", \"A test file\")"), 0);
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, "Software\\QsRegTest\\Sub", "Name"), "value");
  EXPECT_EQ(RegValueNumber(HKEY_CURRENT_USER, kTestKey, "Count"), 42);
  EXPECT_EQ(RegValueText(HKEY_CLASSES_ROOT, "QsRegTest.File", ""), "A test file");
  const std::string exported = RegeditExport("HKEY_CURRENT_USER\\Software\\QsRegTest");
  EXPECT_NE(exported.find("\"Count\"=dword:0000002a"), std::string::npos) << exported;
  EXPECT_NE(exported.find("[HKEY_CURRENT_USER\\Software\\QsRegTest\\Sub]\r\n\"Name\"=\"value\""), std::string::npos);

  run.Line("REGGETSETTING(2, \"Software\\QsRegTest\\Sub\", \"Name\", \"def\", %S1%)");
  run.Line("REGGETSETTING(2, \"Software\\QsRegTest\\Sub\", \"Missing\", \"def\", %S2%)");
  run.Line("REGGETINT(2, \"Software\\QsRegTest\", \"Count\", 7, %N1%)");
  run.Line("REGGETINT(2, \"Software\\QsRegTest\", \"Missing\", -7, %N2%)");
  EXPECT_EQ(run.Var("S1"), "value");
  EXPECT_EQ(run.Var("S2"), "def");
  EXPECT_EQ(run.Var("N1"), "42");
  EXPECT_EQ(run.Var("N2"), "-7");

  // An empty key name removes nothing; an empty value name the key with everything below.
  ASSERT_EQ(run.Line("REGDELETESETTING(2, \"\", \"\")"), 0);
  EXPECT_TRUE(RegKeyExists(HKEY_CURRENT_USER, "Software"));
  ASSERT_EQ(run.Line("REGDELETESETTING(2, \"Software\\QsRegTest\\Sub\", \"Name\")"), 0);
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, "Software\\QsRegTest\\Sub", "Name"), "<none>");
  ASSERT_EQ(run.Line("REGDELETESETTING(2, \"Software\\QsRegTest\", \"\")"), 0);
  EXPECT_FALSE(RegKeyExists(HKEY_CURRENT_USER, kTestKey));
  ASSERT_EQ(run.Line("REGDELETESETTING(1, \"QsRegTest.File\", \"\")"), 0);
  EXPECT_FALSE(RegKeyExists(HKEY_CLASSES_ROOT, "QsRegTest.File"));
}

// Wine checks a key's access list on the NT family: opening for writing fails where its users
// may only read, so the read that asks for write access too gives the default. (A subkey made
// through a path from the root is not checked against the list of the key above it.)
TEST(RegistryCommands, AKeyTheUserMayOnlyReadGivesTheDefault) {
  const std::string key = std::string(kTestKey) + "ReadOnly";
  MakeReadOnlyKey(key);
  ASSERT_EQ(RegValueText(HKEY_CURRENT_USER, key, "Name"), "stored");  // readable
  InProcessRun run;
  run.Line("REGGETSETTING(2, \"" + key + "\", \"Name\", \"default\", %S%)");
  run.Line("REGGETINT(2, \"" + key + "\", \"Number\", 99, %N%)");
  EXPECT_EQ(run.Var("S"), "default");
  EXPECT_EQ(run.Var("N"), "99");
  EXPECT_EQ(run.Line("REGWRITESETTING(2, \"" + key + "\", \"Name\", \"x\")"), ERR_REGISTRY_CREATE_FAILED);
  EXPECT_EQ(run.Line("REGWRITEINT(2, \"" + key + "\", \"Number\", 1)"), ERR_REGISTRY_CREATE_FAILED);
  EXPECT_EQ(RegValueNumber(HKEY_CURRENT_USER, key, "Number"), 7);
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, key, "Name"), "stored");
  RemoveRegTree(HKEY_CURRENT_USER, key);
}

TEST(SharedCounts, ProductsCountASharedFileOnceEach) {
  const std::string dir = FreshFolder("shared");
  const std::string there = UpperAscii(dir + "there.dll"), absent = UpperAscii(dir + "absent.dll");
  WriteFileBytes(there, "dll");
  for (const char* product : {"SOFTWARE\\QsCo\\One", "SOFTWARE\\QsCo\\Two", "SOFTWARE\\QsCo\\Old"})
    RemoveRegTree(HKEY_LOCAL_MACHINE, product);
  RemoveRegTree(HKEY_CURRENT_USER, "SOFTWARE\\QsCo");
  HKEY shared;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSharedDlls, 0, KEY_ALL_ACCESS, &shared);
  RegDeleteValueA(shared, there.c_str());
  RegDeleteValueA(shared, absent.c_str());
  RegCloseKey(shared);
  InProcessRun run;
  run.ip.variables.SetVariable("THERE", dir + "there.dll");  // the commands upper-case the name
  run.ip.variables.SetVariable("ABSENT", absent);
  auto error = [&](const std::string& line) {
    EXPECT_EQ(run.Line(line), 0) << line;
    return run.Var("ERROR");
  };
  EXPECT_EQ(error("SETSHAREDREGISTRY(\"QsCo\", \"One\", \"ignored\")"), "");
  EXPECT_EQ(error("REGISTER(%THERE%)"), "2");  // the file was there: an unknown product uses it
  EXPECT_EQ(error("REGISTER(%THERE%)"), "2");
  EXPECT_EQ(error("REGISTER(%ABSENT%)"), "1");
  EXPECT_EQ(error("REGISTERSHARED(%THERE%, \"QsCo\", \"Two\")"), "3");
  EXPECT_EQ(RegValueNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\QsCo\\One\\SharedFiles", there), 1);
  EXPECT_EQ(error("GETSHARECOUNT(%THERE%)"), "3");
  const std::string exported = RegeditExport(std::string("HKEY_LOCAL_MACHINE\\") + kSharedDlls);
  std::string escaped = there;
  ReplaceAll(escaped, "\\", "\\\\", true);
  EXPECT_NE(exported.find("\"" + escaped + "\"=dword:00000003"), std::string::npos) << exported;

  // An older installation's mark in HKEY_CURRENT_USER counts, and moves to the machine's key.
  SetRegText(HKEY_CURRENT_USER, "SOFTWARE\\QsCo\\Old\\SharedFiles", "", "");
  HKEY old;
  RegOpenKeyExA(HKEY_CURRENT_USER, "SOFTWARE\\QsCo\\Old\\SharedFiles", 0, KEY_ALL_ACCESS, &old);
  const DWORD one = 1;
  RegSetValueExA(old, there.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(old);
  EXPECT_EQ(error("REGISTERSHARED(%THERE%, \"QsCo\", \"Old\")"), "3");
  EXPECT_EQ(RegValueNumber(HKEY_CURRENT_USER, "SOFTWARE\\QsCo\\Old\\SharedFiles", there), -1);
  EXPECT_EQ(RegValueNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\QsCo\\Old\\SharedFiles", there), 1);

  EXPECT_EQ(error("UNREGISTERSHARED(%THERE%, \"QsCo\", \"Never\")"), "3");  // not its file
  EXPECT_EQ(error("UNREGISTERSHARED(%THERE%, \"QsCo\", \"Two\")"), "2");
  EXPECT_EQ(error("UNREGISTERSHARED(%THERE%, \"QsCo\", \"Two\")"), "2");  // only once
  EXPECT_EQ(error("UNREGISTERSHARED(%THERE%, \"QsCo\", \"Old\")"), "1");
  // In use when its count reaches zero: the file stays and keeps its count for a later run.
  HANDLE inUse = CreateFileA(there.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(error("UNREGISTER(%THERE%)"), "0");
  CloseHandle(inUse);
  EXPECT_TRUE(FileExists(there));
  EXPECT_EQ(RegValueNumber(HKEY_LOCAL_MACHINE, kSharedDlls, there), 1);
  EXPECT_EQ(error("GETREGISTRYCOUNT(%THERE%)"), "1");
  // The last use going deletes the file and its count.
  EXPECT_EQ(error("UNREGISTER(%ABSENT%)"), "0");
  EXPECT_EQ(RegValueNumber(HKEY_LOCAL_MACHINE, kSharedDlls, absent), -1);
  EXPECT_EQ(RegValueNumber(HKEY_LOCAL_MACHINE, "SOFTWARE\\QsCo\\One\\SharedFiles", absent), -1);
  SetRegText(HKEY_LOCAL_MACHINE, "SOFTWARE\\QsCo\\One\\SharedFiles", "", "");
  HKEY mark;
  RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\QsCo\\One\\SharedFiles", 0, KEY_ALL_ACCESS, &mark);
  RegSetValueExA(mark, there.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  RegCloseKey(mark);
  EXPECT_EQ(error("UNREGISTER(%THERE%)"), "0");
  EXPECT_FALSE(FileExists(there));
  EXPECT_EQ(RegValueNumber(HKEY_LOCAL_MACHINE, kSharedDlls, there), -1);
  RemoveRegTree(HKEY_LOCAL_MACHINE, "SOFTWARE\\QsCo");
  RemoveRegTree(HKEY_CURRENT_USER, "SOFTWARE\\QsCo");
}
