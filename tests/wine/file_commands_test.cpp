// The file and directory commands of TALVEN.EXE against real files under Wine.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include "support/text.h"
#include "tests/wine/talven_harness.h"

namespace {

class FileCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = ScratchFolder("files");
    RemoveTreeForTest(folder + "work");
    work = folder + "work\\";
    CreateDirectoryA(work.c_str(), nullptr);
  }
  // Runs the script lines with %D% set to the work folder, then dumps the variables.
  std::string Run(std::initializer_list<const char*> lines, std::vector<std::string> answers = {}) {
    std::string script = "SET %D% = \"" + work + "\"\r\nTRAPERROR(1, 0)\r\n" + ScriptLines(lines) + "DUMPVARIABLES()\r\n";
    WriteFileBytes(folder + "F.QLS", script);
    EXPECT_TRUE(talven.Run(folder + "F.QLS", "", std::move(answers)));
    return talven.Log();
  }
  std::string Var(const std::string& name) { return talven.DumpedVariable(name); }
  TalvenProgram talven{"TVFILES"};
  std::string folder, work;
};

}  // namespace

TEST_F(FileCommands, ExistenceDeletionAndRenaming) {
  WriteFileBytes(work + "a.txt", "a");
  WriteFileBytes(work + "c.txt", "c");
  WriteFileBytes(work + "del1.tmp", "1");
  WriteFileBytes(work + "del2.tmp", "2");
  Run({"CHECKEXISTS(\"%D%a.txt\")", "SET %E1% = %ERROR%", "CHECKEXISTS(\"%D%none.txt\")", "SET %E2% = %ERROR%",
       "DELETE(\"%D%del*.tmp\")", "SET %E3% = %ERROR%", "DELETE(\"%D%del*.tmp\")", "SET %E4% = %ERROR%",
       "RENAME(\"%D%a.txt\", \"%D%b.txt\")", "SET %E5% = %ERROR%", "RENAME(\"%D%b.txt\", \"%D%c.txt\")",
       "SET %E6% = %ERROR%", "CHECKEXISTS(\"%D%*.tmp\")", "SET %E7% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "1");
  EXPECT_EQ(Var("E2"), "0");
  EXPECT_EQ(Var("E3"), "0");
  EXPECT_EQ(Var("E4"), "1");
  EXPECT_EQ(Var("E5"), "0");
  EXPECT_EQ(Var("E6"), "1");  // the new name exists
  EXPECT_EQ(Var("E7"), "0");
  EXPECT_EQ(ReadFileBytes(work + "b.txt"), "a");
  EXPECT_EQ(ReadFileBytes(work + "c.txt"), "c");
}

TEST_F(FileCommands, CheckexistsWithAPromptAsksUntilTheFileIsThere) {
  WriteFileBytes(work + "here.txt", "x");
  Run({"CHECKEXISTS(\"%D%here.txt\", \"never shown\")", "SET %E1% = %ERROR%", "SET %CAPTION% = \"Disks\"",
       "CHECKEXISTS(\"%D%disk2.id\", \"Please insert disk 2\")", "SET %E2% = %ERROR%"},
      {"OK", "Cancel"});
  EXPECT_EQ(Var("E1"), "1");
  EXPECT_EQ(Var("E2"), "2");
  ASSERT_EQ(talven.boxes.size(), 2u);
  EXPECT_EQ(talven.boxes[1].text, "Please insert disk 2");
  EXPECT_EQ(talven.boxes[1].title, "Disks");
}

TEST_F(FileCommands, DirectoriesAreMadeAndRemoved) {
  CreateDirectoryA((work + "tree").c_str(), nullptr);
  CreateDirectoryA((work + "tree\\sub").c_str(), nullptr);
  WriteFileBytes(work + "tree\\sub\\ro.txt", "r");
  SetFileAttributesA((work + "tree\\sub\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFileBytes(work + "tree\\plain.txt", "p");
  CreateDirectoryA((work + "keep").c_str(), nullptr);
  WriteFileBytes(work + "keep\\ro.txt", "r");
  SetFileAttributesA((work + "keep\\ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  WriteFileBytes(work + "keep\\gone.txt", "g");
  const std::string log = Run({"MKDIR(\"%D%one\\two\\three\")", "SET %E1% = %ERROR%", "MKDIR(\"%D%one\\two\\three\")",
                               "SET %E2% = %ERROR%", "RMDIR(\"%D%one\\two\\three\")", "SET %E3% = %ERROR%",
                               "RMDIR(\"%D%one\")", "SET %E4% = %ERROR%", "RMDIR(\"%D%tree\", 2)", "SET %E5% = %ERROR%",
                               "RMDIR(\"%D%keep\", 0)", "SET %E6% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("E2"), "1");  // it existed already
  EXPECT_EQ(Var("E3"), "0");
  EXPECT_EQ(Var("E4"), "1");  // not empty
  EXPECT_EQ(Var("E5"), "0");
  EXPECT_EQ(Var("E6"), "1");
  EXPECT_EQ(GetFileAttributesA((work + "tree").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(GetFileAttributesA((work + "keep\\ro.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA((work + "keep\\gone.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(log.find("MakeDirectoryRc: 0"), std::string::npos);
  EXPECT_NE(log.find("File: " + work + "tree\\sub\\ro.txt"), std::string::npos);
}

TEST_F(FileCommands, ChdirUpdatesTheCurrentDirectoryVariables) {
  CreateDirectoryA((work + "sub").c_str(), nullptr);
  Run({"CHDIR(\"%D%sub\\\\\")", "SET %E1% = %ERROR%", "SET %C1% = %CURRENTDIRECTORY%", "CHDIR(\"L:\\\")",
       "SET %C2% = %CURRENTDIRECTORY%", "SET %DRIVE% = %CURRENTDRIVE%", "CHDIR(\"%D%nosuch\")", "SET %E2% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("C1"), UpperAscii(work) + "SUB\\");
  EXPECT_EQ(Var("C2"), "L:\\");
  EXPECT_EQ(Var("DRIVE"), "L:");
  EXPECT_EQ(Var("E2"), "1");
}

TEST_F(FileCommands, AttributesAreSetAndRead) {
  WriteFileBytes(work + "attr.txt", "x");
  Run({"SETFILEATTR(\"%D%attr.txt\", 1, 1, 0, 1)", "GETFILEATTR(\"%D%attr.txt\", %RO%, %HI%, %SY%, %AR%)",
       "SET %E1% = %ERROR%", "SETFILEATTR(\"%D%attr.txt\", 0, 0, 0, 0)",
       "GETFILEATTR(\"%D%attr.txt\", %RO2%, %HI2%, %SY2%, %AR2%)", "GETFILEATTR(\"%D%none\", %X1%, %X2%, %X3%, %X4%)",
       "SET %E2% = %ERROR%", "SETFILEATTR(\"%D%attr.txt\", %RO%, 0, 0, 0)", "SET %E3% = %ERROR%"});
  EXPECT_EQ(Var("RO") + Var("HI") + Var("SY") + Var("AR"), "1101");
  EXPECT_EQ(Var("E1"), "0");
  // Wine reports the archive bit for every plain file (the Linux file system keeps none), so
  // only the other three show the cleared attributes.
  EXPECT_EQ(Var("RO2") + Var("HI2") + Var("SY2"), "000");
  EXPECT_EQ(Var("E2"), "1");
  EXPECT_EQ(Var("X1"), "<unset>");
  EXPECT_EQ(Var("E3"), "21");  // a variable where a number literal must stand
}

TEST_F(FileCommands, DatesTimesAndLengths) {
  WriteFileBytes(work + "d.txt", "date");
  WriteFileBytes(work + "k.bin", std::string(1024, 'k'));
  WriteFileBytes(work + "empty.bin", "");
  Run({"SETFILEDATE(\"%D%d.txt\", \"29/02/04\", \"DD/MM/YY\")", "SET %E1% = %ERROR%",
       "SETFILETIME(\"%D%d.txt\", \"13:45:21\", \"HH:XX:SS\")", "GETFILEDATETIME(\"%D%d.txt\", %DT%)",
       "GETFILEDATETIME(\"%D%d.txt\", %DAY%, \"DDDD MMMM DTT\")", "SETFILEDATE(\"%D%d.txt\", \"31/02/05\", \"DD/MM/YY\")",
       "SET %E2% = %ERROR%", "SETFILETIME(\"%D%d.txt\", \"25:00:00\", \"HH:XX:SS\")", "SET %E3% = %ERROR%",
       "GETFILEDATETIME(\"%D%none.txt\", %NONE%)", "SET %E4% = %ERROR%", "GETFILELENGTH(\"%D%k.bin\")",
       "SET %L1% = %ERROR%", "GETFILELENGTH(\"%D%empty.bin\")", "SET %L2% = %ERROR%", "GETFILELENGTH(\"%D%none\")",
       "SET %L3% = %ERROR%", "GETDATETIME(%TODAY%)"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("DT"), "29/02/2004 13:45:20");  // two-second resolution
  EXPECT_EQ(Var("DAY"), "Sunday February 29th");
  EXPECT_EQ(Var("E2"), "25");
  EXPECT_EQ(Var("E3"), "87");
  EXPECT_EQ(Var("E4"), "1");
  EXPECT_EQ(Var("NONE"), "<unset>");
  EXPECT_EQ(Var("L1"), "1024");
  EXPECT_EQ(Var("L2"), "0");
  EXPECT_EQ(Var("L3"), "-1");
  SYSTEMTIME now;
  GetLocalTime(&now);
  char today[16];
  snprintf(today, sizeof today, "%02d/%02d/%04d", now.wDay, now.wMonth, now.wYear);
  EXPECT_EQ(Var("TODAY"), today);
}

namespace {

double FreeKilobytes(const char* root) {
  ULARGE_INTEGER available, total, free;
  if (!GetDiskFreeSpaceExA(root, &available, &total, &free)) return -1;
  return static_cast<double>(free.QuadPart) / 1024;
}

}  // namespace

TEST_F(FileCommands, WriteTestsFreeSpaceAndVersions) {
  CopyFileA((windriver::TestExecutableDirectory() + "QSHELD.dll").c_str(), (work + "QSHELD.DLL").c_str(), FALSE);
  WriteFileBytes(work + "plain.txt", "no version");
  // Other programs write to the same disk meanwhile: the script's reading must lie between one
  // taken before and one taken after it.
  const double before = FreeKilobytes("L:\\");
  Run({"ISWRITEABLE(\"%D%\")", "SET %W1% = %ERROR%", "ISWRITEABLE(\"%D%nosuch\")", "SET %W2% = %ERROR%",
       "GETDISKSPACEK(\"L:\\\")", "SET %K% = %ERROR%", "GETDISKSPACE(\"L:\\\")", "SET %B% = %ERROR%",
       "GETFILEVERSION(\"%D%QSHELD.DLL\", %PAD%, %PLAIN%)", "SET %V1% = %ERROR%",
       "GETFILEVERSION(\"%D%plain.txt\", %P2%, %Q2%)", "SET %V2% = %ERROR%",
       "GETFILEVERSION(\"%D%none.dll\", %P3%, %Q3%)", "SET %V3% = %ERROR%"});
  EXPECT_EQ(Var("W1"), "1");
  EXPECT_EQ(Var("W2"), "0");
  const double after = FreeKilobytes("L:\\");
  // The single-precision result keeps 24 bits: compare within its rounding.
  const double rounding = std::max(before, after) / 1e6 + 1;
  EXPECT_GE(std::stod(Var("K")), std::min(before, after) - rounding);
  EXPECT_LE(std::stod(Var("K")), std::max(before, after) + rounding);
  EXPECT_EQ(Var("PAD"), "00001.00002.00003.00004");
  EXPECT_EQ(Var("PLAIN"), "1.2.3.4");
  EXPECT_EQ(Var("V1"), "0");
  EXPECT_EQ(Var("V2"), "2");
  EXPECT_EQ(Var("V3"), "1");
  EXPECT_EQ(Var("P2"), "<unset>");
}

TEST_F(FileCommands, SearchesWalkFilesOnly) {
  WriteFileBytes(work + "one.txt", "1");
  WriteFileBytes(work + "two.txt", "2");
  WriteFileBytes(work + ".hidden.txt", "h");
  CreateDirectoryA((work + "dir.txt").c_str(), nullptr);
  CreateDirectoryA((work + "onlydirs").c_str(), nullptr);
  CreateDirectoryA((work + "onlydirs\\x.d").c_str(), nullptr);
  Run({"FINDFIRST(\"%D%*.txt\", %F1%)", "SET %E1% = %ERROR%", "FINDNEXT(%F2%)", "SET %E2% = %ERROR%", "FINDNEXT(%F3%)",
       "SET %E3% = %ERROR%", "FINDNEXT(%F4%)", "SET %E4% = %ERROR%", "FINDFIRST(\"%D%onlydirs\\*.*\", %F5%)",
       "SET %E5% = %ERROR%", "FINDINPATH(\"notepad.exe\", %NP%)", "SET %E6% = %ERROR%",
       "FINDINPATH(\"no_such_program.exe\", %NONE%)", "SET %E7% = %ERROR%"});
  std::vector<std::string> found = {Var("F1"), Var("F2")};
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found[0], work + "one.txt");
  EXPECT_EQ(found[1], work + "two.txt");
  EXPECT_EQ(Var("E1") + Var("E2") + Var("E3") + Var("E4"), "0011");
  EXPECT_EQ(Var("F3"), "<unset>");
  EXPECT_EQ(Var("E5"), "1");
  EXPECT_EQ(UpperAscii(Var("NP")), "C:\\WINDOWS\\SYSTEM32\\NOTEPAD.EXE");
  EXPECT_EQ(Var("E6"), "1");
  EXPECT_EQ(Var("NONE"), "<unset>");
  EXPECT_EQ(Var("E7"), "0");
}

TEST_F(FileCommands, AppendfileAddsALineOnce) {
  WriteFileBytes(work + "open.txt", "first\r\nlast without end");
  Run({"APPENDFILE(\"C:\\APP\\BIN\", \"%D%new.txt\")", "APPENDFILE(\"C:\\APP\\BIN\", \"%D%new.txt\")",
       "APPENDFILE(\"second\", \"%D%new.txt\")", "APPENDFILE(\"added\", \"%D%open.txt\")",
       "APPENDFILE(\"first\", \"%D%open.txt\")", "APPENDFILE(\"x\", \"%D%nosuchdir\\f.txt\")", "SET %E1% = %ERROR%"});
  EXPECT_EQ(ReadFileBytes(work + "new.txt"), "C:\\APP\\BIN\r\nsecond\r\n");
  // The last line keeps its own text: the new line starts on a line of its own.
  EXPECT_EQ(ReadFileBytes(work + "open.txt"), "first\r\nlast without end\r\nadded\r\n");
  EXPECT_EQ(Var("E1"), "46");
}

TEST_F(FileCommands, ModulesInUseAreFoundInRunningPrograms) {
  const std::string dll = work + "QSHELD.DLL";
  const std::string twin = work + "other\\QSHELD.DLL";
  CreateDirectoryA((work + "other").c_str(), nullptr);
  CopyFileA((windriver::TestExecutableDirectory() + "QSHELD.dll").c_str(), dll.c_str(), FALSE);
  CopyFileA(dll.c_str(), twin.c_str(), FALSE);
  WriteFileBytes(work + "free.dll", "not loaded");
  windriver::ChildProgram holder;
  ASSERT_TRUE(holder.Start("\"" + windriver::TestExecutableDirectory() + "qs_module_holder.exe\" \"" + dll + "\""));
  Sleep(500);
  ASSERT_TRUE(holder.IsRunning());
  const std::string log = Run({"GETMODULEINUSE(\"%D%QSHELD.DLL\")", "SET %U1% = %ERROR%",
                               "GETMODULEINUSE(\"%D%other\\QSHELD.DLL\")", "SET %U2% = %ERROR%",
                               "GETMODULEINUSE(\"%D%free.dll\")", "SET %U3% = %ERROR%",
                               "GETMODULEINUSE(\"%D%none.dll\")", "SET %U4% = %ERROR%"});
  EXPECT_EQ(Var("U1"), "1");
  EXPECT_EQ(Var("U2"), "1");  // a library of the same name counts as in use
  EXPECT_EQ(Var("U3"), "0");
  EXPECT_EQ(Var("U4"), "0");
  EXPECT_NE(log.find("Doesn't exist, so can't be in use"), std::string::npos);
  EXPECT_NE(log.find("Opened, so checking task list"), std::string::npos);

  // The Windows 95 family walks the same lists through the tool-help functions.
  const std::string key = "Software\\Wine\\AppDefaults\\TVFILE95.EXE";
  HKEY handle;
  RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win95"), 6);
  RegCloseKey(handle);
  TalvenProgram win95("TVFILE95");
  WriteFileBytes(folder + "F95.QLS", "GETMODULEINUSE(\"" + twin + "\")\r\nSET %U5% = %ERROR%\r\n"
                                     "GETMODULEINUSE(\"" + work + "free.dll\")\r\nSET %U6% = %ERROR%\r\nDUMPVARIABLES()\r\n");
  ASSERT_TRUE(win95.Run(folder + "F95.QLS"));
  EXPECT_EQ(win95.DumpedVariable("U5"), "1");
  EXPECT_EQ(win95.DumpedVariable("U6"), "0");
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}
