// Existence, deletion, renaming, directories and attributes.
#include "commands/file_commands_win32.h"

#include <windows.h>

#include "commands/command_families.h"
#include "commands/directories_win32.h"
#include "engine/prompts.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/language.h"

namespace {

// CHECKEXISTS( path [, prompt] ): with a prompt, asks for the medium until the file is there.
int CheckExistsCommand(Interpreter& ip, TokenLine& line) {
  std::string path, prompt;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  const bool ask = IsStringToken(ParamToken(line, 2));
  if (ask) ReadStringParam(ip, line, 2, prompt);
  for (;;) {
    if (FileExists(path)) return SetErrorVariable(ip, 1);
    if (!ask) return SetErrorVariable(ip, 0);
    ip.platform.BeginUserPrompt();
    const int answer =
        AskMessage(ip, QuestionKind::Disk, prompt, ip.variables.GetVariable("CAPTION"), MSG_OKCANCEL | MSG_ICONEXCLAMATION);
    ip.platform.EndUserPrompt();
    if (answer != ANSWER_OK) return SetErrorVariable(ip, 2);
  }
}

int DeleteCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  const bool matched = FileExists(path);
  const int deleted = DeleteMatching(path);
  if (deleted > 0) ip.installLog.Note("Deleted: ", path, deleted > 1 ? " (" + DecimalText(deleted) + " files)" : "");
  return SetErrorVariable(ip, matched ? 0 : 1);
}

int RenameCommand(Interpreter& ip, TokenLine& line) {
  std::string from, to;
  if (int r = ReadStringParam(ip, line, 1, from)) return r;
  if (int r = ReadStringParam(ip, line, 2, to)) return r;
  const bool moved = MoveFileA(from.c_str(), to.c_str()) != FALSE;
  if (moved) ip.installLog.Note("Renamed: ", from, " to ", to);
  return SetErrorVariable(ip, moved ? 0 : 1);
}

int MkdirCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  const int made = MakeDirectory(ip.log, path);
  if (made == 0) ip.installLog.Note("Folder made: ", path);
  return SetErrorVariable(ip, made == 0 ? 0 : 1);
}

int RmdirCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (ParamToken(line, 2) == TOK_END || ParamToken(line, 2) == ')' ) {
    return SetErrorVariable(ip, RemoveDirectoryA(path.c_str()) ? 0 : 1);
  }
  int32_t mode = 0;
  if (int r = ReadNumberParam(ip, line, 2, mode)) return r;
  return SetErrorVariable(ip, RemoveTree(ip.log, path, mode));
}

int ChdirCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  path = Trim(path, 'B', " ");
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  const bool changed = SetCurrentDirectoryA(ip.platform.UpperText(path).c_str()) != 0;
  const std::string current = EnsureBackslash(ip.platform.CurrentDirectory());
  ip.variables.SetVariable("CURRENTDIRECTORY", current);
  ip.variables.SetVariable("CURRENTDRIVE", current.substr(0, 2));
  return SetErrorVariable(ip, changed ? 0 : 1);
}

int SetFileAttrCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  constexpr DWORD kBits[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_ARCHIVE};
  DWORD attributes = 0;
  for (int n = 0; n < 4; ++n) {
    int32_t flag = 0;
    if (int r = ReadLiteralNumberParam(ip, line, n + 2, flag)) return r;
    if (flag != 0) attributes |= kBits[n];
  }
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  const std::string directory = DirectoryPart(path);
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      SetFileAttributesA((directory + found.cFileName).c_str(), attributes ? attributes : FILE_ATTRIBUTE_NORMAL);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return 0;
}

int GetFileAttrCommand(Interpreter& ip, TokenLine& line) {
  std::string path, names[4];
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  for (int n = 0; n < 4; ++n)
    if (int r = ReadVariableParam(ip, line, n + 2, names[n])) return r;
  if (int r = SetErrorVariable(ip, 1)) return r;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return 0;
  constexpr DWORD kBits[] = {FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_HIDDEN, FILE_ATTRIBUTE_SYSTEM, FILE_ATTRIBUTE_ARCHIVE};
  for (int n = 0; n < 4; ++n)
    if (int r = ip.variables.SetVariable(names[n], attributes & kBits[n] ? "1" : "0")) return r;
  return SetErrorVariable(ip, 0);
}

// Empties [path] (no trailing backslash) of everything; false when anything stayed.
bool EmptyDirectory(DebugLog& log, const std::string& path, int32_t mode) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*.*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return true;
  bool ok = true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string entry = path + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      log.LogText("Dir: " + entry + "\r\n");
      ok = EmptyDirectory(log, entry, mode) && ok;
      log.LogText("Removing: " + entry + "\r\n");
      SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_DIRECTORY);
      ok = RemoveDirectoryA(entry.c_str()) && ok;
    } else {
      log.LogText("File: " + entry + "\r\n");
      if (mode & 2) SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
      ok = DeleteFileA(entry.c_str()) && ok;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return ok;
}

}  // namespace

int RemoveTree(DebugLog& log, const std::string& path, int32_t mode) {
  std::string top = Trim(path, 'B', " ");
  if (top.size() > 3 && top.back() == '\\') top.pop_back();
  if (!EmptyDirectory(log, top, mode)) return 1;
  if (StartsWith(top, "\\\\")) top += "\\";
  log.LogText("Removing: " + top + "\r\n");
  if (mode & 2) SetFileAttributesA(top.c_str(), FILE_ATTRIBUTE_DIRECTORY);
  return RemoveDirectoryA(top.c_str()) ? 0 : 1;
}

void AddFileCommands(CommandTable& table) {
  table.Add(TOK_CHECKEXISTS, CheckExistsCommand);
  table.Add(TOK_DELETE, DeleteCommand);
  table.Add(TOK_RENAME, RenameCommand);
  table.Add(TOK_MKDIR, MkdirCommand);
  table.Add(TOK_RMDIR, RmdirCommand);
  table.Add(TOK_CHDIR, ChdirCommand);
  table.Add(TOK_SETFILEATTR, SetFileAttrCommand);
  table.Add(TOK_GETFILEATTR, GetFileAttrCommand);
  AddFileDateCommands(table);
  AddFileQueryCommands(table);
}
