#include <filesystem>
#include <set>

#include "support/text.h"
#include "tools/lz/lz_format.h"
#include "tools/medium/medium.h"

namespace {

using FixedKind = FixedMediumKind;

// The bootstrap's own files: their names on the medium are fixed.
const FixedKind kFixedKinds[] = {
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

// Replaces each ${NAME}. With [leadingFromHere], a relative value that begins the text is made
// absolute from the current directory: "-D BUILD=build/win32" means the folder where qs-medium
// runs, not one beside the description.
bool ExpandVariables(std::string& text, const std::map<std::string, std::string>& variables, std::string& error,
                     bool leadingFromHere = false) {
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
    std::string value = found->second;
    if (at == 0 && leadingFromHere && !value.empty() && std::filesystem::path(value).is_relative())
      value = std::filesystem::absolute(value).string();
    text.replace(at, close - at + 1, value);
    at += value.size();
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

// A source path: variables replaced, relative ones resolved from [baseDirectory].
bool ResolveSource(std::string field, const std::string& baseDirectory, const std::map<std::string, std::string>& variables,
                   std::string& resolved, std::string& error) {
  if (!ExpandVariables(field, variables, error, true)) return false;
  const std::filesystem::path path(field);
  resolved = (path.is_absolute() ? path : std::filesystem::path(baseDirectory) / path).lexically_normal().string();
  return true;
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
    std::string error;
    if (entry.kind == "sign") {
      SigningEntry signing;
      signing.line = lineNumber;
      if (fields.size() < 3 || fields.size() > 4) {
        fail("expected: sign CERTIFICATE KEY [PASSWORD_FILE]");
      } else if (!description.signing.empty()) {
        fail("the medium is signed by one certificate only");
      } else if (ResolveSource(fields[1], baseDirectory, variables, signing.certificate, error) &&
                 ResolveSource(fields[2], baseDirectory, variables, signing.key, error) &&
                 (fields.size() < 4 || ResolveSource(fields[3], baseDirectory, variables, signing.passwordFile, error))) {
        description.signing.push_back(signing);
      } else {
        fail(error);
      }
      continue;
    }
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
    if (!ResolveSource(fields[1], baseDirectory, variables, entry.source, error)) {
      fail(error);
      continue;
    }
    const std::filesystem::path path(entry.source);
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

const std::vector<FixedMediumKind>& FixedMediumKinds() {
  static const std::vector<FixedMediumKind> kinds(std::begin(kFixedKinds), std::end(kFixedKinds));
  return kinds;
}

bool IsScriptEntry(const MediumEntry& entry) {
  if (entry.kind == "script") return true;
  const std::string name = UpperAscii(entry.target);
  return entry.kind == "file" && (EndsWith(name, ".QLS") || EndsWith(name, ".SCR"));
}
