// Any line of bytes through the lexer: no crash, no overrun, and the token array always ends
// with a 0 token within its 301 slots.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "tests/native/script_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScriptRun* run = [] {
    auto* r = new ScriptRun;
    r->ip.variables.SetVariable("LONG", std::string(290, 'v'));
    r->ip.variables.SetVariable("A", "%B%|^65");
    return r;
  }();
  const std::string line(reinterpret_cast<const char*>(data), size);
  const int result = TokeniseLine(run->ip, line);
  if (result != 0 && (result < 10000 || result > 10094)) std::abort();
  const LineLexer& lexer = run->ip.lexer;
  if (lexer.count < 0 || lexer.count >= kMaxTokens || lexer.tokens[static_cast<size_t>(lexer.count)] != 0) std::abort();
  if (run->ip.numbers.Count() > kStackSlots || run->ip.strings.Count() > kStackSlots) std::abort();
  return 0;
}
