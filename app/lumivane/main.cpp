// Lumivane, installed as main.exe.
#include <windows.h>

#include <float.h>

#include "app/lumivane/form1.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
#if defined(__i386__)
  // The x87 unit rounds every operation to double precision, as the transform requires.
  _controlfp(_PC_53, _MCW_PC);
#endif
  return RunLumivane(instance);
}
