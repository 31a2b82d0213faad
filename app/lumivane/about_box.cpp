#include "app/lumivane/about_box.h"

#include <string>

#include "app/lumivane/registry_value.h"
#include "app/lumivane/resource_ids.h"
#include "app/lumivane/texts.h"

namespace {

bool StartProgram(const std::string& path) {
  if (path.empty()) return false;
  std::string commandLine = path.front() == '"' ? path : "\"" + path + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void LoadAboutBox(HWND dialog) {
  SetWindowTextA(dialog, (std::string("About ") + kAppTitle).c_str());
  SetDlgItemTextA(dialog, IDC_LBLVERSION, (std::string("Version ") + kAppVersion).c_str());
  SetDlgItemTextA(dialog, IDC_LBLTITLE, kAppTitle);
}

INT_PTR CALLBACK AboutProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      LoadAboutBox(dialog);
      return TRUE;
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, IDOK);
      if (LOWORD(wParam) == IDC_CMDSYSINFO) StartSysInfo(dialog);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

void ShowAboutBox(HWND owner) {
  DialogBoxParamA(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE)),
                  MAKEINTRESOURCEA(IDD_FRMABOUT), owner, AboutProc, 0);
}

void StartSysInfo(HWND owner) {
  if (!StartProgram(FindSysInfoPath()))
    MessageBoxA(owner, kSysInfoUnavailable, kAppTitle, MB_OK);
}
