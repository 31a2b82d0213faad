// Registering what an application brings along: self-registering modules, type libraries,
// fonts, services and a file-type association.
#include <windows.h>
#include <oleauto.h>

#include <cstdio>
#include <string>

#include "commands/command_families.h"
#include "engine/executor.h"
#include "support/guarded_call_win32.h"
#include "support/late_bound_win32.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

// ERROR after a self-registration: 0 done, 1 OLE could not start, 2 not loadable, 3 no module,
// 4 no entry point, 5 the entry point reported failure, 6 the entry point crashed.
enum RegistrationOutcome : int32_t {
  REG_DONE = 0, REG_NO_OLE = 1, REG_NOT_LOADED = 2, REG_NOT_A_MODULE = 3, REG_NO_ENTRY = 4,
  REG_ENTRY_FAILED = 5, REG_ENTRY_CRASHED = 6,
};

std::wstring Wide(const std::string& text) {
  std::wstring wide(text.size() + 1, L'\0');
  const int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), static_cast<int>(wide.size()));
  wide.resize(n > 0 ? static_cast<size_t>(n - 1) : 0);
  return wide;
}

// The extension of the path's file name with its dot, lower-cased; empty when it has none.
std::string LowerExtension(const std::string& path) {
  const std::string name = FileNamePart(path);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : LowerAscii(name.substr(dot));
}

int32_t RunRegistrationEntry(Interpreter& ip, const std::string& path, const char* entryName) {
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  if (!module) {
    char code[16];
    snprintf(code, sizeof code, "0x%08lx", GetLastError());
    ShowResourceMessage(ip, ERR_NAMED_LOADLIBRARY_FAILED, -1, path.c_str(), code);
    return REG_NOT_LOADED;
  }
  const auto entry = reinterpret_cast<StatusEntryPoint>(reinterpret_cast<void*>(GetProcAddress(module, entryName)));
  if (!entry) {
    const std::string extension = LowerExtension(path);
    FreeLibrary(module);
    if (extension != ".dll" && extension != ".ocx") {
      ShowResourceMessage(ip, ERR_NOT_A_DLL_OR_OCX, -1, path.c_str(), nullptr);
      return REG_NOT_A_MODULE;
    }
    ShowResourceMessage(ip, ERR_NAMED_ENTRY_POINT_MISSING, -1, entryName, path.c_str());
    return REG_NO_ENTRY;
  }
  const GuardedResult call = CallGuarded(entry);
  if (!call.returned) {
    // The module is left loaded: after a fault its detach code is not to be trusted either.
    char code[16];
    snprintf(code, sizeof code, "0x%08lx", call.exceptionCode);
    ip.log.LogText(std::string(entryName) + " raised exception " + code + "\r\n");
    ShowResourceMessage(ip, ERR_NAMED_CALL_FAILED, -1, entryName, path.c_str());
    return REG_ENTRY_CRASHED;
  }
  FreeLibrary(module);
  if (call.status < 0) {
    ShowResourceMessage(ip, ERR_NAMED_CALL_FAILED, -1, entryName, path.c_str());
    return REG_ENTRY_FAILED;
  }
  return REG_DONE;
}

// DLLSELFREGISTER( and DLLSELFUNREGISTER( path.
int CallRegistrationEntry(Interpreter& ip, TokenLine& line, const char* entryName) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (!FileExists(path)) return ERR_OLE_FILE_NOT_FOUND;
  int32_t outcome = REG_NO_OLE;
  if (FAILED(OleInitialize(nullptr))) {
    ShowResourceMessage(ip, ERR_OLE_INIT_FAILED, -1, nullptr, nullptr);
  } else {
    outcome = RunRegistrationEntry(ip, path, entryName);
    OleUninitialize();
  }
  if (outcome == REG_DONE) ip.installLog.Note("Registered: ", path, " (", entryName, ")");
  else ip.installLog.Note("Not registered: ", path, " (", entryName, ", ERROR ", DecimalText(outcome), ")");
  return SetErrorVariable(ip, outcome);
}

int DllSelfRegisterCommand(Interpreter& ip, TokenLine& line) { return CallRegistrationEntry(ip, line, "DllRegisterServer"); }
int DllSelfUnregisterCommand(Interpreter& ip, TokenLine& line) {
  return CallRegistrationEntry(ip, line, "DllUnregisterServer");
}

int RegisterTypeLibCommand(Interpreter& ip, TokenLine& line) {
  std::string path, helpDirectory;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (int r = ReadStringParam(ip, line, 2, helpDirectory)) return r;
  if (!FileExists(path)) return SetErrorVariable(ip, 1);
  std::wstring widePath = Wide(path), wideHelp = Wide(helpDirectory);
  ITypeLib* library = nullptr;
  if (FAILED(late_bound::LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, &library))) return SetErrorVariable(ip, 2);
  const HRESULT registered = late_bound::RegisterTypeLib(library, widePath.data(), wideHelp.data());
  library->Release();
  if (!FAILED(registered)) ip.installLog.Note("Type library registered: ", path);
  return SetErrorVariable(ip, FAILED(registered) ? 3 : 0);
}

// Tells every top-level window; a window that does not answer within five seconds is passed
// over, so a hung program cannot stop the installation.
void Broadcast(UINT message, LPARAM lParam) {
  SendMessageTimeoutA(HWND_BROADCAST, message, 0, lParam, SMTO_ABORTIFHUNG, 5000, nullptr);
}

int FontCommand(Interpreter& ip, TokenLine& line, bool add) {
  std::string path;
  if (int r = ReadStringParam(ip, line, 1, path)) return r;
  if (!FileExists(path)) return ERR_PARAMETER_FILE_NOT_FOUND;
  const int result = add ? AddFontResourceA(path.c_str()) : RemoveFontResourceA(path.c_str());
  if (result != 0) ip.installLog.Note(add ? "Font registered: " : "Font removed: ", path);
  const int stored = SetErrorVariable(ip, result);
  Broadcast(WM_FONTCHANGE, 0);
  return stored;
}

int RegisterFontCommand(Interpreter& ip, TokenLine& line) { return FontCommand(ip, line, true); }
int UnregisterFontCommand(Interpreter& ip, TokenLine& line) { return FontCommand(ip, line, false); }

DWORD ServiceType(int32_t code) {
  switch (code) {
    case 1: return SERVICE_WIN32_OWN_PROCESS | SERVICE_INTERACTIVE_PROCESS;
    case 2: return SERVICE_WIN32_SHARE_PROCESS;
    case 3: return SERVICE_WIN32_SHARE_PROCESS | SERVICE_INTERACTIVE_PROCESS;
    case 4: return SERVICE_KERNEL_DRIVER;
    case 5: return SERVICE_FILE_SYSTEM_DRIVER;
    default: return SERVICE_WIN32_OWN_PROCESS;
  }
}

DWORD ServiceStart(int32_t code) {
  if (code == 0) return SERVICE_AUTO_START;
  if (code == 2) return SERVICE_DISABLED;
  return SERVICE_DEMAND_START;
}

int InstallServiceCommand(Interpreter& ip, TokenLine& line) {
  std::string name, program;
  const int c = line.cursor;
  if (int r = CheckString(line, c, 1)) return r;
  if (int r = CheckString(line, c + 2, 2)) return r;
  if (int r = CheckNumber(line, c + 4, 3)) return r;
  if (int r = CheckNumber(line, c + 6, 4)) return r;
  name = StringParam(ip, line, c, true);
  program = StringParam(ip, line, c + 2, true);
  const int32_t type = NumberParam(ip, line, c + 4);
  const int32_t start = NumberParam(ip, line, c + 6);
  int32_t outcome = 1;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CREATE_SERVICE);
  if (manager) {
    if (FileExists(program)) {
      SC_HANDLE service = CreateServiceA(manager, name.c_str(), name.c_str(), SERVICE_ALL_ACCESS, ServiceType(type),
                                         ServiceStart(start), SERVICE_ERROR_IGNORE, program.c_str(), nullptr, nullptr,
                                         nullptr, nullptr, nullptr);
      if (service) {
        CloseServiceHandle(service);
        outcome = 0;
        ip.installLog.Note("Service installed: ", name, " (", program, ")");
      }
    }
    CloseServiceHandle(manager);
  }
  return SetErrorVariable(ip, outcome);
}

// A service is deleted only when it is stopped; a running one stays installed.
int UninstallServiceCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  int32_t outcome = 1;
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  if (manager) {
    SC_HANDLE service = OpenServiceA(manager, name.c_str(), DELETE | SERVICE_QUERY_STATUS);
    if (service) {
      SERVICE_STATUS status{};
      if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED && DeleteService(service)) {
        outcome = 0;
        ip.installLog.Note("Service removed: ", name);
      }
      CloseServiceHandle(service);
    }
    CloseServiceHandle(manager);
  }
  return SetErrorVariable(ip, outcome);
}

int SetAssociationCommand(Interpreter& ip, TokenLine& line) {
  std::string extension, program;
  if (int r = ReadStringParam(ip, line, 1, extension)) return r;
  if (int r = ReadStringParam(ip, line, 2, program)) return r;
  const std::string entry = program + " ^." + extension;
  WriteProfileStringA("Extensions", extension.c_str(), program.empty() ? nullptr : entry.c_str());
  Broadcast(WM_WININICHANGE, reinterpret_cast<LPARAM>("Extensions"));
  const std::string key = "." + extension;
  ip.installLog.Note("File association: ", key, program.empty() ? " removed" : " opened by " + program);
  if (program.empty()) {
    DeleteRegEntry(1, key, "");
  } else {
    WriteRegString(1, key + "\\Shell\\Open", "Command", program + " %1");
    WriteRegString(1, key + "\\ShellNew", "(Default)", "");
    WriteRegString(1, key + "\\ShellNew", "NullFile", "");
  }
  return 0;
}

}  // namespace

void AddRegistrationCommands(CommandTable& table) {
  table.Add(TOK_DLLSELFREGISTER, DllSelfRegisterCommand);
  table.Add(TOK_DLLSELFUNREGISTER, DllSelfUnregisterCommand);
  table.Add(TOK_REGISTERTYPELIB, RegisterTypeLibCommand);
  table.Add(TOK_REGISTERFONT, RegisterFontCommand);
  table.Add(TOK_UNREGISTERFONT, UnregisterFontCommand);
  table.Add(TOK_INSTALLSERVICE, InstallServiceCommand);
  table.Add(TOK_UNINSTALLSERVICE, UninstallServiceCommand);
  table.Add(TOK_SETASSOCIATION, SetAssociationCommand);
}
