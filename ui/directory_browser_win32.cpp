// The directory browser that ASKPATH's Browse opens: it walks the current directory of the
// process (starting at the root of the Windows drive) through a list of directories and a list
// of drives, and gives back the directory it stands in when the user presses OK.
#include "engine/interpreter.h"
#include "support/dialog_template_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/standard_dialogs_win32.h"

namespace {

struct BrowserRun {
  Interpreter& ip;
  std::string chosen;
};

std::string CurrentBrowserPath(Interpreter& ip) {
  char path[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof path, path);
  return BrowserPath(ip.platform.UpperText(path));
}

std::string ItemText(HWND box, UINT lengthMessage, UINT textMessage, LRESULT index) {
  const LRESULT length = SendMessageA(box, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length <= 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(box, textMessage, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Every directory of the current one as "[NAME]" (but "[.]"), "[..]" everywhere but in a root,
// sorted by the list; the first entry selected.
void FillDirectories(BrowserRun& run, HWND dialog) {
  HWND list = GetDlgItem(dialog, BROWSER_DIRECTORIES);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA("*.*", &entry);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || std::string(entry.cFileName) == ".") continue;
      const std::string item = "[" + std::string(entry.cFileName) + "]";
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    } while (FindNextFileA(search, &entry));
    FindClose(search);
  }
  const std::string current = CurrentBrowserPath(run.ip);
  if (current.size() > 3 && SendMessageA(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>("[..]")) == LB_ERR)
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("[..]"));
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
  SetDlgItemTextA(dialog, BROWSER_CURRENT, current.c_str());
}

// Selects the drive list's entry ("[-c-]") of the current drive.
void SelectCurrentDrive(BrowserRun& run, HWND dialog) {
  const std::string current = CurrentBrowserPath(run.ip);
  if (current.size() < 2 || current[1] != ':') return;  // a network path has no entry
  const std::string entry = std::string("[-") + AsciiLower(current[0]) + "-]";
  const LRESULT index = SendDlgItemMessageA(dialog, BROWSER_DRIVES, CB_FINDSTRING, static_cast<WPARAM>(-1),
                                            reinterpret_cast<LPARAM>(entry.c_str()));
  SendDlgItemMessageA(dialog, BROWSER_DRIVES, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void FillDrives(BrowserRun& run, HWND dialog) {
  char pattern[] = "*";
  SendDlgItemMessageA(dialog, BROWSER_DRIVES, CB_DIR, DDL_DRIVES | DDL_EXCLUSIVE, reinterpret_cast<LPARAM>(pattern));
  SelectCurrentDrive(run, dialog);
}

void EnterSelectedDirectory(BrowserRun& run, HWND dialog) {
  HWND list = GetDlgItem(dialog, BROWSER_DIRECTORIES);
  const LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return;
  const std::string directory = DirectoryOfEntry(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, index));
  if (directory.empty()) return;
  SetCurrentDirectoryA(directory.c_str());
  FillDirectories(run, dialog);
}

// The drive of the chosen entry becomes current (at that drive's own current directory); when it
// cannot, the previous drive stays and its entry is selected again.
void ChangeDrive(BrowserRun& run, HWND dialog) {
  HWND drives = GetDlgItem(dialog, BROWSER_DRIVES);
  const std::string entry = ItemText(drives, CB_GETLBTEXTLEN, CB_GETLBTEXT, SendMessageA(drives, CB_GETCURSEL, 0, 0));
  if (entry.size() >= 3) {
    const std::string drive = std::string(1, entry[2]) + ":";
    SetCurrentDirectoryA(drive.c_str());
  }
  SelectCurrentDrive(run, dialog);
  FillDirectories(run, dialog);
}

INT_PTR CALLBACK BrowserProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<BrowserRun*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    SetWindowTextA(dialog, PageVariable(run->ip, "CAPTION").c_str());
    const std::string windows = WindowsDirectory();
    SetCurrentDirectoryA(windows.substr(0, 3).c_str());
    FillDirectories(*run, dialog);
    FillDrives(*run, dialog);
    return TRUE;
  }
  auto* run = reinterpret_cast<BrowserRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message != WM_COMMAND || !run) return FALSE;
  const int id = LOWORD(wParam), code = HIWORD(wParam);
  if (id == BROWSER_DIRECTORIES && code == LBN_DBLCLK) {
    EnterSelectedDirectory(*run, dialog);
  } else if (id == BROWSER_DRIVES && code == CBN_SELCHANGE) {
    ChangeDrive(*run, dialog);
  } else if (id == IDOK) {
    // Enter in the directory list walks into the directory; OK anywhere else takes the one
    // the browser stands in.
    if (GetFocus() == GetDlgItem(dialog, BROWSER_DIRECTORIES)) {
      EnterSelectedDirectory(*run, dialog);
    } else {
      run->chosen = CurrentBrowserPath(run->ip);
      EndDialog(dialog, IDOK);
    }
  } else if (id == IDCANCEL) {
    EndDialog(dialog, IDCANCEL);
  } else {
    return FALSE;
  }
  return TRUE;
}

}  // namespace

bool RunDirectoryBrowser(Interpreter& ip, HWND owner, std::string& chosen) {
  BrowserRun run{ip, std::string()};
  const INT_PTR result =
      RunModalDialog(DirectoryBrowserTemplate(PageTexts(ip)), owner, BrowserProcedure, reinterpret_cast<LPARAM>(&run));
  if (result != IDOK) return false;
  chosen = run.chosen;
  return true;
}
