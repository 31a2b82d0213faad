// The interpreter's context: every process-wide record of a run, passed explicitly to the
// lexer, the executor and every command handler.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "engine/answers.h"
#include "engine/errors.h"
#include "engine/lexer.h"
#include "engine/platform.h"
#include "engine/run_outcome.h"
#include "engine/script_files.h"
#include "engine/values.h"
#include "support/debug_log.h"
#include "ui/user_objects.h"

struct CommandTable;
class InstallerWindows;
struct CommandState;

// The executor's copy of a line's tokens, handed to every command handler.
struct TokenLine {
  std::array<int32_t, kMaxTokens> tokens{};
  int cursor = 0;
  int paramNo = 0;
  int chain = 0;  // 1 after a condition that holds: the line's next statement runs too

  // The token at [index]; 0 (end of line) outside the array.
  int32_t At(int index) const { return index >= 0 && index < kMaxTokens ? tokens[static_cast<size_t>(index)] : 0; }
};

struct Interpreter {
  Interpreter(Platform& platform, DebugLog& log, const CommandTable& commands);

  Platform& platform;
  DebugLog& log;
  const CommandTable& commands;
  WindowsVersionInfo version;

  LineLexer lexer;
  TokenLine line;
  NumberStack numbers;
  StringStack strings;
  VariableStore variables;
  ScriptFileStack files;

  ErrorTrap trap;
  int32_t currentError = 0;
  int languageIndex = -1;  // -1 until detected or set
  // The backdrops, dialogs and cue cards the script has defined.
  UserObjectTable objects;

  // The Win32 program's windows (main window, copy gauge, wait message); the portable core
  // never looks inside.
  InstallerWindows* windows = nullptr;
  // What the Win32 command families keep for the run (the file search, the replacement queue).
  CommandState* commandState = nullptr;

  // Set when the copy gauge's Cancel has redirected the run to "GOTO :EXIT" (InjectExitJump),
  // until that statement runs.
  bool exitJumpPending = false;

  // Called before every line when the debugger is active; 2 ends the run.
  int (*debugLineHook)(Interpreter& ip) = nullptr;
  struct DebuggerState {
    std::string settingsFile;  // breakpoints and the window's place; empty: the debugger is off
    bool stepping = true;      // stop before the next line
    // The settings file's breakpoints as it held them when last read (upper-case keys), and
    // its size and write time then: it is read again whenever they change.
    std::set<std::string> breakpoints;
    uint64_t fileSize = 0, fileTime = 0;
    bool breakpointsRead = false;
  } debugger;

  // Start-up decisions kept for the steps that use them.
  int32_t restartMode = -1;
  bool linesExecuted = false;

  // Unattended installations: where the answers come from, where they are recorded (/RECORD:;
  // nullptr when not asked for), the installation log (/LOG:), and how the run is ending.
  AnswerSource answers;
  TextSink* answerRecord = nullptr;
  InstallLog installLog;
  RunOutcome outcome;
};

// Lets the debugger see the line just tokenised, before it runs (the main loop and the
// object-definition reader ask): true when the run was ended there and the line must not run.
inline bool DebuggerEndsRun(Interpreter& ip) { return ip.debugLineHook && ip.debugLineHook(ip) == 2; }

void SetCurrentError(Interpreter& ip, int32_t code);
int32_t CurrentError(const Interpreter& ip);
