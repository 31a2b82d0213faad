// The modal "Debug" window: the current script file's lines in an owner-drawn list (the line
// about to run yellow, breakpoints red), the statement's parameters and every variable, and
// the six buttons. Its place and size go to the settings file whenever the user changes them.
#include <algorithm>

#include "engine/errors.h"
#include "engine/interpreter.h"
#include "support/dialog_template_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/debugger_view.h"
#include "ui/debugger_win32.h"
#include "ui/installer_windows_win32.h"

namespace {

constexpr int kListExtent = 3000;  // pixels a list scrolls sideways

std::string Text(int id) { return LoadResourceText(static_cast<UINT>(id)); }

class DebugWindow {
 public:
  explicit DebugWindow(Interpreter& ip)
      : ip_(ip), settings_(ip), scriptPath_(ip.files.Current().path),
        currentLine_(ip.files.Current().lineNo) {}

  int Run() {
    const HWND owner = ip_.windows ? ip_.windows->MainHandle() : nullptr;
    ip_.platform.BeginUserPrompt();
    const INT_PTR result =
        RunModalDialog(DebugWindowTemplate(Text), owner, Procedure, reinterpret_cast<LPARAM>(this));
    ip_.platform.EndUserPrompt();
    return static_cast<int>(result);
  }

 private:
  static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void Open(HWND dialog);
  void FillScriptList();
  void FillCommandList();
  void LayOut();
  void SaveRect();
  void DrawScriptLine(const DRAWITEMSTRUCT& item);
  int SelectedLine() const;
  void OnSetNext();
  void OnBreakpointChange(bool written);
  void Notice(const std::string& text);

  Interpreter& ip_;
  DebugSettings settings_;
  std::string scriptPath_;
  uint32_t currentLine_;
  HWND dialog_ = nullptr;
  HWND scriptList_ = nullptr;
  HWND commandList_ = nullptr;
  POINT minimumSize_{};
  bool layingOut_ = true;  // moves and size changes are not saved while the window opens
};

// The script list's lines are as high as the dialog's font; asked before WM_INITDIALOG.
UINT LineHeight(HWND dialog) {
  HDC dc = GetDC(dialog);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  SelectObject(dc, old);
  ReleaseDC(dialog, dc);
  return static_cast<UINT>(std::max<LONG>(metrics.tmHeight, 8));
}

INT_PTR CALLBACK DebugWindow::Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    reinterpret_cast<DebugWindow*>(lParam)->Open(dialog);
    return FALSE;  // the script list has the focus
  }
  if (message == WM_MEASUREITEM) {
    reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight = LineHeight(dialog);
    return TRUE;
  }
  auto* window = reinterpret_cast<DebugWindow*>(GetWindowLongPtrA(dialog, DWLP_USER));
  return window ? window->Handle(message, wParam, lParam) : FALSE;
}

INT_PTR DebugWindow::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SIZE:
      LayOut();
      if (wParam != SIZE_MINIMIZED) SaveRect();
      return TRUE;
    case WM_MOVE:
      SaveRect();
      return TRUE;
    case WM_GETMINMAXINFO:
      reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = minimumSize_;
      return TRUE;
    case WM_DRAWITEM:
      if (wParam != DEBUG_SCRIPT_LIST) return FALSE;
      DrawScriptLine(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case DEBUG_STEP:
        case DEBUG_RUN:
        case DEBUG_CANCEL:  // also Escape and the close box
          EndDialog(dialog_, LOWORD(wParam));
          return TRUE;
        case DEBUG_SET_NEXT:
          OnSetNext();
          return TRUE;
        case DEBUG_BREAK_POINT:
          if (SelectedLine() > 0) OnBreakpointChange(settings_.ToggleBreakpoint(scriptPath_, SelectedLine()));
          return TRUE;
        case DEBUG_CLEAR_ALL:
          OnBreakpointChange(settings_.ClearBreakpoints());
          return TRUE;
      }
      return FALSE;
  }
  return FALSE;
}

void DebugWindow::Open(HWND dialog) {
  dialog_ = dialog;
  scriptList_ = GetDlgItem(dialog, DEBUG_SCRIPT_LIST);
  commandList_ = GetDlgItem(dialog, DEBUG_COMMAND_LIST);
  std::string title = Text(TEXT_DEBUG_TITLE);
  ReplaceAll(title, "%1", scriptPath_, true);
  SetWindowTextA(dialog, title.c_str());
  FillScriptList();
  FillCommandList();

  // The smallest window that still shows every button and some of both lists.
  RECT minimum{0, 0, kDebugMinClientWidth, kDebugMinClientHeight};
  AdjustWindowRectEx(&minimum, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
  minimumSize_ = {minimum.right - minimum.left, minimum.bottom - minimum.top};

  RECT created;
  GetWindowRect(dialog, &created);
  const RECT saved = settings_.WindowRect(created);
  const LayoutRect screen{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  const LayoutRect place = FitWindowRect({saved.left, saved.top, saved.right, saved.bottom}, minimumSize_.x,
                                         minimumSize_.y, screen);
  MoveWindow(dialog, place.left, place.top, place.right - place.left, place.bottom - place.top, FALSE);
  LayOut();
  layingOut_ = false;
  SetFocus(scriptList_);
}

void DebugWindow::FillScriptList() {
  const uint32_t lines = ip_.files.DebuggerLineCount();
  // A list that knows no count of its own (a system without no-data lists) gets one empty
  // item per line instead.
  if (SendMessageA(scriptList_, LB_SETCOUNT, lines, 0) < 0) {
    SendMessageA(scriptList_, LB_INITSTORAGE, lines, 0);
    for (uint32_t i = 0; i < lines; ++i) SendMessageA(scriptList_, LB_ADDSTRING, 0, 0);
  }
  SendMessageA(scriptList_, LB_SETHORIZONTALEXTENT, kListExtent, 0);
  if (currentLine_ > 0) {
    SendMessageA(scriptList_, LB_SETTOPINDEX, currentLine_ > 3 ? currentLine_ - 3 : 0, 0);
    SendMessageA(scriptList_, LB_SETCURSEL, currentLine_ - 1, 0);
  }
}

void DebugWindow::FillCommandList() {
  SendMessageA(commandList_, WM_SETREDRAW, FALSE, 0);
  SendMessageA(commandList_, LB_RESETCONTENT, 0, 0);
  for (const std::string& entry : CommandListEntries(ip_, Text))
    SendMessageA(commandList_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  SendMessageA(commandList_, LB_SETHORIZONTALEXTENT, kListExtent, 0);
  SendMessageA(commandList_, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(commandList_, nullptr, TRUE);
}

void DebugWindow::LayOut() {
  if (!dialog_) return;
  RECT client;
  GetClientRect(dialog_, &client);
  for (const ControlPlace& place : DebugWindowLayout(client.right, client.bottom)) {
    const LayoutRect& r = place.rect;
    MoveWindow(GetDlgItem(dialog_, place.id), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  }
  InvalidateRect(dialog_, nullptr, TRUE);
}

void DebugWindow::SaveRect() {
  if (layingOut_ || !dialog_ || IsIconic(dialog_)) return;
  RECT rect;
  GetWindowRect(dialog_, &rect);
  settings_.SaveWindowRect(rect);
}

void DebugWindow::DrawScriptLine(const DRAWITEMSTRUCT& item) {
  const RECT& r = item.rcItem;
  if (item.itemID == static_cast<UINT>(-1) || !(item.itemAction & (ODA_DRAWENTIRE | ODA_SELECT))) {
    if (item.itemAction & ODA_FOCUS) DrawFocusRect(item.hDC, &r);
    return;
  }
  const uint32_t line = item.itemID + 1;
  const bool breakpoint = settings_.HasBreakpoint(scriptPath_, line);
  const COLORREF background =
      breakpoint ? RGB(255, 0, 0) : line == currentLine_ ? RGB(255, 255, 0) : RGB(255, 255, 255);
  HBRUSH brush = CreateSolidBrush(background);
  FillRect(item.hDC, &r, brush);
  DeleteObject(brush);
  SetBkMode(item.hDC, TRANSPARENT);
  SetTextColor(item.hDC, breakpoint ? RGB(255, 255, 255) : RGB(0, 0, 0));
  const std::string text = ip_.files.LineTextForDebugger(line);
  RECT textRect = r;
  textRect.left += 2;
  DrawTextA(item.hDC, text.c_str(), static_cast<int>(text.size()), &textRect,
            DT_SINGLELINE | DT_NOPREFIX | DT_EXPANDTABS | DT_VCENTER);
  if (item.itemState & ODS_FOCUS) DrawFocusRect(item.hDC, &r);
}

int DebugWindow::SelectedLine() const {
  const LRESULT selected = SendMessageA(scriptList_, LB_GETCURSEL, 0, 0);
  return selected < 0 ? 0 : static_cast<int>(selected) + 1;
}

void DebugWindow::OnSetNext() {
  const int line = SelectedLine();
  if (line <= 0) return;
  currentLine_ = static_cast<uint32_t>(line);
  const int result = SetNextLine(ip_, currentLine_);
  InvalidateRect(scriptList_, nullptr, TRUE);
  FillCommandList();  // the statement about to run has changed
  if (result != 0) Notice(FormatScriptError(ip_, result));
}

void DebugWindow::OnBreakpointChange(bool written) {
  InvalidateRect(scriptList_, nullptr, TRUE);
  if (written) return;
  std::string text = Text(TEXT_DEBUG_NOT_WRITABLE);
  ReplaceAll(text, "%1", settings_.File(), true);
  Notice(text);
}

void DebugWindow::Notice(const std::string& text) {
  char title[300] = "";
  GetWindowTextA(dialog_, title, sizeof title);
  ShowMessageBox(dialog_, text, title, MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace

int RunDebugWindow(Interpreter& ip) {
  if (!ip.files.AnyOpen()) return -1;
  DebugWindow window(ip);
  return window.Run();
}
