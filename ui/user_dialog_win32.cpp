#include "ui/user_dialog_win32.h"

#include <cstring>
#include <vector>

#include "engine/interpreter.h"
#include "support/dialog_template_win32.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"
#include "ui/language.h"
#include "ui/object_canvas_win32.h"
#include "ui/user_dialog_template.h"

namespace {

struct UserDialogRun {
  Interpreter& ip;
  const UserObject& object;
  ObjectCanvas canvas;
  std::vector<HWND> windows;  // per control, in definition order; nullptr for painted items
  int error = 0;
};

std::string WindowText(HWND window) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(window)) + 1, '\0');
  text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// The items of a list control: the lines of a file after "FILE:", or the pieces of the text.
std::vector<std::string> ItemsOf(Interpreter& ip, const UserControl& control) {
  const std::string text = ExpandTextMacros(ip, control.text);
  if (text.compare(0, 5, "FILE:") != 0) return ListItems(text);
  std::vector<std::string> items;
  HANDLE file = CreateFileA(text.c_str() + 5, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return items;
  char line[255];
  while (ReadTextLine(file, line, sizeof line)) items.push_back(line);
  CloseHandle(file);
  return items;
}

std::string ItemText(HWND window, bool listBox, int index) {
  const LRESULT length = SendMessageA(window, listBox ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::string();
  std::string text(static_cast<size_t>(length) + 1, '\0');
  SendMessageA(window, listBox ? LB_GETTEXT : CB_GETLBTEXT, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

// Fills a list (LB_ messages) or a combo box (CB_ messages) and, with [select], selects the
// item that equals [value] exactly, else the first. The system's own search ignores case, and
// a sorted list reorders its items, so the control's items are compared here.
void FillList(HWND window, const std::vector<std::string>& items, const std::string& value, bool listBox,
              bool select) {
  for (const std::string& item : items)
    SendMessageA(window, listBox ? LB_ADDSTRING : CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
  if (!select || items.empty()) return;
  const int count = static_cast<int>(SendMessageA(window, listBox ? LB_GETCOUNT : CB_GETCOUNT, 0, 0));
  int chosen = 0;
  for (int i = 0; i < count; ++i) {
    if (ItemText(window, listBox, i) != value) continue;
    chosen = i;
    break;
  }
  SendMessageA(window, listBox ? LB_SETCURSEL : CB_SETCURSEL, static_cast<WPARAM>(chosen), 0);
}

std::string SelectedItem(HWND window, bool listBox) {
  const LRESULT index = SendMessageA(window, listBox ? LB_GETCURSEL : CB_GETCURSEL, 0, 0);
  return index < 0 ? std::string() : ItemText(window, listBox, static_cast<int>(index));
}

void FillControl(Interpreter& ip, const UserControl& control, HWND window) {
  const bool bound = !control.boundVariable.empty();
  const std::string value = bound ? ip.variables.GetVariable(control.boundVariable) : std::string();
  switch (control.type) {
    case ControlType::Edit:
      if (bound) SetWindowTextA(window, value.c_str());
      SendMessageA(window, EM_LIMITTEXT, static_cast<WPARAM>(control.textLimit), 0);
      break;
    case ControlType::CheckBox:
    case ControlType::RadioButton:
      if (bound) SendMessageA(window, BM_SETCHECK, static_cast<WPARAM>(ip.variables.GetVariableNumber(control.boundVariable)), 0);
      break;
    case ControlType::ListBox:
      SendMessageA(window, LB_SETHORIZONTALEXTENT, 1500, 0);
      FillList(window, ItemsOf(ip, control), value, true, true);
      break;
    case ControlType::ComboBox:
      FillList(window, ItemsOf(ip, control), value, false, false);
      if (bound) SetWindowTextA(window, value.c_str());
      SendMessageA(window, CB_LIMITTEXT, static_cast<WPARAM>(control.textLimit), 0);
      break;
    case ControlType::DropList: FillList(window, ItemsOf(ip, control), value, false, true); break;
    default: break;
  }
}

// What an accepting button stores: every bound control's value in its variable. The first
// failure (the variable store full) is kept as the dialog's error.
void StoreValues(UserDialogRun& run) {
  for (size_t i = 0; i < run.object.controls.size(); ++i) {
    const UserControl& control = run.object.controls[i];
    HWND window = run.windows[i];
    if (control.boundVariable.empty() || !window) continue;
    std::string value;
    switch (control.type) {
      case ControlType::Edit:
      case ControlType::ComboBox: value = WindowText(window); break;
      case ControlType::CheckBox:
      case ControlType::RadioButton:
        value = std::to_string(SendMessageA(window, BM_GETCHECK, 0, 0));
        break;
      case ControlType::ListBox: value = SelectedItem(window, true); break;
      case ControlType::DropList: value = SelectedItem(window, false); break;
      default: continue;
    }
    const int stored = run.ip.variables.SetVariable(control.boundVariable, value);
    if (stored != 0 && run.error == 0) run.error = stored;
  }
}

bool Accepts(int id) { return id == 1 || id == 4 || id == 5 || id == 6 || (id >= 11 && id <= 15); }
bool Declines(int id) { return id == 2 || id == 3 || id == 7 || id == 9; }

BOOL OpenDialog(HWND dialog, UserDialogRun& run) {
  run.error = LoadObjectItems(run.ip, run.object, dialog, run.canvas);
  if (run.error != 0) {
    EndDialog(dialog, 2);
    return TRUE;
  }
  // The dialog's children stand in the order of the template's items.
  HWND child = GetWindow(dialog, GW_CHILD);
  for (const UserControl& control : run.object.controls) {
    if (IsPaintedItem(control.type)) {
      run.windows.push_back(nullptr);
      continue;
    }
    run.windows.push_back(child);
    if (child) {
      FillControl(run.ip, control, child);
      child = GetWindow(child, GW_HWNDNEXT);
    }
  }
  RECT frame;
  GetWindowRect(dialog, &frame);
  const ItemPosition at = PlaceOnScreen(run.object.horizontalMode, run.object.verticalMode, frame.left, frame.top,
                                        frame.right - frame.left, frame.bottom - frame.top,
                                        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  SetWindowPos(dialog, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  if (run.object.focusControl != 0) {
    if (HWND focus = GetDlgItem(dialog, run.object.focusControl)) {
      SetFocus(focus);
      return FALSE;
    }
  }
  return TRUE;
}

INT_PTR CALLBACK UserDialogProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* run = reinterpret_cast<UserDialogRun*>(GetWindowLongPtrA(dialog, DWLP_USER));
  switch (message) {
    case WM_INITDIALOG:
      SetWindowLongPtrA(dialog, DWLP_USER, lParam);
      return OpenDialog(dialog, *reinterpret_cast<UserDialogRun*>(lParam));
    case WM_PAINT: {
      if (!run) return FALSE;
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(dialog, &paint);
      PaintObject(run->ip, dc, dialog, run->object, run->canvas);
      EndPaint(dialog, &paint);
      return TRUE;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      if (!run || HIWORD(wParam) != BN_CLICKED) return FALSE;
      // Enter sends "OK" even when the dialog has no such button; Escape always means 2.
      if (id != IDCANCEL && !GetDlgItem(dialog, id)) return FALSE;
      if (Accepts(id)) StoreValues(*run);
      if (Accepts(id) || Declines(id)) EndDialog(dialog, id);
      return TRUE;
    }
    default:
      return FALSE;
  }
}

}  // namespace

int RunUserDialog(Interpreter& ip, const UserObject& object, int32_t& closingId, int press) {
  closingId = 2;
  const std::vector<uint8_t> bytes =
      UserDialogTemplate(object, [&ip](const std::string& text) { return AnsiToUtf16(ExpandTextMacros(ip, text)); });
  if (bytes.empty()) return ERR_DIALOG_INIT_FAILED;
  if (ip.log.Enabled()) {
    std::vector<uint8_t> head(200, 0);  // the template's block is zero-filled
    std::memcpy(head.data(), bytes.data(), bytes.size() < head.size() ? bytes.size() : head.size());
    ip.log.LogDump(head.data(), static_cast<int>(head.size()), true);
  }
  UserDialogRun run{ip, object, {}, {}, 0};
  HWND owner = ip.windows ? ip.windows->MainHandle() : nullptr;
  ip.platform.BeginUserPrompt();
  const INT_PTR result = RunModalDialog(bytes, owner, UserDialogProcedure, reinterpret_cast<LPARAM>(&run), press);
  ip.platform.EndUserPrompt();
  if (result == -1) return ERR_DIALOG_INIT_FAILED;
  closingId = static_cast<int32_t>(result);
  return run.error;
}
