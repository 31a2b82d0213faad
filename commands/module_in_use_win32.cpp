// Whether a file is loaded by a running program: the module lists of every process, through
// the process-status library on the NT family and the tool-help functions on the Windows 95
// family, both bound at run time.
#include <windows.h>
#include <tlhelp32.h>

#include <vector>

#include "commands/file_commands_win32.h"
#include "engine/lexer.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

using EnumProcessesFn = BOOL(WINAPI*)(DWORD*, DWORD, DWORD*);
using EnumProcessModulesFn = BOOL(WINAPI*)(HANDLE, HMODULE*, DWORD, DWORD*);
using GetModuleFileNameExFn = DWORD(WINAPI*)(HANDLE, HMODULE, LPSTR, DWORD);
using TaskEnumProc = BOOL(WINAPI*)(DWORD, WORD, WORD, LPSTR, LPSTR, LPARAM);
using VdmEnumTaskWowExFn = INT(WINAPI*)(DWORD, TaskEnumProc, LPARAM);

// The comparison every visited module goes through; [found] turns 1 at the first match.
struct ModuleMatch {
  DebugLog& log;
  const std::string& path;
  int found = 0;

  void Visit(const std::string& module) {
    if (found) return;
    if (EqualsNoCase(module, path) || EqualsNoCase(FileNamePart(module), FileNamePart(path))) found = 1;
    log.LogText("Comparing: '" + module + "' with '" + path + "' Rc=" + std::to_string(found) + "\r\n");
  }
};

BOOL WINAPI VisitTask(DWORD, WORD, WORD, LPSTR, LPSTR fileName, LPARAM data) {
  auto* match = reinterpret_cast<ModuleMatch*>(data);
  match->Visit(fileName ? fileName : "");
  return match->found;  // a true answer stops the walk
}

// The NT family: 3 without PSAPI.DLL, 4 without VDMDBG.DLL, 5 without their functions, 6 when
// the process list cannot be held.
int WalkNtProcesses(ModuleMatch& match) {
  HMODULE psapi = LoadLibraryA("PSAPI.DLL");
  if (!psapi) return 3;
  HMODULE vdmdbg = LoadLibraryA("VDMDBG.DLL");
  if (!vdmdbg) return FreeLibrary(psapi), 4;
  auto enumProcesses = reinterpret_cast<EnumProcessesFn>(reinterpret_cast<void*>(GetProcAddress(psapi, "EnumProcesses")));
  auto enumModules =
      reinterpret_cast<EnumProcessModulesFn>(reinterpret_cast<void*>(GetProcAddress(psapi, "EnumProcessModules")));
  auto moduleName =
      reinterpret_cast<GetModuleFileNameExFn>(reinterpret_cast<void*>(GetProcAddress(psapi, "GetModuleFileNameExA")));
  auto enumTasks =
      reinterpret_cast<VdmEnumTaskWowExFn>(reinterpret_cast<void*>(GetProcAddress(vdmdbg, "VDMEnumTaskWOWEx")));
  int result = 0;
  if (!enumProcesses || !enumModules || !moduleName || !enumTasks) {
    result = 5;
  } else {
    std::vector<DWORD> ids(256);
    DWORD bytes = 0;
    for (;;) {
      const DWORD capacity = static_cast<DWORD>(ids.size() * sizeof(DWORD));
      if (!enumProcesses(ids.data(), capacity, &bytes)) bytes = 0;
      if (bytes < capacity) break;
      ids.resize(ids.size() * 2);
    }
    ids.resize(bytes / sizeof(DWORD));
    for (DWORD id : ids) {
      HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
      if (!process) continue;
      HMODULE modules[128];
      DWORD needed = 0;
      if (enumModules(process, modules, sizeof modules, &needed)) {
        const DWORD count = std::min<DWORD>(needed, sizeof modules) / sizeof(HMODULE);
        for (DWORD m = 0; m < count && !match.found; ++m) {
          char name[261] = "";
          moduleName(process, modules[m], name, 260);
          if (EndsWith(UpperAscii(name), "NTVDM.EXE")) enumTasks(id, VisitTask, reinterpret_cast<LPARAM>(&match));
          else match.Visit(name);
        }
      }
      CloseHandle(process);
      if (match.found) break;
    }
  }
  FreeLibrary(vdmdbg);
  FreeLibrary(psapi);
  return result;
}

// The Windows 95 family: 7 without its kernel's tool-help functions, 9 without a snapshot.
int WalkToolHelpProcesses(ModuleMatch& match) {
  HMODULE kernel = GetModuleHandleA("Kernel32.DLL");
  if (!kernel) return 7;
  auto snapshot = reinterpret_cast<decltype(&CreateToolhelp32Snapshot)>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "CreateToolhelp32Snapshot")));
  auto processFirst = reinterpret_cast<decltype(&Process32First)>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32First")));
  auto processNext = reinterpret_cast<decltype(&Process32Next)>(reinterpret_cast<void*>(GetProcAddress(kernel, "Process32Next")));
  auto moduleFirst = reinterpret_cast<decltype(&Module32First)>(reinterpret_cast<void*>(GetProcAddress(kernel, "Module32First")));
  auto moduleNext = reinterpret_cast<decltype(&Module32Next)>(reinterpret_cast<void*>(GetProcAddress(kernel, "Module32Next")));
  if (!snapshot || !processFirst || !processNext || !moduleFirst || !moduleNext) return 7;
  HANDLE processes = snapshot(TH32CS_SNAPPROCESS, 0);
  if (processes == INVALID_HANDLE_VALUE) return 9;
  PROCESSENTRY32 process{};
  process.dwSize = sizeof process;
  for (BOOL more = processFirst(processes, &process); more && !match.found; more = processNext(processes, &process)) {
    HANDLE modules = snapshot(TH32CS_SNAPMODULE, process.th32ProcessID);
    if (modules == INVALID_HANDLE_VALUE) continue;
    MODULEENTRY32 module{};
    module.dwSize = sizeof module;
    for (BOOL next = moduleFirst(modules, &module); next && !match.found; next = moduleNext(modules, &module))
      match.Visit(module.szExePath);
    CloseHandle(modules);
  }
  CloseHandle(processes);
  return 0;
}

}  // namespace

int GetModuleInUse(Interpreter& ip, const std::string& path) {
  DebugLog& log = ip.log;
  log.LogText("GetModuleInUse: " + path + "\r\n");
  if (!FileExists(path)) {
    log.LogText("Doesn't exist, so can't be in use\r\n");
    return 0;
  }
  log.LogText("Exists, so opening it\r\n");
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    log.LogText("Failed to open - in use\r\n");
    return 1;
  }
  CloseHandle(file);
  log.LogText("Opened, so checking task list\r\n");
  ModuleMatch match{log, path};
  int result = 10;
  if (ip.version.platformId & 2) result = WalkNtProcesses(match);
  else if (ip.version.platformId & 1) result = WalkToolHelpProcesses(match);
  if (result == 0) result = match.found;
  log.LogText("Return: " + std::to_string(result) + "\r\n");
  return result;
}
