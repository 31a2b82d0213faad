// INI files: single entries through the system's profile functions, ";"-lists in one entry, and
// sections that hold the same key several times edited as text.
#include <windows.h>

#include "commands/command_families.h"
#include "commands/ini_edits.h"
#include "commands/ini_files_win32.h"
#include "engine/executor.h"
#include "support/text.h"
#include "support/text_file_edit_win32.h"
#include "support/win32.h"

namespace {

// A profile value read whole: the buffer grows until the value fits (the profile functions
// give back size - 1 when they had to cut it).
std::string ReadProfileValue(const std::string& section, const std::string& key, const std::string& defaultValue,
                             const std::string& file) {
  std::string buffer(300, '\0');
  for (;;) {
    const DWORD got = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                               static_cast<DWORD>(buffer.size()), file.c_str());
    if (got + 1 < buffer.size() || buffer.size() >= (1u << 24)) return buffer.substr(0, got);
    buffer.assign(buffer.size() * 4, '\0');
  }
}

// An empty key deletes the section, an empty value the entry.
void WriteProfileValue(Interpreter& ip, const std::string& section, const std::string& key, const std::string& value,
                       const std::string& file) {
  WritePrivateProfileStringA(section.c_str(), key.empty() ? nullptr : key.c_str(),
                             value.empty() ? nullptr : value.c_str(), file.c_str());
  if (key.empty()) ip.installLog.Note("INI: ", file, " [", section, "] removed");
  else if (value.empty()) ip.installLog.Note("INI: ", file, " [", section, "] ", key, " removed");
  else ip.installLog.Note("INI: ", file, " [", section, "] ", key, " = ", value);
}

int ReadStrings(Interpreter& ip, TokenLine& line, std::string* out, int count) {
  for (int n = 0; n < count; ++n)
    if (int r = ReadStringParam(ip, line, n + 1, out[n])) return r;
  return 0;
}

// GETPRIVATEPROFILESTRING( / GETPROFILESTRING( section, key, default, file, variable ): the
// value, or the default when it is missing or empty.
int GetProfileStringCommand(Interpreter& ip, TokenLine& line) {
  std::string p[4], variable;
  if (int r = ReadStrings(ip, line, p, 4)) return r;
  if (int r = ReadVariableParam(ip, line, 5, variable)) return r;
  const std::string value = ReadProfileValue(p[0], p[1], p[2], p[3]);
  return ip.variables.SetVariable(variable, value.empty() ? p[2] : value);
}

// WRITEPRIVATEPROFILESTRING( / WRITEPROFILESTRING( section, key, value, file).
int WriteProfileStringCommand(Interpreter& ip, TokenLine& line) {
  std::string p[4];
  if (int r = ReadStrings(ip, line, p, 4)) return r;
  WriteProfileValue(ip, p[0], p[1], p[2], p[3]);
  return 0;
}

// APPENDPROFILESTRING( section, key, item, file ): the item added to the entry's ";"-list
// unless it is there. The list is read whole: a cut list written back would lose its end.
int AppendProfileStringCommand(Interpreter& ip, TokenLine& line) {
  std::string p[4];
  if (int r = ReadStrings(ip, line, p, 4)) return r;
  const std::string &section = p[0], &key = p[1], &item = p[2], &file = p[3];
  if (key.empty() || item.empty()) {
    WriteProfileValue(ip, section, key, item, file);
    return 0;
  }
  std::string updated;
  if (AppendListItem(ReadProfileValue(section, key, "", file), item, updated))
    WriteProfileValue(ip, section, key, updated, file);
  return 0;
}

// The text edits find a file without a directory in the Windows directory, as the profile
// functions do.
std::string IniFilePath(const std::string& file) {
  return file.find('\\') != std::string::npos ? file : EnsureBackslash(WindowsDirectory()) + file;
}

// WRITEMULTIPROFILESTRING( section, key, value, file ): "key=value" added to the section even
// when the key is there; ERROR 1 when the file was written, 0 when not.
int WriteMultiProfileStringCommand(Interpreter& ip, TokenLine& line) {
  std::string p[4];
  if (int r = ReadStrings(ip, line, p, 4)) return r;
  const bool written = WriteMultiProfileEntry(ip.log, p[3], p[0], p[1], p[2]);
  if (written) ip.installLog.Note("INI: ", p[3], " [", p[0], "] ", p[1], "=", p[2], " added");
  return SetErrorVariable(ip, written ? 1 : 0);
}

// DELMULTIPROFILESTRING( section, key, value, file ): every "key=value" line of the section
// removed; ERROR 1 when the file was processed, 0 when not.
int DelMultiProfileStringCommand(Interpreter& ip, TokenLine& line) {
  std::string p[4];
  if (int r = ReadStrings(ip, line, p, 4)) return r;
  const std::string path = IniFilePath(p[3]);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());
  TextFileEdit edit(ip.log);
  if (edit.Open(path) != TextFileEdit::OpenResult::Opened) return SetErrorVariable(ip, 0);
  const bool saved = edit.Save(RemoveMultiEntry(edit.Lines(), p[0], p[1], p[2])) == TextFileEdit::SaveResult::Saved;
  if (saved) ip.installLog.Note("INI: ", path, " [", p[0], "] ", p[1], "=", p[2], " removed");
  return SetErrorVariable(ip, saved ? 1 : 0);
}

// WININICHANGED(): every top-level window is told that the settings changed. A window that
// has stopped answering is passed over instead of holding the installation for ever.
int WinIniChangedCommand(Interpreter&, TokenLine&) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, 0, SMTO_ABORTIFHUNG, 10000, &result);
  return 0;
}

}  // namespace

bool WriteMultiProfileEntry(DebugLog& log, const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value) {
  const std::string path = IniFilePath(file);
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path.c_str());  // profile writes still cached reach the file
  TextFileEdit edit(log);
  switch (edit.Open(path)) {
    case TextFileEdit::OpenResult::Missing:
      return CreateTextFile(path, {"[" + section + "]", key + "=" + value});
    case TextFileEdit::OpenResult::Locked:
      return false;
    case TextFileEdit::OpenResult::Opened:
      break;
  }
  return edit.Save(AddMultiEntry(edit.Lines(), section, key, value)) == TextFileEdit::SaveResult::Saved;
}

void AddIniCommands(CommandTable& table) {
  table.Add(TOK_GETPRIVATEPROFILESTRING, GetProfileStringCommand);
  table.Add(TOK_GETPROFILESTRING, GetProfileStringCommand);
  table.Add(TOK_WRITEPRIVATEPROFILESTRING, WriteProfileStringCommand);
  table.Add(TOK_WRITEPROFILESTRING, WriteProfileStringCommand);
  table.Add(TOK_APPENDPROFILESTRING, AppendProfileStringCommand);
  table.Add(TOK_WRITEMULTIPROFILESTRING, WriteMultiProfileStringCommand);
  table.Add(TOK_DELMULTIPROFILESTRING, DelMultiProfileStringCommand);
  table.Add(TOK_WININICHANGED, WinIniChangedCommand);
}
