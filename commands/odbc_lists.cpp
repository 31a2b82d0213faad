#include "commands/odbc_lists.h"

bool HasDataSourceName(const std::string& attributes) {
  std::string key;
  bool inKey = true;
  for (char c : attributes + "\n") {
    if (c == '\n') {
      if (key == "DSN") return true;
      key.clear();
      inKey = true;
    } else if (c == '=') {
      inKey = !inKey;
    } else if (inKey) {
      key += c;
    }
  }
  return false;
}

std::string DataSourceAttributeList(const std::string& attributes) {
  std::string list = attributes + "\n\n";
  for (char& c : list)
    if (c == '\n') c = '\0';
  return list;
}

std::string ComponentAttributeList(const std::string& description, const char* keyword, const std::string& file,
                                   const std::string& setupFile) {
  std::string list = description + "|" + keyword + "=" + file + "|Setup=" + setupFile + "||";
  for (char& c : list)
    if (c == '|') c = '\0';
  return list;
}
