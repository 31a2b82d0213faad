// MORPAX.EXE: the de-installer. It runs the lines of a de-install script that an installation
// wrote, with the interpreter's engine and commands, after checking all of them.
#include <windows.h>

#include <string>

#include "commands/command_state_win32.h"
#include "engine/main_loop.h"
#include "morpax/morpax.h"
#include "talven/win32_platform.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

// Started in a folder that it removes (a shortcut's working folder, a prompt in the product's
// folder), the process would hold that folder and leave it behind: the script's name is made
// complete, and the de-installer works from its own folder.
void LeaveTheFoldersToRemove(DeinstallerOptions& options) {
  char buffer[MAX_PATH] = "";
  const DWORD full = options.scriptPath.empty() ? 0 : GetFullPathNameA(options.scriptPath.c_str(), sizeof buffer, buffer, nullptr);
  if (full > 0 && full < sizeof buffer) options.scriptPath = buffer;
  const DWORD length = GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return;
  std::string folder(buffer, length);
  folder.resize(folder.rfind('\\') + 1);
  SetCurrentDirectoryA(folder.c_str());
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Win32DebugLogBackend logBackend(true);
  logBackend.AttachSettings(ProgramIniFileName(), LoadResourceText(57344));
  DebugLog log(logBackend);
  InstallerWindows windows;  // no main window: the question and the report stand alone
  Win32Platform platform(windows);
  const CommandTable commands = DeinstallerCommandTable();
  Interpreter ip(platform, log, commands);
  ip.windows = &windows;
  windows.Attach(ip);
  CommandState commandState;
  ip.commandState = &commandState;
  // Program Manager takes group removals over DDE below Windows 4.00.
  commandState.ddeInstance = StartDdeClient();
  DeinstallerOptions options = ParseDeinstallerCommandLine(ProgramArguments());
  LeaveTheFoldersToRemove(options);
  InitVariables(ip);
  log.LogText("Deinstalling: '" + options.scriptPath + "'" + (options.silent ? " silently" : "") + "\r\n");
  const DeinstallResult result = RunDeinstaller(ip, options);
  EndDdeClient(commandState.ddeInstance);
  return result;
}
