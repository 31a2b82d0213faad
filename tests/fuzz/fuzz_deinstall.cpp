// Any bytes as a de-install script: read into sections as OPENDEINSTALL( reads an earlier file,
// added to (the bytes after a NUL, one line per section in turn), written out and read back
// the same; and checked by the de-installer, which must never accept a removal of an incomplete
// path, a path with wildcards or a whole top-level key.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "commands/deinstall_script.h"
#include "engine/lexer.h"
#include "morpax/core/deinstall_plan.h"
#include "support/text.h"
#include "tests/native/script_harness.h"

namespace {

int Accept(Interpreter&, TokenLine&) { return 0; }

bool ReadsBackAsItself(const std::string& line) {
  return !line.empty() && line.size() <= kMaxDeinstallLine && line.front() != ' ' && line.back() != ' ' &&
         SectionMarkedIn(line) < 0 && line.find("\r\n") == std::string::npos;
}

void CheckRoundTrip(ScriptRun& run, const std::string& earlier, const std::string& additions) {
  DeinstallScript script;
  script.Load(earlier);
  size_t start = 0;
  for (int section = 0; start < additions.size(); section = (section + 1) % kDeinstallSectionCount) {
    size_t end = additions.find('\n', start);
    if (end == std::string::npos) end = additions.size();
    const std::string line = Trim(additions.substr(start, end - start), 'B', " ");
    start = end + 1;
    if (ReadsBackAsItself(line)) script.Add(kDeinstallSections[static_cast<size_t>(section)].marker, line);
  }
  const DeinstallText back = ReadDeinstallText(script.Render(run.ip));
  for (int i = 0; i < kDeinstallSectionCount; ++i)
    if (back.sections[static_cast<size_t>(i)] != script.Lines(i)) std::abort();
}

void CheckPlan(ScriptRun& run, const std::string& text) {
  std::vector<DeinstallStep> steps;
  const DeinstallText script = ReadDeinstallText(text);
  if (PlanStartup(run.ip, script, steps).reason != REFUSED_NONE) return;
  if (PlanRemoval(run.ip, script, steps).reason != REFUSED_NONE) return;
  for (const DeinstallStep& step : steps) {
    if (step.command != TOK_DELETE && step.command != TOK_RMDIR && step.command != TOK_UNREGISTER) continue;
    const std::string& path = step.subject;
    const bool complete = (path.size() >= 3 && path[1] == ':' && path[2] == '\\') || StartsWith(path, "\\\\");
    if (!complete || path.find_first_of("*?") != std::string::npos) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static ScriptRun* run = [] {
    auto* r = new ScriptRun;
    for (int32_t token = kFirstKeyword; token <= kLastKeyword; ++token)
      if (!r->table.byToken[static_cast<size_t>(token)]) r->table.Add(token, Accept);
    r->logBackend.enabled = false;
    return r;
  }();
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const std::string earlier = input.substr(0, split);
  CheckRoundTrip(*run, earlier, split == std::string::npos ? std::string() : input.substr(split + 1));
  CheckPlan(*run, earlier);
  return 0;
}
