// TALVEN.EXE: the interpreter program. All its work happens here, in start-up order; it has no
// message loop of its own, since every command that waits pumps messages itself.
#include <windows.h>

#include "commands/command_state_win32.h"
#include "commands/deinstall_win32.h"
#include "commands/directories_win32.h"
#include "support/registry_win32.h"
#include "commands/replace_list_win32.h"
#include "engine/executor.h"
#include "engine/main_loop.h"
#include "engine/prompts.h"
#include "talven/unattended_run_win32.h"
#include "talven/talven.h"
#include "talven/win32_platform.h"
#include "support/late_bound_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/language.h"
#include "ui/debugger_win32.h"
#include "ui/installer_windows_win32.h"

namespace {

// Records where the data-access library lives, as installers of its time expect to find it.
void RecordDaoLocation(Interpreter& ip) {
  const std::string directory = DaoDirectory(ip);
  MakeDirectory(ip.log, directory);
  WriteRegString(3, "SOFTWARE\\Microsoft\\Shared Tools\\DAO", "Path", EnsureBackslash(directory) + "DAO3032.DLL");
}

bool EnableShutdownPrivilege() {
  HANDLE token;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, &token)) return false;
  TOKEN_PRIVILEGES privileges{};
  privileges.PrivilegeCount = 1;
  privileges.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  LookupPrivilegeValueA(nullptr, "SeShutdownPrivilege", &privileges.Privileges[0].Luid);
  const BOOL ok = AdjustTokenPrivileges(token, FALSE, &privileges, 0, nullptr, nullptr);
  CloseHandle(token);
  return ok;
}

// A restart or log-off that EXITWINDOWS( asked for: 0 logs the user off on the NT family and
// restarts the Windows 95 family; any other value restarts.
void CarryOutRestart(const WindowsVersionInfo& v, int32_t mode) {
  if (mode == -1) return;
  const bool win95Family = IsWin95(v) || IsWin98(v) || IsWinMe(v);
  if (!win95Family) EnableShutdownPrivilege();
  ExitWindowsEx(mode == 0 && !win95Family ? EWX_LOGOFF : EWX_REBOOT, 0xFFFF);
}

}  // namespace

int RunTalven(HINSTANCE instance) {
  Win32DebugLogBackend logBackend(true);
  logBackend.AttachSettings(ProgramIniFileName(), LoadResourceText(57344));
  DebugLog log(logBackend);
  InstallerWindows windows;
  Win32Platform platform(windows);
  const CommandTable commands = InterpreterCommandTable();
  Interpreter ip(platform, log, commands);
  ip.windows = &windows;
  windows.Attach(ip);
  ReplaceList replaceList;
  CommandState commandState;
  commandState.replaceList = &replaceList;
  ip.commandState = &commandState;

  // The command line is read before anything is shown: a run that nobody watches must not wait
  // even for a start-up message. What it asks for takes effect in the order below.
  StartupOptions options =
      ParseCommandLine(ProgramArguments(), FindSetupWindow() != nullptr,
                       GetPrivateProfileIntA("Run", "Debug", 0, ProgramIniFileName().c_str()) != 0);
  UnattendedFiles unattendedFiles;
  const bool answersReady = BeginUnattendedRun(ip, options, unattendedFiles, logBackend);

  // Start-up, in this order.
  ip.restartMode = -1;
  SetHandleCount(100);
  const DWORD dde = answersReady ? StartDdeClient() : 0;
  const bool ddeReady = dde != 0;
  bool runScript = ddeReady;
  if (ddeReady) commandState.ddeInstance = dde;
  if (answersReady && !ddeReady) {
    platform.HideSetupWindow();
    ip.outcome.scriptError = true;
    const std::string text = LoadResourceText(ERR_DDEML_INIT_FAILED);
    ip.installLog.Note("Script error: ", text);
    AskMessage(ip, QuestionKind::Error, text, LoadResourceText(57344), MB_OK);
  } else if (ddeReady) {
    windows.CreateMainWindow(instance, ip.variables.GetVariable("CAPTION"));
    LanguageText(ip, 14000);
    replaceList.Create();
    SetDebugFile(ip, options.debugFile);
    if (!options.directory.empty()) SetCurrentDirectoryA(options.directory.c_str());
    log.LogText("Running: '" + options.scriptName + "'  Directory: '" + options.directory + "'  Debug: '" +
                options.debugFile + "'  Params: '" + options.parameters + "'\r\n");
    platform.SetBusyCursor(true);
    runScript = OpenMainScript(ip, options) == 0;
    if (runScript) {
      RecordDaoLocation(ip);
      BeginRun(ip, options);
      RunMainLoop(ip);
    }
  }

  // Shut-down, in this order. The first two steps only follow a run of the main loop.
  if (ip.linesExecuted) {
    windows.DestroyUserObjects();  // the cue card closes, the backdrop goes, the table empties
    ClearDebugger(ip);
  }
  late_bound::StopSound();  // a sound that PLAYWAVEFILE( started
  ip.files.CloseAll();
  commandState.streams.CloseAll();  // file streams the script left open
  CloseDeinstallScript(ip);
  replaceList.Discard();
  EndDdeClient(dde);
  commandState.ddeInstance = 0;
  platform.SetBusyCursor(false);
  // The wait message, the copy gauge (as ENDCOPYFILE() closes it, the cursor left released)
  // and the main window.
  windows.CloseAll();
  platform.HideSetupWindow();
  const int verdict = FinishRun(ip);
  CarryOutRestart(ip.version, ip.restartMode);
  // Callers of old rely on 0 (a run that queued replacements, one that ended in an error): the
  // verdict is the exit code of a run that asked for any of the new switches.
  return options.switches.Any() ? verdict : 0;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return RunTalven(instance); }
