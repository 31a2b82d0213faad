// A DLL that exists for its version resource only.
#include <windows.h>

extern "C" __declspec(dllexport) int VersionSample();
extern "C" __declspec(dllexport) int VersionSample() { return 1; }
