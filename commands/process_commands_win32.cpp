// Starting programs and waiting, pauses, sounds and facts about the machine: WINEXEC(, WAIT(,
// RELEASE(), DELAY(, MESSAGEBEEP(, PLAYWAVEFILE(, GETWINVER(, GETSCREENWIDTH(,
// GETSCREENHEIGHT( and HIDESETUP().
//
// Every wait lets the windows work between its steps, sleeping in the message wait rather than
// spinning, and ends early when the copy gauge's Cancel has sent the running line to :EXIT or
// the run's time limit (/TIMEOUT:) has passed, which ends the run.
#include <windows.h>
#include <mmsystem.h>

#include <vector>

#include "commands/command_families.h"
#include "engine/executor.h"
#include "engine/lexer.h"
#include "support/late_bound_win32.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

constexpr DWORD kPollMs = 50;       // how often a wait for a window looks again
constexpr DWORD kClockPollMs = 10;  // how often a pause reads the clock

// Cancel on the copy gauge puts "GOTO :EXIT" in the running line's place and marks it to run;
// the time limit closes every script file.
bool WaitEnds(Interpreter& ip) { return ip.line.chain != 0 || TimeLimitReached(ip); }

// Sleeps until [process] ends (nullptr: none), a window message arrives, or [timeoutMs] has
// passed; then lets the windows handle what waits for them. True when the process has ended.
bool WaitAndPump(Interpreter& ip, HANDLE process, DWORD timeoutMs) {
  const DWORD woke = MsgWaitForMultipleObjects(process ? 1 : 0, process ? &process : nullptr, FALSE, timeoutMs,
                                               QS_ALLINPUT);
  ip.platform.PumpMessages();
  return process && woke == WAIT_OBJECT_0;
}

// The busy cursor as it was before a wait, put back afterwards.
class NormalCursor {
 public:
  explicit NormalCursor(Interpreter& ip) : ip_(ip), busy_(ip.windows && ip.windows->BusyCursor()) {
    ip_.platform.SetBusyCursor(false);
  }
  ~NormalCursor() { ip_.platform.SetBusyCursor(busy_); }

 private:
  Interpreter& ip_;
  bool busy_;
};

// Pauses until the clock's seconds have changed [seconds] times (so between seconds - 1 and
// seconds). With [responsive] the windows work meanwhile and Cancel ends the pause.
void Pause(Interpreter& ip, int32_t seconds, bool responsive) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  WORD last = now.wSecond;
  while (seconds > 0) {
    if (responsive) {
      WaitAndPump(ip, nullptr, kClockPollMs);
      if (WaitEnds(ip)) return;
    } else {
      Sleep(kClockPollMs);
      if (TimeLimitReached(ip)) return;
    }
    GetLocalTime(&now);
    if (now.wSecond == last) continue;
    last = now.wSecond;
    --seconds;
  }
}

int WinExecCommand(Interpreter& ip, TokenLine& line) {
  std::string commandLine;
  if (int r = ReadStringParam(ip, line, 1, commandLine)) return r;
  // Only number literals count here; a variable leaves the default.
  int32_t show = SW_SHOWNORMAL, wait = 0;
  if (ParamToken(line, 2) == TOK_NUMBER) show = ip.numbers.Next();
  if (ParamToken(line, 3) == TOK_NUMBER) wait = ip.numbers.Next();
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION process{};
  std::vector<char> writable(commandLine.begin(), commandLine.end());
  writable.push_back('\0');
  const bool started = CreateProcessA(nullptr, writable.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr,
                                      nullptr, &startup, &process) != FALSE;
  if (started) {
    CloseHandle(process.hThread);
    // The process itself is watched, not its exit code: a program that ends with 259 ("still
    // active") would otherwise be waited for for ever.
    while (wait != 0 && !WaitEnds(ip) && !WaitAndPump(ip, process.hProcess, kPollMs)) {
    }
    // A program that outlives the time limit is left running: it is not the interpreter's to end.
    if (wait != 0 && ip.outcome.timedOut) ip.installLog.Note("Still running when the time limit ended the run: ", commandLine);
    CloseHandle(process.hProcess);
  }
  if (wait != 0 && !WaitEnds(ip))
    Pause(ip, ReadSettingNumber(3, SettingsKey("Application"), "WinExecWait", 0), true);
  const int stored = SetErrorVariable(ip, started ? 32 : 0);
  if (ip.windows) ip.platform.SetBusyCursor(ip.windows->BusyCursor());
  return stored;
}

struct TitleSearch {
  const std::string* title;
  bool found;
};

BOOL CALLBACK MatchTitle(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<TitleSearch*>(data);
  if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId()) return TRUE;
  const int length = GetWindowTextLengthA(window);
  if (length != static_cast<int>(search->title->size())) return TRUE;
  std::string title(static_cast<size_t>(length) + 1, '\0');
  title.resize(static_cast<size_t>(GetWindowTextA(window, title.data(), length + 1)));
  search->found = title == *search->title;
  return !search->found;
}

// A top-level window whose title is exactly [title] (letter case counts). The interpreter's own
// windows do not count: they carry CAPTION ("Setup"), and a script that waits for the
// bootstrap's "Setup" window to go would otherwise wait for ever.
bool WindowWithTitle(const std::string& title) {
  TitleSearch search{&title, false};
  EnumWindows(MatchTitle, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// Waits, letting the windows work, until a window titled [title] exists ([present]) or is gone.
void WaitForTitle(Interpreter& ip, const std::string& title, bool present) {
  while (!WaitEnds(ip) && WindowWithTitle(title) != present) WaitAndPump(ip, nullptr, kPollMs);
}

int WaitCommand(Interpreter& ip, TokenLine& line) {
  std::string title;
  int32_t mode = 0;
  if (int r = ReadStringParam(ip, line, 1, title)) return r;
  if (int r = ReadNumberParam(ip, line, 2, mode)) return r;
  NormalCursor cursor(ip);
  if (mode == 0 || mode == 2) WaitForTitle(ip, title, true);
  if (mode == 1 || mode == 2) WaitForTitle(ip, title, false);
  return 0;
}

int ReleaseCommand(Interpreter& ip, TokenLine&) {
  NormalCursor cursor(ip);
  ip.platform.PumpMessages();
  return 0;
}

int DelayCommand(Interpreter& ip, TokenLine& line) {
  int32_t seconds = 0, responsive = 0;
  if (int r = ReadNumberParam(ip, line, 1, seconds)) return r;
  if (int r = ReadNumberParam(ip, line, 2, responsive)) return r;
  Pause(ip, seconds, responsive != 0);
  return 0;
}

int MessageBeepCommand(Interpreter& ip, TokenLine& line) {
  int32_t type = 0;
  if (int r = ReadNumberParam(ip, line, 1, type)) return r;
  MessageBeep(static_cast<UINT>(type));
  return 0;
}

// The wave file that goes with [name]: its extension replaced by ".WAV", or ".WAV" added. A
// dot in a folder's name is no extension.
std::string WaveFileName(const std::string& name) {
  const size_t dot = name.rfind('.');
  const size_t slash = name.find_last_of("\\/");
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return name + ".WAV";
  return name.substr(0, dot) + ".WAV";
}

int PlayWaveFileCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  int32_t async = 0;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  if (int r = ReadNumberParam(ip, line, 2, async)) return r;
  if (name.empty()) {
    late_bound::StopSound();
    return SetErrorVariable(ip, 0);
  }
  if (!FileExists(name)) return SetErrorVariable(ip, 1);
  const std::string wave = WaveFileName(name);
  if (FileExists(wave)) late_bound::sndPlaySoundA(wave.c_str(), SND_NODEFAULT | (async != 0 ? SND_ASYNC : SND_SYNC));
  return SetErrorVariable(ip, 0);
}

int StoreNumber(Interpreter& ip, TokenLine& line, int64_t value) {
  std::string name;
  if (int r = ReadVariableParam(ip, line, 1, name)) return r;
  return ip.variables.SetVariableNumber(name, value);
}

int GetWinVerCommand(Interpreter& ip, TokenLine& line) { return StoreNumber(ip, line, WindowsVersion(ip.version)); }
int GetScreenWidthCommand(Interpreter& ip, TokenLine& line) { return StoreNumber(ip, line, GetSystemMetrics(SM_CXSCREEN)); }
int GetScreenHeightCommand(Interpreter& ip, TokenLine& line) { return StoreNumber(ip, line, GetSystemMetrics(SM_CYSCREEN)); }

int HideSetupCommand(Interpreter& ip, TokenLine&) {
  ip.platform.HideSetupWindow();
  return 0;
}

}  // namespace

void AddProcessCommands(CommandTable& table) {
  table.Add(TOK_WINEXEC, WinExecCommand);
  table.Add(TOK_WAIT, WaitCommand);
  table.Add(TOK_RELEASE, ReleaseCommand);
  table.Add(TOK_DELAY, DelayCommand);
  table.Add(TOK_MESSAGEBEEP, MessageBeepCommand);
  table.Add(TOK_PLAYWAVEFILE, PlayWaveFileCommand);
  table.Add(TOK_GETWINVER, GetWinVerCommand);
  table.Add(TOK_GETSCREENWIDTH, GetScreenWidthCommand);
  table.Add(TOK_GETSCREENHEIGHT, GetScreenHeightCommand);
  table.Add(TOK_HIDESETUP, HideSetupCommand);
}
