// Registry values and key trees by root code, and the usage counts of shared files under
// SharedDlls with the per-product owner marks that keep a second installation from counting
// twice.
#include <windows.h>

#include "commands/command_families.h"
#include "commands/command_state_win32.h"
#include "engine/executor.h"
#include "support/registry_win32.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

constexpr const char* kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr int kCurrentUser = 2, kLocalMachine = 3;

// REGGETSETTING( root, key, value name, default, variable ): the string value or the default.
int RegGetSettingCommand(Interpreter& ip, TokenLine& line) {
  int32_t root = 0;
  std::string key, name, defaultValue, variable;
  if (int r = ReadNumberParam(ip, line, 1, root)) return r;
  if (int r = ReadStringParam(ip, line, 2, key)) return r;
  if (int r = ReadStringParam(ip, line, 3, name)) return r;
  if (int r = ReadStringParam(ip, line, 4, defaultValue)) return r;
  if (int r = ReadVariableParam(ip, line, 5, variable)) return r;
  return ip.variables.SetVariable(variable, ReadRegString(root, key, name, defaultValue));
}

// REGWRITESETTING( root, key, value name, value ): 10062 when the key cannot be created.
int RegWriteSettingCommand(Interpreter& ip, TokenLine& line) {
  int32_t root = 0;
  std::string key, name, value;
  if (int r = ReadNumberParam(ip, line, 1, root)) return r;
  if (int r = ReadStringParam(ip, line, 2, key)) return r;
  if (int r = ReadStringParam(ip, line, 3, name)) return r;
  if (int r = ReadStringParam(ip, line, 4, value)) return r;
  if (WriteRegString(root, key, name, value)) return ERR_REGISTRY_CREATE_FAILED;
  ip.installLog.Note("Registry: ", RegistryRootName(root), "\\", key, " ", name, " = \"", value, "\"");
  return 0;
}

// REGDELETESETTING( root, key, value name ): the value, or with an empty name the whole key.
int RegDeleteSettingCommand(Interpreter& ip, TokenLine& line) {
  int32_t root = 0;
  std::string key, name;
  if (int r = ReadNumberParam(ip, line, 1, root)) return r;
  if (int r = ReadStringParam(ip, line, 2, key)) return r;
  if (int r = ReadStringParam(ip, line, 3, name)) return r;
  DeleteRegEntry(root, key, name);
  ip.installLog.Note("Registry: ", RegistryRootName(root), "\\", key, name.empty() ? " removed" : " " + name + " removed");
  return 0;
}

// REGGETINT( root, key, value name, default, variable ): the 32-bit value or the default.
int RegGetIntCommand(Interpreter& ip, TokenLine& line) {
  int32_t root = 0, defaultValue = 0;
  std::string key, name, variable;
  if (int r = ReadNumberParam(ip, line, 1, root)) return r;
  if (int r = ReadStringParam(ip, line, 2, key)) return r;
  if (int r = ReadStringParam(ip, line, 3, name)) return r;
  if (int r = ReadNumberParam(ip, line, 4, defaultValue)) return r;
  if (int r = ReadVariableParam(ip, line, 5, variable)) return r;
  return ip.variables.SetVariableNumber(variable, ReadRegNumber(root, key, name, defaultValue));
}

// REGWRITEINT( root, key, value name, number ): 10062 when the key cannot be created.
int RegWriteIntCommand(Interpreter& ip, TokenLine& line) {
  int32_t root = 0, value = 0;
  std::string key, name;
  if (int r = ReadNumberParam(ip, line, 1, root)) return r;
  if (int r = ReadStringParam(ip, line, 2, key)) return r;
  if (int r = ReadStringParam(ip, line, 3, name)) return r;
  if (int r = ReadNumberParam(ip, line, 4, value)) return r;
  if (WriteRegNumber(root, key, name, value)) return ERR_REGISTRY_CREATE_FAILED;
  ip.installLog.Note("Registry: ", RegistryRootName(root), "\\", key, " ", name, " = ", DecimalText(value));
  return 0;
}

std::string OwnerKey(const std::string& company, const std::string& product) {
  return "SOFTWARE\\" + company + "\\" + product + "\\SharedFiles";
}

// Whether this owner has counted [file]: its mark in HKEY_LOCAL_MACHINE, or the one that older
// installations left in HKEY_CURRENT_USER.
int32_t OwnerCounted(const std::string& owner, const std::string& file) {
  return ReadRegNumber(kLocalMachine, owner, file, ReadRegNumber(kCurrentUser, owner, file, 0));
}

// One more use of [file] by the owner, unless it counted the file already. A file that is
// there without a count was put there by someone unknown: it counts as one use.
int32_t AddSharedUse(const std::string& file, const std::string& owner) {
  const int32_t counted = OwnerCounted(owner, file);
  int32_t count = ReadRegNumber(kLocalMachine, kSharedDlls, file, 0);
  WriteRegNumber(kLocalMachine, owner, file, 1);
  if (counted == 0) {
    if (count == 0 && FileExists(file)) count = 1;
    ++count;
    WriteRegNumber(kLocalMachine, kSharedDlls, file, count);
  }
  DeleteRegEntry(kCurrentUser, owner, file);
  return count;
}

// One use fewer, when the owner had counted the file. At zero the file goes, and with it the
// count; a file still in use keeps its count, so a later run can try again.
int32_t DropSharedUse(const std::string& file, const std::string& owner) {
  const int32_t counted = OwnerCounted(owner, file);
  int32_t count = ReadRegNumber(kLocalMachine, kSharedDlls, file, 0);
  DeleteRegEntry(kCurrentUser, owner, file);
  DeleteRegEntry(kLocalMachine, owner, file);
  if (counted == 0) return count;
  --count;
  if (count >= 1) {
    WriteRegNumber(kLocalMachine, kSharedDlls, file, count);
    return count;
  }
  DeleteMatching(file);
  if (!FileExists(file)) DeleteRegEntry(kLocalMachine, kSharedDlls, file);
  return 0;  // a count that was 0 already does not go below it
}

int ReadStrings(Interpreter& ip, TokenLine& line, std::string* out, int count) {
  for (int n = 0; n < count; ++n)
    if (int r = ReadStringParam(ip, line, n + 1, out[n])) return r;
  return 0;
}

// GETREGISTRYCOUNT( file ) / GETSHARECOUNT( file ): ERROR = the file's count.
int GetShareCountCommand(Interpreter& ip, TokenLine& line) {
  std::string file;
  if (int r = ReadStringParam(ip, line, 1, file)) return r;
  return SetErrorVariable(ip, ReadRegNumber(kLocalMachine, kSharedDlls, file, 0));
}

// SETSHAREDREGISTRY( company, product, third ): the owner of REGISTER( and UNREGISTER(.
int SetSharedRegistryCommand(Interpreter& ip, TokenLine& line) {
  std::string p[3];
  if (int r = ReadStrings(ip, line, p, 3)) return r;
  ip.commandState->sharedOwner = {p[0], p[1]};
  return 0;
}

// The shared use counted or dropped, as the log and ERROR report it.
int ReportSharedUse(Interpreter& ip, const std::string& file, int32_t count) {
  ip.installLog.Note("Shared file: ", file, " used ", DecimalText(count), count == 1 ? " time" : " times");
  return SetErrorVariable(ip, count);
}

int RegisterCommand(Interpreter& ip, TokenLine& line) {
  std::string file;
  if (int r = ReadStringParam(ip, line, 1, file)) return r;
  const SharedOwner& owner = ip.commandState->sharedOwner;
  const std::string upper = ip.platform.UpperText(file);
  return ReportSharedUse(ip, upper, AddSharedUse(upper, OwnerKey(owner.company, owner.product)));
}

int UnregisterCommand(Interpreter& ip, TokenLine& line) {
  std::string file;
  if (int r = ReadStringParam(ip, line, 1, file)) return r;
  const SharedOwner& owner = ip.commandState->sharedOwner;
  const std::string upper = ip.platform.UpperText(file);
  return ReportSharedUse(ip, upper, DropSharedUse(upper, OwnerKey(owner.company, owner.product)));
}

// REGISTERSHARED( file, company, product ) and UNREGISTERSHARED( file, company, product ).
int RegisterSharedCommand(Interpreter& ip, TokenLine& line) {
  std::string p[3];
  if (int r = ReadStrings(ip, line, p, 3)) return r;
  const std::string upper = ip.platform.UpperText(p[0]);
  return ReportSharedUse(ip, upper, AddSharedUse(upper, OwnerKey(p[1], p[2])));
}

int UnregisterSharedCommand(Interpreter& ip, TokenLine& line) {
  std::string p[3];
  if (int r = ReadStrings(ip, line, p, 3)) return r;
  const std::string upper = ip.platform.UpperText(p[0]);
  return ReportSharedUse(ip, upper, DropSharedUse(upper, OwnerKey(p[1], p[2])));
}

}  // namespace

void AddRegistryCommands(CommandTable& table) {
  table.Add(TOK_REGGETSETTING, RegGetSettingCommand);
  table.Add(TOK_REGWRITESETTING, RegWriteSettingCommand);
  table.Add(TOK_REGDELETESETTING, RegDeleteSettingCommand);
  table.Add(TOK_REGGETINT, RegGetIntCommand);
  table.Add(TOK_REGWRITEINT, RegWriteIntCommand);
  table.Add(TOK_GETREGISTRYCOUNT, GetShareCountCommand);
  table.Add(TOK_GETSHARECOUNT, GetShareCountCommand);
  table.Add(TOK_SETSHAREDREGISTRY, SetSharedRegistryCommand);
  table.Add(TOK_REGISTER, RegisterCommand);
  table.Add(TOK_UNREGISTER, UnregisterCommand);
  table.Add(TOK_REGISTERSHARED, RegisterSharedCommand);
  table.Add(TOK_UNREGISTERSHARED, UnregisterSharedCommand);
}
