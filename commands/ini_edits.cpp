#include "commands/ini_edits.h"

#include "support/text.h"

namespace {

// Case-blind "begins with" over the prefix's length.
bool BeginsNoCase(const std::string& line, const std::string& prefix) {
  return line.size() >= prefix.size() && EqualsNoCase(std::string_view(line).substr(0, prefix.size()), prefix);
}

}  // namespace

bool AppendListItem(const std::string& current, const std::string& item, std::string& updated) {
  std::string list = ";" + current;
  if (!EndsWith(list, ";")) list += ";";
  if (UpperAscii(list).find(UpperAscii(";" + item + ";")) != std::string::npos) return false;
  updated = list.substr(1) + item + ";";
  return true;
}

std::vector<std::string> AddMultiEntry(const std::vector<std::string>& lines, const std::string& section,
                                       const std::string& key, const std::string& value) {
  const std::string header = "[" + section + "]";
  const std::string entry = key + "=" + value;
  std::vector<std::string> out;
  out.reserve(lines.size() + 2);
  bool sectionFound = false, present = false, written = false;
  for (const std::string& line : lines) {
    if (sectionFound && BeginsNoCase(line, entry)) present = true;
    if ((line.empty() || line[0] == '[') && sectionFound && !present && !written) {
      out.push_back(entry);
      written = true;
    }
    if (BeginsNoCase(line, header)) sectionFound = true;
    out.push_back(line);
  }
  if (!sectionFound) {
    out.push_back(header);
    out.push_back(entry);
  } else if (!present && !written) {
    out.push_back(entry);
  }
  return out;
}

std::vector<std::string> RemoveMultiEntry(const std::vector<std::string>& lines, const std::string& section,
                                          const std::string& key, const std::string& value) {
  const std::string header = "[" + section + "]";
  const std::string entry = key + "=" + value;
  std::vector<std::string> out;
  out.reserve(lines.size());
  bool inSection = false;
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == '[') {
      inSection = BeginsNoCase(line, header);
    } else if (inSection && BeginsNoCase(line, entry)) {
      continue;
    }
    out.push_back(line);
  }
  return out;
}
