// Any bytes as a script (and, after the first "\x00\x01", a second file SUB.SCR that it may
// CALL) through the portable engine: no crash and no hang. A script that loops forever is
// stopped by a budget of lines, as a user would stop it in the debugger.
#include <cstdint>
#include <string>

#include "tests/native/script_harness.h"

namespace {
int linesLeft = 0;

int LineBudget(Interpreter& ip) {
  if (--linesLeft > 0) return 0;
  ip.files.CloseAll();
  return 2;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(std::string("\x00\x01", 2));
  ScriptRun run;
  run.logBackend.enabled = (size % 2) == 0;  // both with and without the trace
  run.platform.defaultAnswer = ANSWER_CANCEL;
  if (split != std::string::npos) run.platform.AddFile("C:\\SETUP\\SUB.SCR", input.substr(split + 2));
  run.ip.debugLineHook = LineBudget;
  linesLeft = 2000;
  run.Run(input.substr(0, split));
  return 0;
}
