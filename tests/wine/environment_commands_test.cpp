// The environment and start-up file commands: the process and registry environments, batch
// and configuration files on real volumes, and the same script on both Windows families.
#include <gtest/gtest.h>

#include "support/text.h"
#include "support/win32.h"
#include "tests/wine/config_test_support.h"

namespace {

constexpr const char* kSystemEnvironment = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";

// A registry value put back as it was when the test ends.
class SavedValue {
 public:
  SavedValue(HKEY root, std::string key, std::string name) : root_(root), key_(std::move(key)), name_(std::move(name)) {
    text_ = RegValueText(root_, key_, name_, &type_);
  }
  ~SavedValue() {
    if (text_ != "<none>") {
      SetRegText(root_, key_, name_, text_, type_);
      return;
    }
    HKEY handle;
    if (RegOpenKeyExA(root_, key_.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
    RegDeleteValueA(handle, name_.c_str());
    RegCloseKey(handle);
  }

 private:
  HKEY root_;
  std::string key_, name_, text_;
  DWORD type_ = REG_SZ;
};

}  // namespace

TEST(EnvironmentCommands, ProcessAndRegistryEnvironments) {
  SavedValue systemVar(HKEY_LOCAL_MACHINE, kSystemEnvironment, "QSVAR");
  SavedValue userVar(HKEY_CURRENT_USER, "Environment", "QSVAR");
  SetEnvironmentVariableA("QSPROCESS", "from the process");
  InProcessRun run;
  run.Line("GETENVIRON(0, \"QSPROCESS\", %P1%)");
  run.Line("GETENVIRON(0, \"QSNOSUCHVARIABLE\", %P2%)");
  EXPECT_EQ(run.Var("P1"), "from the process");
  EXPECT_EQ(run.Var("P2"), "");
  ASSERT_EQ(run.Line("SETENVIRON(1, \"\", \"QSVAR\", \"system\")"), 0);
  ASSERT_EQ(run.Line("SETENVIRON(2, \"ignored.bat\", \"QSVAR\", \"user\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(RegValueText(HKEY_LOCAL_MACHINE, kSystemEnvironment, "QSVAR"), "system");
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, "Environment", "QSVAR"), "user");
  EXPECT_FALSE(FileExists("ignored.bat"));
  run.Line("GETENVIRON(1, \"QSVAR\", %R1%)");
  run.Line("GETENVIRON(2, \"QSVAR\", %R2%)");
  EXPECT_EQ(run.Var("R1"), "system");
  EXPECT_EQ(run.Var("R2"), "user");
  ASSERT_EQ(run.Line("SETENVIRON(2, \"\", \"QSVAR\", \"\")"), 0);
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, "Environment", "QSVAR"), "<none>");
  // An empty name removes nothing (it would otherwise take the whole key).
  ASSERT_EQ(run.Line("SETENVIRON(1, \"\", \"\", \"\")"), 0);
  EXPECT_EQ(RegValueText(HKEY_LOCAL_MACHINE, kSystemEnvironment, "QSVAR"), "system");
  // Other places do nothing.
  run.ip.variables.SetVariable("KEEP", "kept");
  ASSERT_EQ(run.Line("SETENVIRON(7, \"\", \"QSVAR\", \"x\")"), 0);
  ASSERT_EQ(run.Line("GETENVIRON(7, \"QSVAR\", %KEEP%)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(run.Var("KEEP"), "kept");
}

TEST(EnvironmentCommands, AddPathToARegistryPath) {
  SavedValue systemPath(HKEY_LOCAL_MACHINE, kSystemEnvironment, "Path");
  SavedValue userPath(HKEY_CURRENT_USER, "Environment", "Path");
  const std::string windows = WindowsDirectory();
  SetRegText(HKEY_CURRENT_USER, "Environment", "Path", "%SystemRoot%\\lv");
  InProcessRun run;
  ASSERT_EQ(run.Line("ADDPATH(2, \"\", \"C:\\Program Files\\LV\")"), 0);
  ASSERT_EQ(run.Line("ADDPATH(2, \"\", \"c:\\program files\\lv\")"), 0);
  DWORD type = 0;
  EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, "Environment", "Path", &type), windows + "\\lv;C:\\Program Files\\LV");
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  // A long path of REG_EXPAND_SZ keeps all of itself and its type.
  std::string longPath = "%SystemRoot%\\system32;%SystemRoot%";
  for (int n = 0; longPath.size() < 400; ++n) longPath += ";C:\\Tools" + std::to_string(n) + "\\%QSTOOL%";
  SetRegText(HKEY_LOCAL_MACHINE, kSystemEnvironment, "Path", longPath, REG_EXPAND_SZ);
  ASSERT_EQ(run.Line("ADDPATH(1, \"\", \"C:\\LV\")"), 0);
  std::string expected = longPath;
  ReplaceAll(expected, "%SystemRoot%", windows, true);
  EXPECT_EQ(RegValueText(HKEY_LOCAL_MACHINE, kSystemEnvironment, "Path", &type), expected + ";C:\\LV");
  EXPECT_EQ(type, static_cast<DWORD>(REG_EXPAND_SZ));
  const std::string exported = RegeditExport(std::string("HKEY_LOCAL_MACHINE\\") + kSystemEnvironment);
  EXPECT_NE(UpperAscii(exported).find("\"PATH\"=HEX(2):43,00,3A,00,5C,00"), std::string::npos) << exported;
}

TEST(EnvironmentCommands, BatchFileLines) {
  const std::string dir = FreshFolder("batch");
  InProcessRun run;
  run.ip.variables.SetVariable("B", dir + "AUTOEXEC.BAT");
  WriteFileBytes(dir + "AUTOEXEC.BAT", "@ECHO OFF\r\n  set temp=C:\\OLD  \r\nSET PATH=C:\\DOS\r\n");
  auto error = [&](const std::string& line) {
    EXPECT_EQ(run.Line(line), 0) << line;
    return run.Var("ERROR");
  };
  EXPECT_EQ(error("SETENVIRON(0, %B%, \"TEMP\", \"C:\\TMP\")"), "0");
  EXPECT_EQ(error("SETENVIRON(0, %B%, \"LVHOME\", \"C:\\LV\")"), "0");
  EXPECT_EQ(error("SETENVIRON(0, %B%, \"LVHOME\", \"\")"), "0");
  EXPECT_EQ(error("ADDPATH(0, %B%, \"C:\\LV\")"), "0");
  EXPECT_EQ(error("ADDPATH(0, %B%, \"c:\\lv\")"), "0");
  EXPECT_EQ(ReadFileBytes(dir + "AUTOEXEC.BAT"),
            "@ECHO OFF\r\nSET TEMP=C:\\TMP\r\nSET PATH=C:\\DOS;C:\\LV\r\nSET LVHOME=C:\\LV\r\n");

  EXPECT_EQ(error("SETENVIRON(0, \"" + dir + "NEW.BAT\", \"A\", \"1\")"), "0");
  EXPECT_EQ(ReadFileBytes(dir + "NEW.BAT"), "SET A=1\r\n");
  EXPECT_EQ(error("ADDPATH(0, \"" + dir + "PATH.BAT\", \"C:\\LV\")"), "0");
  EXPECT_EQ(ReadFileBytes(dir + "PATH.BAT"), "PATH=C:\\LV\r\n");
  EXPECT_EQ(error("SETENVIRON(0, \"" + dir + "NODIR\\NEW.BAT\", \"A\", \"1\")"), "3");

  // A read-only batch file, and one whose new content does not fit on its volume, stay as they were.
  WriteFileBytes(dir + "RO.BAT", "SET A=1\r\n");
  SetFileAttributesA((dir + "RO.BAT").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(error("SETENVIRON(0, \"" + dir + "RO.BAT\", \"A\", \"2\")"), "1");
  EXPECT_EQ(error("ADDPATH(0, \"" + dir + "RO.BAT\", \"C:\\LV\")"), "1");
  EXPECT_EQ(ReadFileBytes(dir + "RO.BAT"), "SET A=1\r\n");
  SetFileAttributesA((dir + "RO.BAT").c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!FillSmallVolume(12 * 1024)) GTEST_SKIP() << "drive S: is not the session's small volume (run as root)";
  std::string big;
  while (big.size() < 7000) big += "REM line " + std::to_string(big.size()) + "\r\n";
  WriteFileBytes("S:\\AUTOEXEC.BAT", big);
  EXPECT_EQ(error("SETENVIRON(0, \"S:\\AUTOEXEC.BAT\", \"A\", \"1\")"), "2");
  EXPECT_EQ(ReadFileBytes("S:\\AUTOEXEC.BAT"), big);
  DeleteMatching("S:\\*");
}

TEST(EnvironmentCommands, ChangeConfigRaisesValuesAndKeepsABackup) {
  const std::string dir = FreshFolder("config");
  const std::string config = dir + "CONFIG.SYS";
  const std::string original = "DEVICE=C:\\DOS\\HIMEM.SYS\r\nfiles=20\r\n";
  WriteFileBytes(config, original);
  SetWriteTime(config, 1996, 5, 4, 3, 2, 2);
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  const DWORD attributes = GetFileAttributesA(config.c_str());
  InProcessRun run;
  run.ip.variables.SetVariable("C", config);
  ASSERT_EQ(run.Line("CHANGECONFIG(%C%, 30, 15, %BACKUP%, %CHANGES%, 0)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("CHANGES"), "2");
  EXPECT_EQ(run.Var("BACKUP"), dir + "CONFIG.001");
  EXPECT_EQ(ReadFileBytes(config), "DEVICE=C:\\DOS\\HIMEM.SYS\r\nfiles=30\r\nBUFFERS=15\r\n");
  EXPECT_EQ(GetFileAttributesA(config.c_str()), attributes);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_HIDDEN);
  EXPECT_EQ(ReadFileBytes(dir + "CONFIG.001"), original);
  EXPECT_EQ(WriteTime(dir + "CONFIG.001").wYear, 1996);
  // Nothing to raise: the backup goes again, its name is still reported.
  ASSERT_EQ(run.Line("CHANGECONFIG(%C%, 10, 15, %BACKUP%, %CHANGES%, 0)"), 0);
  EXPECT_EQ(run.Var("CHANGES"), "0");
  EXPECT_EQ(run.Var("BACKUP"), dir + "CONFIG.002");
  EXPECT_FALSE(FileExists(dir + "CONFIG.002"));
  SetFileAttributesA(config.c_str(), FILE_ATTRIBUTE_NORMAL);

  run.ip.variables.SetVariable("N", dir + "NEW.SYS");
  ASSERT_EQ(run.Line("CHANGECONFIG(%N%, 30, 15, %BACKUP%, %CHANGES%, 0)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_FALSE(FileExists(dir + "NEW.SYS"));
  ASSERT_EQ(run.Line("CHANGECONFIG(%N%, 30, 0, %BACKUP%, %CHANGES%, 1)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(run.Var("CHANGES"), "1");
  EXPECT_EQ(run.Var("BACKUP"), "");
  EXPECT_EQ(ReadFileBytes(dir + "NEW.SYS"), "FILES=30\r\n");

  // Without room for its backup the file is left alone.
  if (!FillSmallVolume(2 * 1024)) GTEST_SKIP() << "drive S: is not the session's small volume (run as root)";
  std::string big = "files=20\r\n";
  while (big.size() < 3000) big += "REM " + std::to_string(big.size()) + "\r\n";
  WriteFileBytes("S:\\CONFIG.SYS", big);
  ASSERT_EQ(run.Line("CHANGECONFIG(\"S:\\CONFIG.SYS\", 30, 0, %BACKUP%, %CHANGES%, 0)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("CHANGES"), "0");
  EXPECT_EQ(run.Var("BACKUP"), "");
  EXPECT_EQ(ReadFileBytes("S:\\CONFIG.SYS"), big);
  EXPECT_FALSE(FileExists("S:\\CONFIG.001"));
  EXPECT_NE(run.Log().find("the backup 'S:\\CONFIG.001' of 'S:\\CONFIG.SYS' could not be made"), std::string::npos);
  // Room for the backup but not for the new content: the file stays, and so does nothing else.
  FillSmallVolume(5000);
  WriteFileBytes("S:\\CONFIG.SYS", big);
  ASSERT_EQ(run.Line("CHANGECONFIG(\"S:\\CONFIG.SYS\", 30, 0, %BACKUP%, %CHANGES%, 0)"), 0);
  EXPECT_EQ(run.Var("CHANGES"), "0");
  EXPECT_EQ(ReadFileBytes("S:\\CONFIG.SYS"), big);
  EXPECT_FALSE(FileExists("S:\\CONFIG.001"));
  EXPECT_NE(run.Log().find("failed; 'S:\\CONFIG.SYS' is unchanged"), std::string::npos);
  DeleteMatching("S:\\*");
}

// The commands take no different way by family; the files they rewrite do (the Windows 95
// family has no replacing move), and so does a key the user may only read: Windows 95 has no
// key security, and Wine lets a program that it reports as Windows 95 open any key for writing.
TEST(EnvironmentCommands, TheSameScriptOnBothWindowsFamilies) {
  const std::string key = "Software\\QsFamilyReadOnly";
  MakeReadOnlyKey(key);
  for (const char* version : {"win95", "winxp"}) {
    const std::string name = std::string("TVENV") + (version[3] == '9' ? "95" : "XP");
    const std::string versionKey = "Software\\Wine\\AppDefaults\\" + name + ".EXE";
    SetRegText(HKEY_CURRENT_USER, versionKey, "Version", version);
    const std::string dir = FreshFolder("family_" + name);
    WriteFileBytes(dir + "AUTOEXEC.BAT", "@echo off\r\nset temp=c:\\old\r\n");
    WriteFileBytes(dir + "CONFIG.SYS", "FILES=20\r\n");
    WriteFileBytes(dir + "SYSTEM.INI", "[drivers]\r\nwave=a.drv\r\n\r\n[boot]\r\n");
    WriteFileBytes(dir + "F.QLS", "SET %D% = \"" + dir + "\"\r\nTRAPERROR(1, 0)\r\n" +
                                      ScriptLines({"SETENVIRON(0, \"%D%AUTOEXEC.BAT\", \"TEMP\", \"C:\\TMP\")",
                                                   "SET %E1% = %ERROR%",
                                                   "ADDPATH(0, \"%D%AUTOEXEC.BAT\", \"C:\\LV\")",
                                                   "SET %E2% = %ERROR%",
                                                   "CHANGECONFIG(\"%D%CONFIG.SYS\", 30, 20, %BACKUP%, %CHANGES%, 0)",
                                                   "WRITEMULTIPROFILESTRING(\"drivers\", \"wave\", \"lv.drv\", \"%D%SYSTEM.INI\")",
                                                   "SET %E4% = %ERROR%",
                                                   "SETENVIRON(2, \"\", \"QSFAMILY\", \"%D%\")",
                                                   "GETENVIRON(2, \"QSFAMILY\", %G%)",
                                                   "REGGETSETTING(2, \"Software\\QsFamilyReadOnly\", \"Name\", \"default\", %RO%)",
                                                   "SETENVIRON(2, \"\", \"QSFAMILY\", \"\")",
                                                   "DUMPVARIABLES()"}));
    TalvenProgram talven(name);
    ASSERT_TRUE(talven.Run(dir + "F.QLS")) << version;
    EXPECT_EQ(talven.DumpedVariable("E1") + talven.DumpedVariable("E2") + talven.DumpedVariable("E4"), "001") << version;
    EXPECT_EQ(talven.DumpedVariable("CHANGES"), "2") << version;
    EXPECT_EQ(talven.DumpedVariable("G"), dir) << version;
    EXPECT_EQ(talven.DumpedVariable("RO"), version[3] == '9' ? "stored" : "default") << version;
    EXPECT_EQ(ReadFileBytes(dir + "AUTOEXEC.BAT"), "@echo off\r\nSET TEMP=C:\\TMP\r\nPATH=C:\\LV\r\n") << version;
    EXPECT_EQ(ReadFileBytes(dir + "CONFIG.SYS"), "FILES=30\r\nBUFFERS=20\r\n") << version;
    EXPECT_EQ(ReadFileBytes(dir + "CONFIG.001"), "FILES=20\r\n") << version;
    EXPECT_EQ(ReadFileBytes(dir + "SYSTEM.INI"), "[drivers]\r\nwave=a.drv\r\nwave=lv.drv\r\n\r\n[boot]\r\n") << version;
    EXPECT_EQ(RegValueText(HKEY_CURRENT_USER, "Environment", "QSFAMILY"), "<none>");
    // No work file is left beside the edited files.
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*.TMP").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << version << " left " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveRegTree(HKEY_CURRENT_USER, versionKey);
  }
  RemoveRegTree(HKEY_CURRENT_USER, key);
}
