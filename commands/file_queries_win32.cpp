// Questions about the machine's files: ISWRITEABLE(, GETDISKSPACE(, GETDISKSPACEK(,
// GETFILEVERSION(, FINDFIRST(, FINDNEXT(, FINDINPATH(, GETMODULEINUSE(, and APPENDFILE(.
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "commands/command_state_win32.h"
#include "commands/file_commands_win32.h"
#include "commands/file_info_win32.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

int IsWriteableCommand(Interpreter& ip, TokenLine& line) {
  std::string directory;
  if (int r = ReadStringParam(ip, line, 1, directory)) return r;
  if (directory.size() > 2 && directory.back() != '\\') directory += '\\';
  const std::string probe = directory + "SETUP.TST";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return SetErrorVariable(ip, 0);
  CloseHandle(file);
  DeleteFileA(probe.c_str());
  return SetErrorVariable(ip, 1);
}

// The value truncated to 64 bits, of which the low 32 are stored as a signed number.
int DiskSpaceCommand(Interpreter& ip, TokenLine& line, bool kilobytes) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  const float free = GetDiskFree(ip.log, path, kilobytes);
  const int64_t whole = free >= 9.2e18f ? INT64_MAX : static_cast<int64_t>(std::trunc(free));
  return SetErrorVariable(ip, static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(whole))));
}
int GetDiskSpaceCommand(Interpreter& ip, TokenLine& line) { return DiskSpaceCommand(ip, line, false); }
int GetDiskSpaceKCommand(Interpreter& ip, TokenLine& line) { return DiskSpaceCommand(ip, line, true); }

int GetFileVersionCommand(Interpreter& ip, TokenLine& line) {
  std::string path, padded, plain;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (int r = ReadVariableParam(ip, line, 2, padded)) return r;
  if (int r = ReadVariableParam(ip, line, 3, plain)) return r;
  if (!FileExists(path)) return SetErrorVariable(ip, 1);
  uint32_t most = 0, least = 0;
  if (!QueryFileVersion(ip.log, path, most, least)) return SetErrorVariable(ip, 2);
  const unsigned parts[] = {most >> 16, most & 0xFFFF, least >> 16, least & 0xFFFF};
  char text[64];
  std::snprintf(text, sizeof text, "%05u.%05u.%05u.%05u", parts[0], parts[1], parts[2], parts[3]);
  if (int r = ip.variables.SetVariable(padded, text)) return r;
  std::snprintf(text, sizeof text, "%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
  if (int r = ip.variables.SetVariable(plain, text)) return r;
  return SetErrorVariable(ip, 0);
}

// Moves the search to the next entry that is a file and does not begin with "."; false when
// there is none.
bool NextFile(FileSearch& search, bool first) {
  if (search.handle == INVALID_HANDLE_VALUE) return false;
  for (bool have = first; have || FindNextFileA(search.handle, &search.entry); have = false) {
    if (search.entry.cFileName[0] != '.' && !(search.entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return true;
  }
  search.Close();
  return false;
}

int StoreFound(Interpreter& ip, const std::string& variable, bool found) {
  FileSearch& search = ip.commandState->search;
  if (!found) return SetErrorVariable(ip, 1);
  if (int r = ip.variables.SetVariable(variable, search.directory + search.entry.cFileName)) return r;
  return SetErrorVariable(ip, 0);
}

int FindFirstCommand(Interpreter& ip, TokenLine& line) {
  std::string pattern, variable;
  if (int r = ReadStringParam(ip, line, 1, pattern)) return r;
  if (int r = ReadVariableParam(ip, line, 2, variable)) return r;
  FileSearch& search = ip.commandState->search;
  search.Close();
  const std::string directory = DirectoryPart(pattern);
  search.directory = directory.empty() ? std::string() : EnsureBackslash(directory);
  search.handle = FindFirstFileA(pattern.c_str(), &search.entry);
  return StoreFound(ip, variable, NextFile(search, true));
}

int FindNextCommand(Interpreter& ip, TokenLine& line) {
  std::string variable;
  if (int r = ReadVariableParam(ip, line, 1, variable)) return r;
  return StoreFound(ip, variable, NextFile(ip.commandState->search, false));
}

std::string FindInPath(Interpreter& ip, const std::string& name) {
  const std::string here = EnsureBackslash(ip.platform.CurrentDirectory()) + name;
  const bool plainName = name.find('\\') == std::string::npos && name.find(':') == std::string::npos;
  if (plainName && FileExists(name)) return here;
  if (name.find('\\') != std::string::npos && FileExists(name)) return name;
  if (FileExists(here)) return here;
  // Along the directories of PATH, as the C run-time search walks them; names of any length.
  char found[MAX_PATH] = "";
  _searchenv(name.c_str(), "PATH", found);
  return found;
}

int FindInPathCommand(Interpreter& ip, TokenLine& line) {
  std::string name, variable;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (int r = ReadVariableParam(ip, line, 2, variable)) return r;
  const std::string result = FindInPath(ip, name);
  if (int r = ip.variables.SetVariable(variable, result)) return r;
  return SetErrorVariable(ip, result.empty() ? 0 : 1);
}

int GetModuleInUseCommand(Interpreter& ip, TokenLine& line) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (GetModuleInUse(ip, path) != 0) return SetErrorVariable(ip, 1);
  if (FileExists(path)) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return SetErrorVariable(ip, 1);
    CloseHandle(file);
  }
  return SetErrorVariable(ip, 0);
}

// APPENDFILE( line, file ): the line is added unless the file holds it already. A last line
// without a line end gets one first, so that the new line does not run into it.
int AppendFileCommand(Interpreter& ip, TokenLine& line) {
  std::string text, path;
  if (int r = ReadStringParam(ip, line, 1, text)) return r;
  if (int r = ReadStringParam(ip, line, 2, path)) return r;
  const bool exists = FileExists(path);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, exists ? OPEN_EXISTING : CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return exists ? ERR_SOURCE_NOT_FOUND : ERR_TARGET_CREATE_FAILED;
  std::string buffer(65536, '\0');
  bool present = false;
  while (!present && ReadTextLine(file, buffer.data(), static_cast<int>(buffer.size())))
    present = text == buffer.c_str();
  if (!present) {
    const DWORD size = GetFileSize(file, nullptr);
    char last = '\n';
    DWORD got = 0;
    if (size > 0 && SetFilePointer(file, -1, nullptr, FILE_END) != INVALID_SET_FILE_POINTER)
      ReadFile(file, &last, 1, &got, nullptr);
    SetFilePointer(file, 0, nullptr, FILE_END);
    if (last != '\n') WriteTextLine(file, "");
    WriteTextLine(file, text);
  }
  CloseHandle(file);
  return 0;
}

}  // namespace

void AddFileQueryCommands(CommandTable& table) {
  table.Add(TOK_ISWRITEABLE, IsWriteableCommand);
  table.Add(TOK_GETDISKSPACE, GetDiskSpaceCommand);
  table.Add(TOK_GETDISKSPACEK, GetDiskSpaceKCommand);
  table.Add(TOK_GETFILEVERSION, GetFileVersionCommand);
  table.Add(TOK_FINDFIRST, FindFirstCommand);
  table.Add(TOK_FINDNEXT, FindNextCommand);
  table.Add(TOK_FINDINPATH, FindInPathCommand);
  table.Add(TOK_GETMODULEINUSE, GetModuleInUseCommand);
  table.Add(TOK_APPENDFILE, AppendFileCommand);
}
