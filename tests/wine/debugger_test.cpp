// The script debugger as a script writer uses it: TALVEN.EXE started with /DEBUG under Wine,
// its "Debug" window found on the screen, both lists read, the buttons pressed, and afterwards
// what the script did (the variables it dumped) and what the settings file holds (read back as
// plain bytes). A screenshot of the window on the bundled installation script is kept.
#include <gtest/gtest.h>

#include <algorithm>

#include <windows.h>

#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"
#include "ui/debugger_view.h"

namespace {

constexpr DWORD kWindowWaitMs = 20000;

// TALVEN.EXE running a script under the debugger, driven from the test.
class DebuggedRun {
 public:
  explicit DebuggedRun(const std::string& name) : talven(name) {}

  // Starts the interpreter on [script] (a full path) in the script's folder.
  // [parameters] reach the script in PARAMETERS.
  bool Start(const std::string& script, const std::string& settingsFile, const std::string& parameters = "") {
    script_ = script;
    DeleteFileA(talven.LogPath().c_str());
    return program_.Start("\"" + talven.ExePath() + "\" " + script + parameters + " /DEBUG:" + settingsFile,
                          script.substr(0, script.rfind('\\')));
  }

  // The next Debug window of the script file [path] ("" for the started script); nullptr
  // when none came.
  HWND Window(const std::string& path = "") {
    const std::string title = "Debug - " + (path.empty() ? script_ : path);
    HWND found = nullptr;
    windriver::WaitUntil([&] {
      for (HWND w : windriver::TopLevelWindows(program_.Id(), "#32770", title.c_str()))
        if (GetDlgItem(w, DEBUG_SCRIPT_LIST)) found = w;
      return found != nullptr;
    }, kWindowWaitMs);
    if (found) windriver::WaitUntil([&] { return IsWindowVisible(found) != FALSE; }, kWindowWaitMs);
    return found;
  }

  // Presses a button that closes the window and waits until it has gone.
  void Close(HWND window, int id) {
    windriver::PressButton(GetDlgItem(window, id));
    EXPECT_TRUE(windriver::WaitForWindowGone(window, kWindowWaitMs));
  }

  // Presses a button that keeps the window open and shows no message, and returns when the
  // window has handled it (the click is sent, not posted).
  static void Press(HWND window, int id) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(GetDlgItem(window, id), BM_CLICK, 0, 0, SMTO_NORMAL, 5000, &ignored);
  }

  // The message box the window showed, answered with OK; its text.
  std::string Notice(HWND window) {
    std::string text = "<no box>";
    char title[300] = "";
    GetWindowTextA(window, title, sizeof title);
    windriver::WaitUntil([&] {
      for (HWND box : windriver::TopLevelWindows(program_.Id(), "#32770", title)) {
        if (GetDlgItem(box, DEBUG_SCRIPT_LIST)) continue;
        text = Narrow(windriver::MessageBoxText(box));
        windriver::PressButton(windriver::FindControlByText(box, "Button", L"OK"));
        windriver::WaitForWindowGone(box, 5000);
        return true;
      }
      return false;
    }, kWindowWaitMs);
    return text;
  }

  bool Ended() { return program_.WaitForExit(kWindowWaitMs); }

  TalvenProgram talven;

 private:
  windriver::ChildProgram program_;
  std::string script_;
};

HWND ScriptList(HWND window) { return GetDlgItem(window, DEBUG_SCRIPT_LIST); }
int LineCount(HWND window) { return static_cast<int>(SendMessageA(ScriptList(window), LB_GETCOUNT, 0, 0)); }
int SelectedLine(HWND window) { return windriver::SelectedItem(ScriptList(window)) + 1; }

std::vector<std::string> Commands(HWND window) {
  std::vector<std::string> entries;
  for (const std::wstring& item : windriver::ItemTexts(GetDlgItem(window, DEBUG_COMMAND_LIST)))
    entries.push_back(Narrow(item));
  return entries;
}

// The first [n] entries (fewer when there are fewer).
std::vector<std::string> First(const std::vector<std::string>& entries, size_t n) {
  return std::vector<std::string>(entries.begin(), entries.begin() + static_cast<long>(std::min(n, entries.size())));
}

bool Holds(const std::vector<std::string>& entries, const std::string& entry) {
  return std::find(entries.begin(), entries.end(), entry) != entries.end();
}

// The background colour of script line [line] as the screen shows it: a pixel at the right
// end of its row, where no text reaches.
COLORREF LineColourNow(HWND window, int line) {
  HWND list = ScriptList(window);
  const int top = static_cast<int>(SendMessageA(list, LB_GETTOPINDEX, 0, 0));
  const int height = static_cast<int>(SendMessageA(list, LB_GETITEMHEIGHT, 0, 0));
  RECT client;
  GetClientRect(list, &client);
  POINT at{client.right - 4, (line - 1 - top) * height + height / 2};
  if (at.y < 0 || at.y >= client.bottom) return CLR_INVALID;
  RedrawWindow(list, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  ClientToScreen(list, &at);
  windriver::Picture picture;
  if (!windriver::CaptureScreenRect({at.x, at.y, at.x + 1, at.y + 1}, picture)) return CLR_INVALID;
  return picture.Pixel(0, 0);
}

// The colour of [line] once the list has repainted: the window belongs to another process, so
// its repaint after a button press comes when that process gets to it.
COLORREF LineColour(HWND window, int line, COLORREF expected) {
  COLORREF seen = CLR_INVALID;
  windriver::WaitUntil([&] { return (seen = LineColourNow(window, line)) == expected; }, 5000);
  return seen;
}

std::string Settings(const std::string& path) { return ReadFileBytes(path); }
bool HasLine(const std::string& text, const std::string& line) {
  return ("\r\n" + text).find("\r\n" + line + "\r\n") != std::string::npos;
}

}  // namespace

TEST(Debugger, StepsThroughAScriptShowingTheStatementsValuesAndEveryVariable) {
  const std::string folder = ScratchFolder("dbgstep");
  const std::string script = folder + "STEP.QLS";
  const std::string settings = folder + "STEP.DDB";
  DeleteFileA(settings.c_str());
  WriteFileBytes(script, ScriptLines({"SET %NAME% = \"Quill\"", "SET %GREETING% = UCASE(%NAME%)",
                                      "SET %N% = 41 + 1", "SET %AFTER% = 1", "DUMPVARIABLES()"}));
  DebuggedRun run("TVDBSTEP");
  ASSERT_TRUE(run.Start(script, settings));

  HWND w = run.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(LineCount(w), 5);
  EXPECT_EQ(SelectedLine(w), 1);
  EXPECT_EQ(LineColour(w, 1, RGB(255, 255, 0)), RGB(255, 255, 0));  // the line about to run
  EXPECT_EQ(LineColour(w, 2, RGB(255, 255, 255)), RGB(255, 255, 255));
  std::vector<std::string> c = Commands(w);
  EXPECT_EQ(First(c, 5),
            (std::vector<std::string>{"Parameters", "  NAME = ''", "  'Quill'", "Variables", "  ERROR = '0'"}));
  run.Close(w, DEBUG_STEP);

  w = run.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 2);
  c = Commands(w);
  EXPECT_EQ(First(c, 4),
            (std::vector<std::string>{"Parameters", "  GREETING = ''", "  NAME = 'Quill'", "Variables"}));
  // Enter steps too.
  PostMessageA(ScriptList(w), WM_KEYDOWN, VK_RETURN, 0);
  ASSERT_TRUE(windriver::WaitForWindowGone(w, kWindowWaitMs));

  w = run.Window();
  ASSERT_NE(w, nullptr);
  c = Commands(w);
  EXPECT_EQ(First(c, 4),
            (std::vector<std::string>{"Parameters", "  N = ''", "  41", "  1"}));
  EXPECT_TRUE(Holds(c, "  GREETING = 'QUILL'"));
  run.Close(w, DEBUG_RUN);  // no breakpoints: the script runs to its end

  ASSERT_TRUE(run.Ended());
  // The statements ran with the values the window had shown.
  EXPECT_EQ(run.talven.DumpedVariable("GREETING"), "QUILL");
  EXPECT_EQ(run.talven.DumpedVariable("N"), "42");
  EXPECT_EQ(run.talven.DumpedVariable("AFTER"), "1");
}

TEST(Debugger, BreakpointsAreKeptPerScriptFileFromOneRunToTheNext) {
  const std::string folder = ScratchFolder("dbgbreak");
  const std::string main = folder + "MAIN.QLS";
  const std::string sub = folder + "SUB.QLS";
  const std::string settings = folder + "BREAK.DDB";
  WriteFileBytes(main, ScriptLines({"SET %M1% = 1", "CALL \"SUB.QLS\"", "SET %M3% = 1", "DUMPVARIABLES()"}));
  WriteFileBytes(sub, ScriptLines({"SET %S1% = 1", "SET %S2% = 1", "SET %S3% = 1"}));
  WriteFileBytes(settings, "[BreakPoints]\r\n" + sub + ":2=1\r\n");
  DebuggedRun run("TVDBBRK");
  ASSERT_TRUE(run.Start(main, settings));

  HWND w = run.Window();
  ASSERT_NE(w, nullptr);
  run.Close(w, DEBUG_RUN);
  // The called file's breakpoint stops the run again, in a window of that file.
  w = run.Window(sub);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 2);
  EXPECT_EQ(LineCount(w), 3);
  EXPECT_EQ(LineColour(w, 2, RGB(255, 0, 0)), RGB(255, 0, 0));  // a breakpoint is red, also on the current line
  EXPECT_TRUE(Holds(Commands(w), "  S1 = '1'"));
  // Break Point twice on line 3 leaves no key; once more sets it.
  ASSERT_TRUE(windriver::SelectItem(ScriptList(w), 2));
  DebuggedRun::Press(w, DEBUG_BREAK_POINT);
  EXPECT_TRUE(HasLine(Settings(settings), sub + ":3=1"));
  EXPECT_EQ(LineColour(w, 3, RGB(255, 0, 0)), RGB(255, 0, 0));
  DebuggedRun::Press(w, DEBUG_BREAK_POINT);
  EXPECT_EQ(Settings(settings).find(sub + ":3"), std::string::npos);
  EXPECT_EQ(LineColour(w, 3, RGB(255, 255, 255)), RGB(255, 255, 255));
  DebuggedRun::Press(w, DEBUG_BREAK_POINT);
  run.Close(w, DEBUG_RUN);

  w = run.Window(sub);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 3);
  run.Close(w, DEBUG_RUN);  // line 3 of MAIN.QLS is another line: no stop there
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.DumpedVariable("M3"), "1");
  const std::string kept = Settings(settings);
  EXPECT_TRUE(HasLine(kept, sub + ":2=1"));
  EXPECT_TRUE(HasLine(kept, sub + ":3=1"));
  EXPECT_EQ(kept.find(main + ":"), std::string::npos);

  // The next run stops at the same places.
  ASSERT_TRUE(run.Start(main, settings));
  w = run.Window();
  ASSERT_NE(w, nullptr);
  run.Close(w, DEBUG_RUN);
  w = run.Window(sub);
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 2);
  run.Close(w, DEBUG_CANCEL);  // the script ends here: nothing after it runs
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.Log().find("Variables Dump"), std::string::npos);
}

TEST(Debugger, SetNextCancelAndTheWindowsPlace) {
  const std::string folder = ScratchFolder("dbgnext");
  const std::string script = folder + "NEXT.QLS";
  const std::string settings = folder + "NEXT.DDB";
  DeleteFileA(settings.c_str());
  WriteFileBytes(script, ScriptLines({"SET %A% = 1", "SET %SKIPPED% = 1", "SET %B% = 2", "DUMPVARIABLES()"}));
  DebuggedRun run("TVDBNEXT");
  ASSERT_TRUE(run.Start(script, settings));

  HWND w = run.Window();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(windriver::SelectItem(ScriptList(w), 2));
  DebuggedRun::Press(w, DEBUG_SET_NEXT);
  EXPECT_EQ(LineColour(w, 3, RGB(255, 255, 0)), RGB(255, 255, 0));
  EXPECT_EQ(LineColour(w, 1, RGB(255, 255, 255)), RGB(255, 255, 255));
  const std::vector<std::string> c = Commands(w);
  EXPECT_EQ(First(c, 3), (std::vector<std::string>{"Parameters", "  B = ''", "  2"}));
  run.Close(w, DEBUG_STEP);

  w = run.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 4);
  const std::vector<std::string> variables = Commands(w);
  EXPECT_TRUE(Holds(variables, "  B = '2'"));
  EXPECT_FALSE(Holds(variables, "  A = '1'"));  // lines 1 and 2 never ran
  // The user moves and sizes the window; the settings file follows.
  SetWindowPos(w, nullptr, 100, 120, 640, 420, SWP_NOZORDER);
  EXPECT_TRUE(windriver::WaitUntil([&] { return HasLine(Settings(settings), "Right=740"); }, 5000));
  const std::string place = Settings(settings);
  for (const char* side : {"Top=120", "Left=100", "Bottom=540", "Right=740"}) EXPECT_TRUE(HasLine(place, side)) << side;
  // The close box is Cancel: the run ends before the dump.
  PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0);
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.Log().find("Variables Dump"), std::string::npos);

  // The next run opens the window where it was left. Breakpoints with absurd line numbers do
  // no harm, and Clear All removes them all.
  WriteFileBytes(settings, place + "[BreakPoints]\r\n" + script + ":99999999999999999999=1\r\n" + script +
                               ":-7=1\r\n" + script + ":0=1\r\n:=1\r\n");
  ASSERT_TRUE(run.Start(script, settings));
  w = run.Window();
  ASSERT_NE(w, nullptr);
  RECT r;
  GetWindowRect(w, &r);
  EXPECT_EQ(r.left, 100);
  EXPECT_EQ(r.top, 120);
  EXPECT_EQ(r.right, 740);
  EXPECT_EQ(r.bottom, 540);
  DebuggedRun::Press(w, DEBUG_CLEAR_ALL);
  const std::string cleared = Settings(settings);
  EXPECT_EQ(cleared.find("BreakPoints"), std::string::npos);
  EXPECT_TRUE(HasLine(cleared, "Left=100"));
  run.Close(w, DEBUG_RUN);
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.DumpedVariable("SKIPPED"), "1");
}

TEST(Debugger, UnwritableSettingsFilesLongLinesControlCharactersAndAHundredThousandLines) {
  const std::string folder = ScratchFolder("dbgbad");
  const std::string script = folder + "BIG.QLS";
  const std::string directory = folder + "ADIR";  // a settings file that is a directory
  CreateDirectoryA(directory.c_str(), nullptr);
  const std::string longLine = "SET %LONG% = \"" + std::string(285, 'w') + "\"";  // 300 characters
  std::string text = ScriptLines({"SET %CTRL% = \"a^9b^13^10c\"", longLine.c_str(), "SET %SKIPPED% = 1"});
  for (int line = 4; line < 99999; ++line) text += "// filler " + std::to_string(line) + "\r\n";
  text += ScriptLines({"DUMPVARIABLES()", "SET %LAST% = 1"});
  WriteFileBytes(script, text);
  DebuggedRun run("TVDBBAD");
  ASSERT_TRUE(run.Start(script, directory));

  HWND w = run.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(LineCount(w), 100000);
  run.Close(w, DEBUG_STEP);
  w = run.Window();
  ASSERT_NE(w, nullptr);
  const std::vector<std::string> c = Commands(w);
  ASSERT_GE(c.size(), 3u);
  EXPECT_EQ(c[2], "  '" + std::string(285, 'w') + "'");
  EXPECT_TRUE(Holds(c, "  CTRL = 'a^009b^013^010c'"));
  windriver::PressButton(GetDlgItem(w, DEBUG_BREAK_POINT));
  const std::string notice = run.Notice(w);
  EXPECT_NE(notice.find(directory), std::string::npos) << notice;
  EXPECT_NE(notice.find("cannot be written"), std::string::npos) << notice;
  run.Close(w, DEBUG_STEP);

  // Far down the long list: the next statement becomes line 99,999.
  w = run.Window();
  ASSERT_NE(w, nullptr);
  ASSERT_TRUE(windriver::SelectItem(ScriptList(w), 99998));
  DebuggedRun::Press(w, DEBUG_SET_NEXT);
  EXPECT_EQ(LineColour(w, 99999, RGB(255, 255, 0)), RGB(255, 255, 0));
  run.Close(w, DEBUG_STEP);
  w = run.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 100000);
  run.Close(w, DEBUG_RUN);
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.DumpedVariable("LONG"), std::string(285, 'w'));
  EXPECT_EQ(run.talven.DumpedVariable("SKIPPED"), "<unset>");

  // A read-only settings file: read as it is, never changed; the run goes on.
  const std::string small = folder + "SMALL.QLS";
  const std::string readOnly = folder + "RO.DDB";
  WriteFileBytes(small, ScriptLines({"SET %A% = 1", "SET %B% = 2", "DUMPVARIABLES()"}));
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
  const std::string kept = "[BreakPoints]\r\n" + small + ":2=1\r\n";
  WriteFileBytes(readOnly, kept);
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_TRUE(run.Start(small, readOnly));
  w = run.Window();
  ASSERT_NE(w, nullptr);
  run.Close(w, DEBUG_RUN);
  w = run.Window();  // its breakpoint is read
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), 2);
  SetWindowPos(w, nullptr, 50, 60, 600, 400, SWP_NOZORDER);
  windriver::PressButton(GetDlgItem(w, DEBUG_CLEAR_ALL));
  EXPECT_NE(run.Notice(w).find("cannot be written"), std::string::npos);
  run.Close(w, DEBUG_RUN);
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.DumpedVariable("B"), "2");
  EXPECT_EQ(ReadFileBytes(readOnly), kept);
  SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Debugger, TheWindowOnTheBundledInstallationScript) {
  const std::string folder = ScratchFolder("dbgshot");
  const std::string script = folder + "SETUP.QLS";
  const std::string settings = folder + "SETUP.DDB";
  const std::string bundled = ReadFileBytes(BinFolder() + "BUNDLED.QLS");
  WriteFileBytes(script, bundled);
  WriteFileBytes(folder + "ENGLISH.QLS", ReadFileBytes(BinFolder() + "BUNDLED_ENGLISH.QLS"));
  // A breakpoint where the script decides whether there is room for the files.
  const size_t decision = bundled.find("IF %FREE% < %NEEDED%");
  ASSERT_NE(decision, std::string::npos);
  const long line = 1 + std::count(bundled.begin(), bundled.begin() + static_cast<long>(decision), '\n');
  WriteFileBytes(settings, "[BreakPoints]\r\n" + script + ":" + std::to_string(line) + "=1\r\n[Window]\r\nTop=40\r\n"
                           "Left=40\r\nBottom=520\r\nRight=760\r\n");
  DebuggedRun run("TVDBSHOT");
  ASSERT_TRUE(run.Start(script, settings, " /s"));  // unattended: no page stands before the check
  HWND w = run.Window();
  ASSERT_NE(w, nullptr);
  run.Close(w, DEBUG_RUN);
  w = run.Window();
  ASSERT_NE(w, nullptr);
  EXPECT_EQ(SelectedLine(w), line);
  const std::vector<std::string> c = Commands(w);
  ASSERT_GE(c.size(), 3u);
  EXPECT_EQ(c[1].rfind("  FREE = '", 0), 0u) << c[1];
  EXPECT_EQ(c[2].rfind("  NEEDED = '1", 0), 0u) << c[2];  // 1000 or 1300 kilobytes, by the parts chosen
  RedrawWindow(w, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_TRUE(windriver::SaveWindowBmp(w, ArtefactFolder() + "debugger_bundled_script.bmp"));
  run.Close(w, DEBUG_CANCEL);  // nothing is installed
  ASSERT_TRUE(run.Ended());
  EXPECT_EQ(run.talven.Log().find("MLine: 'MKDIR"), std::string::npos);
}
