#include <vector>

#include "bootstrap/bootstrap.h"

namespace {

// Serves the windows until [process] has ended. The wait wakes for every message, so the window
// stays painted and the interpreter's command to close it is handled. Waiting on the process
// itself also notices an end with exit code 259, which polling for "still active" would not, and
// it needs no pause for the interpreter to start first: the handle is there from the start, so
// the run costs no second of waiting for the clock.
void WaitForEnd(HANDLE process) {
  for (;;) {
    PumpMessages();
    const DWORD woke = MsgWaitForMultipleObjects(1, &process, FALSE, INFINITE, QS_ALLINPUT);
    if (woke == WAIT_OBJECT_0 || woke == WAIT_FAILED) break;
  }
  PumpMessages();
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
  WaitForEnd(process.hProcess);
  CloseHandle(process.hProcess);
  run.log.LogText("Setup: the interpreter has ended\r\n");
  return BOOT_OK;
}
