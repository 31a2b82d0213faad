#include "commands/startup_file_edits.h"

#include "support/text.h"

namespace {

bool BeginsNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// "PATH ...", "PATH=..." and "SET PATH=...": a plain "PATH=" line appended after a
// "SET PATH=" line would replace the whole path at start-up with the one directory.
bool IsPathLine(const std::string& line) {
  const std::string trimmed = Trim(line, 'B', " ");
  if (BeginsNoCase(trimmed, "PATH")) return true;
  return BeginsNoCase(trimmed, "SET ") && BeginsNoCase(Trim(std::string_view(trimmed).substr(4), 'L', " "), "PATH=");
}

std::string WithDirectory(std::string text, const std::string& directory) {
  if (!text.empty() && text.back() != ';') text += ';';
  return text + directory;
}

// A "NAME=" line of a configuration file: raised to [wanted] when its number is below.
bool RaiseSetting(std::string& line, const std::string& squeezed, const char* name, int32_t wanted, bool& present) {
  if (wanted <= 0 || !StartsWith(squeezed, name)) return false;
  present = true;
  const size_t equals = line.find('=');
  if (LeadingNumber(std::string_view(line).substr(equals + 1)) >= wanted) return false;
  line = line.substr(0, equals) + "=" + DecimalText(wanted);
  return true;
}

}  // namespace

std::vector<std::string> SetBatchVariable(const std::vector<std::string>& lines, const std::string& name,
                                          const std::string& value) {
  const std::string setLine = "SET " + name + "=";
  std::vector<std::string> out;
  out.reserve(lines.size() + 1);
  bool found = false;
  for (const std::string& line : lines) {
    std::string trimmed = Trim(line, 'B', " ");
    if (BeginsNoCase(trimmed, setLine)) {
      found = true;
      if (!value.empty()) trimmed = setLine + value;
    }
    out.push_back(std::move(trimmed));
  }
  if (!found && !value.empty()) out.push_back(setLine + value);
  return out;
}

std::vector<std::string> AddBatchPath(const std::vector<std::string>& lines, const std::string& directory) {
  std::vector<std::string> out;
  out.reserve(lines.size() + 1);
  bool found = false;
  for (const std::string& line : lines) {
    if (!IsPathLine(line)) {
      out.push_back(line);
      continue;
    }
    found = true;
    out.push_back(FindFrom(0, line, directory, false, false) < 0 ? WithDirectory(line, directory) : line);
  }
  if (!found) out.push_back("PATH=" + directory);
  return out;
}

std::string AddToPathValue(std::string path, const std::string& windowsDirectory, std::string directory) {
  // The directory too: in a plain string "%SystemRoot%" would stay unexpanded, and the next
  // run would no longer find the directory and add it again.
  ReplaceAll(path, "%SystemRoot%", windowsDirectory, true);
  ReplaceAll(directory, "%SystemRoot%", windowsDirectory, true);
  return FindFrom(0, path, directory, false, false) < 0 ? WithDirectory(path, directory) : path;
}

ConfigEdit RaiseConfigValues(const std::vector<std::string>& lines, int32_t files, int32_t buffers) {
  ConfigEdit edit;
  edit.lines.reserve(lines.size() + 2);
  bool filesPresent = false, buffersPresent = false;
  for (std::string line : lines) {
    const std::string squeezed = UpperAscii(Trim(line, 'A', " "));
    if (RaiseSetting(line, squeezed, "FILES=", files, filesPresent)) ++edit.changes;
    if (RaiseSetting(line, squeezed, "BUFFERS=", buffers, buffersPresent)) ++edit.changes;
    edit.lines.push_back(std::move(line));
  }
  if (files > 0 && !filesPresent) {
    edit.lines.push_back("FILES=" + DecimalText(files));
    ++edit.changes;
  }
  if (buffers > 0 && !buffersPresent) {
    edit.lines.push_back("BUFFERS=" + DecimalText(buffers));
    ++edit.changes;
  }
  return edit;
}
