// The interpreter run inside a Wine test process: the real Win32 platform, real windows and the
// whole command table, its debug log kept in memory, and script lines executed one at a time.
// A watcher answers message boxes from a second thread, so that a question the code under test
// should not ask cannot block the test.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "commands/command_state_win32.h"
#include "commands/replace_list_win32.h"
#include "engine/executor.h"
#include "talven/talven.h"
#include "talven/win32_platform.h"
#include "tests/native/fake_platform.h"
#include "ui/installer_windows_win32.h"

class InProcessRun {
 public:
  InProcessRun();
  // Tokenises and executes one statement; returns its result.
  int Line(const std::string& text);
  // Runs the script file [path] from its first line to its end, as the program would; returns
  // what opening it returned.
  int Script(const std::string& path);
  // Writes [lines] as the script [path] and runs it through the main loop with the variables as
  // they are (definition blocks read their lines from it); the windows stay afterwards.
  void RunLines(const std::string& path, std::initializer_list<const char*> lines);
  std::string Var(const std::string& name) const { return ip.variables.GetVariable(name); }
  const std::string& Log() const { return logBackend.text; }

  MemoryLogBackend logBackend;
  DebugLog log{logBackend};
  InstallerWindows windows;
  Win32Platform platform{windows};
  CommandTable table = InterpreterCommandTable();
  Interpreter ip{platform, log, table};
  ReplaceList replaceList;
  CommandState commandState;
};

// Answers every message box of this process with the button captioned [answer] and records
// the box texts, until destroyed.
class BoxWatch {
 public:
  explicit BoxWatch(const wchar_t* answer = L"&No");
  ~BoxWatch();
  std::vector<std::string> Texts();

 private:
  void Run();
  std::wstring answer_;
  std::atomic<bool> stop_{false};
  std::vector<std::string> texts_;
  CRITICAL_SECTION lock_;
  std::thread thread_;
};

// Sets the last-write time of [path] (UTC).
bool SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second);
SYSTEMTIME WriteTime(const std::string& path);  // UTC
// The folder of the test programs' sample files, with a trailing backslash.
std::string BinFolder();
// Where screenshots are kept: build/<preset>/artefacts/, created.
std::string ArtefactFolder();
// The bytes of a 24-bit bitmap file of [width] x [height] pixels, all of [colour].
std::string SolidBitmap(int width, int height, COLORREF colour);
