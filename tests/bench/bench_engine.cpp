// How fast the engine tokenises script lines and runs a loop, natively, with the trace off.
#include <benchmark/benchmark.h>

#include <fstream>
#include <sstream>

#include "tests/native/script_harness.h"

namespace {

// A mix of lines as installation scripts have them.
const char* const kMix[] = {
    "SET %TARGET% = \"%PROGRAMFILES%Lumivane\\\"",
    "IF %ERROR% != 0 GOTO :FAILED",
    "COPYFILE(\"%SOURCE%MAIN.EX_\", \"%TARGET%main.exe\", 1, 0)",
    "WRITEPRIVATEPROFILESTRING(\"Settings\", \"Port\", \"888\", \"%WINDOWSDIRECTORY%LUMI.INI\")",
    "MESSAGEBOX(\"Install #PRODUCT# now?\", MB_YESNO + MB_ICONQUESTION)",
    "  SET %I% = %I% + 1",
    "// a comment line",
    ":START",
    "REGWRITESETTING(3, \"Software\\KvlSoftware\\Lumivane\", \"Path\", %TARGET%)",
    "WHILE %I% < 10",
};

void Tokenise(benchmark::State& state) {
  ScriptRun run;
  run.ip.variables.SetVariable("PROGRAMFILES", "C:\\Program Files\\");
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(TokeniseLine(run.ip, kMix[i]));
    i = (i + 1) % (sizeof kMix / sizeof kMix[0]);
  }
  state.counters["lines/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(Tokenise);

std::string LoopScript() {
  std::ifstream in(QS_BENCH_LOOP_SCRIPT, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// The WHILE loop of loop.qls: 100,000 passes of WHILE, SET, IF and WEND, plus the two SETs
// before and the last WHILE that ends the loop.
void WhileLoop(benchmark::State& state) {
  const std::string script = LoopScript();
  constexpr double kLines = 2 + 100000.0 * 4 + 1;
  for (auto _ : state) {
    ScriptRun run;
    run.logBackend.enabled = false;
    run.Run(script);
    if (run.Var("SUM") != "100000") state.SkipWithError("the loop did not run to its end");
  }
  state.counters["lines/s"] =
      benchmark::Counter(kLines * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(WhileLoop)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
