#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/core/window_template.h"
#include "support/dialog_template_win32.h"

namespace {

void Paint(HWND window, const Bootstrap& run) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  FillClientGrey(window, dc);
  // The dialog's own font, MS Sans Serif 8, rather than the DC's system font.
  HGDIOBJ oldFont = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, run.texts.windowText.c_str(), -1, &client, DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX);
  SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

INT_PTR CALLBACK WorkingWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<Bootstrap*>(GetWindowLongPtrA(window, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(window, DWLP_USER, lParam);
      CentreOnScreen(window, true);  // both edge pixels count
      return TRUE;
    case WM_PAINT:
      if (!run) return FALSE;
      Paint(window, *run);
      return TRUE;
    case WM_COMMAND:
      // The interpreter closes this window with command 2 when it no longer needs it. That
      // cancels the window only: the wait for the interpreter goes on.
      if (LOWORD(wParam) == IDCANCEL && run) {
        CloseWorkingWindow(*run);
        return TRUE;
      }
      return FALSE;
    default:
      return FALSE;
  }
}

}  // namespace

void CreateWorkingWindow(Bootstrap& run) {
  run.window = CreateModelessDialog(WorkingWindowTemplate(), nullptr, WorkingWindowProc, reinterpret_cast<LPARAM>(&run));
  if (!run.window) {
    run.log.LogText("Setup: the working window could not be created\r\n");
    return;
  }
  ShowWindow(run.window, SW_SHOW);
  UpdateWindow(run.window);
}

void CloseWorkingWindow(Bootstrap& run) {
  if (!run.window) return;
  HWND window = run.window;
  run.window = nullptr;
  DestroyWindow(window);
}
