#include "commands/deinstall_script.h"

#include "engine/errors.h"
#include "engine/interpreter.h"
#include "support/text.h"
#include "support/text_lines.h"

const std::array<DeinstallSectionRule, kDeinstallSectionCount> kDeinstallSections = {{
    {"$STARTUP$", false, true},
    {"$PREDEINSTALL$", false, false},
    {"$UNPROTECT$", true, false},
    {"$OLEUNREGISTER$", true, false},
    {"$FILES$", true, false},
    {"$PMGROUP$", true, false},
    {"$USERSCRIPT$", false, true},
    {"$DIRECTORIES$", false, false},
    {"$CLEANUP$", false, true},
}};

int SectionMarkedIn(std::string_view line) {
  for (int i = 0; i < kDeinstallSectionCount; ++i)
    if (line.find(kDeinstallSections[static_cast<size_t>(i)].marker) != std::string_view::npos) return i;
  return -1;
}

int SectionNamed(std::string_view name) {
  for (int i = 0; i < kDeinstallSectionCount; ++i) {
    const std::string_view marker = kDeinstallSections[static_cast<size_t>(i)].marker;
    if (name.size() >= marker.size() && EqualsNoCase(name.substr(0, marker.size()), marker)) return i;
  }
  return -1;
}

DeinstallText ReadDeinstallText(std::string_view text) {
  DeinstallText result;
  int section = -1;
  while (!text.empty()) {
    const TextLineSpan span = ScanTextLine(text.data(), text.size(), kMaxDeinstallLine);
    const std::string line = Trim(text.substr(0, span.length), 'B', " ");
    text.remove_prefix(span.consumed);
    if (line.empty()) continue;
    const int marked = SectionMarkedIn(line);
    if (marked >= 0) {
      section = marked;
      result.hasMarkers = true;
    } else if (section < 0) {
      result.preamble.push_back(line);
    } else {
      result.sections[static_cast<size_t>(section)].push_back(line);
    }
  }
  return result;
}

void DeinstallScript::Load(std::string_view text) {
  sections_ = ReadDeinstallText(text).sections;
  for (int i = 0; i < kDeinstallSectionCount; ++i)
    if (!kDeinstallSections[static_cast<size_t>(i)].carriedOver) sections_[static_cast<size_t>(i)].clear();
}

int DeinstallScript::Add(std::string_view sectionName, std::string_view line) {
  const int section = SectionNamed(UpperAscii(Trim(sectionName, 'B', " ")));
  if (section < 0) return ERR_INVALID_DEINSTALL_SECTION;
  const std::string entry = Trim(line, 'B', " ");
  std::vector<std::string>& lines = sections_[static_cast<size_t>(section)];
  if (!kDeinstallSections[static_cast<size_t>(section)].repeats) {
    for (const std::string& held : lines)
      if (held.size() >= entry.size() && EqualsNoCase(std::string_view(held).substr(0, entry.size()), entry)) return 0;
  }
  lines.push_back(entry);
  return 0;
}

std::string DeinstallScript::Render(Interpreter& ip) const {
  std::string header = ip.platform.ResourceText(kDeinstallHeaderText);
  ReplaceAll(header, "%Application%", ip.variables.GetVariable("APPLICATION"), true);
  std::string text = header + "\r\n";
  for (int i = 0; i < kDeinstallSectionCount; ++i) {
    text += ip.platform.ResourceText(kDeinstallHeaderText + 1 + i) + "\r\n";
    for (const std::string& line : sections_[static_cast<size_t>(i)]) text += line + "\r\n";
  }
  return text;
}

void DeinstallScript::Clear() {
  for (std::vector<std::string>& lines : sections_) lines.clear();
}
