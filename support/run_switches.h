// The command line as SETUP.EXE and TALVEN.EXE both read it: words, the silent switch, and the
// switches of unattended installations (/RECORD:, /ANSWERS:, /TIMEOUT:, /LOG:), which are taken
// out of the words before anything else reads them. Portable.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The interpreter's exit code, which SETUP.EXE passes on: how the run ended.
enum RunVerdict : int {
  VERDICT_SUCCESS = 0,
  VERDICT_ENDED_BY_SCRIPT = 1,  // the script set EXITCODE to a number other than 0
  VERDICT_SCRIPT_ERROR = 2,     // an error ended the run (or it could not start)
  VERDICT_CANCELLED = 3,        // the copy gauge's Cancel, or the debugger's
  VERDICT_TIMED_OUT = 4,        // the time limit of /TIMEOUT: ran out
  VERDICT_RESTART_NEEDED = 5,   // done, but a restart must complete it
};
// "success", "ended by the script", ... as the logs write a verdict.
const char* VerdictText(int verdict);

// Splits a command line into words: blanks end words outside double quotes, the quotes are
// dropped, and two blanks in a row leave an empty word between them.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

// Silent mode: "/s" or "-s" anywhere in [arguments], with exactly that case.
bool IsSilent(std::string_view arguments);

struct RunSwitches {
  bool record = false;   // /RECORD:file — every answer is written to [recordFile]
  std::string recordFile;
  bool replay = false;   // /ANSWERS:file — questions are answered from [answersFile] ("" for none)
  std::string answersFile;
  bool log = false;      // /LOG:file — the installation log
  std::string logFile;
  bool timeout = false;  // /TIMEOUT:seconds
  uint32_t timeoutSeconds = 0;  // 0 when the value is no positive whole number: no limit
  bool silent = false;   // the silent switch among the words that remain

  bool Any() const { return record || replay || log || timeout; }
  // Nothing waits for a person: an answer file is given, or the run is silent and asks for any
  // of the new switches (a plain "/s" keeps meaning only what it meant before).
  bool Unattended() const { return replay || (silent && Any()); }
  // Questions that nobody answered take their defaults.
  bool TakeDefaults() const { return silent && Unattended(); }
};

// Is [word] one of the four switches (any letter case)?
bool IsRunSwitch(std::string_view word);

// Takes the four switches out of [words] from index [first] on (a later switch of the same name
// wins), and decides [silent] on the words from [first] on that remain.
RunSwitches TakeRunSwitches(std::vector<std::string>& words, size_t first);

// [arguments] with every switch that names a file by a relative path rewritten to name it in
// [baseDirectory] (quoted, so that blanks survive); everything else stays as it is, byte for
// byte. The bootstrap passes its arguments on from another current directory.
std::string WithAbsoluteSwitchPaths(const std::string& arguments, const std::string& baseDirectory);
