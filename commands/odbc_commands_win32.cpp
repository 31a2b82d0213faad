// ODBC drivers, translators and data sources through the system's ODBC installer library,
// loaded for the length of one command.
#include <windows.h>

#include <string>

#include "commands/command_families.h"
#include "commands/directories_win32.h"
#include "commands/odbc_lists.h"
#include "engine/executor.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

constexpr WORD kPathBufferSize = 261;
constexpr WORD kInstallComplete = 2;  // ODBC_INSTALL_COMPLETE

// ODBCCP32.DLL from the system directory, bound by the names of its functions while the
// object lives.
class OdbcInstaller {
 public:
  OdbcInstaller() = default;
  OdbcInstaller(const OdbcInstaller&) = delete;
  OdbcInstaller& operator=(const OdbcInstaller&) = delete;
  ~OdbcInstaller() {
    if (module_) FreeLibrary(module_);
  }

  // False when the library is missing or lacks one of the functions.
  bool Bind() {
    const std::string path = EnsureBackslash(SystemDirectory()) + "ODBCCP32.DLL";
    if (!FileExists(path) || !(module_ = LoadLibraryA(path.c_str()))) return false;
    return Take(installDriverManager, "SQLInstallDriverManager") && Take(installDriver, "SQLInstallDriverEx") &&
           Take(installTranslator, "SQLInstallTranslatorEx") && Take(removeDriver, "SQLRemoveDriver") &&
           Take(removeTranslator, "SQLRemoveTranslator") && Take(removeDriverManager, "SQLRemoveDriverManager") &&
           Take(configDataSource, "SQLConfigDataSource") && Take(installerError, "SQLInstallerError");
  }

  BOOL(WINAPI* installDriverManager)(LPSTR path, WORD size, WORD* length) = nullptr;
  BOOL(WINAPI* installDriver)(LPCSTR list, LPCSTR pathIn, LPSTR pathOut, WORD size, WORD* length, WORD request,
                              LPDWORD usage) = nullptr;
  BOOL(WINAPI* installTranslator)(LPCSTR list, LPCSTR pathIn, LPSTR pathOut, WORD size, WORD* length, WORD request,
                                  LPDWORD usage) = nullptr;
  BOOL(WINAPI* removeDriver)(LPCSTR description, BOOL removeDataSources, LPDWORD usage) = nullptr;
  BOOL(WINAPI* removeTranslator)(LPCSTR description, LPDWORD usage) = nullptr;
  BOOL(WINAPI* removeDriverManager)(LPDWORD usage) = nullptr;
  BOOL(WINAPI* configDataSource)(HWND parent, WORD request, LPCSTR driver, LPCSTR attributes) = nullptr;
  SHORT(WINAPI* installerError)(WORD record, DWORD* code, LPSTR message, WORD size, WORD* length) = nullptr;

 private:
  template <typename F>
  bool Take(F& function, const char* name) {
    function = reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    return function != nullptr;
  }
  HMODULE module_ = nullptr;
};

// The installer's first error record, shown to the user; its code goes into ERROR.
int ReportOdbcError(Interpreter& ip, OdbcInstaller& installer) {
  DWORD code = 0;
  char message[290] = "";
  WORD length = 0;
  installer.installerError(1, &code, message, sizeof message, &length);
  ShowCodedMessage(ip, std::string("ODBCError: ") + message, -1, nullptr, nullptr);
  return SetErrorVariable(ip, code);
}

// A file name without a folder names a file of the system directory.
std::string InSystemDirectory(const std::string& file) {
  return file.find('\\') == std::string::npos ? EnsureBackslash(SystemDirectory()) + file : file;
}

int InstallDriverManagerCommand(Interpreter& ip, TokenLine& line) {
  std::string countName, pathName;
  if (int r = ReadVariableParam(ip, line, 1, countName)) return r;
  if (ParamToken(line, 2) == TOK_VARIABLE) ReadVariableParam(ip, line, 2, pathName);
  OdbcInstaller installer;
  if (!installer.Bind()) return ERR_ODBC_LOAD_FAILED;
  char buffer[kPathBufferSize] = "";
  WORD length = 0;
  if (!installer.installDriverManager(buffer, kPathBufferSize, &length)) return ReportOdbcError(ip, installer);
  const std::string path = EnsureBackslash(buffer);
  MakeDirectory(ip.log, path);
  const int32_t usage = ReadRegNumber(3, "Software\\ODBC\\ODBCINST.INI\\ODBC Core", "UsageCount", 0);
  if (int r = ip.variables.SetVariableNumber(countName, usage)) return r;
  if (!pathName.empty())
    if (int r = ip.variables.SetVariable(pathName, path)) return r;
  return SetErrorVariable(ip, 0);
}

// ODBCINSTALLDRIVER( and ODBCINSTALLTRANSLATOR(: description, file, setup file, then the usage
// count variable (a driver may have an unused number before it).
int InstallComponent(Interpreter& ip, TokenLine& line, bool driver) {
  std::string description, file, setupFile, countName;
  if (int r = ReadStringParam(ip, line, 1, description)) return r;
  if (int r = ReadStringParam(ip, line, 2, file)) return r;
  if (int r = ReadStringParam(ip, line, 3, setupFile)) return r;
  int countAt = 4;
  if (driver && ParamToken(line, 5) == TOK_VARIABLE) {
    if (int r = CheckNumber(line, line.cursor + 6, 4)) return r;
    NumberParam(ip, line, line.cursor + 6);
    countAt = 5;
  }
  if (int r = ReadVariableParam(ip, line, countAt, countName)) return r;
  file = InSystemDirectory(file);
  setupFile = InSystemDirectory(setupFile);
  OdbcInstaller installer;
  if (!installer.Bind()) return ERR_ODBC_LOAD_FAILED;
  const std::string list = ComponentAttributeList(description, driver ? "Driver" : "Translator", file, setupFile);
  char path[kPathBufferSize] = "";
  WORD length = 0;
  DWORD usage = 0;
  const auto install = driver ? installer.installDriver : installer.installTranslator;
  if (!install(list.c_str(), nullptr, path, kPathBufferSize, &length, kInstallComplete, &usage))
    return ReportOdbcError(ip, installer);
  return ip.variables.SetVariableNumber(countName, usage);
}

int InstallDriverCommand(Interpreter& ip, TokenLine& line) { return InstallComponent(ip, line, true); }
int InstallTranslatorCommand(Interpreter& ip, TokenLine& line) { return InstallComponent(ip, line, false); }

// ODBCREMOVEDRIVER( and ODBCREMOVETRANSLATOR(: only what the installer counts as installed.
int RemoveComponent(Interpreter& ip, TokenLine& line, bool driver) {
  std::string description, countName;
  if (int r = ReadStringParam(ip, line, 1, description)) return r;
  if (int r = ReadVariableParam(ip, line, 2, countName)) return r;
  if (ReadRegNumber(3, "SOFTWARE\\ODBC\\ODBCINST.INI\\" + description, "UsageCount", 0) <= 0) return 0;
  OdbcInstaller installer;
  if (!installer.Bind()) return ERR_ODBC_LOAD_FAILED;
  DWORD usage = 0;
  const BOOL removed = driver ? installer.removeDriver(description.c_str(), FALSE, &usage)
                              : installer.removeTranslator(description.c_str(), &usage);
  if (!removed) return ReportOdbcError(ip, installer);
  return ip.variables.SetVariableNumber(countName, usage);
}

int RemoveDriverCommand(Interpreter& ip, TokenLine& line) { return RemoveComponent(ip, line, true); }
int RemoveTranslatorCommand(Interpreter& ip, TokenLine& line) { return RemoveComponent(ip, line, false); }

int RemoveDriverManagerCommand(Interpreter& ip, TokenLine& line) {
  std::string countName;
  if (int r = ReadVariableParam(ip, line, 1, countName)) return r;
  OdbcInstaller installer;
  if (!installer.Bind()) return ERR_ODBC_LOAD_FAILED;
  DWORD usage = 0;
  if (!installer.removeDriverManager(&usage)) return ReportOdbcError(ip, installer);
  return ip.variables.SetVariableNumber(countName, usage);
}

// The installer's request for the script's request code: 1 add and 2 remove a user data
// source, 3 add and 4 remove a system data source; 0 for any other code.
WORD DataSourceRequest(int32_t code) {
  switch (code) {
    case 1: return 1;  // ODBC_ADD_DSN
    case 2: return 3;  // ODBC_REMOVE_DSN
    case 3: return 4;  // ODBC_ADD_SYS_DSN
    case 4: return 6;  // ODBC_REMOVE_SYS_DSN
    default: return 0;
  }
}

int ConfigDataSourceCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  if (int r = CheckNumber(line, c, 1)) return r;
  if (int r = CheckString(line, c + 2, 2)) return r;
  const bool withNumber = line.At(c + 6) != TOK_END;
  if (withNumber) {
    if (int r = CheckNumber(line, c + 4, 3)) return r;
    if (int r = CheckString(line, c + 6, 4)) return r;
  } else if (int r = CheckString(line, c + 4, 3)) {
    return r;
  }
  const int32_t request = NumberParam(ip, line, c);
  const std::string driver = StringParam(ip, line, c + 2, true);
  if (withNumber) NumberParam(ip, line, c + 4);
  const std::string attributes = StringParam(ip, line, withNumber ? c + 6 : c + 4, true);
  if (!HasDataSourceName(attributes)) return ERR_ODBC_NO_DATA_SOURCE;
  if (const WORD installerRequest = DataSourceRequest(request)) {
    OdbcInstaller installer;
    if (!installer.Bind()) return ERR_ODBC_LOAD_FAILED;
    const std::string list = DataSourceAttributeList(attributes);
    if (!installer.configDataSource(nullptr, installerRequest, driver.c_str(), list.c_str()))
      return ReportOdbcError(ip, installer);
  }
  return SetErrorVariable(ip, 0);
}

}  // namespace

void AddOdbcCommands(CommandTable& table) {
  table.Add(TOK_ODBCINSTALLDRIVERMANAGER, InstallDriverManagerCommand);
  table.Add(TOK_ODBCINSTALLDRIVER, InstallDriverCommand);
  table.Add(TOK_ODBCINSTALLTRANSLATOR, InstallTranslatorCommand);
  table.Add(TOK_ODBCREMOVEDRIVER, RemoveDriverCommand);
  table.Add(TOK_ODBCREMOVETRANSLATOR, RemoveTranslatorCommand);
  table.Add(TOK_ODBCREMOVEDRIVERMANAGER, RemoveDriverManagerCommand);
  table.Add(TOK_ODBCCONFIGDATASOURCE, ConfigDataSourceCommand);
}
