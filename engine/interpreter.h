// The interpreter's context: every process-wide record of a run, passed explicitly to the
// lexer, the executor and every command handler.
#pragma once

#include <cstdint>
#include <string>

#include "engine/errors.h"
#include "engine/lexer.h"
#include "engine/platform.h"
#include "engine/script_files.h"
#include "engine/values.h"
#include "support/debug_log.h"

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

  // The Win32 program's windows (main window, copy gauge, wait message); the portable core
  // never looks inside.
  InstallerWindows* windows = nullptr;
  // What the Win32 command families keep for the run (the file search, the replacement queue).
  CommandState* commandState = nullptr;

  // Called before every line when the debugger is active; 2 ends the run.
  int (*debugLineHook)(Interpreter& ip) = nullptr;

  // Start-up decisions kept for the steps that use them.
  std::string debugFile;  // the debugger's settings file when /DEBUG was given
  int32_t restartMode = -1;
  bool linesExecuted = false;
};

void SetCurrentError(Interpreter& ip, int32_t code);
int32_t CurrentError(const Interpreter& ip);
