#include <vector>

#include "bootstrap/bootstrap.h"

namespace {

// How long after its own time limit the interpreter may take to end before it is ended: it
// looks at the clock between lines and in its waits, and then shuts down.
constexpr DWORD kTimeLimitGraceMs = 10000;

// Serves the windows until [process] has ended, or until [limitMs] (INFINITE: no limit) has
// passed; false then. The wait wakes for every message, so the window stays painted and the
// interpreter's command to close it is handled. Waiting on the process itself also notices an
// end with exit code 259, which polling for "still active" would not, and it needs no pause for
// the interpreter to start first: the handle is there from the start, so the run costs no
// second of waiting for the clock.
bool WaitForEnd(HANDLE process, DWORD limitMs) {
  const DWORD start = GetTickCount();
  bool ended = true;
  for (;;) {
    PumpMessages();
    DWORD left = INFINITE;
    if (limitMs != INFINITE) {
      const DWORD spent = GetTickCount() - start;
      if (spent >= limitMs) {
        ended = false;
        break;
      }
      left = limitMs - spent;
    }
    const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, left, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
  }
  PumpMessages();
  return ended;
}

DWORD TimeLimitMs(const RunSwitches& switches) {
  if (switches.timeoutSeconds == 0) return INFINITE;
  return switches.timeoutSeconds * 1000 + kTimeLimitGraceMs;
}

}  // namespace

int RunInterpreter(Bootstrap& run, const std::string& commandLine) {
  run.log.LogText("Setup: starting '" + commandLine + "'\r\n");
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOW;
  PROCESS_INFORMATION process = {};
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                      &startup, &process)) {
    run.log.LogText("Setup: the interpreter could not be started\r\n");
    return BOOT_START_FAILED;
  }
  CloseHandle(process.hThread);
  if (WaitForEnd(process.hProcess, TimeLimitMs(run.switches))) {
    DWORD exitCode = 0;
    GetExitCodeProcess(process.hProcess, &exitCode);
    run.exitCode = static_cast<int>(exitCode);
  } else {
    // Stuck beyond its limit where it could not look at the clock (a program's own window that
    // it waits in, a registration that never returns): ended here, with the same verdict.
    TerminateProcess(process.hProcess, VERDICT_TIMED_OUT);
    WaitForSingleObject(process.hProcess, 5000);
    run.exitCode = VERDICT_TIMED_OUT;
    const std::string text = "the interpreter did not end within its time limit of " +
                             std::to_string(run.switches.timeoutSeconds) + " seconds and was ended";
    run.log.LogText("Setup: " + text + "\r\n");
    if (run.switches.log) {
      AppendLogLine(run.switches.logFile, "Setup: " + text);
      AppendLogLine(run.switches.logFile, "Verdict: " + std::to_string(VERDICT_TIMED_OUT) + " " + VerdictText(VERDICT_TIMED_OUT));
    }
  }
  CloseHandle(process.hProcess);
  run.log.LogText("Setup: the interpreter has ended with " + std::to_string(run.exitCode) + "\r\n");
  return BOOT_OK;
}
