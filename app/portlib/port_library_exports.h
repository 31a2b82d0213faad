// The five functions of the port-access library, exported under these undecorated names
// (port_library.def). Programs load the library by name and look them up.
#pragma once

#include <windows.h>

extern "C" {
BOOL WINAPI InitializeWinIo();
BOOL WINAPI ShutdownWinIo();
BOOL WINAPI SetPortVal(WORD port, DWORD value, BYTE size);
BOOL WINAPI InstallWinIoDriver(const char* folder, BOOL flag);
BOOL WINAPI RemoveWinIoDriver();
}
