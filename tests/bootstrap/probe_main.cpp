// A stand-in for the interpreter: SETUP.EXE installs it as TALVEN.EXE and starts it. It
// appends what it sees to the file named by QS_PROBE_OUT: its command line, its current
// directory, its own path, whether the script copy is there, and the state of the bootstrap's
// "Setup" window. Words on its command line steer it:
//   probe:close     closes the bootstrap's window with command 2, as the interpreter does
//   probe:sleep=N   waits N milliseconds before it ends
//   probe:exit=N    ends with exit code N
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

std::string OptionValue(const char* commandLine, const char* name) {
  const char* at = std::strstr(commandLine, name);
  if (!at) return std::string();
  at += std::strlen(name);
  return std::string(at, std::strcspn(at, " \""));
}

void Append(const std::string& path, const std::string& line) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  const std::string text = line + "\r\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

DWORD ParentProcessId() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  DWORD parent = 0;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ProcessID == GetCurrentProcessId()) parent = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  return parent;
}

struct WindowSearch {
  DWORD process;
  HWND found;
};

BOOL CALLBACK MatchSetupWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<WindowSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[16] = "";
  GetWindowTextA(window, title, sizeof title);
  if (process != search->process || std::strcmp(title, "Setup") != 0) return TRUE;
  search->found = window;
  return FALSE;
}

// The bootstrap's "Setup" window: the one of the parent process, so that windows of the same
// title from tests that run beside this one do not count.
HWND FindBootstrapWindow() {
  WindowSearch search{ParentProcessId(), nullptr};
  EnumWindows(MatchSetupWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string WindowState(HWND window) {
  if (!window) return "none";
  RECT frame;
  GetWindowRect(window, &frame);
  char state[160];
  std::snprintf(state, sizeof state, "%s %ld %ld %ld %ld screen %d %d",
                IsWindowVisible(window) ? "visible" : "hidden", frame.left, frame.top, frame.right,
                frame.bottom, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  return state;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char out[MAX_PATH] = "";
  if (!GetEnvironmentVariableA("QS_PROBE_OUT", out, sizeof out)) return 3;
  const char* commandLine = GetCommandLineA();
  char directory[MAX_PATH] = "", module[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof directory, directory);
  GetModuleFileNameA(nullptr, module, sizeof module);
  Append(out, std::string("cmdline=") + commandLine);
  Append(out, std::string("cwd=") + directory);
  Append(out, std::string("module=") + module);
  Append(out, std::string("script=") + (GetFileAttributesA("SETUP.QLS") != INVALID_FILE_ATTRIBUTES ? "yes" : "no"));
  HWND setup = FindBootstrapWindow();
  Append(out, "window=" + WindowState(setup));
  if (std::strstr(commandLine, "probe:close") && setup) {
    SendMessageA(setup, WM_COMMAND, 2, 0);
    Append(out, std::string("after_close=") + (IsWindow(setup) ? "still there" : "gone"));
  }
  const std::string sleep = OptionValue(commandLine, "probe:sleep=");
  if (!sleep.empty()) Sleep(static_cast<DWORD>(std::atoi(sleep.c_str())));
  Append(out, std::string("script_at_end=") +
                  (GetFileAttributesA("SETUP.QLS") != INVALID_FILE_ATTRIBUTES ? "yes" : "no"));
  Append(out, "end");
  const std::string exitCode = OptionValue(commandLine, "probe:exit=");
  return exitCode.empty() ? 0 : std::atoi(exitCode.c_str());
}
