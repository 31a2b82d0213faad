// The least a windowed program does: shows one captioned window, paints it once with a line of
// text, and ends. The installation benchmark times it beside the installers, as the floor that
// every windowed program pays under the Wine at hand before it does any work of its own.
#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  HWND window = CreateWindowExA(0, "STATIC", "Setup", WS_POPUP | WS_CAPTION | WS_VISIBLE | SS_CENTER, 100, 100, 333,
                                151, nullptr, nullptr, instance, nullptr);
  UpdateWindow(window);
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
  DestroyWindow(window);
  return 0;
}
