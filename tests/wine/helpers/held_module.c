/* A library with a version resource (1.2.3.4) that the module holder keeps loaded. */
#include <windows.h>

__declspec(dllexport) int HeldModuleAnswer(void) { return 42; }
