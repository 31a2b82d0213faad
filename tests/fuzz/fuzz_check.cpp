// Any bytes as a script for the checker (and, after the first "\x00\x01", a second script on
// the medium, SUB.SCR, that it may CALL): no crash, no hang, and a finding always names a line
// of the script it is about.
#include <cstdint>
#include <cstdio>
#include <string>
#include <unistd.h>

#include "tools/check/script_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find(std::string("\x00\x01", 2));
  static const std::string sub = "/tmp/qs_fuzz_check_" + std::to_string(::getpid()) + ".scr";
  static const struct Cleanup {
    ~Cleanup() { std::remove(sub.c_str()); }
  } cleanup;
  MediumIndex medium;
  medium.Add("APP/MAIN.EX_", "", 5000, 100000);
  medium.Add("DATA/A.DAT", "", 10, 10);
  if (split != std::string::npos) {
    if (FILE* f = std::fopen(sub.c_str(), "wb")) {
      std::fwrite(input.data() + split + 2, 1, input.size() - split - 2, f);
      std::fclose(f);
    }
    medium.Add("SUB.SCR", sub, input.size() - split - 2, input.size() - split - 2);
  }
  const CheckResult result = CheckScripts({{"SETUP.QLS", input.substr(0, split)}}, &medium);
  for (const CheckFinding& f : result.findings) {
    if (f.line < 0 || static_cast<size_t>(f.line) > size + 1) __builtin_trap();
    FormatFinding(f);
  }
  return 0;
}
