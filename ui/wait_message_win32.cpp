// The wait message: a small captioned window, centred on the screen, that shows a text of one
// or more lines centred in light grey.
#include <vector>

#include "ui/installer_templates.h"
#include "support/dialog_template_win32.h"
#include "ui/installer_windows_win32.h"
#include "ui/paint_helpers_win32.h"

INT_PTR CALLBACK WaitMessageProcedure(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
  auto* windows = reinterpret_cast<InstallerWindows*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      CentreOnScreen(dialog);
      return TRUE;
    case WM_PAINT:
      if (!windows) return FALSE;
      windows->PaintWaitMessage(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

void InstallerWindows::PaintWaitMessage(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillClientGrey(window, dc);
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
  std::vector<int> widths, heights;
  for (const std::string& line : MessageLines(waitText_)) {
    const SIZE size = TextLineSize(dc, line);
    widths.push_back(size.cx);
    heights.push_back(size.cy);
  }
  const TextBlock block = CentredTextBlock(widths, heights, client.right, client.bottom);
  RECT text{block.left, block.top, block.left + block.width, block.top + block.height};
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, waitText_.c_str(), static_cast<int>(waitText_.size()), &text, DT_EXPANDTABS | DT_CENTER);
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void InstallerWindows::ShowWaitMessage(const std::string& text) {
  if (!wait_) {
    wait_ = CreateModelessDialog(WaitMessageTemplate(), main_.Handle(), WaitMessageProcedure,
                                 reinterpret_cast<LPARAM>(this));
    if (!wait_) return;
  }
  SetWindowTextA(wait_, Caption().c_str());
  waitText_ = text;
  InvalidateRect(wait_, nullptr, TRUE);
  UpdateWindow(wait_);
}

void InstallerWindows::HideWaitMessage() {
  if (!wait_) return;
  HWND wait = wait_;
  wait_ = nullptr;
  waitText_.clear();
  DestroyWindow(wait);
}
