// The copy gauge: a modeless dialog owned by the main window, with its status, source and
// destination lines, the bar over the hidden placeholder, and Cancel, which sends the script
// to its :EXIT label once the running command has returned.
#include "engine/executor.h"
#include "ui/installer_templates.h"
#include "support/dialog_template_win32.h"
#include "ui/installer_windows_win32.h"
#include "ui/language.h"

namespace {

constexpr int kBarId = 54;

}  // namespace

INT_PTR CALLBACK CopyGaugeProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* windows = reinterpret_cast<InstallerWindows*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      reinterpret_cast<InstallerWindows*>(lParam)->InitGauge(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDCANCEL && windows) {
        // The gauge is gone when this returns: nothing here may touch it afterwards.
        windows->OnGaugeCancel();
        return TRUE;
      }
      return FALSE;
    case WM_SETCURSOR:
      return FALSE;
    default:
      return FALSE;
  }
}

void InstallerWindows::InitGauge(HWND dialog) {
  gauge_ = dialog;
  RECT place{};
  if (HWND placeholder = GetDlgItem(dialog, GAUGE_BAR_PLACE)) {
    GetWindowRect(placeholder, &place);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&place), 2);
  }
  GaugeBarStyle style;
  style.sunkenFrame = true;
  style.frameWidth = 1;
  style.done = RGB(0, 0, 255);
  style.remaining = RGB(192, 192, 192);
  bar_ = GaugeBar::Create(dialog, place, kBarId, style);
  SendMessageA(bar_.Handle(), WM_SETFONT, static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0)), FALSE);
  PlaceDialog(dialog);
}

void InstallerWindows::OpenCopyGauge(int32_t total) {
  SetBusyCursor(false);
  if (!gauge_) {
    CopyGaugeTexts texts;
    if (ip_) {
      texts.sourceLabel = AnsiToUtf16(LanguageText(*ip_, 14100));
      texts.destinationLabel = AnsiToUtf16(LanguageText(*ip_, 14110));
      texts.cancel = AnsiToUtf16(LanguageText(*ip_, 14010));
    }
    CreateModelessDialog(CopyGaugeTemplate(texts), main_.Handle(), CopyGaugeProcedure, reinterpret_cast<LPARAM>(this));
    if (!gauge_) return;
  }
  SetWindowTextA(gauge_, Caption().c_str());
  bar_.SetMaximum(total);
}

void InstallerWindows::DestroyGauge() {
  if (!gauge_) return;
  HWND gauge = gauge_;
  gauge_ = nullptr;
  bar_ = GaugeBar();
  ++gaugeGeneration_;
  DestroyWindow(gauge);
}

void InstallerWindows::CloseCopyGauge() {
  DestroyGauge();
  SetBusyCursor(true);
}

void InstallerWindows::OnGaugeCancel() {
  if (ip_) {
    InjectExitJump(*ip_);  // closes the gauge through the platform
    if (gauge_) CloseCopyGauge();
  } else {
    CloseCopyGauge();
  }
}

void InstallerWindows::SetGaugeTexts(const std::string& status, const std::string& source,
                                     const std::string& destination) {
  if (!gauge_) return;
  const std::pair<int, const std::string*> lines[] = {
      {GAUGE_STATUS, &status}, {GAUGE_SOURCE, &source}, {GAUGE_DESTINATION, &destination}};
  for (const auto& [id, text] : lines)
    if (!text->empty()) SetDlgItemTextA(gauge_, id, text->c_str());
}
