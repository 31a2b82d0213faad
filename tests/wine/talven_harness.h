// Runs TALVEN.EXE under Wine as a user would: a copy of the program under a test's own name
// (so that it reads its own INI file and writes its own debug log), started on a script, its
// message boxes read and answered.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/support/win_driver.h"

struct MessageBoxSeen {
  std::string title;
  std::string text;
  std::vector<std::string> buttons;
};

class TalvenProgram {
 public:
  // Copies [program] (TALVEN.EXE, or MORPAX.EXE) to [name].EXE in the scratch folder and
  // switches its debug log on.
  explicit TalvenProgram(const std::string& name, const std::string& program = "TALVEN.EXE");
  ~TalvenProgram();

  // Starts the program with [arguments] in [directory] and waits for it to end, handling the
  // test thread's own window messages meanwhile. Every message box it shows is recorded and
  // answered with the button captioned [answer] ("OK" when [answers] runs out). False when it
  // did not end within [timeoutMs].
  bool Run(const std::string& arguments, const std::string& directory = "", std::vector<std::string> answers = {},
           DWORD timeoutMs = 20000);

  // Replaces the program's INI file (empty: no INI file at all).
  void SetIni(const std::string& contents);
  const std::string& LogPath() const { return log_; }

  // Called with every message box before it is answered.
  std::function<void(const MessageBoxSeen&)> onBox;

  std::string Log() const;
  // The value a DUMPVARIABLES() line wrote last for [name]; "<unset>" when none did.
  std::string DumpedVariable(const std::string& name) const;

  const std::string& ExePath() const { return exe_; }
  const std::string& Name() const { return name_; }
  std::vector<MessageBoxSeen> boxes;
  DWORD exitCode = 0;  // of the last run that ended

 private:
  std::string name_;
  std::string exe_;
  std::string log_;
  std::string ini_;
};

// C:\qstests\ with the test's own sub-folder [name] (created), ending in a backslash.
std::string ScratchFolder(const std::string& name);
void WriteFileBytes(const std::string& path, const std::string& bytes);
std::string ReadFileBytes(const std::string& path);
// Deletes [path] and everything below it, read-only entries too; a missing folder is no fault.
void RemoveTreeForTest(const std::string& path);
// The delayed moves the system holds for its next start, as its REG_MULTI_SZ value lists them:
// source, then target ("!" in front: it is replaced; empty: the source is deleted).
std::vector<std::string> PendingFileMoves();
// Forgets them: the next start of the test session's prefix would carry them out.
void ForgetPendingFileMoves();
// Lines joined with CR LF.
std::string ScriptLines(std::initializer_list<const char*> lines);
std::string Narrow(const std::wstring& text);
