#include "talven/unattended_run_win32.h"

#include <windows.h>

#include "engine/prompts.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH] = "";
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

std::string Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[32];
  wsprintfA(text, "%04u-%02u-%02u %02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute,
            now.wSecond);
  return text;
}

// What the log says about how the run meets its questions.
std::string ModeText(const RunSwitches& switches) {
  std::string text = switches.Unattended() ? "unattended" : "attended";
  if (switches.replay)
    text += switches.answersFile.empty() ? ", no answer file" : ", answers from " + switches.answersFile;
  if (switches.TakeDefaults()) text += ", unanswered questions take their defaults";
  else if (switches.replay) text += ", unanswered questions are shown";
  if (switches.record) text += ", answers recorded to " + switches.recordFile;
  if (switches.timeoutSeconds != 0) text += ", time limit " + DecimalText(switches.timeoutSeconds) + " seconds";
  else if (switches.timeout) text += ", time limit not understood (no limit)";
  return text;
}

// Reads the answer file into the answer source; the message for the user when it cannot.
std::string LoadAnswers(Interpreter& ip, const std::string& path) {
  std::string text;
  if (!ReadWholeFile(path, text)) {
    std::string message = ip.platform.ResourceText(1400);
    ReplaceAll(message, "%1", path, true);
    return message;
  }
  int badLine = 0;
  if (ip.answers.Load(text, badLine)) return std::string();
  std::string message = ip.platform.ResourceText(1401);
  ReplaceAll(message, "%1", path, true);
  ReplaceAll(message, "%2", DecimalText(badLine), true);
  return message;
}

}  // namespace

void AppendedFile::Append(const std::string& text) {
  if (stamped_) AppendLogLine(path_, text);
  else AppendToFile(path_, text);
}

bool BeginUnattendedRun(Interpreter& ip, StartupOptions& options, UnattendedFiles& files,
                        Win32DebugLogBackend& logBackend) {
  RunSwitches& switches = options.switches;
  const bool unattended = switches.Unattended();
  logBackend.SetQuiet(unattended);
  for (std::string* path : {&switches.logFile, &switches.recordFile, &switches.answersFile})
    if (!path->empty()) *path = FullPath(*path);
  if (switches.log) {
    MakeEmptyFile(switches.logFile);
    files.log = std::make_unique<AppendedFile>(switches.logFile, true);
    ip.installLog.Attach(files.log.get());
    ip.installLog.Note("Installation log of ", options.scriptName, ", started ", Now(), ": ", ModeText(switches));
  }
  if (switches.record) {
    MakeEmptyFile(switches.recordFile);
    files.record = std::make_unique<AppendedFile>(switches.recordFile, false);
    files.record->Append(AnswerSource::RecordHeader(options.scriptName, Now()));
    ip.answerRecord = files.record.get();
  }
  ip.answers.Configure(switches.replay, unattended, switches.TakeDefaults());
  if (switches.replay && !switches.answersFile.empty()) {
    const std::string failure = LoadAnswers(ip, switches.answersFile);
    if (!failure.empty()) {
      ip.platform.HideSetupWindow();
      ip.outcome.scriptError = true;
      ip.installLog.Note("Script error: ", failure);
      AskMessage(ip, QuestionKind::Error, failure, ip.platform.ResourceText(57344), MSG_OK | MSG_ICONEXCLAMATION);
      return false;
    }
  }
  if (unattended && !options.debugFile.empty()) {
    ip.installLog.Note("The debugger stays off: nobody would answer it");
    options.debugFile.clear();
  }
  StartTimeLimit(ip, switches.timeoutSeconds);
  return true;
}
