// The script debugger: the hook that the main loop and the object-definition reader ask before
// every line, its settings file (breakpoints and the window's place, kept from one run to the
// next), and the modal "Debug" window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "engine/interpreter.h"

// Switches the debugger on for the run with settings file [name] (off when empty). Before the
// main script is opened, so that the script files keep the debugger's line table.
void SetDebugFile(Interpreter& ip, const std::string& name);
// 1 when the debugger is off or not stepping (run the line), else the id that closed the
// window: 17 Step, 18 Run (run on to the next breakpoint), 2 Cancel (every script file is
// closed and the line does not run).
int DebugLineHook(Interpreter& ip);
// The end of the run: the debugger is off again.
void ClearDebugger(Interpreter& ip);

// The settings file, an INI file read and written through the profile functions at each use
// (a name without a folder lives in the Windows directory, as the profile functions place it).
// Its breakpoints are read again only when the file's size or write time has changed: looking
// a key up through the profile functions costs a few hundred microseconds under Wine, and the
// hook looks before every line.
class DebugSettings {
 public:
  explicit DebugSettings(Interpreter& ip) : state_(ip.debugger), file_(ip.debugger.settingsFile) {}
  bool HasBreakpoint(const std::string& scriptPath, uint32_t lineNo);
  // False when the file could not be written.
  bool ToggleBreakpoint(const std::string& scriptPath, uint32_t lineNo);
  bool ClearBreakpoints();
  // The saved window rectangle, each side defaulting to [fallback]'s.
  RECT WindowRect(const RECT& fallback) const;
  void SaveWindowRect(const RECT& rect);
  const std::string& File() const { return file_; }

 private:
  // Where the profile functions keep the file.
  std::string Path() const;
  // A read-only file is left as it is, also where the system would let it be written.
  bool Writable() const;
  void ReadBreakpointsWhenChanged();

  Interpreter::DebuggerState& state_;
  std::string file_;
};

// Shows the Debug window modally over the installer's windows; returns the id that closed it,
// or -1 when it could not be made.
int RunDebugWindow(Interpreter& ip);
