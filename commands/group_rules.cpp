#include "commands/group_rules.h"

#include <cstring>

#include "support/text.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string QuoteIfBlank(const std::string& text) {
  return text.find(' ') == std::string::npos ? text : Quoted(text);
}

std::string CreateGroupText(const std::string& name, const std::string& groupFile) {
  if (groupFile.empty()) return "[CreateGroup(" + Quoted(name) + ")]";
  return "[CreateGroup(" + Quoted(name) + "," + Quoted(groupFile) + ")]";
}

std::string ShowGroupText(const std::string& name, int32_t state) {
  return "[ShowGroup(" + Quoted(name) + "," + DecimalText(state) + ")]";
}

std::string DeleteGroupText(const std::string& name) { return "[DeleteGroup(" + Quoted(name) + ")]"; }

std::string DeleteItemText(const std::string& title) { return "[DeleteItem(" + Quoted(title) + ")]"; }

std::string ReloadText(const std::string& group, bool withGroup) {
  return withGroup ? "[Reload(" + Quoted(group) + ")]" : "[Reload()]";
}

// [AddItem(COMMAND ARGUMENTS,"TITLE",ICONFILE,INDEX,-1,-1,WORKDIR)]: the trailing fields are left
// out from the end as far as they are not given.
std::string AddItemText(const GroupItem& item) {
  std::string text = "[AddItem(" + QuoteIfBlank(item.command);
  if (!item.arguments.empty()) text += " " + item.arguments;
  text += "," + Quoted(item.title);
  const bool hasIndex = item.iconIndex != -1;
  const bool hasDirectory = !item.workingDirectory.empty();
  if (!item.iconFile.empty() || hasIndex || hasDirectory) text += ",";
  if (!item.iconFile.empty()) text += QuoteIfBlank(item.iconFile);
  if (hasIndex || hasDirectory) {
    text += ",";
    if (hasIndex) text += std::to_string(static_cast<uint32_t>(item.iconIndex));
  }
  if (hasDirectory) text += ",-1,-1," + QuoteIfBlank(item.workingDirectory);
  return text + ")]";
}

ShellFolderKind ClassifyShellFolder(const std::string& folder) {
  const std::string upper = UpperAscii(folder);
  if (StartsWith(upper, "DESKTOP")) return ShellFolderKind::Desktop;
  if (StartsWith(upper, "START MENU\\PROGRAMS\\STARTUP")) return ShellFolderKind::StartUp;
  if (StartsWith(upper, "START MENU\\PROGRAMS")) return ShellFolderKind::Programs;
  if (StartsWith(upper, "START MENU")) return ShellFolderKind::StartMenu;
  return ShellFolderKind::None;
}

const char* CommonFolderValueName(ShellFolderKind kind) {
  switch (kind) {
    case ShellFolderKind::Desktop: return "Common Desktop";
    case ShellFolderKind::StartUp: return "Common Startup";
    case ShellFolderKind::Programs: return "Common Programs";
    case ShellFolderKind::StartMenu: return "Common Start Menu";
    case ShellFolderKind::None: break;
  }
  return "";
}

std::string CommonFolderPath(const std::string& value, ShellFolderKind kind, const std::string& folder) {
  if (kind == ShellFolderKind::None) return std::string();
  std::string path = value;
  if (kind == ShellFolderKind::Programs) ReplaceAll(path, "Start Menu\\Programs", folder, true);
  return path;
}

std::string SwitchProfileUser(const std::string& path, const std::string& account, std::string& user) {
  const int at = FindFrom(0, path, account, false, false);
  if (account.empty() || at < 0) return path;
  // The domain suffix of a profile folder: from the first '.' up to the next backslash, or to
  // the end of the path.
  const size_t dot = path.find('.');
  if (dot != std::string::npos) user += path.substr(dot, path.find('\\', dot) - dot);
  // The component that holds the account name ends at the next backslash, or at the end of the
  // path when it is the last one.
  const size_t before = path.rfind('\\', static_cast<size_t>(at));
  const size_t start = before == std::string::npos ? 0 : before + 1;
  const size_t end = path.find('\\', static_cast<size_t>(at));
  std::string switched = path.substr(0, start) + user;
  if (end != std::string::npos) switched += path.substr(end);
  return switched;
}

std::string ShellEntryName(const std::string& title) {
  std::string name = title;
  for (char& c : name)
    if (static_cast<unsigned char>(c) < 32 || std::strchr("\\/:*?\"<>|", c)) c = '_';
  for (char& c : name) {
    if (c != '.') break;
    c = '_';
  }
  return name;
}
