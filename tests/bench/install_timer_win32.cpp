// Times one program run from inside Wine, so that the figure holds neither the shell's start of
// the Wine loader nor the server's: qs_install_timer [/memory] COMMAND LINE...
// Prints the milliseconds from CreateProcess to the end of the process; with /memory also the
// peak working set and the peak private bytes of that process in KB (polled every few
// milliseconds while it runs: the peaks only grow, so the last reading before the end holds
// them). A run that takes longer than a minute (a script that stopped at a message box) is
// ended and reported as "timeout".
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The program's own command line after its name and the optional switch.
std::string CommandToRun(bool& memory) {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    line = std::strchr(line + 1, '"');
    line = line ? line + 1 : "";
  } else {
    while (*line && *line != ' ') ++line;
  }
  while (*line == ' ') ++line;
  memory = std::strncmp(line, "/memory ", 8) == 0;
  if (memory) line += 8;
  return line;
}

}  // namespace

int main() {
  bool memory = false;
  const std::string command = CommandToRun(memory);
  if (command.empty()) {
    std::printf("usage: qs_install_timer [/memory] COMMAND LINE...\n");
    return 2;
  }
  std::vector<char> line(command.begin(), command.end());
  line.push_back('\0');
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process{};
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    std::printf("cannot start: %s\n", command.c_str());
    return 1;
  }
  SIZE_T peakWorkingSet = 0, peakPrivate = 0;
  const DWORD limit = GetTickCount() + 60000;
  while (WaitForSingleObject(process.hProcess, memory ? 2 : 1000) == WAIT_TIMEOUT) {
    if (static_cast<LONG>(GetTickCount() - limit) > 0) {
      TerminateProcess(process.hProcess, 1);
      std::printf("timeout\n");
      return 1;
    }
    if (!memory) continue;
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (GetProcessMemoryInfo(process.hProcess, &counters, sizeof counters)) {
      if (counters.PeakWorkingSetSize > peakWorkingSet) peakWorkingSet = counters.PeakWorkingSetSize;
      if (counters.PeakPagefileUsage > peakPrivate) peakPrivate = counters.PeakPagefileUsage;
    }
  }
  QueryPerformanceCounter(&end);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  const double ms = static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  if (memory)
    std::printf("%.1f %lu %lu\n", ms, static_cast<unsigned long>(peakWorkingSet / 1024),
                static_cast<unsigned long>(peakPrivate / 1024));
  else
    std::printf("%.1f\n", ms);
  return 0;
}
