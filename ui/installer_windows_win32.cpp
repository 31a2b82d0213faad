#include "ui/installer_windows_win32.h"

#include "engine/interpreter.h"

bool InstallerWindows::CreateMainWindow(HINSTANCE instance, const std::string& title) {
  return main_.Create(instance, title, this);
}

std::string InstallerWindows::Caption() const { return ip_ ? ip_->variables.GetVariable("CAPTION") : std::string(); }

void InstallerWindows::SetBusyCursor(bool on) {
  busy_ = on;
  SetCursor(LoadCursorA(nullptr, on ? IDC_WAIT : IDC_ARROW));
}

void InstallerWindows::BeginUserPrompt() {
  if (prompts_++ > 0) return;
  busyBeforePrompt_ = busy_;
  SetBusyCursor(false);
  if (gauge_) EnableWindow(gauge_, FALSE);
  if (wait_) EnableWindow(wait_, FALSE);
}

void InstallerWindows::EndUserPrompt() {
  if (prompts_ == 0 || --prompts_ > 0) return;
  if (wait_) EnableWindow(wait_, TRUE);
  if (gauge_) {
    EnableWindow(gauge_, TRUE);
    SetFocus(gauge_);
  }
  SetBusyCursor(busyBeforePrompt_);
}

void InstallerWindows::PlaceDialog(HWND dialog) const {
  RECT own, mainRect{};
  GetWindowRect(dialog, &own);
  if (main_.Handle()) GetWindowRect(main_.Handle(), &mainRect);
  const PlacementFrame frame{own.left,        own.top,        own.right - own.left, own.bottom - own.top,
                             mainRect.right, mainRect.bottom, GetSystemMetrics(SM_CYCAPTION)};
  int x = 0, y = 0;
  PlaceInFrame(placement, frame, x, y);
  SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int InstallerWindows::ShowBackdrop(const std::string& name) {
  if (!ip_) return ERR_OBJECT_NOT_FOUND;
  const UserObject* object = nullptr;
  if (int r = FindBackdrop(ip_->objects, name, object)) return r;
  return main_.ShowBackdrop(name, object, Caption());
}

void InstallerWindows::CloseAll() {
  CloseCueCard();
  HideWaitMessage();
  DestroyGauge();
  main_.Destroy();
}
