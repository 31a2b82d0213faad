// The built-in pages of DIALOGBOX(: each fills its controls from the script's variables when it
// opens and, when closed with its OK or Continue button, writes the user's choices back.
#include "engine/interpreter.h"
#include "engine/prompts.h"
#include "support/dialog_template_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"
#include "ui/language.h"
#include "ui/standard_dialogs_win32.h"

namespace {

// What a field holds: ASKPATH's path 255 characters, INPUTBOX's fields 254.
constexpr int kPathLength = 255;
constexpr int kFieldLength = 254;
constexpr int kAgreementLineLength = 254;
constexpr int kAgreementExtent = 1500;

struct PageRun {
  Interpreter& ip;
  StandardPage page;
};

std::string Numbered(const char* name, int i) { return name + DecimalText(i); }

void SetText(HWND dialog, int id, const std::string& text) { SetDlgItemTextA(dialog, id, text.c_str()); }

std::string ControlText(HWND dialog, int id, int maxLength) {
  std::string text(static_cast<size_t>(maxLength) + 1, '\0');
  const UINT length = GetDlgItemTextA(dialog, id, text.data(), maxLength + 1);
  text.resize(length);
  return text;
}

// An edit field that holds at most [maxLength] characters, also of the value it starts with, so
// that what the user sees is what the page stores.
void FillField(HWND dialog, int id, int maxLength, const std::string& value) {
  SendDlgItemMessageA(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(maxLength), 0);
  SetText(dialog, id, value.substr(0, static_cast<size_t>(maxLength)));
}

void FillAgreement(PageRun& run, HWND dialog) {
  HWND list = GetDlgItem(dialog, PAGE_AGREEMENT_LIST);
  SendMessageA(list, LB_SETHORIZONTALEXTENT, kAgreementExtent, 0);
  const std::string path = PageVariable(run.ip, "FILENAME", false);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;  // the page opens with an empty list
  char line[kAgreementLineLength + 1];
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  while (ReadTextLine(file, line, sizeof line)) {
    const std::string text = ExpandTextMacros(run.ip, line);
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
  }
  CloseHandle(file);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  SendMessageA(list, LB_SETCURSEL, 0, 0);
}

void FillPage(PageRun& run, HWND dialog) {
  Interpreter& ip = run.ip;
  const int n = run.page.count;
  const auto message = [&](int i) { SetText(dialog, PAGE_MESSAGE1 + i - 1, PageVariable(ip, Numbered("MESSAGE", i))); };
  switch (run.page.kind) {
    case PageKind::Welcome:
    case PageKind::OkBox:
      message(1);
      message(2);
      break;
    case PageKind::AskPath:
      message(1);
      FillField(dialog, PAGE_PATH, kPathLength, PageVariable(ip, "INSTALLPATH", false));
      break;
    case PageKind::CheckBoxes:
      for (int i = 1; i <= n; ++i) {
        SetText(dialog, PAGE_CHECK1 + i - 1, PageVariable(ip, Numbered("MESSAGE", i)));
        if (StartsChecked(PageVariable(ip, Numbered("BUTTON", i), false)))
          CheckDlgButton(dialog, PAGE_CHECK1 + i - 1, BST_CHECKED);
      }
      break;
    case PageKind::RadioButtons:
      for (int i = 1; i <= n; ++i) SetText(dialog, PAGE_RADIO1 + i - 1, PageVariable(ip, Numbered("MESSAGE", i)));
      CheckRadioButton(dialog, PAGE_RADIO1, PAGE_RADIO1 + n - 1,
                       PAGE_RADIO1 + SelectedRadioButton(PageVariable(ip, "RADIOBUTTON", false), n) - 1);
      break;
    case PageKind::InputBoxes:
      for (int i = 1; i <= n; ++i) {
        message(i);
        FillField(dialog, PAGE_FIELD1 + i - 1, kFieldLength, PageVariable(ip, Numbered("EF_", i), false));
      }
      break;
    case PageKind::PushButtons:
      for (int i = 1; i <= n; ++i) {
        SetText(dialog, PAGE_PUSH1 + i - 1, PageVariable(ip, Numbered("PUSHB_", i)));
        message(i);
      }
      break;
    case PageKind::Deinstall:
      for (int i = 1; i <= 3; ++i) message(i);
      break;
    case PageKind::Agreement:
      FillAgreement(run, dialog);
      break;
    case PageKind::OpenFile:
    case PageKind::SaveAs:
      break;
  }
}

// Stores the page's results; the first store that fails ends the storing (the page still
// closes as the user asked).
void StoreResults(PageRun& run, HWND dialog) {
  VariableStore& variables = run.ip.variables;
  const int n = run.page.count;
  if (run.page.kind == PageKind::CheckBoxes) {
    for (int i = 1; i <= n; ++i) {
      const bool checked = IsDlgButtonChecked(dialog, PAGE_CHECK1 + i - 1) == BST_CHECKED;
      if (variables.SetVariable(Numbered("BUTTON", i), checked ? "1" : "0") != 0) break;
    }
  } else if (run.page.kind == PageKind::RadioButtons) {
    for (int i = 1; i <= n; ++i) {
      if (IsDlgButtonChecked(dialog, PAGE_RADIO1 + i - 1) != BST_CHECKED) continue;
      variables.SetVariable("RADIOBUTTON", DecimalText(i));
      break;
    }
  } else if (run.page.kind == PageKind::InputBoxes) {
    for (int i = 1; i <= n; ++i)
      if (variables.SetVariable(Numbered("EF_", i), ControlText(dialog, PAGE_FIELD1 + i - 1, kFieldLength)) != 0) break;
  }
}

// ASKPATH's Continue: a path of nothing but spaces is refused and the page stays open.
bool AcceptPath(PageRun& run, HWND dialog) {
  const std::string path = TrimmedPath(ControlText(dialog, PAGE_PATH, kPathLength));
  if (path.empty()) {
    const std::string text = run.ip.platform.ResourceText(TEXT_INVALID_PATH);
    const std::string title = PageVariable(run.ip, "CAPTION");
    // Shown over the page (a page that answers itself meets it in an unattended run, where it is
    // not shown and the page's Exit follows).
    Asking asking = BeginQuestion(run.ip, BoxQuestion(QuestionKind::Message, text, title, MB_OK | MB_ICONEXCLAMATION));
    if (asking.way == AnswerWay::Asked) asking.answer.button = ShowMessageBox(dialog, text, title, MB_OK | MB_ICONEXCLAMATION);
    EndQuestion(run.ip, asking);
    SetFocus(GetDlgItem(dialog, PAGE_PATH));
    return false;
  }
  run.ip.variables.SetVariable("INSTALLPATH", path);
  run.ip.variables.SetVariable("INSTALLDRIVE", InstallDriveOf(path));
  return true;
}

// Browse: the browser's choice goes into the field; the current directory stays as it was.
void Browse(PageRun& run, HWND dialog) {
  char remembered[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof remembered, remembered);
  std::string chosen;
  if (RunDirectoryBrowser(run.ip, dialog, chosen)) FillField(dialog, PAGE_PATH, kPathLength, chosen);
  SetCurrentDirectoryA(remembered);
  SetFocus(GetDlgItem(dialog, PAGE_PATH));
}

void ShowAboutBox(PageRun& run, HWND page);

// The button [id] was pressed: true when it closes the page (with [id] as ERROR).
bool PagePress(PageRun& run, HWND dialog, int id) {
  switch (run.page.kind) {
    case PageKind::Welcome:
      if (id == PAGE_ABOUT) ShowAboutBox(run, dialog);
      return id == IDOK;
    case PageKind::AskPath:
      if (id == PAGE_BROWSE) Browse(run, dialog);
      if (id == IDOK) return AcceptPath(run, dialog);
      return id == PAGE_BACK;
    case PageKind::CheckBoxes:
    case PageKind::RadioButtons:
    case PageKind::InputBoxes:
      if (id == IDOK) StoreResults(run, dialog);
      return id == IDOK;
    case PageKind::PushButtons: return id >= PAGE_PUSH1 && id < PAGE_PUSH1 + run.page.count;
    case PageKind::Deinstall: return id == PAGE_PUSH1 || id == PAGE_PUSH1 + 1;
    case PageKind::Agreement: return id == IDYES || id == IDNO;
    case PageKind::OkBox: return id == IDOK;
    case PageKind::OpenFile:
    case PageKind::SaveAs: break;
  }
  return false;
}

INT_PTR CALLBACK PageProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<PageRun*>(lParam);
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    if (run->ip.windows) run->ip.windows->PlaceDialog(dialog);
    SetWindowTextA(dialog, PageVariable(run->ip, "CAPTION").c_str());
    FillPage(*run, dialog);
    return TRUE;
  }
  auto* run = reinterpret_cast<PageRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (message != WM_COMMAND || !run || HIWORD(wParam) != BN_CLICKED) return FALSE;
  const int id = LOWORD(wParam);
  if (id == IDCANCEL) {
    // Escape and the close box: the page's Cancel or Exit; the agreement's No.
    EndDialog(dialog, run->page.kind == PageKind::Agreement ? IDNO : IDCANCEL);
  } else if (PagePress(*run, dialog, id)) {
    EndDialog(dialog, id);
  }
  return TRUE;
}

INT_PTR CALLBACK AboutProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* run = reinterpret_cast<PageRun*>(lParam);
    const std::string about = Trim(LanguageText(run->ip, 14040), 'A', "&");
    SetWindowTextA(dialog, (about + " " + PageVariable(run->ip, "CAPTION")).c_str());
    const std::string text = PageVariable(run->ip, "MESSAGE3");
    if (!text.empty()) SetText(dialog, ABOUT_TEXT, text);
    return TRUE;
  }
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(dialog, LOWORD(wParam));
    return TRUE;
  }
  return FALSE;
}

void ShowAboutBox(PageRun& run, HWND page) {
  RunModalDialog(AboutBoxTemplate(PageTexts(run.ip)), page, AboutProcedure, reinterpret_cast<LPARAM>(&run));
}

}  // namespace

int RunStandardPage(Interpreter& ip, const StandardPage& page, int32_t& closingId, int press) {
  PageRun run{ip, page};
  HWND owner = ip.windows ? ip.windows->MainHandle() : nullptr;
  const INT_PTR result = RunModalDialog(StandardPageTemplate(page, PageTexts(ip)), owner, PageProcedure,
                                        reinterpret_cast<LPARAM>(&run), press);
  if (result == -1 || result == 0) return ERR_OUT_OF_MEMORY;
  closingId = static_cast<int32_t>(result);
  return 0;
}
