// TALVEN.EXE started as a process on real scripts under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>

#include "engine/script_files.h"
#include "support/text.h"
#include "tests/wine/talven_harness.h"
#include "ui/text_table.h"

namespace {

std::string SetVersionFor(const std::string& exeName, const char* version) {
  const std::string key = "Software\\Wine\\AppDefaults\\" + exeName + ".EXE";
  HKEY handle;
  RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                 static_cast<DWORD>(strlen(version) + 1));
  RegCloseKey(handle);
  return key;
}

}  // namespace

TEST(Talven, RunsAScriptToItsEnd) {
  TalvenProgram talven("TVRUN");
  const std::string folder = ScratchFolder("run");
  WriteFileBytes(folder + "MAIN.QLS", ScriptLines({
                                          "SET %I% = 0",
                                          "WHILE %I% < 5",
                                          "  SET %I% = %I% + 1",
                                          "WEND",
                                          "IF #WINNT# == 0 SET %FAMILY% = \"not NT 4\"",
                                          "DUMPVARIABLES()",
                                      }));
  ASSERT_TRUE(talven.Run(folder + "MAIN.QLS"));
  EXPECT_TRUE(talven.boxes.empty());
  EXPECT_EQ(talven.DumpedVariable("I"), "5");
  EXPECT_EQ(talven.DumpedVariable("FAMILY"), "not NT 4");
  EXPECT_EQ(talven.DumpedVariable("SCRIPTFILE"), folder + "MAIN.QLS");
  EXPECT_NE(talven.Log().find("MLine: 'WEND'"), std::string::npos);
}

TEST(Talven, AFailedLineIsShownInAMessageBoxAndEndsTheRun) {
  TalvenProgram talven("TVERR");
  const std::string folder = ScratchFolder("err");
  WriteFileBytes(folder + "ERR.QLS", ScriptLines({"SET %A% = 1", "SET %A% = \"x\" + 1", "SET %NEVER% = 1", "DUMPVARIABLES()"}));
  ASSERT_TRUE(talven.Run(folder + "ERR.QLS"));
  ASSERT_EQ(talven.boxes.size(), 1u);
  EXPECT_EQ(talven.boxes[0].title, "Setup");
  EXPECT_EQ(talven.boxes[0].text,
            "Error 21 in line 2 of c:\\qstests\\err\\err.qls, parameter 3:\n\nInvalid numeric parameter\n\nSET %A% = \"x\" + 1");
  EXPECT_EQ(talven.Log().find("NEVER"), std::string::npos);
}

TEST(Talven, TrappedErrorsGoIntoVariables) {
  TalvenProgram talven("TVTRAP");
  const std::string folder = ScratchFolder("trap");
  WriteFileBytes(folder + "TRAP.QLS", ScriptLines({"TRAPERROR(1, 0)", "GOTO :MISSING", "SET %AFTER% = %ERROR%",
                                                   "TRAPERROR(1, 1)", "GOTO :MISSING", "SET %SHOWN% = 1",
                                                   "DUMPVARIABLES()"}));
  ASSERT_TRUE(talven.Run(folder + "TRAP.QLS"));
  EXPECT_EQ(talven.DumpedVariable("AFTER"), "5");
  EXPECT_EQ(talven.DumpedVariable("SHOWN"), "1");
  ASSERT_EQ(talven.boxes.size(), 1u);  // only the second failure is shown
  EXPECT_NE(talven.boxes[0].text.find("Error 05 in line 5"), std::string::npos);
}

TEST(Talven, CallsScriptsInOtherDirectories) {
  TalvenProgram talven("TVCALL");
  const std::string main = ScratchFolder("call");
  const std::string other = ScratchFolder("call_other");
  WriteFileBytes(main + "MAIN.QLS", ScriptLines({"CALL \"C:\\qstests\\call_other\\SUB.QLS\"", "SET %BACK% = %SCRIPTFILE%",
                                                 "CALL \"LOCAL\"", "DUMPVARIABLES()"}));
  WriteFileBytes(other + "SUB.QLS", ScriptLines({"SET %INSUB% = %SCRIPTFILE%", "EXIT"}));
  WriteFileBytes(main + "LOCAL.SCR", ScriptLines({"SET %LOCAL% = \"found\""}));
  ASSERT_TRUE(talven.Run("MAIN.QLS", main));
  EXPECT_TRUE(talven.boxes.empty());
  EXPECT_EQ(talven.DumpedVariable("INSUB"), "C:\\qstests\\call_other\\SUB.QLS");
  EXPECT_EQ(talven.DumpedVariable("BACK"), main + "MAIN.QLS");
  EXPECT_EQ(talven.DumpedVariable("LOCAL"), "found");
}

TEST(Talven, ReadsScrambledScripts) {
  TalvenProgram talven("TVSCRAM");
  const std::string folder = ScratchFolder("scrambled");
  std::string plain = ScriptLines({"SET %A% = \"Scrambled Text\"", "GOTO :DONE", "SET %NEVER% = 1", ":DONE", "DUMPVARIABLES()"});
  ScrambleLine(plain);
  WriteFileBytes(folder + "S.QLS", std::string("\x00\x40", 2) + plain);
  ASSERT_TRUE(talven.Run(folder + "S.QLS"));
  EXPECT_TRUE(talven.boxes.empty());
  EXPECT_EQ(talven.DumpedVariable("A"), "Scrambled Text");
  EXPECT_EQ(talven.DumpedVariable("NEVER"), "<unset>");
}

TEST(Talven, ChecklabelReadsTheRealVolumeLabel) {
  TalvenProgram talven("TVLABEL");
  const std::string folder = ScratchFolder("label");
  WriteFileBytes(folder + "L.QLS", ScriptLines({"CHECKLABEL(\"L:\", \"qsdisk1\", \"Insert disk 1\")", "SET %FOUND% = %ERROR%",
                                                "SET %CAPTION% = \"Disk check\"",
                                                "CHECKLABEL(\"L:\", \"OTHER\", \"Insert the disk OTHER\")",
                                                "SET %OTHER% = %ERROR%", "DUMPVARIABLES()"}));
  ASSERT_TRUE(talven.Run(folder + "L.QLS", "", {"OK", "Cancel"}));
  EXPECT_EQ(talven.DumpedVariable("FOUND"), "1");
  EXPECT_EQ(talven.DumpedVariable("OTHER"), "2");
  ASSERT_EQ(talven.boxes.size(), 2u);  // asked again after OK, then cancelled
  EXPECT_EQ(talven.boxes[0].text, "Insert the disk OTHER");
  EXPECT_EQ(talven.boxes[0].title, "Disk check");
  EXPECT_EQ(talven.boxes[0].buttons.size(), 2u);
}

TEST(Talven, DirectoryWithBlanksInQuotesBecomesCurrent) {
  TalvenProgram talven("TVDIR");
  const std::string folder = ScratchFolder("dir with blanks");
  WriteFileBytes(folder + "D.QLS", ScriptLines({"DUMPVARIABLES()"}));
  ASSERT_TRUE(talven.Run("D.QLS \"/DIR:C:\\qstests\\dir with blanks\\\" first second third fourth fifth"));
  EXPECT_TRUE(talven.boxes.empty());
  EXPECT_EQ(talven.DumpedVariable("CURRENTDIRECTORY"), "C:\\QSTESTS\\DIR WITH BLANKS\\");
  EXPECT_EQ(talven.DumpedVariable("PARAMETERS"), "first second third fourth fifth");
  EXPECT_NE(talven.Log().find("Directory: 'C:\\QSTESTS\\DIR WITH BLANKS'"), std::string::npos);
}

TEST(Talven, AMissingScriptIsError52) {
  TalvenProgram talven("TVMISS");
  ASSERT_TRUE(talven.Run("NOSUCH.QLS", ScratchFolder("missing")));
  ASSERT_EQ(talven.boxes.size(), 1u);
  EXPECT_EQ(talven.boxes[0].text, "Error 52: Unable to find or open script file:\n\nNOSUCH.QLS");
}

TEST(Talven, PredefinedVariablesFollowTheWindowsFamily) {
  TalvenProgram nt("TVNT");
  TalvenProgram win95("TV95");
  const std::string ntKey = SetVersionFor("TVNT", "winxp");
  const std::string win95Key = SetVersionFor("TV95", "win95");
  const std::string folder = ScratchFolder("versions");
  WriteFileBytes(folder + "V.QLS", ScriptLines({"SET %V95% = #WIN95#", "SET %VER% = #WINVER#", "DUMPVARIABLES()"}));
  // The 16-bit system directory beside SYSTEM32, as the NT family has it.
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  const std::string system16 = std::string(windows) + "\\system";
  CreateDirectoryA(system16.c_str(), nullptr);
  WriteFileBytes(system16 + "\\probe.drv", "x");

  ASSERT_TRUE(nt.Run(folder + "V.QLS"));
  EXPECT_EQ(nt.DumpedVariable("V95"), "0");
  EXPECT_EQ(nt.DumpedVariable("VER"), "501");
  EXPECT_EQ(nt.DumpedVariable("SYSTEMDIRECTORY"), "C:\\WINDOWS\\SYSTEM\\");
  EXPECT_EQ(nt.DumpedVariable("SYSTEM32DIRECTORY"), "C:\\WINDOWS\\SYSTEM32\\");
  const std::string user = nt.DumpedVariable("CURRENTUSER");
  EXPECT_EQ(nt.DumpedVariable("ALLUSERS"), user.substr(0, user.rfind('\\', user.size() - 2) + 1) + "All Users\\");

  ASSERT_TRUE(win95.Run(folder + "V.QLS"));
  EXPECT_EQ(win95.DumpedVariable("V95"), "1");
  EXPECT_EQ(win95.DumpedVariable("VER"), "400");
  EXPECT_EQ(win95.DumpedVariable("ALLUSERS"), win95.DumpedVariable("CURRENTUSER"));
  EXPECT_NE(win95.DumpedVariable("PROGRAMFILES"), "<unset>");

  DeleteFileA((system16 + "\\probe.drv").c_str());
  RemoveDirectoryA(system16.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, ntKey.c_str());
  RegDeleteKeyA(HKEY_CURRENT_USER, win95Key.c_str());
}

TEST(Talven, OldWindowsFindsProgramFilesByCountry) {
  TalvenProgram talven("TV31");
  const std::string key = SetVersionFor("TV31", "win31");
  const std::string folder = ScratchFolder("win31");
  WriteFileBytes(folder + "V.QLS", ScriptLines({"DUMPVARIABLES()"}));
  WriteProfileStringA("Intl", "iCountry", "49");
  ASSERT_TRUE(talven.Run(folder + "V.QLS"));
  EXPECT_EQ(talven.DumpedVariable("PROGRAMFILES"), "C:\\Programme\\");
  EXPECT_EQ(talven.DumpedVariable("COMMONFILES"), "C:\\Common Files\\");
  WriteProfileStringA("Intl", "iCountry", nullptr);
  ASSERT_TRUE(talven.Run(folder + "V.QLS"));
  EXPECT_EQ(talven.DumpedVariable("PROGRAMFILES"), "C:\\Program Files\\");
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

TEST(Talven, StringResourcesAreTheCompiledInTexts) {
  HMODULE module = LoadLibraryExA((windriver::TestExecutableDirectory() + "TALVEN.EXE").c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  int checked = 0;
  for (int id = 0; id < 65536; ++id) {
    const char* expected = BuiltInText(id);
    if (!expected) continue;
    char buffer[1024];
    const int length = LoadStringA(module, static_cast<UINT>(id), buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, static_cast<size_t>(length > 0 ? length : 0)), expected) << "resource " << id;
    ++checked;
  }
  EXPECT_GT(checked, 350);
  FreeLibrary(module);
}

// A loop that never ends: the copy gauge keeps answering and painting, and its Cancel ends the
// loop at :EXIT within a fraction of a second.
TEST(Talven, CancelEndsAnEndlessLoopAndTheGaugeStaysAlive) {
  TalvenProgram talven("TVLOOP");
  talven.SetIni("");  // no trace: the loop runs at full speed
  const std::string folder = ScratchFolder("loop");
  WriteFileBytes(folder + "LOOP.QLS", ScriptLines({"SET %CAPTION% = \"Looping\"", "COPYFILE(10)", "SET %I% = 0",
                                                   "WHILE 1 == 1", "  SET %I% = %I% + 1", "WEND", ":EXIT",
                                                   "MESSAGEBOX(\"stopped after %I%\", \"Loop\", MB_OK, 0)", "EXIT"}));
  windriver::ChildProgram program;
  ASSERT_TRUE(program.Start("\"" + talven.ExePath() + "\" " + folder + "LOOP.QLS"));
  HWND gauge = windriver::WaitForWindow(program.Id(), "#32770", "Looping", 10000);
  ASSERT_NE(gauge, nullptr);
  Sleep(300);
  DWORD_PTR answer = 0;
  EXPECT_TRUE(SendMessageTimeoutA(gauge, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &answer)) << "the gauge hangs";
  RedrawWindow(gauge, nullptr, nullptr, RDW_INVALIDATE);
  Sleep(100);
  windriver::SaveWindowBmp(gauge, windriver::TestExecutableDirectory() + "talven_endless_loop_gauge.bmp");

  const DWORD pressed = GetTickCount();
  windriver::PressButton(GetDlgItem(gauge, IDCANCEL));
  HWND box = windriver::WaitForWindow(program.Id(), "#32770", "Loop", 5000);
  const DWORD took = GetTickCount() - pressed;
  ASSERT_NE(box, nullptr) << "Cancel did not reach :EXIT";
  EXPECT_LT(took, 500u);
  EXPECT_EQ(Narrow(windriver::MessageBoxText(box)).rfind("stopped after ", 0), 0u);
  EXPECT_FALSE(IsWindow(gauge));
  windriver::PressButton(windriver::FindControl(box, IDOK));
  EXPECT_TRUE(program.WaitForExit(5000));
  std::printf("Cancel to :EXIT in %lu ms\n", static_cast<unsigned long>(took));
}

TEST(Talven, ALineWithANulByteIsRefusedAndOnlyLineStartsAreLabels) {
  TalvenProgram talven("TVLINES");
  const std::string folder = ScratchFolder("lines");
  WriteFileBytes(folder + "ZERO.QLS", std::string("SET %B% = 1\0" "2\r\nDUMPVARIABLES()\r\n", 32));
  ASSERT_TRUE(talven.Run(folder + "ZERO.QLS"));
  ASSERT_EQ(talven.boxes.size(), 1u);
  EXPECT_EQ(talven.boxes[0].text, "Error 95 in line 1 of " + LowerAscii(folder) + "zero.qls:\n\nNUL character in line\n\nSET %B% = 1");
  EXPECT_EQ(talven.DumpedVariable("B"), "<no dump>");

  // ":TAIL" stands in a line longer than the reader's 65,534 bytes: it is no label.
  WriteFileBytes(folder + "LONG.QLS", ScriptLines({"TRAPERROR(1, 0)", "GOTO :TAIL", "SET %AFTER% = %ERROR%",
                                                   "DUMPVARIABLES()", "EXIT"}) +
                                          std::string(kMaxReadLine, 'x') + ":TAIL\r\nSET %WRONG% = 1\r\nDUMPVARIABLES()\r\n");
  ASSERT_TRUE(talven.Run(folder + "LONG.QLS"));
  EXPECT_TRUE(talven.boxes.empty());
  EXPECT_EQ(talven.DumpedVariable("AFTER"), "5");
  EXPECT_EQ(talven.DumpedVariable("WRONG"), "<unset>");
}
