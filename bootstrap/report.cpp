#include "bootstrap/bootstrap.h"
#include "bootstrap/core/launch.h"
#include "support/text.h"

void ReportMessage(Bootstrap& run, const std::string& text, UINT style, bool shownWhenSilent) {
  if (run.switches.log) AppendLogLine(run.switches.logFile, "Setup: " + ShowControlCharacters(text));
  // In an unattended run nobody would press OK: the message goes to ERROR.LOG, as in silent mode
  // (a file that cannot be opened leaves nowhere else to say it).
  if (run.unattended || (run.silent && !shownWhenSilent))
    AppendToFile(run.programFolder + "ERROR.LOG", text + "\r\n");
  else
    ShowMessageBox(run.window, text, LoadResourceText(kTitleText), style);
}

void ReportResult(Bootstrap& run, int result, const std::string& name, const std::string& commandLine) {
  const std::string pattern = LoadResourceText(static_cast<UINT>(result));
  // CreateProcess reports failure as 0, which is the value the message shows.
  const std::string text = result == BOOT_START_FAILED ? FillMessage(pattern, commandLine, "0")
                                                       : FillMessage(pattern, name);
  run.log.LogText("Setup: result " + std::to_string(result) + ": " + text + "\r\n");
  ReportMessage(run, text, MB_OK | MB_ICONEXCLAMATION);
  run.exitCode = result;
  CloseWorkingWindow(run);
}
