// qs-check [--medium FOLDER] SCRIPT...
// Checks installation scripts before they ship: every line the interpreter would refuse, GOTO
// targets, IF and WHILE blocks, parameter kinds, and with --medium (the medium folder as it
// will ship) the scripts they CALL and the files they copy. Exit code 0 when there are no
// errors (warnings only), 1 with errors, 2 for a wrong command line or an unreadable script.
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tools/check/script_check.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: qs-check [--medium FOLDER] SCRIPT...\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string mediumFolder;
  std::vector<ScriptToCheck> scripts;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--medium") {
      if (++i >= argc) return Usage();
      mediumFolder = argv[i];
      continue;
    }
    if (!arg.empty() && arg[0] == '-') return Usage();
    std::ifstream in(arg, std::ios::binary);
    if (!in) {
      std::fprintf(stderr, "qs-check: cannot read %s\n", arg.c_str());
      return 2;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    scripts.push_back({arg, bytes.str()});
  }
  if (scripts.empty()) return Usage();
  MediumIndex medium;
  if (!mediumFolder.empty()) medium = MediumIndexOfFolder(mediumFolder);
  const CheckResult result = CheckScripts(scripts, mediumFolder.empty() ? nullptr : &medium);
  for (const CheckFinding& finding : result.findings) std::printf("%s\n", FormatFinding(finding).c_str());
  if (!mediumFolder.empty()) std::printf("qs-check: %s\n", FormatCopySpace(result).c_str());
  return result.HasErrors() ? 1 : 0;
}
