#include "support/dialog_template_win32.h"

#include <cstring>

namespace {

// The dialog manager wants the template on a DWORD boundary.
std::vector<DWORD> Aligned(const std::vector<uint8_t>& bytes) {
  std::vector<DWORD> aligned((bytes.size() + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
  if (!bytes.empty()) std::memcpy(aligned.data(), bytes.data(), bytes.size());
  return aligned;
}

}  // namespace

HWND CreateModelessDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter) {
  const std::vector<DWORD> aligned = Aligned(bytes);
  return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(aligned.data()),
                                    owner, procedure, parameter);
}

INT_PTR RunModalDialog(const std::vector<uint8_t>& bytes, HWND owner, DLGPROC procedure, LPARAM parameter) {
  const std::vector<DWORD> aligned = Aligned(bytes);
  return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(aligned.data()),
                                 owner, procedure, parameter);
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
