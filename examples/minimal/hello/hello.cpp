// The example installer's payload: a program that greets and ends.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  MessageBoxA(nullptr, "Hello from the example installer.", "Hello", MB_OK | MB_ICONINFORMATION);
  return 0;
}
