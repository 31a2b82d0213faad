// The installer's full-screen frame window. It is created hidden at start-up, owns every other
// window of the interpreter, and shows the current backdrop: the object's colour or the blue
// gradient, with the object's items over it.
#pragma once

#include <windows.h>

#include <array>
#include <string>

#include "ui/object_canvas_win32.h"

class InstallerWindows;

class MainWindow {
 public:
  MainWindow() = default;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;
  ~MainWindow() { Destroy(); }

  // Caption only, over the whole screen, titled [title], not shown.
  bool Create(HINSTANCE instance, const std::string& title, InstallerWindows* owner);
  // Releases the backdrop's bitmaps, then the window and its brushes.
  void Destroy();
  HWND Handle() const { return window_; }

  // Shows the window maximised with backdrop [name] (an object the caller has found, or
  // nullptr for none): 0 or the first error of loading the object's items.
  int ShowBackdrop(const std::string& name, const UserObject* object, const std::string& title);
  // Forgets the backdrop and hides the window (its object was destroyed).
  void HideBackdrop();
  const std::string& BackdropName() const { return backdropName_; }

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void EraseBackground(HDC dc);
  const UserObject* Backdrop() const;
  HBRUSH ColourBrush(COLORREF colour);

  HWND window_ = nullptr;
  InstallerWindows* owner_ = nullptr;
  std::string backdropName_;
  ObjectCanvas canvas_;
  std::array<HBRUSH, 256> gradientBrushes_{};  // one per blue level, made once
  HBRUSH colourBrush_ = nullptr;
  COLORREF colourOfBrush_ = 0;
};
