// The interpreter's main loop, and the start-up decisions that need no machine.
#pragma once

#include <string>
#include <vector>

#include "engine/interpreter.h"
#include "support/run_switches.h"

// Runs the open script from its next line until no script file is open any more.
void RunMainLoop(Interpreter& ip);

// What the command line asks for.
struct StartupOptions {
  std::string scriptName = "SETUP.QLS";
  std::string directory;   // upper-cased, without a trailing backslash past "C:\"; empty for none
  std::string debugFile;   // the debugger's settings file; empty when the debugger stays off
  std::string parameters;  // the further words, each followed by a blank, trailing blanks removed
  // The switches of unattended installations; they never reach the parameters. Silent means
  // "/s" or "-s" in the parameters, as the bootstrap and the scripts read them.
  RunSwitches switches;
};

// Reads the command line (the part after the program name). [setupWindowOpen]: the
// bootstrap's "Setup" window exists; [debugSetting]: the program's "Run"/"Debug" setting.
StartupOptions ParseCommandLine(const std::string& commandLine, bool setupWindowOpen, bool debugSetting);

// Sets the predefined variables (after the main script has been opened).
void InitVariables(Interpreter& ip);
// Where the data-access library lives, as the registry or the Windows directory tell.
std::string DaoDirectory(Interpreter& ip);

// Opens the main script named on the command line: 0, or the code of the failure after the
// user has been told (message 10051 for a script that cannot be opened).
int OpenMainScript(Interpreter& ip, const StartupOptions& options);
// Sets the predefined variables and SCRIPTFILE and PARAMETERS for the run.
void BeginRun(Interpreter& ip, const StartupOptions& options);
