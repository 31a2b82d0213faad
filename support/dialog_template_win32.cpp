#include "support/dialog_template_win32.h"

#include <cstring>

namespace {

// The dialog manager wants the template on a DWORD boundary.
std::vector<DWORD> Aligned(const std::vector<uint8_t>& bytes) {
  std::vector<DWORD> aligned((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  if (!bytes.empty()) std::memcpy(aligned.data(), bytes.data(), bytes.size());
  return aligned;
}

constexpr UINT kPressMessage = WM_APP + 0x51;
constexpr UINT kEscapeMessage = WM_APP + 0x52;
constexpr char kSelfAnswerProperty[] = "QuillsetSelfAnswer";

struct SelfAnswer {
  DLGPROC procedure;
  LPARAM parameter;
  int press;
};

// The button that Enter would press.
int DefaultButtonOf(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON)
      return GetDlgCtrlID(child);
  }
  return GetDlgItem(dialog, IDOK) ? IDOK : IDCANCEL;
}

// A click as the button itself reports it to the dialog.
void Click(HWND dialog, int id) {
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Stands between the dialog manager and the dialog's own procedure: once the dialog has opened
// (the click is posted, so it comes after everything the opening itself queued), it presses.
INT_PTR CALLBACK SelfAnsweringProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* self = reinterpret_cast<SelfAnswer*>(lParam);
    SetPropA(dialog, kSelfAnswerProperty, self);
    PostMessageA(dialog, kPressMessage, 0, 0);
    return self->procedure(dialog, message, wParam, self->parameter);
  }
  auto* self = static_cast<SelfAnswer*>(GetPropA(dialog, kSelfAnswerProperty));
  if (!self) return FALSE;
  if (message == kPressMessage) {
    Click(dialog, self->press == kPressDefault ? DefaultButtonOf(dialog) : self->press);
    PostMessageA(dialog, kEscapeMessage, 0, 0);  // handled only when the click left it open
    return TRUE;
  }
  if (message == kEscapeMessage) {
    Click(dialog, IDCANCEL);
    return TRUE;
  }
  // Nobody is to see it: every attempt to show it is turned into a plain move.
  if (message == WM_WINDOWPOSCHANGING) reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
  if (message == WM_NCDESTROY) RemovePropA(dialog, kSelfAnswerProperty);
  return self->procedure(dialog, message, wParam, lParam);
}

}  // namespace

HWND CreateModelessDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter) {
  const std::vector<DWORD> aligned = Aligned(bytes);
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(aligned.data()),
                                    owner, procedure, parameter);
}

INT_PTR RunModalDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter, int press) {
  const std::vector<DWORD> aligned = Aligned(bytes);
  const auto* dialogTemplate = reinterpret_cast<const DLGTEMPLATE*>(aligned.data());
  if (press == kPressNothing)
    return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, owner, procedure, parameter);
  SelfAnswer self{procedure, parameter, press};
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialogTemplate, owner, SelfAnsweringProcedure,
                                 reinterpret_cast<LPARAM>(&self));
}

void CentreOnScreen(HWND window, bool countEdgePixels) {
  RECT frame;
  GetWindowRect(window, &frame);
  const int edge = countEdgePixels ? 1 : 0;
  const int left = (GetSystemMetrics(SM_CXSCREEN) - (frame.right - frame.left + edge)) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - (frame.bottom - frame.top + edge)) / 2;
  SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void FillClientGrey(HWND window, HDC dc) {
  RECT fill;
  GetClientRect(window, &fill);
  ++fill.right;
  ++fill.bottom;
  HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
  FillRect(dc, &fill, grey);
  DeleteObject(grey);
}

std::u16string AnsiToUtf16(const std::string& text) {
  if (text.empty()) return std::u16string();
  const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return std::u16string(wide.begin(), wide.end());
}
