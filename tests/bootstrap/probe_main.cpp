// A stand-in for the interpreter: SETUP.EXE installs it as TALVEN.EXE and starts it. It
// appends what it sees to the file named by QS_PROBE_OUT: its command line, its current
// directory, its own path, whether the script copy is there, and the state of the bootstrap's
// "Setup" window. Words on its command line steer it:
//   probe:close     closes the bootstrap's window with command 2, as the interpreter does
//   probe:sleep=N   waits N milliseconds before it ends
//   probe:exit=N    ends with exit code N
#include <windows.h>

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
  HWND setup = FindWindowA(nullptr, "Setup");
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
