// ADDREPLACEFILE(, REGISTERREPLACEFILES(), CLEARREPLACEFILES() and EXITWINDOWS(: files in use
// are staged and swapped in when Windows next starts; the restart or log-off itself happens at
// the end of the run (talven/talven_main_win32.cpp).
#include <windows.h>

#include "commands/command_families.h"
#include "commands/command_state_win32.h"
#include "commands/copy_engine_win32.h"
#include "commands/copy_rules.h"
#include "commands/ini_files_win32.h"
#include "commands/replace_list_win32.h"
#include "engine/executor.h"
#include "support/text.h"
#include "support/win32.h"

namespace {

// The staged copy keeps the name of the file it replaces, in the staging folder. When a file of
// that name is there already (another queued copy, one a run before left waiting for its
// restart, or the target itself), the copy gets the first free backup name instead: two queued
// files of the same name must not share one staged copy.
std::string StagedNameFor(const std::string& target) {
  const std::string staged = EnsureBackslash(WindowsDirectory()) + "KvlSoft\\" + FileNamePart(target);
  if (!FileExists(staged)) return staged;
  return BackupName(staged, [](const std::string& name) { return FileExists(name); });
}

int AddReplaceFileCommand(Interpreter& ip, TokenLine& line) {
  std::string source, target;
  if (int r = ReadStringParam(ip, line, 1, source)) return r;
  if (int r = ReadStringParam(ip, line, 2, target)) return r;
  const std::string staged = StagedNameFor(target);
  if (int r = CopyStatusError(FCopyFile(ip.log, source, staged, 0, nullptr, false, true))) return r;
  ip.commandState->replaceList->Append({staged, target});
  return 0;
}

// The Windows 95 family reads the "Rename" section of WININIT.INI while it starts, before long
// file names are known: the entries name the files by their short names where they have them.
bool RegisterWithWininit(DebugLog& log, const ReplacePair& pair) {
  return WriteMultiProfileEntry(log, "WININIT.INI", "Rename", ShortPathName(pair.target), ShortPathName(pair.staged));
}

// Each pair goes to the system once per call. ERROR = the number of pairs the system refused
// (0 when every pair is registered).
int RegisterReplaceFilesCommand(Interpreter& ip, TokenLine&) {
  const bool win95Family = IsWin95(ip.version) || IsWin98(ip.version) || IsWinMe(ip.version);
  int refused = 0;
  for (const ReplacePair& pair : ip.commandState->replaceList->Pairs()) {
    ip.log.LogText("ReplaceFile: '" + pair.target + "' <- '" + pair.staged + "'\r\n");
    const bool ok = win95Family ? RegisterWithWininit(ip.log, pair)
                                : MoveFileExA(pair.staged.c_str(), pair.target.c_str(),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_DELAY_UNTIL_REBOOT);
    if (!ok) {
      ++refused;
      ip.installLog.Note("Not queued for replacement at restart: ", pair.target);
      continue;
    }
    ip.outcome.restartNeeded = true;  // the installation is complete only after a restart
    ip.installLog.Note("Queued for replacement at restart: ", pair.target, " by ", pair.staged);
  }
  return SetErrorVariable(ip, refused);
}

int ClearReplaceFilesCommand(Interpreter& ip, TokenLine&) {
  ReplaceList& queue = *ip.commandState->replaceList;
  for (const ReplacePair& pair : queue.Pairs()) DeleteMatching(pair.staged);
  queue.Clear();
  return 0;
}

// The run ends after this line; shut-down acts on the mode once everything is closed.
int ExitWindowsCommand(Interpreter& ip, TokenLine& line) {
  int32_t mode = 0;
  if (int r = ReadLiteralNumberParam(ip, line, 1, mode)) return r;
  ip.restartMode = mode;
  ip.installLog.Note(mode == 0 ? "Log-off or restart asked for at the end of the run" : "Restart asked for at the end of the run");
  ip.files.CloseAll();
  return 0;
}

}  // namespace

void AddRestartCommands(CommandTable& table) {
  table.Add(TOK_ADDREPLACEFILE, AddReplaceFileCommand);
  table.Add(TOK_REGISTERREPLACEFILES, RegisterReplaceFilesCommand);
  table.Add(TOK_CLEARREPLACEFILES, ClearReplaceFilesCommand);
  table.Add(TOK_EXITWINDOWS, ExitWindowsCommand);
}
