#include "ui/main_window_win32.h"

namespace {
const char* const kClassName = "QuillsetMainWindow";
}

bool MainWindow::Create(HINSTANCE instance, const std::string& title) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(31234));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  // Caption only: no system menu, no sizing border, no minimise or maximise box.
  window_ = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPED | WS_CAPTION, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, nullptr);
  return window_ != nullptr;
}

void MainWindow::Destroy() {
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
