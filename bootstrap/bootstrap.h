// SETUP.EXE: prepares the temporary and program folders under the Windows directory, installs
// the interpreter and the de-installer when they are newer, copies the script and starts the
// interpreter on it, waiting with a small "Setup" window until it has ended.
#pragma once

#include <windows.h>

#include <string>

#include "bootstrap/core/setup_texts.h"
#include "support/debug_log.h"
#include "support/run_switches.h"
#include "support/win32.h"

// Results: 0 for success, else the string resource that holds the message. They are also the
// program's exit code when the interpreter could not be run (200: a work folder cannot be
// written); otherwise the exit code is the interpreter's.
enum BootstrapResult : int {
  BOOT_OK = 0,
  BOOT_FOLDER_UNWRITABLE = 200,
  BOOT_SOURCE_MISSING = 201,
  BOOT_CREATE_FAILED = 202,
  BOOT_NO_SPACE = 203,
  BOOT_SAME_FILE = 204,
  BOOT_READ_FAILED = 206,
  BOOT_WRITE_FAILED = 207,
  BOOT_START_FAILED = 210,
  BOOT_INTERPRETER_MISSING = 212,
};

constexpr UINT kTitleText = 57344;  // "Setup"

// The state of one run, from start to end.
struct Bootstrap {
  std::string sourceFolder;
  std::string temporaryFolder;  // Windows directory + "TEMP\"
  std::string programFolder;    // Windows directory + "KVLSOFT\"
  std::string arguments;        // the bootstrap's own command line, passed on unchanged
  bool silent = false;          // errors go to ERROR.LOG instead of a message box
  RunSwitches switches;         // of unattended installations, passed on with the arguments
  bool unattended = false;      // nothing waits for a person, not even the folder message
  int exitCode = 0;             // the interpreter's, or the result that kept it from running
  SetupTexts texts;
  HWND window = nullptr;        // the working window while it exists
  Win32DebugLogBackend logBackend{false};
  DebugLog log{logBackend};
};

// Copies [source] to [target] through the LZ expansion functions (expanded when compressed),
// carrying the source's date over.
int ExpandFile(Bootstrap& run, const std::string& source, const std::string& target);
// Installs [source] as [target] only when it is newer (by version resource, else by date).
int UpdateFile(Bootstrap& run, const std::string& source, const std::string& target);

// The working window: created visible and centred, painted once.
void CreateWorkingWindow(Bootstrap& run);
void CloseWorkingWindow(Bootstrap& run);

// Starts the interpreter with [commandLine] (current directory inherited) and waits for its
// end while the windows keep being served; its exit code goes to [run.exitCode]. With a time
// limit, an interpreter that is still running some seconds after the limit (stuck where it
// cannot look at the clock) is ended, with the timed-out verdict. BOOT_START_FAILED when it
// cannot be started.
int RunInterpreter(Bootstrap& run, const std::string& commandLine);

// A message for the user: in a message box, or appended to ERROR.LOG in silent mode (with
// [shownWhenSilent] only in an unattended run) and in unattended runs; also to the
// installation log when there is one.
void ReportMessage(Bootstrap& run, const std::string& text, UINT style, bool shownWhenSilent = false);

// The message of [result] ("%1" = [name], or for BOOT_START_FAILED the command line and the
// start call's result) in a message box, or in silent mode appended to ERROR.LOG.
void ReportResult(Bootstrap& run, int result, const std::string& name, const std::string& commandLine);
