// Program groups and shortcuts: below Windows 4.00 through Program Manager's DDE commands, from
// 4.00 on as folders of the start menu and shell link files.
#include <windows.h>
#include <ddeml.h>
#include <shlobj.h>

#include "commands/command_families.h"
#include "commands/command_state_win32.h"
#include "commands/directories_win32.h"
#include "commands/file_commands_win32.h"
#include "commands/group_commands_win32.h"
#include "commands/group_rules.h"
#include "engine/executor.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

bool OldShell(const Interpreter& ip) { return WindowsVersion(ip.version) < 400; }

HWND OwnerWindow(const Interpreter& ip) { return ip.windows ? ip.windows->MainHandle() : nullptr; }

// Reads the string parameter at position [n] when its token is a string or a variable.
void ReadOptionalString(Interpreter& ip, TokenLine& line, int n, std::string& out) {
  if (IsStringToken(ParamToken(line, n))) ReadStringParam(ip, line, n, out);
}

// Reads the number literal at position [n]; anything else keeps [out].
void ReadOptionalLiteral(Interpreter& ip, TokenLine& line, int n, int32_t& out) {
  if (ParamToken(line, n) == TOK_NUMBER) out = NumberParam(ip, line, line.cursor + 2 * (n - 1));
}

// A link's place: [folder] itself, or the shell folder of [user]; then the title as a file name.
// Empty when the folder is not known: the link would otherwise land in the root of the drive.
std::string LinkPath(Interpreter& ip, bool inFolder, const std::string& user, const std::string& folder,
                     const std::string& title) {
  const std::string directory = EnsureBackslash(inFolder ? folder : GetIconFolder(ip, user, folder));
  if (directory == "\\") return std::string();
  return directory + ShellEntryName(title) + ".LNK";
}

struct LinkFields {
  std::string title, target, arguments, iconFile, workingDirectory;
  int32_t iconIndex = 0;
};

// Saves a shell link with [fields] as [path]; an existing link of that name is replaced.
// Failures are only logged: a link that cannot be made is not reported to the script.
void SaveShellLink(Interpreter& ip, const std::string& path, const LinkFields& fields) {
  DebugLog& log = ip.log;
  if (path.empty()) return;
  wchar_t widePath[MAX_PATH];
  if (path.size() >= MAX_PATH || !MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH)) {
    log.LogText("Shortcut path too long: '" + path + "'\r\n");
    ip.installLog.Note("Shortcut not saved (path too long): ", path);
    return;
  }
  const HRESULT init = CoInitialize(nullptr);
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  HRESULT saved = E_FAIL;
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link)))) {
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
      link->SetPath(fields.target.c_str());
      link->SetDescription(fields.title.c_str());
      link->SetShowCmd(SW_SHOW);
      if (!fields.arguments.empty()) link->SetArguments(fields.arguments.c_str());
      if (!fields.iconFile.empty()) link->SetIconLocation(fields.iconFile.c_str(), fields.iconIndex);
      if (!fields.workingDirectory.empty()) link->SetWorkingDirectory(fields.workingDirectory.c_str());
      saved = file->Save(widePath, TRUE);
      file->Release();
    }
    link->Release();
  }
  if (SUCCEEDED(init)) CoUninitialize();
  log.LogText("Shortcut '" + path + (SUCCEEDED(saved) ? "' saved\r\n" : "' not saved\r\n"));
  if (SUCCEEDED(saved)) ip.installLog.Note("Shortcut: ", path, " to ", fields.target);
  else ip.installLog.Note("Shortcut not saved: ", path, " to ", fields.target);
}

// The group folder that MAKEGROUP( and DELETEGROUP( mean: a name with a backslash is a path, any
// other name one folder of the common programs folder (never ".." or "a/..", which would make
// DELETEGROUP( remove the whole start menu). Empty for a name of blanks only, which would mean
// the programs folder itself.
std::string GroupFolderPath(Interpreter& ip, const std::string& name) {
  if (name.find('\\') != std::string::npos) return name;
  if (Trim(name, 'B', " ").empty()) return std::string();
  return GetIconFolder(ip, "All Users", "Start Menu\\Programs") + ShellEntryName(name);
}

int MakeGroupCommand(Interpreter& ip, TokenLine& line) {
  std::string name, groupFile;
  if (int r = CheckString(line, line.cursor, 1)) return r;
  if (line.At(line.cursor + 1) != ')')
    if (int r = CheckString(line, line.cursor + 2, 2)) return r;
  ReadStringParam(ip, line, 1, name);
  if (line.At(line.cursor + 1) != ')') ReadStringParam(ip, line, 2, groupFile);
  if (OldShell(ip)) {
    const std::string group = ShellEntryName(name);
    SendProgmanCommand(ip, CreateGroupText(group, groupFile));
    SendProgmanCommand(ip, ShowGroupText(group, 1));
    ip.installLog.Note("Program group (Program Manager): ", group);
    return SetErrorVariable(ip, 0);
  }
  const std::string path = GroupFolderPath(ip, name);
  if (path.empty() || MakeDirectory(ip.log, path) == 1) return SetErrorVariable(ip, 1);
  ip.installLog.Note("Program group: ", path);
  ip.commandState->currentGroupFolder = path;
  return SetErrorVariable(ip, 0);
}

int DeleteGroupCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (OldShell(ip)) {
    SendProgmanCommand(ip, DeleteGroupText(ShellEntryName(name)));
    ip.installLog.Note("Program group removed (Program Manager): ", ShellEntryName(name));
    return 0;
  }
  const std::string path = GroupFolderPath(ip, name);
  if (path.empty()) return SetErrorVariable(ip, 1);
  const int removed = RemoveTree(ip.log, path, 2);
  if (removed == 0) ip.installLog.Note("Program group removed: ", path);
  const int stored = SetErrorVariable(ip, removed);
  std::string& current = ip.commandState->currentGroupFolder;
  if (stored == 0 && EqualsNoCase(current, path)) current.clear();
  return stored;
}

// Title, command, and the optional arguments, icon file, icon index and working directory.
LinkFields ReadItem(Interpreter& ip, TokenLine& line, int first, int32_t defaultIndex) {
  LinkFields fields;
  fields.iconIndex = defaultIndex;
  ReadOptionalString(ip, line, first, fields.arguments);
  ReadOptionalString(ip, line, first + 1, fields.iconFile);
  ReadOptionalLiteral(ip, line, first + 2, fields.iconIndex);
  ReadOptionalString(ip, line, first + 3, fields.workingDirectory);
  return fields;
}

int MakeIconCommand(Interpreter& ip, TokenLine& line) {
  if (int r = CheckString(line, line.cursor, 1)) return r;
  if (int r = CheckString(line, line.cursor + 2, 2)) return r;
  std::string title, command;
  ReadStringParam(ip, line, 1, title);
  ReadStringParam(ip, line, 2, command);
  LinkFields fields = ReadItem(ip, line, 3, -1);
  fields.title = title;
  fields.target = command;
  if (OldShell(ip)) {
    GroupItem item{ShellEntryName(title), command, fields.arguments, fields.iconFile, fields.workingDirectory, fields.iconIndex};
    SendProgmanCommand(ip, DeleteItemText(item.title));
    SendProgmanCommand(ip, AddItemText(item));
    ip.installLog.Note("Program item (Program Manager): ", item.title, " to ", command);
    return 0;
  }
  const std::string& group = ip.commandState->currentGroupFolder;
  if (!group.empty()) SaveShellLink(ip, LinkPath(ip, true, "", group, title), fields);
  return 0;
}

int DeleteIconCommand(Interpreter& ip, TokenLine& line) {
  std::string title;
  if (int r = ReadStringParam(ip, line, 1, title)) return r;
  if (OldShell(ip)) {
    SendProgmanCommand(ip, DeleteItemText(ShellEntryName(title)));
    return 0;
  }
  const std::string& group = ip.commandState->currentGroupFolder;
  if (group.empty()) return 0;
  const std::string path = LinkPath(ip, true, "", group, title);
  if (DeleteMatching(path) > 0) ip.installLog.Note("Shortcut removed: ", path);
  return 0;
}

int ReloadCommand(Interpreter& ip, TokenLine& line) {
  if (!OldShell(ip)) return 0;
  const int32_t token = line.At(line.cursor);
  if (token == ')') {
    SendProgmanCommand(ip, ReloadText("", false));
    return 0;
  }
  if (!IsStringToken(token)) return ERR_INVALID_PARAMETERS;
  std::string group;
  ReadStringParam(ip, line, 1, group);
  SendProgmanCommand(ip, ReloadText(ShellEntryName(group), true));
  return 0;
}

int ShowGroupCommand(Interpreter& ip, TokenLine& line) {
  if (!OldShell(ip)) return 0;
  std::string name;
  int32_t state = 0;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (int r = ReadLiteralNumberParam(ip, line, 2, state)) return r;
  SendProgmanCommand(ip, ShowGroupText(ShellEntryName(name), state));
  return 0;
}

// User, folder and title of a shortcut; an empty folder is the desktop.
int ReadShortcutPlace(Interpreter& ip, TokenLine& line, int count, std::string* values) {
  for (int n = 1; n <= count; ++n)
    if (int r = CheckString(line, line.cursor + 2 * (n - 1), n)) return r;
  for (int n = 1; n <= count; ++n) ReadStringParam(ip, line, n, values[n - 1]);
  if (values[1].empty()) values[1] = "Desktop";
  return 0;
}

int MakeShortcutCommand(Interpreter& ip, TokenLine& line) {
  if (OldShell(ip)) return 0;
  std::string place[4];
  if (int r = ReadShortcutPlace(ip, line, 4, place)) return r;
  LinkFields fields = ReadItem(ip, line, 5, 0);
  fields.title = place[2];
  fields.target = place[3];
  SaveShellLink(ip, LinkPath(ip, false, place[0], place[1], fields.title), fields);
  return 0;
}

int DeleteShortcutCommand(Interpreter& ip, TokenLine& line) {
  if (OldShell(ip)) return 0;
  std::string place[3];
  if (int r = ReadShortcutPlace(ip, line, 3, place)) return r;
  const std::string path = LinkPath(ip, false, place[0], place[1], place[2]);
  if (!path.empty() && DeleteMatching(path) > 0) ip.installLog.Note("Shortcut removed: ", path);
  return 0;
}

// The current user's special folder of [kind], asked for with the main window as owner.
std::string SpecialFolder(const Interpreter& ip, ShellFolderKind kind) {
  int id = -1;
  switch (kind) {
    case ShellFolderKind::Desktop: id = CSIDL_DESKTOP; break;
    case ShellFolderKind::StartUp: id = CSIDL_STARTUP; break;
    case ShellFolderKind::Programs: id = CSIDL_PROGRAMS; break;
    case ShellFolderKind::StartMenu: id = CSIDL_STARTMENU; break;
    case ShellFolderKind::None: return std::string();
  }
  char path[MAX_PATH] = "";
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(OwnerWindow(ip), id, &list) == S_OK) {
    SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
  }
  return path;
}

}  // namespace

int SendProgmanCommand(Interpreter& ip, const std::string& text) {
  ip.log.LogText("DDE: '" + text + "' - ");
  const DWORD instance = ip.commandState->ddeInstance;
  HSZ progman = instance ? DdeCreateStringHandleA(instance, "PROGMAN", CP_WINANSI) : nullptr;
  HCONV conversation = progman ? DdeConnect(instance, progman, progman, nullptr) : nullptr;
  int result = 0;
  if (!conversation) {
    // The message without its "Error %1 in line %2 of %3:" head and the empty line after it.
    const std::string message = LoadResourceText(ERR_DDE_CONVERSATION_FAILED);
    ip.log.LogText((message.size() > 28 ? message.substr(28) : message) + "\r\n");
    result = ERR_DDE_CONVERSATION_FAILED;
  } else {
    std::string data = text;
    const HDDEDATA done = DdeClientTransaction(reinterpret_cast<LPBYTE>(data.data()), static_cast<DWORD>(data.size() + 1),
                                               conversation, nullptr, CF_TEXT, XTYP_EXECUTE, 4000, nullptr);
    ip.log.LogText(done ? "Ok\r\n" : "Failed\r\n");
    result = done ? 0 : ERR_DDE_ERROR;
    DdeDisconnect(conversation);
  }
  if (progman) DdeFreeStringHandle(instance, progman);
  return result;
}

std::string GetIconFolder(Interpreter& ip, std::string user, const std::string& folder) {
  ip.log.LogText("GetIconFolder: user '" + user + "' folder '" + folder + "'\r\n");
  char accountBuffer[256] = "";
  DWORD accountLength = sizeof accountBuffer;
  GetUserNameA(accountBuffer, &accountLength);
  const std::string account = accountBuffer;
  const ShellFolderKind kind = ClassifyShellFolder(folder);
  const int version = WindowsVersion(ip.version);
  std::string path;
  if ((version > 499 || (version > 399 && IsWinNT(ip.version))) && EqualsNoCase(user, "All Users")) {
    const std::string value =
        kind == ShellFolderKind::None
            ? std::string()
            : ReadSetting(3, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                          CommonFolderValueName(kind), "");
    path = CommonFolderPath(value, kind, folder);
    ip.log.LogText("Shell Desktop folder (2000/XP): '" + path + "'\r\n");
  } else {
    path = SpecialFolder(ip, kind);
    ip.log.LogText("Shell Desktop folder: '" + path + "'\r\n");
    if (!account.empty() && !user.empty() && !EqualsNoCase(user, "Current User") &&
        FindFrom(0, path, account, false, false) >= 0) {
      const std::string switched = SwitchProfileUser(path, account, user);
      ip.log.LogText("New user: '" + user + "'\r\n");
      path = switched;
    }
  }
  ip.log.LogText("Current user: '" + account + "' len=" + DecimalText(accountLength) + "'\r\n");
  path = EnsureBackslash(path);
  ip.log.LogText("Returned: '" + path + "'\r\n");
  return path;
}

void AddGroupCommands(CommandTable& table) {
  table.Add(TOK_MAKEGROUP, MakeGroupCommand);
  table.Add(TOK_DELETEGROUP, DeleteGroupCommand);
  table.Add(TOK_MAKEICON, MakeIconCommand);
  table.Add(TOK_DELETEICON, DeleteIconCommand);
  table.Add(TOK_RELOAD, ReloadCommand);
  table.Add(TOK_SHOWGROUP, ShowGroupCommand);
  table.Add(TOK_MAKESHORTCUT, MakeShortcutCommand);
  table.Add(TOK_DELETESHORTCUT, DeleteShortcutCommand);
}
