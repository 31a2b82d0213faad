// How long the Debug window takes to open under Wine: from the line hook's call until the
// window is on the screen with its lists painted, on a script of 100,000 lines and, for
// comparison, of 10 lines. Prints the median of several openings in milliseconds, and what the
// hook costs every line after Run (it looks the line up in the settings file).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/lexer.h"
#include "support/text.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"
#include "ui/debugger_view.h"
#include "ui/debugger_win32.h"

namespace {

LARGE_INTEGER gShown;

BOOL CALLBACK FindDebugWindow(HWND window, LPARAM found) {
  char title[16] = "";
  GetWindowTextA(window, title, sizeof title);
  if (IsWindowVisible(window) && std::string(title).rfind("Debug - ", 0) == 0) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

// Runs inside the window's modal loop: once the window shows, its paint is finished, the time
// noted, and the window closed with Step.
void CALLBACK WhenShown(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), FindDebugWindow, reinterpret_cast<LPARAM>(&window));
  if (!window) return;
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  QueryPerformanceCounter(&gShown);
  KillTimer(nullptr, timer);
  PostMessageA(window, WM_COMMAND, DEBUG_STEP, 0);
}

double MedianOpeningMs(const std::string& folder, int lines) {
  std::string text;
  for (int i = 1; i <= lines; ++i) text += "SET %LINE% = " + std::to_string(i) + "\r\n";
  const std::string script = folder + "BENCH" + std::to_string(lines) + ".QLS";
  WriteFileBytes(script, text);
  InProcessRun run;
  SetDebugFile(run.ip, folder + "BENCH.DDB");
  run.ip.files.OpenScript(run.platform, run.log, folder, script);
  run.ip.files.ReadNextLine();
  TokeniseLine(run.ip, run.ip.files.LineText());
  LARGE_INTEGER frequency, start;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  for (int i = 0; i < 7; ++i) {
    SetTimer(nullptr, 0, 1, WhenShown);
    QueryPerformanceCounter(&start);
    if (DebugLineHook(run.ip) != DEBUG_STEP) return -1;
    times.push_back(1000.0 * static_cast<double>(gShown.QuadPart - start.QuadPart) /
                    static_cast<double>(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Microseconds the hook takes per line when it only looks for a breakpoint.
double HookMicrosecondsPerLine(const std::string& folder) {
  InProcessRun run;
  SetDebugFile(run.ip, folder + "BENCH.DDB");
  WritePrivateProfileStringA("BreakPoints", "C:\\ELSEWHERE.QLS:1", "1", (folder + "BENCH.DDB").c_str());
  run.ip.files.OpenScript(run.platform, run.log, folder, folder + "BENCH10.QLS");
  run.ip.files.ReadNextLine();
  run.ip.debugger.stepping = false;
  constexpr int kCalls = 20000;
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  for (int i = 0; i < kCalls; ++i)
    if (DebugLineHook(run.ip) != 1) return -1;
  QueryPerformanceCounter(&end);
  return 1e6 * static_cast<double>(end.QuadPart - start.QuadPart) / static_cast<double>(frequency.QuadPart) / kCalls;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string folder = EnsureBackslash(argc > 1 ? argv[1] : "C:\\qsbench");
  CreateDirectoryA(folder.c_str(), nullptr);
  const double large = MedianOpeningMs(folder, 100000);
  const double small = MedianOpeningMs(folder, 10);
  std::printf("Debug window opening (median of 7): %.1f ms on 100,000 lines, %.1f ms on 10 lines\n", large, small);
  const double hook = HookMicrosecondsPerLine(folder);
  std::printf("Line hook after Run (breakpoint lookup): %.1f us per line\n", hook);
  return large < 0 || small < 0 || hook < 0 ? 1 : 0;
}
