// Unattended installations through TALVEN.EXE under Wine: a person answers every page and box
// of a test installation while the run is recorded; the recording is replayed silently on a
// fresh machine and must install the same; a recording with gaps takes the defaults; an error
// and a wait that never ends finish with their exit codes. Every window of the program is
// watched: in a replay none may appear.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>

#include "support/text.h"
#include "tests/support/win_driver.h"
#include "tests/wine/talven_harness.h"
#include "ui/standard_templates.h"

namespace {

constexpr char kTitle[] = "Unattended Test";

struct Outcome {
  bool ended = false;
  DWORD exitCode = 0;
  DWORD elapsedMs = 0;
  std::vector<std::string> unexpected;  // texts of windows nobody was meant to see
};

// Runs [talven] with [arguments] and hands every dialog or message box it shows to [act] once;
// one that [act] does not take (or every one, without [act]) is noted and closed.
Outcome RunWatched(TalvenProgram& talven, const std::string& arguments,
                   const std::function<bool(HWND)>& act = nullptr, DWORD timeoutMs = 30000) {
  Outcome outcome;
  windriver::ChildProgram program;
  if (!program.Start("\"" + talven.ExePath() + "\" " + arguments)) return outcome;
  std::set<HWND> seen;
  const DWORD start = GetTickCount();
  while (!(outcome.ended = program.WaitForExit(20, &outcome.exitCode)) && GetTickCount() - start < timeoutMs) {
    for (HWND window : windriver::TopLevelWindows(program.Id(), "#32770", nullptr)) {
      if (!seen.insert(window).second) continue;
      if (act && act(window)) continue;
      outcome.unexpected.push_back(windriver::WindowTextA(window) + ": " +
                                   Narrow(windriver::MessageBoxText(window)));
      windriver::PostCommand(window, IDCANCEL);
    }
  }
  outcome.elapsedMs = GetTickCount() - start;
  return outcome;
}

void SetText(HWND control, const std::string& text) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_BLOCK, 5000, &result);
}

void Press(HWND dialog, int id) { windriver::PressButton(windriver::FindControl(dialog, id)); }

bool BoxSays(HWND box, const std::string& start) { return Narrow(windriver::MessageBoxText(box)).rfind(start, 0) == 0; }

// The person at the screen: what they do on each page and box of the test installation.
bool Person(HWND window) {
  if (windriver::FindControl(window, PAGE_ABOUT)) {  // WELCOME
    Press(window, IDOK);
  } else if (HWND path = windriver::FindControl(window, PAGE_PATH)) {  // ASKPATH
    SetText(path, "C:\\qstests\\unattended\\Chosen Target");
    Press(window, IDOK);
  } else if (windriver::FindControl(window, PAGE_CHECK1)) {  // CHECKBOX2: the examples too
    Press(window, PAGE_CHECK1 + 1);
    windriver::WaitUntil([&] { return windriver::IsChecked(windriver::FindControl(window, PAGE_CHECK1 + 1)); }, 5000);
    Press(window, IDOK);
  } else if (HWND owner = windriver::FindControl(window, 101)) {  // the script's own dialog
    SetText(owner, "Jo Admin");
    Press(window, IDOK);
  } else if (BoxSays(window, "Install the extras")) {
    Press(window, IDNO);
  } else if (BoxSays(window, "Setup is attempting to overwrite")) {
    Press(window, IDYES);
  } else if (BoxSays(window, "Installed in")) {
    Press(window, IDOK);
  } else {
    return false;
  }
  return true;
}

// Every file of [folder] (no sub-folders here) with its bytes.
std::map<std::string, std::string> FilesIn(const std::string& folder) {
  std::map<std::string, std::string> files;
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) return files;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files[entry.cFileName] = ReadFileBytes(folder + entry.cFileName);
  } while (FindNextFileA(search, &entry));
  FindClose(search);
  return files;
}

std::string RemoveBlock(std::string text, const std::string& header) {
  const size_t at = text.find(header);
  if (at == std::string::npos) return text;
  const size_t end = text.find("\r\n\r\n", at);
  return text.erase(at, end == std::string::npos ? std::string::npos : end + 4 - at);
}

class Unattended : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = ScratchFolder("unattended");
    chosen_ = dir_ + "Chosen Target\\";
    RemoveTreeForTest(dir_ + "Chosen Target");
    RemoveTreeForTest(dir_ + "Default Target");
    WriteFileBytes(dir_ + "README.TXT", "the new readme\r\n");
    HANDLE readme = CreateFileA((dir_ + "README.TXT").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const FILETIME old{0x2AC18000, 0x01C0E0C2};  // 2001: older than what the script writes
    SetFileTime(readme, nullptr, nullptr, &old);
    CloseHandle(readme);
    WriteFileBytes(dir_ + "INSTALL.QLS", Script());
  }

  std::string Script() const {
    const std::string source = dir_;
    return "SET %CAPTION% = \"" + std::string(kTitle) + "\"\r\n" +
           ScriptLines({"SET %MESSAGE1% = \"Welcome to the test installation.\"",
                        "SET %MESSAGE2% = \"Every page asks once.\"", "DIALOGBOX(\"WELCOME\")",
                        "IF %ERROR% != 1 GOTO :EXIT", "SET %MESSAGE1% = \"Where should it go?\"",
                        "SET %INSTALLPATH% = \"C:\\qstests\\unattended\\Default Target\"", "DIALOGBOX(\"ASKPATH\")",
                        "IF %ERROR% != 1 GOTO :EXIT", "SET %MESSAGE1% = \"Manual\"", "SET %MESSAGE2% = \"Examples\"",
                        "SET %BUTTON1% = 1", "SET %BUTTON2% = 0", "DIALOGBOX(\"CHECKBOX2\")",
                        "SET %OWNER% = \"Nobody\"", "CREATEDIALOG(\"OWNER\", \"Registration\", 20, 20, 160, 60)",
                        "CREATECONTROL(\"edit\", \"\", 101, 8, 8, 140, 12, 0, %OWNER%, 40)",
                        "CREATECONTROL(\"button\", \"OK\", 1, 8, 30, 50, 14, 0)", "ENDOBJECT()",
                        "DIALOGBOX(\"OWNER\")",
                        "MESSAGEBOX(\"Install the extras too?\", %CAPTION%, MB_YESNO, MB_ICONQUESTION)",
                        "SET %EXTRAS% = %ERROR%", "MKDIR(%INSTALLPATH%)", "SET %F% = \"%INSTALLPATH%\\README.TXT\"",
                        "OPEN(%F%, 1, WRITE)", "WRITELINE(1, \"the old readme\")", "CLOSE(1)"}) +
           "CONFIRMOVERWRITE(%F%, \"" + source + "README.TXT\", \"\", 0)\r\n" +
           "IF %ERROR% == 6 COPYFILE(\"" + source + "README.TXT\", %F%, 0)\r\n" +
           ScriptLines({"SET %INI% = \"%INSTALLPATH%\\ANSWERS.INI\"",
                        "WRITEPRIVATEPROFILESTRING(\"Answers\", \"Manual\", %BUTTON1%, %INI%)",
                        "WRITEPRIVATEPROFILESTRING(\"Answers\", \"Examples\", %BUTTON2%, %INI%)",
                        "WRITEPRIVATEPROFILESTRING(\"Answers\", \"Owner\", %OWNER%, %INI%)",
                        "WRITEPRIVATEPROFILESTRING(\"Answers\", \"Extras\", %EXTRAS%, %INI%)",
                        "MESSAGEBOX(\"Installed in|%INSTALLPATH%\", %CAPTION%, MB_OK, MB_ICONINFORMATION)",
                        ":EXIT"});
  }

  std::string Ini(const std::string& folder, const char* key) {
    char value[256] = "";
    GetPrivateProfileStringA("Answers", key, "<none>", value, sizeof value, (folder + "ANSWERS.INI").c_str());
    return value;
  }

  std::string dir_, chosen_;
};

}  // namespace

TEST_F(Unattended, WhatAPersonAnsweredIsReplayedSilentlyOnAFreshMachine) {
  TalvenProgram talven("TVUNATT");
  const std::string record = dir_ + "answers.txt", log = dir_ + "person.log", replayLog = dir_ + "replay.log";
  const std::string script = dir_ + "INSTALL.QLS";
  const Outcome person = RunWatched(talven, script + " /RECORD:" + record + " /LOG:" + log, Person);
  ASSERT_TRUE(person.ended);
  EXPECT_TRUE(person.unexpected.empty()) << person.unexpected.front();
  EXPECT_EQ(person.exitCode, 0u);
  const std::map<std::string, std::string> installed = FilesIn(chosen_);
  EXPECT_EQ(Ini(chosen_, "Examples"), "1");
  EXPECT_EQ(Ini(chosen_, "Owner"), "Jo Admin");
  EXPECT_EQ(Ini(chosen_, "Extras"), "7");
  EXPECT_EQ(ReadFileBytes(chosen_ + "README.TXT"), "the new readme\r\n");
  const std::string answers = ReadFileBytes(record);
  for (const char* block : {"[page ASKPATH 1]\r\nCAPTION = Unattended Test\r\nMESSAGE1 = Where should it go?\r\n"
                            "answer = 1\r\nset INSTALLPATH = C:\\qstests\\unattended\\Chosen Target\r\n",
                            "[dialog OWNER 1]\r\ncaption = Registration\r\nanswer = 1\r\nset OWNER = Jo Admin\r\n",
                            "[message 1]\r\ntitle = Unattended Test\r\ntext = Install the extras too?\r\nanswer = 7 (No)",
                            "[overwrite 1]\r\ntitle = Unattended Test\r\nexisting = C:\\qstests\\unattended\\Chosen "
                            "Target\\README.TXT\r\n"})
    EXPECT_NE(answers.find(block), std::string::npos) << block << "\n---\n" << answers;
  EXPECT_NE(ReadFileBytes(log).find("Answered by the user: page CHECKBOX2 1"), std::string::npos);

  // A fresh machine: nothing installed. The replay shows nothing and installs the same.
  RemoveTreeForTest(dir_ + "Chosen Target");
  const Outcome replay = RunWatched(talven, script + " /ANSWERS:" + record + " /s /LOG:" + replayLog);
  ASSERT_TRUE(replay.ended);
  EXPECT_TRUE(replay.unexpected.empty()) << replay.unexpected.front();
  EXPECT_EQ(replay.exitCode, 0u);
  EXPECT_EQ(FilesIn(chosen_), installed);
  const std::string replayed = ReadFileBytes(replayLog);
  EXPECT_NE(replayed.find("Answered from the answer file: overwrite 1"), std::string::npos) << replayed;
  EXPECT_NE(replayed.find("Answered from the answer file: message 1 \"Unattended Test\" \"Installed in^010"),
            std::string::npos);
  EXPECT_NE(replayed.find("Copied: C:\\qstests\\unattended\\Chosen Target\\README.TXT"), std::string::npos);
  EXPECT_NE(replayed.find("Verdict: 0 success"), std::string::npos);
  EXPECT_EQ(replayed.find("Answered by default"), std::string::npos);

  // Questions the file does not answer take their defaults, without being shown: the box its
  // Yes, the check-box page OK with the boxes as the script set them.
  std::string gaps = RemoveBlock(RemoveBlock(answers, "[message 1]"), "[page CHECKBOX2 1]");
  WriteFileBytes(dir_ + "gaps.txt", gaps);
  RemoveTreeForTest(dir_ + "Chosen Target");
  const Outcome defaults = RunWatched(talven, script + " /ANSWERS:" + dir_ + "gaps.txt /s /LOG:" + replayLog);
  ASSERT_TRUE(defaults.ended);
  EXPECT_TRUE(defaults.unexpected.empty()) << defaults.unexpected.front();
  EXPECT_EQ(Ini(chosen_, "Extras"), "6");
  EXPECT_EQ(Ini(chosen_, "Manual"), "1");
  EXPECT_EQ(Ini(chosen_, "Examples"), "0");
  EXPECT_EQ(Ini(chosen_, "Owner"), "Jo Admin");
  const std::string defaulted = ReadFileBytes(replayLog);
  EXPECT_NE(defaulted.find("Answered by default (nobody answers): page CHECKBOX2 1"), std::string::npos) << defaulted;
  EXPECT_NE(defaulted.find("Answered by default (nobody answers): message 1"), std::string::npos);
}

TEST_F(Unattended, AnErrorOrAWaitThatNeverEndsFinishesWithItsExitCode) {
  TalvenProgram talven("TVVERDICT");
  const std::string log = dir_ + "verdict.log";
  WriteFileBytes(dir_ + "ERROR.QLS", ScriptLines({"SET %A% = \"x\" + 1", "SET %B% = 1"}));
  // Answers from a file without /s, or /s with any of the new switches: the error box waits for
  // nobody.
  for (const char* switches : {" /ANSWERS:", " /s /LOG:"}) {
    const Outcome error = RunWatched(talven, dir_ + "ERROR.QLS" + switches + (switches[2] == 's' ? log : ""));
    ASSERT_TRUE(error.ended) << switches;
    EXPECT_TRUE(error.unexpected.empty()) << error.unexpected.front();
    EXPECT_EQ(error.exitCode, 2u) << switches;
  }
  EXPECT_NE(ReadFileBytes(log).find("Script error: Error 21 in line 1 of"), std::string::npos) << ReadFileBytes(log);

  // A window that never comes, a program that does not end: the time limit ends the run.
  const std::string sleeper = windriver::TestExecutableDirectory() + "qs_sleeper.exe 15000 0 " + dir_ + "slept.txt";
  for (const std::string& wait :
       {std::string("WAIT(\"No window has this title\", 0)"), "WINEXEC(\"" + sleeper + "\", 0, 1)"}) {
    WriteFileBytes(dir_ + "WAIT.QLS", ScriptLines({"SET %BEFORE% = 1"}) + wait + "\r\nSET %AFTER% = 1\r\n");
    const Outcome waited = RunWatched(talven, dir_ + "WAIT.QLS /s /TIMEOUT:2 /LOG:" + log);
    ASSERT_TRUE(waited.ended) << wait;
    EXPECT_EQ(waited.exitCode, 4u) << wait;
    EXPECT_LT(waited.elapsedMs, 12000u) << wait;
    const std::string text = ReadFileBytes(log);
    EXPECT_NE(text.find("Time limit of 2 seconds reached in line 2 of"), std::string::npos) << text;
    EXPECT_NE(text.find("Verdict: 4 timed out"), std::string::npos) << text;
  }
}
