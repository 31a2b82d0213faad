#include <filesystem>
#include <set>

#include "support/text.h"
#include "tools/lz/lz_format.h"
#include "tools/medium/medium.h"

namespace {

struct FixedKind {
  const char* kind;
  const char* target;
  bool compressed;
  char missingChar;
  bool required;
};

// The bootstrap's own files: their names on the medium are fixed.
constexpr FixedKind kFixedKinds[] = {
    {"setup", "SETUP.EXE", false, 0, true},      {"interpreter", "TALVEN.EX_", true, 'E', true},
    {"deinstaller", "MORPAX.EX_", true, 'E', false}, {"script", "SETUP.QLS", false, 0, true},
    {"pif", "VARNOLD.PIF", false, 0, false},     {"texts", "SETUP.DAT", false, 0, false},
};

// Blank-separated fields; double quotes group blanks into a field.
bool SplitFields(std::string_view line, std::vector<std::string>& fields) {
  fields.clear();
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    std::string field;
    if (line[i] == '"') {
      const size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos) return false;
      field = std::string(line.substr(i + 1, close - i - 1));
      i = close + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') field += line[i++];
    }
    fields.push_back(field);
  }
  return true;
}

bool ExpandVariables(std::string& text, const std::map<std::string, std::string>& variables, std::string& error) {
  for (size_t at = text.find("${"); at != std::string::npos; at = text.find("${", at)) {
    const size_t close = text.find('}', at);
    if (close == std::string::npos) {
      error = "unclosed ${";
      return false;
    }
    const std::string name = text.substr(at + 2, close - at - 2);
    const auto found = variables.find(name);
    if (found == variables.end()) {
      error = "${" + name + "} is not defined (give -D " + name + "=VALUE)";
      return false;
    }
    text.replace(at, close - at + 1, found->second);
    at += found->second.size();
  }
  return true;
}

// A relative name with folders: no empty parts, no "." or "..", no drive.
bool NormaliseTarget(std::string name, std::string& normalised) {
  ReplaceAll(name, "\\", "/", true);
  if (name.empty() || name.front() == '/' || name.find(':') != std::string::npos) return false;
  normalised.clear();
  size_t start = 0;
  for (;;) {
    const size_t slash = name.find('/', start);
    const std::string part = name.substr(start, slash == std::string::npos ? std::string::npos : slash - start);
    if (part.empty() || part == "." || part == "..") return false;
    normalised += (normalised.empty() ? "" : "/") + part;
    if (slash == std::string::npos) return true;
    start = slash + 1;
  }
}

const FixedKind* FindFixedKind(const std::string& kind) {
  for (const FixedKind& k : kFixedKinds)
    if (kind == k.kind) return &k;
  return nullptr;
}

}  // namespace

MediumDescription ParseMediumDescription(std::string_view text, const std::string& baseDirectory,
                                         const std::map<std::string, std::string>& variables) {
  MediumDescription description;
  std::set<std::string> targets;  // upper-cased
  int lineNumber = 0;
  auto fail = [&](const std::string& message) {
    description.errors.push_back("line " + std::to_string(lineNumber) + ": " + message);
  };
  std::vector<std::string> fields;
  for (size_t position = 0; position < text.size();) {
    size_t end = text.find('\n', position);
    if (end == std::string_view::npos) end = text.size();
    const std::string line = Trim(Trim(text.substr(position, end - position), 'R', "\r"), 'B', " ");
    position = end + 1;
    ++lineNumber;
    if (line.empty() || line[0] == '#') continue;
    if (!SplitFields(line, fields)) {
      fail("unclosed double quote");
      continue;
    }
    if (fields.empty()) continue;  // tabs only: a blank line too
    MediumEntry entry;
    entry.kind = LowerAscii(fields[0]);
    entry.line = lineNumber;
    const FixedKind* fixed = FindFixedKind(entry.kind);
    const bool payload = entry.kind == "file" || entry.kind == "compress";
    if (!fixed && !payload) {
      fail("unknown kind '" + fields[0] + "'");
      continue;
    }
    if (fields.size() < 2 || fields.size() > (payload ? 3u : 2u)) {
      fail(payload ? "expected: " + entry.kind + " PATH [NAME]" : "expected: " + entry.kind + " PATH");
      continue;
    }
    std::string error;
    std::string source = fields[1];
    if (!ExpandVariables(source, variables, error)) {
      fail(error);
      continue;
    }
    const std::filesystem::path path(source);
    entry.source = (path.is_absolute() ? path : std::filesystem::path(baseDirectory) / path).lexically_normal().string();
    std::string name;
    if (fixed) {
      name = fixed->target;
      entry.compressed = fixed->compressed;
      entry.missingChar = fixed->missingChar;
    } else {
      entry.compressed = entry.kind == "compress";
      const std::string sourceName = path.filename().string();
      const lz::CompressedName compressedName = lz::CompressedNameOf(sourceName);
      name = fields.size() == 3 ? fields[2] : entry.compressed ? compressedName.name : sourceName;
      if (fields.size() == 3 && !ExpandVariables(name, variables, error)) {
        fail(error);
        continue;
      }
      if (entry.compressed && EndsWith(name, "_")) entry.missingChar = compressedName.missingChar;
    }
    if (!NormaliseTarget(name, entry.target)) {
      fail("'" + name + "' is not a name within the medium");
      continue;
    }
    if (!targets.insert(UpperAscii(entry.target)).second) {
      fail("'" + entry.target + "' is on the medium twice");
      continue;
    }
    description.entries.push_back(entry);
  }
  for (const FixedKind& k : kFixedKinds)
    if (k.required && !targets.count(k.target))
      description.errors.push_back(std::string("the medium needs a '") + k.kind + "' entry (" + k.target + ")");
  return description;
}
