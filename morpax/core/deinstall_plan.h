// What the de-installer runs from a de-install script, checked before anything is removed: each
// line is one command of the script language, from a short list per section, with complete
// paths and names that cannot reach beyond what the installation made. A script with any other
// line is refused as a whole.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "commands/deinstall_script.h"

struct Interpreter;

// One line that the de-installer runs.
struct DeinstallStep {
  int section = 0;
  std::string line;     // as the script holds it
  int32_t command = 0;  // its keyword
  std::string subject;  // the file or directory it removes, for the checks after it ran; else empty
};

// Why a line or a script is refused; each is the id of its text (resources/texts/morpax.def).
enum DeinstallRefusal : int {
  REFUSED_NONE = 0,
  REFUSED_NOT_A_SCRIPT = 15100,     // no section marker at all
  REFUSED_UNREADABLE = 15101,       // the line is not a line of the script language
  REFUSED_COMMAND = 15102,          // a command that its section does not take
  REFUSED_PARAMETERS = 15103,       // parameters of the wrong number or kind
  REFUSED_PATH = 15104,             // a path without drive or server, or with wildcards
  REFUSED_KEY = 15105,              // a registry key too near its root to be removed whole
  REFUSED_NAME = 15106,             // a group, folder or title that would reach outside its folder
  REFUSED_STARTUP_FAILED = 15107,   // a start-up line that failed when it ran
  REFUSED_NOT_AVAILABLE = 15108,    // a command this de-installer cannot carry out
};

struct DeinstallVerdict {
  DeinstallRefusal reason = REFUSED_NONE;
  std::string line;  // the line refused
};

// Checks [line] for [section] (-1: before the first marker, where only comments belong). On
// success [step] describes it. Tokenises the line, so variables set by start-up lines count.
DeinstallRefusal CheckDeinstallLine(Interpreter& ip, int section, const std::string& line, DeinstallStep& step);

// The start-up lines (run before the question, they only set variables, the language and the
// shared-count owner), after the header's comments have been checked.
DeinstallVerdict PlanStartup(Interpreter& ip, const DeinstallText& text, std::vector<DeinstallStep>& steps);
// The removal lines of the other sections in the order they run: file order, except that the
// directories section removes the deepest directories first.
DeinstallVerdict PlanRemoval(Interpreter& ip, const DeinstallText& text, std::vector<DeinstallStep>& steps);

// The application a script belongs to, from its header's second line ("// Lumivane").
std::string HeaderApplication(const DeinstallText& text);

// The de-installer's command line: MORPAX.EXE [/S] SCRIPT. "/S" or "-S" (either case) makes it
// silent; the first other word, quotes removed, names the de-install script.
struct DeinstallerOptions {
  bool silent = false;
  std::string scriptPath;
};
DeinstallerOptions ParseDeinstallerCommandLine(const std::string& arguments);
