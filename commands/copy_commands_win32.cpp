#include "commands/command_families.h"

#include <windows.h>

#include <memory>

#include "commands/copy_engine_win32.h"
#include "commands/copy_rules.h"
#include "commands/file_info_win32.h"
#include "engine/executor.h"
#include "engine/prompts.h"
#include "support/file_helpers_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"
#include "ui/language.h"

namespace {

constexpr unsigned kDefaultButtonTwo = 0x100;  // No is the default answer
constexpr int kOverwritePromptText = 1200;

int RunCopy(Interpreter& ip, TokenLine& line, bool listForm) {
  CopyRequest request;
  if (int r = ReadCopyRequest(ip, line, listForm, request)) return r;
  InstallerWindows* windows = ip.windows;
  if (request.blockForm) {
    if (windows) windows->OpenCopyGauge(request.total);
    return 0;
  }
  const std::string sourceDirectory = CopySourceDirectory(request.source, ip.platform.CurrentDirectory());
  const std::string target = CopyTargetName(request.target);
  std::unique_ptr<CopyGaugeLink> gauge;
  if (windows && windows->CopyGaugeOpen()) {
    if (listForm) windows->SetGaugeTexts(request.description, "", "");
    gauge = std::make_unique<CopyGaugeLink>(*windows);
  }
  const int result = BlockCopy(ip.log, request.source, sourceDirectory, target, gauge.get(), request.expand != 0,
                               request.append != 0, request.move != 0, &ip.installLog);
  if (result != 0) return result;
  return SetErrorVariable(ip, 0);
}

int CopyFileCommand(Interpreter& ip, TokenLine& line) { return RunCopy(ip, line, false); }
int CopyListLine(Interpreter& ip, TokenLine& line) { return RunCopy(ip, line, true); }

int EndCopyFileCommand(Interpreter& ip, TokenLine&) {
  ip.platform.CloseCopyGauge();
  return 0;
}

int UncompressCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  if (int r = CheckString(line, c, 1)) return r;
  const std::string source = StringParam(ip, line, c, true);
  if (int r = CheckString(line, c + 2, 2)) return r;
  const std::string target = StringParam(ip, line, c + 2, true);
  int32_t remove = 0;
  if (int r = ReadOptionalNumbers(ip, line, c + 4, 3, &remove, 1)) return r;
  const int status = FCopyFile(ip.log, source, target, 0, nullptr, false, true);
  NoteCopy(ip.installLog, source, target, status);
  if (status == COPY_DONE && remove != 0) DeleteFileA(source.c_str());
  return CopyStatusError(status);
}

int64_t TimeValue(const FILETIME& utc) {
  const int64_t ticks = static_cast<int64_t>(ULARGE_INTEGER{{utc.dwLowDateTime, utc.dwHighDateTime}}.QuadPart);
  return (ticks - 116444736000000000LL) / 10000000LL;
}

// The file that [pattern] finds first, with its version; false when none matches.
bool FindOverwriteFile(DebugLog& log, const std::string& pattern, OverwriteFile& file) {
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    log.LogText(pattern + " - not found\r\n");
    return false;
  }
  FindClose(search);
  file.name = pattern;
  file.timeValue = TimeValue(entry.ftLastWriteTime);
  file.size = uint64_t{entry.nFileSizeHigh} << 32 | entry.nFileSizeLow;
  FILETIME local;
  SYSTEMTIME calendar{};
  FileTimeToLocalFileTime(&entry.ftLastWriteTime, &local);
  FileTimeToSystemTime(&local, &calendar);
  file.written = ToDateTime(calendar);
  return true;
}

void ReadVersion(DebugLog& log, OverwriteFile& file, FileVersion& version) {
  file.hasVersion = QueryFileVersion(log, file.name, version.most, version.least);
  if (file.hasVersion) file.versionText = FileVersionText(version);
}

// A read-only file counts as one that cannot be written even where the system would let this
// process open it (an administrator's process under some systems).
bool OpensForWriting(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

int AskOverwrite(Interpreter& ip, const std::string& message, const OverwriteFile& existing,
                 const OverwriteFile& newer) {
  ip.log.LogText("Ask for overwrite conformation\r\n");
  const std::string text = OverwritePrompt(ip.log, message, ip.platform.ResourceText(kOverwritePromptText),
                                           CurrentLanguage(ip), existing, newer);
  // The dates and sizes in the text differ from machine to machine: the question is known by
  // its two files.
  const std::string title = ip.variables.GetVariable("CAPTION");
  ip.platform.BeginUserPrompt();
  const int answer = AskMessage(ip, QuestionKind::Overwrite, text, title, MSG_YESNO | MSG_ICONQUESTION | kDefaultButtonTwo,
                                {{"title", title}, {"existing", existing.name}, {"new", newer.name}});
  ip.platform.EndUserPrompt();
  // Only Yes replaces: a box that could not be shown keeps the file.
  return answer == ANSWER_YES ? ANSWER_YES : ANSWER_NO;
}

// Why CONFIRMOVERWRITE( keeps the existing file, for the installation log.
const char* KeepReason(OverwriteStep step, const OverwriteFile& existing, const OverwriteFile& newer, int versionOrder,
                       int32_t mode) {
  if (step == OverwriteStep::Ask) return "the answer was No";
  const bool byVersion = existing.hasVersion && newer.hasVersion;
  const bool same = byVersion ? versionOrder == 0 : existing.timeValue == newer.timeValue;
  const bool older = byVersion ? versionOrder < 0 : newer.timeValue < existing.timeValue;
  if (same) return byVersion ? "the same version" : "the same date and time";
  if (older && mode == 2) return "the new file is older";
  return "the file is read-only or in use";
}

int ConfirmOverwriteCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  std::string texts[3];
  for (int n = 0; n < 3; ++n) {
    if (int r = CheckString(line, c + 2 * n, n + 1)) return r;
    texts[n] = StringParam(ip, line, c + 2 * n, true);
  }
  line.paramNo = 4;
  if (line.At(c + 6) != TOK_NUMBER) return ERR_INVALID_NUMERIC_PARAMETER;
  const int32_t mode = NumberParam(ip, line, c + 6);

  int decision = ANSWER_YES;
  OverwriteFile existing, newer;
  FileVersion oldVersion, newVersion;
  if (FindOverwriteFile(ip.log, texts[0], existing) && FindOverwriteFile(ip.log, texts[1], newer)) {
    ReadVersion(ip.log, existing, oldVersion);
    ReadVersion(ip.log, newer, newVersion);
    const OverwriteStep step = DecideOverwrite(ip.log, existing, newer, CompareFileVersions(newVersion, oldVersion), mode,
                                               [&] { return OpensForWriting(texts[0]); });
    if (step == OverwriteStep::Keep) decision = ANSWER_NO;
    if (step == OverwriteStep::Ask) {
      decision = AskOverwrite(ip, texts[2], existing, newer);
      ip.log.LogText("Overwrite confirm complete\r\n");
      ip.log.LogText(decision == ANSWER_YES ? "Yes - do overwrite\r\n" : "No - don't overwrite\r\n");
    }
    if (decision == ANSWER_NO && ip.installLog.Enabled())
      ip.installLog.Note("Kept: ", texts[0], " (not replaced by ", texts[1], ": ",
                         KeepReason(step, existing, newer, CompareFileVersions(newVersion, oldVersion), mode), ")");
  }
  return SetErrorVariable(ip, decision == ANSWER_YES ? 6 : 7);
}

int GetBackupNameCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  if (int r = CheckString(line, c, 1)) return r;
  const std::string path = StringParam(ip, line, c, true);
  line.paramNo = 2;
  if (line.At(c + 2) != TOK_VARIABLE) return ERR_INVALID_VARIABLE_NAME;
  const std::string variable = VariableName(ip, line);
  return ip.variables.SetVariable(variable, BackupName(path, [](const std::string& name) { return FileExists(name); }));
}

}  // namespace

void AddCopyCommands(CommandTable& table) {
  table.Add(TOK_COPYFILE, CopyFileCommand);
  table.valueLine = CopyListLine;
  table.Add(TOK_ENDCOPYFILE, EndCopyFileCommand);
  table.Add(TOK_UNCOMPRESS, UncompressCommand);
  table.Add(TOK_CONFIRMOVERWRITE, ConfirmOverwriteCommand);
  table.Add(TOK_GETBACKUPNAME, GetBackupNameCommand);
}
