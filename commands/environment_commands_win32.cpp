// Environment variables in the process, in the system and user environment of the registry, or
// as lines of a start-up batch file; directories added to the path; and the FILES= and
// BUFFERS= values of a start-up configuration file.
#include <windows.h>

#include "commands/command_families.h"
#include "commands/copy_rules.h"
#include "commands/startup_file_edits.h"
#include "engine/executor.h"
#include "support/file_helpers_win32.h"
#include "support/text.h"
#include "support/text_file_edit_win32.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

constexpr const char* kSystemEnvironment = "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
constexpr const char* kUserEnvironment = "Environment";

// Where place 1 and 2 live: root code and key; false for the other places.
bool RegistryEnvironment(int32_t place, int& root, const char*& key) {
  if (place != 1 && place != 2) return false;
  root = place == 1 ? 3 : 2;
  key = place == 1 ? kSystemEnvironment : kUserEnvironment;
  return true;
}

// These commands report a parameter of any wrong kind as a wrong number.
int AsNumericError(int result) { return result ? ERR_INVALID_NUMERIC_PARAMETER : 0; }

// The batch file edited through a work file beside it: 0, or 1 when it exists but cannot be
// opened for reading and writing (or not be replaced), 2 when the work file cannot be made or
// written in full, 3 when it is missing and cannot be created with [newFileLine].
template <typename Edit>
int EditBatchFile(Interpreter& ip, const std::string& path, const std::string& newFileLine, Edit edit) {
  TextFileEdit file(ip.log);
  switch (file.Open(path)) {
    case TextFileEdit::OpenResult::Missing: return CreateTextFile(path, {newFileLine}) ? 0 : 3;
    case TextFileEdit::OpenResult::Locked: return 1;
    case TextFileEdit::OpenResult::Opened: break;
  }
  switch (file.Save(edit(file.Lines()))) {
    case TextFileEdit::SaveResult::Saved: return 0;
    case TextFileEdit::SaveResult::ReplaceFailed: return 1;
    default: return 2;
  }
}

// GETENVIRON( place, name, variable ): 0 the process, 1 the system, 2 the user environment.
int GetEnvironCommand(Interpreter& ip, TokenLine& line) {
  int32_t place = 0;
  std::string name, variable;
  if (int r = AsNumericError(ReadNumberParam(ip, line, 1, place))) return r;
  if (int r = AsNumericError(ReadStringParam(ip, line, 2, name))) return r;
  if (int r = AsNumericError(ReadVariableParam(ip, line, 3, variable))) return r;
  int root = 0;
  const char* key = nullptr;
  if (place == 0) return ip.variables.SetVariable(variable, ip.platform.Environment(name));
  if (!RegistryEnvironment(place, root, key)) return 0;
  return ip.variables.SetVariable(variable, ReadRegString(root, key, name, ""));
}

// SETENVIRON( place, batch file, name, value ): 0 a "SET" line of the batch file, 1 and 2 the
// registry environments; an empty value removes the variable there.
int SetEnvironCommand(Interpreter& ip, TokenLine& line) {
  int32_t place = 0;
  std::string batch, name, value;
  if (int r = AsNumericError(ReadNumberParam(ip, line, 1, place))) return r;
  if (int r = AsNumericError(ReadStringParam(ip, line, 2, batch))) return r;
  if (int r = AsNumericError(ReadStringParam(ip, line, 3, name))) return r;
  if (int r = AsNumericError(ReadStringParam(ip, line, 4, value))) return r;
  int root = 0;
  const char* key = nullptr;
  if (place == 0) {
    const int edited = EditBatchFile(ip, batch, "SET " + name + "=" + value, [&](const auto& lines) {
      return SetBatchVariable(lines, name, value);
    });
    if (edited == 0) ip.installLog.Note("Environment: ", batch, ": SET ", name, "=", value);
    return SetErrorVariable(ip, edited);
  }
  // An empty name would make the removal take the whole environment key with it.
  if (RegistryEnvironment(place, root, key) && !name.empty()) {
    if (value.empty()) DeleteRegEntry(root, key, name);
    else WriteRegString(root, key, name, value);
    ip.installLog.Note("Environment: ", RegistryRootName(root), "\\", key, " ", name,
                       value.empty() ? " removed" : " = " + value);
  }
  return SetErrorVariable(ip, 0);
}

// ADDPATH( place, batch file, directory ): the directory added to the batch file's path lines
// (place 0) or to the environment's "Path" value (1, 2) unless it is there.
int AddPathCommand(Interpreter& ip, TokenLine& line) {
  int32_t place = 0;
  std::string batch, directory;
  if (int r = AsNumericError(ReadNumberParam(ip, line, 1, place))) return r;
  if (int r = AsNumericError(ReadStringParam(ip, line, 2, batch))) return r;
  if (int r = AsNumericError(ReadStringParam(ip, line, 3, directory))) return r;
  int root = 0;
  const char* key = nullptr;
  if (place == 0) {
    const int edited = EditBatchFile(ip, batch, "PATH=" + directory, [&](const auto& lines) {
      return AddBatchPath(lines, directory);
    });
    if (edited == 0) ip.installLog.Note("Environment: ", batch, ": ", directory, " in the path");
    return SetErrorVariable(ip, edited);
  }
  if (RegistryEnvironment(place, root, key)) {
    // Read whole and written back with the type it had: a cut path would lose its end, and a
    // path of REG_EXPAND_SZ keeps expanding the other variables it names.
    DWORD type = REG_SZ;
    const std::string path = ReadRegLongString(root, key, "Path", "", &type);
    WriteRegString(root, key, "Path", AddToPathValue(path, WindowsDirectory(), directory),
                   type == REG_EXPAND_SZ ? REG_EXPAND_SZ : REG_SZ);
    ip.installLog.Note("Environment: ", RegistryRootName(root), "\\", key, " Path holds ", directory);
  }
  return SetErrorVariable(ip, 0);
}

// A copy of [path] under [backup] in blocks of 300 bytes with the original's date, refused when
// the volume has no more free bytes than the file is long. No partial copy is left behind.
bool MakeBackupCopy(const std::string& path, const std::string& backup) {
  HANDLE source = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
  if (source == INVALID_HANDLE_VALUE) return false;
  const DWORD length = GetFileSize(source, nullptr);
  FILETIME written{};
  GetFileTime(source, nullptr, nullptr, &written);
  bool copied = false;
  if (QueryDriveSpace(backup).freeBytes > length) {
    HANDLE target = CreateFileA(backup.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (target != INVALID_HANDLE_VALUE) {
      FileBlockSource reader(source);
      FileBlockSink writer(target);
      char buffer[300];
      copied = CopyBlocks(reader, writer, static_cast<long>(length), 300, buffer, 300) == BlockCopyResult::Done &&
               SetFileTime(target, nullptr, nullptr, &written);
      CloseHandle(target);
      if (!copied) DeleteFileA(backup.c_str());
    }
  }
  CloseHandle(source);
  return copied;
}

struct ConfigResult {
  std::string backup;
  int changes = 0;
  int error = 1;  // 0 only when the file was newly created
};

ConfigResult ChangeConfigFile(Interpreter& ip, const std::string& path, int32_t files, int32_t buffers, int32_t create) {
  ConfigResult result;
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    if (create == 0) return result;
    std::vector<std::string> lines;
    if (files > 0) lines.push_back("FILES=" + DecimalText(files));
    if (buffers > 0) lines.push_back("BUFFERS=" + DecimalText(buffers));
    if (!CreateTextFile(path, lines)) return result;
    result.changes = static_cast<int>(lines.size());
    result.error = 0;
    return result;
  }
  result.backup = BackupName(path, [](const std::string& name) { return FileExists(name); });
  // Without its backup the file is not touched.
  if (!MakeBackupCopy(path, result.backup)) {
    ip.log.LogText("ChangeConfig: the backup '" + result.backup + "' of '" + path + "' could not be made; the file is unchanged\r\n");
    result.backup.clear();
    return result;
  }
  TextFileEdit file(ip.log);
  if (file.Open(path, true) == TextFileEdit::OpenResult::Opened) {
    ConfigEdit edit = RaiseConfigValues(file.Lines(), files, buffers);
    if (edit.changes > 0 && file.Save(edit.lines) == TextFileEdit::SaveResult::Saved) result.changes = edit.changes;
  }
  if (result.changes == 0) DeleteFileA(result.backup.c_str());  // its name is still reported
  return result;
}

// CHANGECONFIG( file, files, buffers, backup variable, changes variable, create ).
int ChangeConfigCommand(Interpreter& ip, TokenLine& line) {
  std::string path, backupVariable, changesVariable;
  int32_t files = 0, buffers = 0, create = 0;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (int r = ReadNumberParam(ip, line, 2, files)) return r;
  if (int r = ReadNumberParam(ip, line, 3, buffers)) return r;
  for (int n : {4, 5}) {
    line.paramNo = n;
    if (line.At(line.cursor + 2 * (n - 1)) != TOK_VARIABLE) return ERR_INVALID_VARIABLE_NAME;
    (n == 4 ? backupVariable : changesVariable) = VariableName(ip, line);
  }
  if (int r = ReadNumberParam(ip, line, 6, create)) return r;
  const bool wasBusy = ip.windows && ip.windows->BusyCursor();
  ip.platform.SetBusyCursor(true);
  const ConfigResult result = ChangeConfigFile(ip, path, files, buffers, create);
  ip.platform.SetBusyCursor(wasBusy);
  if (result.changes > 0)
    ip.installLog.Note("Configuration: ", path, " (", DecimalText(result.changes), " changes, backup ", result.backup, ")");
  if (int r = ip.variables.SetVariable(backupVariable, result.backup)) return r;
  if (int r = ip.variables.SetVariableNumber(changesVariable, result.changes)) return r;
  return SetErrorVariable(ip, result.error);
}

}  // namespace

void AddEnvironmentCommands(CommandTable& table) {
  table.Add(TOK_GETENVIRON, GetEnvironCommand);
  table.Add(TOK_SETENVIRON, SetEnvironCommand);
  table.Add(TOK_ADDPATH, AddPathCommand);
  table.Add(TOK_CHANGECONFIG, ChangeConfigCommand);
}
