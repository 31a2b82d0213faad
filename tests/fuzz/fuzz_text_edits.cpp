// Any file content and any names through the text edits of the INI, environment and start-up
// file commands: no crash, and each edit keeps what it must keep, adds no more than it may, and
// changes nothing when made a second time.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "commands/ini_edits.h"
#include "commands/startup_file_edits.h"
#include "support/text.h"
#include "support/text_lines.h"

namespace {

using Lines = std::vector<std::string>;

void Check(bool condition) {
  if (!condition) std::abort();
}

// [part] holds [whole]'s lines in their order, with [added] lines more.
void CheckKeeps(const Lines& whole, const Lines& part, size_t maxAdded) {
  Check(part.size() >= whole.size() && part.size() <= whole.size() + maxAdded);
  size_t at = 0;
  for (const std::string& line : part)
    if (at < whole.size() && line == whole[at]) ++at;
  Check(at == whole.size());
}

}  // namespace

// Input: one byte choosing the edit, then the file's bytes and up to three names, separated by
// NUL bytes.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  std::vector<std::string> fields(4);
  size_t field = 0;
  for (size_t i = 1; i < size; ++i) {
    if (data[i] == 0 && field + 1 < fields.size()) ++field;
    else fields[field] += static_cast<char>(data[i]);
  }
  const std::string &bytes = fields[0], &a = fields[1], &b = fields[2], &c = fields[3];
  const Lines lines = SplitTextLines(bytes);
  Check(SplitTextLines(JoinTextLines(lines)) == lines);
  switch (data[0] % 7) {
    case 0: {
      const Lines added = AddMultiEntry(lines, a, b, c);
      CheckKeeps(lines, added, 2);
      Check(AddMultiEntry(added, a, b, c) == added);
      break;
    }
    case 1: {
      const Lines removed = RemoveMultiEntry(lines, a, b, c);
      CheckKeeps(removed, lines, lines.size());
      Check(RemoveMultiEntry(removed, a, b, c) == removed);
      break;
    }
    case 2: {
      const Lines set = SetBatchVariable(lines, a, b);
      Check(set.size() == lines.size() || set.size() == lines.size() + 1);
      Check(SetBatchVariable(set, a, b) == set);
      break;
    }
    case 3: {
      const Lines path = AddBatchPath(lines, a);  // path lines grow, the others stay
      Check(path.size() == lines.size() || path.size() == lines.size() + 1);
      Check(AddBatchPath(path, a) == path);
      break;
    }
    case 4: {
      const std::string path = AddToPathValue(bytes, "C:\\WINDOWS", a);
      Check(AddToPathValue(path, "C:\\WINDOWS", a) == path);
      break;
    }
    case 5: {
      const int32_t files = LeadingNumber(a), buffers = LeadingNumber(b);
      const ConfigEdit edit = RaiseConfigValues(lines, files, buffers);
      Check(edit.lines.size() >= lines.size() && edit.lines.size() <= lines.size() + 2);
      Check(RaiseConfigValues(edit.lines, files, buffers).changes == 0);
      break;
    }
    default: {
      std::string updated;
      if (AppendListItem(bytes, a, updated) && !a.empty()) Check(!AppendListItem(updated, a, updated));
      break;
    }
  }
  return 0;
}
