// Keeps a file in use until it is ended, so that tests can meet files that other programs hold:
// "qs_module_holder LIBRARY" keeps the library loaded; "qs_module_holder /open FILE" keeps the
// file open for reading, sharing reading only (it can be read, not written, renamed or deleted).
// Like any program it ends with the session: a log-off or restart request that reaches its
// window closes it.
#include <windows.h>

#include <cstring>

namespace {

LRESULT CALLBACK HolderProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_ENDSESSION && wParam) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main(int argc, char** argv) {
  // The window comes first: a test that sees the file held may at once end the session, and a
  // window made after the file was taken could miss the end-session messages.
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HolderProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QsModuleHolder";
  RegisterClassA(&windowClass);
  CreateWindowA("QsModuleHolder", "Module holder", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                windowClass.hInstance, nullptr);
  if (argc == 3 && std::strcmp(argv[1], "/open") == 0) {
    if (CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE)
      return 1;
  } else if (argc < 2 || !LoadLibraryA(argv[1])) {
    return 1;
  }
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) DispatchMessageA(&message);
  return 0;
}
