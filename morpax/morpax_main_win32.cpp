// MORPAX.EXE: the de-installer. It runs the lines of a de-install script that an installation
// wrote, with the interpreter's engine and commands, after checking all of them.
#include <windows.h>

#include "commands/command_state_win32.h"
#include "engine/main_loop.h"
#include "morpax/morpax.h"
#include "talven/win32_platform.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

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
  InitVariables(ip);
  const DeinstallerOptions options = ParseDeinstallerCommandLine(ProgramArguments());
  log.LogText("Deinstalling: '" + options.scriptPath + "'" + (options.silent ? " silently" : "") + "\r\n");
  const DeinstallResult result = RunDeinstaller(ip, options);
  EndDdeClient(commandState.ddeInstance);
  return result;
}
