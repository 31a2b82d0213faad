// OPENDEINSTALL(, ADDDEINSTALL( and CLOSEDEINSTALL(): the record of what a later de-installation
// must undo.
#include <windows.h>

#include "commands/command_families.h"
#include "commands/command_state_win32.h"
#include "commands/deinstall_win32.h"
#include "engine/executor.h"
#include "support/file_replace_win32.h"
#include "support/win32.h"

namespace {

// The whole of an open file, from its start; false when it cannot be read to its end.
bool ReadWholeFile(HANDLE file, std::string& text) {
  const DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE) return false;
  text.assign(size, '\0');
  DWORD got = 0;
  return size == 0 || (ReadFile(file, text.data(), size, &got, nullptr) && got == size);
}

std::string FullPath(const std::string& name) {
  char buffer[MAX_PATH];
  char* filePart = nullptr;
  const DWORD length = GetFullPathNameA(name.c_str(), sizeof buffer, buffer, &filePart);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : name;
}

// An earlier script that cannot be read whole is not opened: writing it out again at the close
// would drop the entries that could not be read.
int OpenDeinstallCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  DeinstallFile& deinstall = ip.commandState->deinstall;
  // A second open while one is open writes the first one out instead of losing its entries.
  if (deinstall.open) CloseDeinstallScript(ip);
  HANDLE file = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  std::string earlier;
  if (file == INVALID_HANDLE_VALUE || !ReadWholeFile(file, earlier)) {
    ip.log.LogText("OpenDeinstall: '" + name + "' cannot be opened\r\n");
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return ERR_DEINSTALL_OPEN_FAILED;
  }
  deinstall.script.Load(earlier);
  deinstall.file = file;
  deinstall.path = FullPath(name);
  deinstall.open = true;
  return 0;
}

int AddDeinstallCommand(Interpreter& ip, TokenLine& line) {
  std::string section, entry;
  if (int r = ReadStringParam(ip, line, 1, section)) return r;
  if (int r = ReadStringParam(ip, line, 2, entry)) return r;
  DeinstallFile& deinstall = ip.commandState->deinstall;
  if (!deinstall.open) return ERR_DEINSTALL_NOT_OPEN;
  return deinstall.script.Add(section, entry);
}

// ERROR tells the script whether the file could be written (0) or kept its earlier text (1).
int CloseDeinstallCommand(Interpreter& ip, TokenLine&) {
  if (!ip.commandState->deinstall.open) return 0;
  return SetErrorVariable(ip, CloseDeinstallScript(ip) ? 0 : 1);
}

}  // namespace

bool CloseDeinstallScript(Interpreter& ip) {
  DeinstallFile& deinstall = ip.commandState->deinstall;
  if (!deinstall.open) return true;
  const std::string text = deinstall.script.Render(ip);
  // The handle is let go first: the finished text takes the file's place by a rename.
  CloseHandle(deinstall.file);
  const bool written = ReplaceFileContents(deinstall.path, text);
  if (!written) ip.log.LogText("CloseDeinstall: '" + deinstall.path + "' kept its earlier text, the new one could not be written\r\n");
  deinstall.file = INVALID_HANDLE_VALUE;
  deinstall.script.Clear();
  deinstall.open = false;
  return written;
}

void AddDeinstallCommands(CommandTable& table) {
  table.Add(TOK_OPENDEINSTALL, OpenDeinstallCommand);
  table.Add(TOK_ADDDEINSTALL, AddDeinstallCommand);
  table.Add(TOK_CLOSEDEINSTALL, CloseDeinstallCommand);
}
