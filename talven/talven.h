// The interpreter program's pieces that need the whole system.
#pragma once

#include <windows.h>

#include "engine/executor.h"

// Every command family of the interpreter.
CommandTable InterpreterCommandTable();

// Start-up, main loop and shut-down of TALVEN.EXE; returns the exit code.
int RunTalven(HINSTANCE instance);
