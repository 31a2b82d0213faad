// The installer's full-screen frame window. It is created hidden at start-up and owns every
// other window of the interpreter.
#pragma once

#include <windows.h>

#include <string>

class MainWindow {
 public:
  bool Create(HINSTANCE instance, const std::string& title);
  void Destroy();
  HWND Handle() const { return window_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND window_ = nullptr;
};
