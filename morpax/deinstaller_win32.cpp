// The de-installation: the script read and checked as a whole, the start-up lines run, the
// user asked, every removal line run with the interpreter's own commands, what stays behind
// found out, files in use handed to the system for the next start, and a report.
#include <windows.h>

#include "commands/deinstall_script.h"
#include "commands/ini_files_win32.h"
#include "engine/errors.h"
#include "engine/lexer.h"
#include "morpax/morpax.h"
#include "support/registry_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/language.h"

namespace {

constexpr int kQuestionText = 15000;
constexpr int kRemovedText = 15010;
constexpr int kLeftText = 15020;
constexpr int kQueuedText = 15030;
constexpr int kRefusedText = 15040;
constexpr int kUnreadableText = 15050;
const char* const kSharedDlls = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

struct Outcome {
  std::vector<std::string> left;    // could not be removed
  std::vector<std::string> queued;  // in use: the system removes them when it next starts
};

bool ReadWholeFile(const std::string& path, std::string& text) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  DWORD got = 0;
  text.assign(size == INVALID_FILE_SIZE ? 0 : size, '\0');
  const bool ok = size != INVALID_FILE_SIZE && (size == 0 || (ReadFile(file, text.data(), size, &got, nullptr) && got == size));
  CloseHandle(file);
  return ok;
}

bool IsDirectory(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

class Deinstaller {
 public:
  Deinstaller(Interpreter& ip, const DeinstallerOptions& options) : ip_(ip), options_(options) {}
  DeinstallResult Run();

 private:
  std::string Text(int baseId) { return LanguageText(ip_, baseId); }
  std::string Title() { return ip_.variables.GetVariable("CAPTION"); }
  // A message to the user, or in silent mode a line of the ERROR.LOG beside the program.
  void Tell(const std::string& text, UINT style);
  DeinstallResult Refuse(const DeinstallVerdict& verdict);
  int RunLine(const std::string& line);
  void RunStep(const DeinstallStep& step);
  bool QueueDeletion(const std::string& path);
  void QueueOrLeave(const std::string& path);
  bool HoldsOnlyQueued(const std::string& directory) const;
  DeinstallResult Report();

  Interpreter& ip_;
  const DeinstallerOptions& options_;
  std::string application_;
  Outcome outcome_;
};

void Deinstaller::Tell(const std::string& text, UINT style) {
  if (!options_.silent) {
    ip_.platform.ShowMessage(text, Title(), style, -1);
    return;
  }
  const std::string log = DirectoryPart(ip_.platform.ProgramPath()) + "ERROR.LOG";
  HANDLE file = CreateFileA(log.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file, 0, nullptr, FILE_END);
  WriteTextLine(file, text);
  CloseHandle(file);
}

DeinstallResult Deinstaller::Refuse(const DeinstallVerdict& verdict) {
  std::string text = Text(kRefusedText);
  ReplaceAll(text, "%1", application_, true);
  ReplaceAll(text, "%2", options_.scriptPath, true);
  ReplaceAll(text, "%3", verdict.line, true);
  ReplaceAll(text, "%4", ip_.platform.ResourceText(verdict.reason), true);
  ip_.log.LogText("Deinstall: refused '" + verdict.line + "'\r\n");
  Tell(text, MB_OK | MB_ICONSTOP);
  return DEINSTALL_REFUSED;
}

int Deinstaller::RunLine(const std::string& line) {
  int result = TokeniseLine(ip_, line);
  if (result == 0) result = ExecuteLine(ip_, ip_.line, ip_.lexer.tokens);
  ip_.log.LogText("Deinstall: '" + line + "' " + DecimalText(result) + " ERROR=" + ip_.variables.GetVariable("ERROR") +
                  "\r\n");
  return result;
}

// The Windows 95 family deletes what the "Rename" section of WININIT.INI pairs with NUL; the
// NT family takes a delayed move without a target. Directories only on the NT family.
bool Deinstaller::QueueDeletion(const std::string& path) {
  const bool win95Family = IsWin95(ip_.version) || IsWin98(ip_.version) || IsWinMe(ip_.version);
  if (!win95Family) return MoveFileExA(path.c_str(), nullptr, MOVEFILE_DELAY_UNTIL_REBOOT);
  if (IsDirectory(path)) return false;
  return WriteMultiProfileEntry(ip_.log, "WININIT.INI", "Rename", "NUL", ShortPathName(path));
}

// True when everything the directory holds goes at the next start already.
bool Deinstaller::HoldsOnlyQueued(const std::string& directory) const {
  const std::string inside = EnsureBackslash(directory);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((inside + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  bool onlyQueued = true;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    bool queued = false;
    for (const std::string& item : outcome_.queued) queued = queued || EqualsNoCase(item, inside + name);
    onlyQueued = onlyQueued && queued;
  } while (onlyQueued && FindNextFileA(search, &found));
  FindClose(search);
  return onlyQueued;
}

void Deinstaller::QueueOrLeave(const std::string& path) {
  if (QueueDeletion(path)) outcome_.queued.push_back(path);
  else outcome_.left.push_back(path);
}

// Runs one removal line and finds out what it left: a file still there is in use (queued for
// the next start), a directory still there holds something (queued too when all it holds is
// queued, else left), a failed line is left as written.
void Deinstaller::RunStep(const DeinstallStep& step) {
  const int result = RunLine(step.line);
  const bool failed = result != 0 || ((step.command == TOK_DELETEGROUP || step.command == TOK_UNINSTALLSERVICE) &&
                                      ip_.variables.GetVariable("ERROR") != "0");
  if (failed) {
    outcome_.left.push_back(step.line);
    return;
  }
  switch (step.command) {
    case TOK_DELETE:
      if (FileExists(step.subject)) QueueOrLeave(step.subject);
      break;
    case TOK_UNREGISTER:
    case TOK_UNREGISTERSHARED:
      // Its count reached 0 but the file is in use: the count keeps its old number then. The
      // file goes at the next start, and with it the count.
      if (ip_.variables.GetVariable("ERROR") == "0" && FileExists(step.subject) &&
          ReadRegNumber(3, kSharedDlls, step.subject, -1) != -1) {
        if (QueueDeletion(step.subject)) {
          outcome_.queued.push_back(step.subject);
          DeleteRegEntry(3, kSharedDlls, step.subject);
        } else {
          outcome_.left.push_back(step.subject);
        }
      }
      break;
    case TOK_RMDIR:
      if (IsDirectory(step.subject)) {
        if (HoldsOnlyQueued(step.subject)) QueueOrLeave(step.subject);
        else outcome_.left.push_back(step.subject);
      }
      break;
    default:
      break;
  }
}

DeinstallResult Deinstaller::Report() {
  std::string text = Text(outcome_.left.empty() ? kRemovedText : kLeftText);
  ReplaceAll(text, "%1", application_, true);
  for (const std::string& item : outcome_.left) text += "\n" + item;
  if (!outcome_.queued.empty()) {
    text += "\n\n" + Text(kQueuedText);
    for (const std::string& item : outcome_.queued) text += "\n" + item;
  }
  const bool clean = outcome_.left.empty();
  // Silent and clean: nothing to tell.
  if (!options_.silent || !clean || !outcome_.queued.empty()) Tell(text, clean ? MB_OK | MB_ICONINFORMATION : MB_OK | MB_ICONEXCLAMATION);
  return clean ? DEINSTALL_DONE : DEINSTALL_PARTLY;
}

DeinstallResult Deinstaller::Run() {
  application_ = FileNamePart(options_.scriptPath);
  std::string bytes;
  if (options_.scriptPath.empty() || !ReadWholeFile(options_.scriptPath, bytes)) {
    std::string text = Text(kUnreadableText);
    ReplaceAll(text, "%1", options_.scriptPath, true);
    Tell(text, MB_OK | MB_ICONSTOP);
    return DEINSTALL_REFUSED;
  }
  const DeinstallText script = ReadDeinstallText(bytes);
  if (!HeaderApplication(script).empty()) application_ = HeaderApplication(script);

  std::vector<DeinstallStep> steps;
  DeinstallVerdict verdict = PlanStartup(ip_, script, steps);
  if (verdict.reason) return Refuse(verdict);
  for (const DeinstallStep& step : steps) {
    if (RunLine(step.line) != 0) return Refuse({REFUSED_STARTUP_FAILED, step.line});
  }
  if (!ip_.variables.GetVariable("APPLICATION").empty()) application_ = ip_.variables.GetVariable("APPLICATION");
  verdict = PlanRemoval(ip_, script, steps);
  if (verdict.reason) return Refuse(verdict);

  if (!options_.silent) {
    std::string question = Text(kQuestionText);
    ReplaceAll(question, "%1", application_, true);
    if (ip_.platform.ShowMessage(question, Title(), MB_YESNO | MB_ICONQUESTION, -1) != IDYES) return DEINSTALL_DECLINED;
  }
  ip_.platform.SetBusyCursor(true);
  // The script itself goes before the directories: it lies in one of them.
  bool scriptGone = false;
  auto removeScript = [&] {
    if (scriptGone) return;
    scriptGone = true;
    if (!DeleteFileA(options_.scriptPath.c_str()) && FileExists(options_.scriptPath)) outcome_.left.push_back(options_.scriptPath);
  };
  for (const DeinstallStep& step : steps) {
    if (step.section >= SECTION_DIRECTORIES) removeScript();
    RunStep(step);
    ip_.platform.PumpMessages();
  }
  removeScript();
  ip_.platform.SetBusyCursor(false);
  return Report();
}

}  // namespace

DeinstallResult RunDeinstaller(Interpreter& ip, const DeinstallerOptions& options) {
  return Deinstaller(ip, options).Run();
}
