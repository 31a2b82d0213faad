#include "ui/main_window_win32.h"

#include "engine/interpreter.h"
#include "ui/installer_windows_win32.h"
#include "ui/paint_helpers_win32.h"
#include "ui/window_geometry.h"

namespace {

const char* const kClassName = "QuillsetMainWindow";
constexpr size_t kMaxBackdropName = 255;

}  // namespace

bool MainWindow::Create(HINSTANCE instance, const std::string& title, InstallerWindows* owner) {
  owner_ = owner;
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = Procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(31234));
  windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kClassName;
  RegisterClassA(&windowClass);
  for (size_t blue = 0; blue < gradientBrushes_.size(); ++blue)
    gradientBrushes_[blue] = CreateSolidBrush(RGB(0, 0, blue));
  // Caption only: no system menu, no sizing border, no minimise or maximise box. The cue card
  // and the icons are children: the backdrop paints around them.
  window_ = CreateWindowExA(0, kClassName, title.c_str(), WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN, 0, 0,
                            GetSystemMetrics(SM_CXSCREEN),
                            GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr, instance, this);
  return window_ != nullptr;
}

void MainWindow::Destroy() {
  canvas_.Release();
  backdropName_.clear();
  if (window_) DestroyWindow(window_);
  window_ = nullptr;
  for (HBRUSH& brush : gradientBrushes_) {
    if (brush) DeleteObject(brush);
    brush = nullptr;
  }
  if (colourBrush_) DeleteObject(colourBrush_);
  colourBrush_ = nullptr;
}

int MainWindow::ShowBackdrop(const std::string& name, const UserObject* object, const std::string& title) {
  // The name comes first: the window paints as it appears, with the new backdrop's colour.
  backdropName_ = name.substr(0, kMaxBackdropName);
  canvas_.Release();
  ShowWindow(window_, SW_SHOWMAXIMIZED);
  SetWindowTextA(window_, title.c_str());
  int result = 0;
  if (!backdropName_.empty() && object && owner_ && owner_->Attached())
    result = LoadObjectItems(*owner_->Attached(), *object, window_, canvas_);
  InvalidateRect(window_, nullptr, TRUE);
  return result;
}

void MainWindow::HideBackdrop() {
  backdropName_.clear();
  canvas_.Release();
  ShowWindow(window_, SW_HIDE);
}

const UserObject* MainWindow::Backdrop() const {
  if (!owner_ || !owner_->Attached() || backdropName_.empty()) return nullptr;
  return owner_->Attached()->objects.Find(backdropName_);
}

HBRUSH MainWindow::ColourBrush(COLORREF colour) {
  if (!colourBrush_ || colourOfBrush_ != colour) {
    if (colourBrush_) DeleteObject(colourBrush_);
    colourBrush_ = CreateSolidBrush(colour);
    colourOfBrush_ = colour;
  }
  return colourBrush_;
}

void MainWindow::EraseBackground(HDC dc) {
  RECT client;
  GetClientRect(window_, &client);
  const UserObject* object = Backdrop();
  if (object && object->colour != -1) {
    FillRect(dc, &client, ColourBrush(ScriptColour(object->colour)));
    return;
  }
  for (const GradientBand& band : GradientBands(client.bottom)) {
    const RECT strip{client.left, band.top, client.right, band.bottom};
    FillRect(dc, &strip, gradientBrushes_[static_cast<size_t>(band.blue)]);
  }
}

LRESULT CALLBACK MainWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    self->window_ = window;
  }
  auto* self = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (!self || self->window_ != window) return DefWindowProcA(window, message, wParam, lParam);
  return self->Handle(message, wParam, lParam);
}

LRESULT MainWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      EraseBackground(reinterpret_cast<HDC>(wParam));
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window_, &paint);
      if (const UserObject* object = Backdrop()) PaintObject(*owner_->Attached(), dc, window_, *object, canvas_);
      EndPaint(window_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC:  // the backdrop's icons
      return PaintBehindIcon(window_, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), [this](HDC dc) {
        EraseBackground(dc);
        if (const UserObject* object = Backdrop()) PaintObject(*owner_->Attached(), dc, window_, *object, canvas_);
      });
    case WM_SETFOCUS:
      if (owner_ && owner_->CopyGaugeOpen()) SetFocus(owner_->CopyGaugeHandle());
      return 0;
    case WM_SETCURSOR:
      if (owner_ && owner_->BusyCursor() && LOWORD(lParam) == HTCLIENT) {
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        return TRUE;
      }
      break;
    case WM_CLOSE:
      return 0;  // only the program closes its main window, at the end of the run
    default:
      break;
  }
  return DefWindowProcA(window_, message, wParam, lParam);
}
