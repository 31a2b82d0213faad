// Calling code the installer did not write (a module's registration entry point) so that a fault
// inside it comes back as a result instead of ending the interpreter.
#pragma once

#include <windows.h>

using StatusEntryPoint = LONG(WINAPI*)();

struct GuardedResult {
  bool returned = false;  // false: the call ended in an exception that it did not handle itself
  LONG status = 0;        // the entry point's result when it returned
  DWORD exceptionCode = 0;
};

// Calls [entry]. An exception that the called code leaves unhandled unwinds its frames and ends
// the call; the module stays in whatever state it had reached. The 64-bit build, which does not
// ship, calls without this guard.
GuardedResult CallGuarded(StatusEntryPoint entry);
