#include "bootstrap/bootstrap.h"
#include "bootstrap/core/launch.h"

namespace {

// Appends [text] and CR LF at the end of [path], creating it when it does not exist.
void AppendToLog(const std::string& path, const std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // silent: there is nowhere else to say it
  SetFilePointer(file, 0, nullptr, FILE_END);
  const std::string line = text + "\r\n";
  DWORD written = 0;
  WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace

void ReportResult(Bootstrap& run, int result, const std::string& name, const std::string& commandLine) {
  const std::string pattern = LoadResourceText(static_cast<UINT>(result));
  // CreateProcess reports failure as 0, which is the value the message shows.
  const std::string text = result == BOOT_START_FAILED ? FillMessage(pattern, commandLine, "0")
                                                       : FillMessage(pattern, name);
  run.log.LogText("Setup: result " + std::to_string(result) + ": " + text + "\r\n");
  if (run.silent)
    AppendToLog(run.programFolder + "ERROR.LOG", text);
  else
    ShowMessageBox(run.window, text, LoadResourceText(kTitleText), MB_OK | MB_ICONEXCLAMATION);
  CloseWorkingWindow(run);
}
