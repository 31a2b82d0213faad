// qs_installer_user: a person at the screen for the bundled installation. It starts a command
// line (or opens a file through the shell as a double-click would: "@FILE"), then takes the
// windows that appear one plan step after another: it reads what each shows (printed as one
// line), keeps pictures, ticks, types and presses as a user would.
//   qs_installer_user SHOTS PLAN -- COMMAND LINE
//   qs_installer_user SHOTS PLAN -- @FILE
// PLAN holds one step per line ("#" begins a comment; a word with blanks is written in double
// quotes): the kind of window expected next, then what the person does there, in order.
//   kinds:   WELCOME AGREEMENT CHECKBOX ASKPATH BROWSER OKBOX MESSAGE GAUGE, or WINDOW=TITLE for
//            any window with that title; a leading "?" makes the step optional (passed over when
//            another window comes first)
//   actions: shot NAME (the window's picture, SHOTS\NAME.bmp), screen NAME (the whole screen),
//            expect TEXT (one of the window's texts holds TEXT), check N 0|1 (box N), type TEXT
//            (the path field), append TEXT, open NAME (the browser's directory [NAME]), press
//            CAPTION (the button so captioned, "&" left out) or press #ID, close (its close box),
//            pause MS (lets a program draw before its picture is taken; never a wait for a window)
// Exit code 0 when every step was taken, the command has ended and no other window came;
// 1 otherwise (what went wrong on standard error; the installer's windows are then ended).
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/win_driver.h"

namespace {

constexpr DWORD kStepTimeoutMs = 60000;

struct Step {
  std::string kind;
  bool optional = false;
  std::vector<std::string> words;  // the actions with their arguments
  int line = 0;
};

std::vector<std::string> SplitWords(const std::string& line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t') { ++i; continue; }
    if (line[i] == '#' && words.empty()) break;
    std::string word;
    if (line[i] == '"') {
      const size_t end = line.find('"', i + 1);
      word = line.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
      i = end == std::string::npos ? line.size() : end + 1;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

bool ReadPlan(const std::string& path, std::vector<Step>& plan) {
  std::ifstream in(path);
  if (!in) return false;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> words = SplitWords(line);
    if (words.empty()) continue;
    Step step;
    step.line = number;
    step.optional = words[0][0] == '?';
    step.kind = words[0].substr(step.optional ? 1 : 0);
    step.words.assign(words.begin() + 1, words.end());
    plan.push_back(step);
  }
  return true;
}

// A window text in UTF-8 (as the plan is written), line breaks shown as "|".
std::string Narrow(const std::wstring& text) {
  std::wstring flat;
  for (wchar_t c : text)
    if (c != L'\r') flat += c == L'\n' ? L'|' : c;
  if (flat.empty()) return std::string();
  const int size = WideCharToMultiByte(CP_UTF8, 0, flat.data(), static_cast<int>(flat.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, flat.data(), static_cast<int>(flat.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string WithoutAmpersand(std::string text) {
  std::string out;
  for (char c : text)
    if (c != '&') out += c;
  return out;
}

bool Has(HWND window, int id) { return GetDlgItem(window, id) != nullptr; }

// The installer's pages and boxes are dialogs with at least one button; the bootstrap's window
// and the wait message have none. Asked without a message to the window (class names and
// styles are read locally), so that looking is quick enough for a copy gauge that shows briefly.
BOOL CALLBACK FindPushButton(HWND child, LPARAM found) {
  char name[16] = "";
  GetClassNameA(child, name, sizeof name);
  if (lstrcmpiA(name, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) <= BS_DEFPUSHBUTTON) {
    *reinterpret_cast<bool*>(found) = true;
    return FALSE;
  }
  return TRUE;
}

bool HasButton(HWND window) {
  bool found = false;
  EnumChildWindows(window, FindPushButton, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::string KindOf(HWND window) {
  if (windriver::ClassNameOf(window) != "#32770") return "WINDOW";
  if (Has(window, 207) && Has(window, 205) && Has(window, 206)) return "GAUGE";
  if (Has(window, 250) && Has(window, 251)) return "BROWSER";
  if (Has(window, 50) && Has(window, 16)) return "ASKPATH";
  if (Has(window, 254)) return "AGREEMENT";
  if (Has(window, 230)) return "CHECKBOX";
  if (Has(window, 200) && Has(window, 10)) return "WELCOME";
  if (Has(window, 200) && Has(window, IDOK) && !Has(window, IDCANCEL)) return "OKBOX";
  return "MESSAGE";
}

struct Candidate {
  HWND window = nullptr;
  std::string kind;
};

// The window a person would answer now: a shown, enabled dialog with buttons of another process
// (a page under a box is disabled), or, for WINDOW=TITLE, any visible window of that title.
Candidate FindActive(const Step& step) {
  const bool anyWindow = step.kind.rfind("WINDOW=", 0) == 0;
  for (HWND window : windriver::TopLevelWindows(0, nullptr, nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    // A box that is still being made is not shown yet: a person cannot answer it.
    if (owner == GetCurrentProcessId() || !IsWindowEnabled(window) || !IsWindowVisible(window)) continue;
    if (windriver::ClassNameOf(window) == "#32770" && HasButton(window)) return {window, KindOf(window)};
    if (anyWindow && Narrow(windriver::WindowTextW(window)) == step.kind.substr(7)) return {window, step.kind};
  }
  return {};
}

// One line: the title and every text a person reads (statics, the path field, list entries
// and check boxes with their state).
std::string Describe(HWND window) {
  std::string line = "'" + Narrow(windriver::WindowTextW(window)) + "'";
  for (const windriver::ControlInfo& control : windriver::ChildControls(window)) {
    if (!IsWindowVisible(control.handle)) continue;
    std::string text = Narrow(control.text);
    const LONG type = control.style & BS_TYPEMASK;
    if (control.className == "Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX))
      text = std::string(windriver::IsChecked(control.handle) ? "[x] " : "[ ] ") + text;
    else if (control.className == "Button" || (control.className == "Static" && (control.style & SS_TYPEMASK) == SS_ICON))
      continue;
    if (control.className == "ListBox") {
      const std::vector<std::wstring> items = windriver::ItemTexts(control.handle);
      text = items.empty() ? "(empty list)" : Narrow(items[0]) + " ... (" + std::to_string(items.size()) + " lines)";
    }
    if (!text.empty()) line += " | " + text;
  }
  return line;
}

// Every text of the window, for "expect".
bool Shows(HWND window, const std::string& wanted) {
  if (Narrow(windriver::WindowTextW(window)).find(wanted) != std::string::npos) return true;
  for (const windriver::ControlInfo& control : windriver::ChildControls(window)) {
    if (Narrow(control.text).find(wanted) != std::string::npos) return true;
    if (control.className == "ListBox")
      for (const std::wstring& item : windriver::ItemTexts(control.handle))
        if (Narrow(item).find(wanted) != std::string::npos) return true;
  }
  return false;
}

BOOL CALLBACK PaintChild(HWND child, LPARAM) {
  UpdateWindow(child);
  return TRUE;
}

bool Picture(HWND window, const std::string& path) {
  windriver::WaitUntil([&] { return window == nullptr || GetForegroundWindow() == window; }, 2000);
  if (window) {
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    EnumChildWindows(window, PaintChild, 0);
  }
  return windriver::SaveWindowBmp(window, path);
}

HWND FindButton(HWND window, const std::string& caption) {
  if (caption.size() > 1 && caption[0] == '#') return GetDlgItem(window, std::atoi(caption.c_str() + 1));
  for (const windriver::ControlInfo& control : windriver::ChildControls(window))
    if (control.className == "Button" && WithoutAmpersand(Narrow(control.text)) == caption) return control.handle;
  return nullptr;
}

void TypeText(HWND edit, const std::string& text, bool append) {
  if (append) {
    const LRESULT length = SendMessageA(edit, WM_GETTEXTLENGTH, 0, 0);
    SendMessageA(edit, EM_SETSEL, static_cast<WPARAM>(length), length);
  } else {
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  }
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
}

class Person {
 public:
  explicit Person(std::string shots) : shots_(std::move(shots)) {}
  std::string failure;

  // Takes the actions of [step] on [window]; false (with [failure]) when one cannot be taken.
  bool Act(const Step& step, HWND window) {
    bool pressed = false;
    for (size_t i = 0; i < step.words.size(); ++i) {
      const std::string& action = step.words[i];
      auto argument = [&](size_t k) { return i + k < step.words.size() ? step.words[i + k] : std::string(); };
      if (action == "shot" || action == "screen") {
        if (!Picture(action == "shot" ? window : nullptr, shots_ + "\\" + argument(1) + ".bmp"))
          return Fail(step, "no picture " + argument(1));
        ++i;
      } else if (action == "expect") {
        if (!Shows(window, argument(1))) return Fail(step, "the window does not show \"" + argument(1) + "\"");
        ++i;
      } else if (action == "check") {
        HWND box = GetDlgItem(window, 229 + std::atoi(argument(1).c_str()));
        if (!box) return Fail(step, "no check box " + argument(1));
        if (windriver::IsChecked(box) != (argument(2) == "1")) SendMessageA(box, BM_CLICK, 0, 0);
        i += 2;
      } else if (action == "type" || action == "append") {
        TypeText(GetDlgItem(window, 50), argument(1), action == "append");
        ++i;
      } else if (action == "open") {
        HWND list = GetDlgItem(window, 250);
        const std::vector<std::wstring> items = windriver::ItemTexts(list);
        int index = -1;
        for (size_t k = 0; k < items.size(); ++k)
          if (lstrcmpiA(Narrow(items[k]).c_str(), ("[" + argument(1) + "]").c_str()) == 0) index = static_cast<int>(k);
        if (index < 0) return Fail(step, "the browser lists no [" + argument(1) + "]");
        SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(window, WM_COMMAND, MAKEWPARAM(250, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
        ++i;
      } else if (action == "press") {
        HWND button = FindButton(window, argument(1));
        if (!button) return Fail(step, "no button " + argument(1));
        windriver::PressButton(button);
        pressed = true;
        ++i;
      } else if (action == "pause") {
        // Only for pictures: a program shows what it does for a while before it is taken.
        Sleep(static_cast<DWORD>(std::atoi(argument(1).c_str())));
        ++i;
      } else if (action == "close") {
        PostMessageA(window, WM_CLOSE, 0, 0);
        pressed = true;
      } else {
        return Fail(step, "unknown action " + action);
      }
    }
    // A pressed button closes the window or opens another over it.
    if (pressed && !windriver::WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window) || !IsWindowEnabled(window); },
                                         kStepTimeoutMs))
      return Fail(step, "the window stayed after the press");
    return true;
  }

  bool Fail(const Step& step, const std::string& what) {
    failure = "plan line " + std::to_string(step.line) + " (" + step.kind + "): " + what;
    return false;
  }

 private:
  std::string shots_;
};

// After a failure nobody is there to answer: the programs whose dialogs are open are ended, so
// that nothing waits for ever.
void EndWaitingPrograms() {
  for (HWND window : windriver::TopLevelWindows(0, "#32770", nullptr)) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == GetCurrentProcessId()) continue;
    if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, owner)) {
      TerminateProcess(process, 1);
      CloseHandle(process);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  std::string command;
  int i = 3;
  if (argc > 3 && std::string(argv[3]) == "--")
    for (i = 4; i < argc; ++i) command += (command.empty() ? "" : " ") + std::string(argv[i]);
  std::vector<Step> plan;
  if (command.empty() || !ReadPlan(argv[2], plan)) {
    std::fprintf(stderr, "usage: qs_installer_user SHOTS PLAN -- COMMAND LINE | @FILE\n");
    return 2;
  }
  const std::string shots = argv[1];
  CreateDirectoryA(shots.c_str(), nullptr);

  windriver::ChildProgram program;
  HANDLE opened = nullptr;
  if (command[0] == '@') {
    SHELLEXECUTEINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS;
    info.lpVerb = "open";
    info.lpFile = command.c_str() + 1;
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info)) {
      std::fprintf(stderr, "qs_installer_user: %s cannot be opened\n", command.c_str() + 1);
      return 1;
    }
    opened = info.hProcess;
  } else if (!program.Start(command)) {
    std::fprintf(stderr, "qs_installer_user: %s cannot be started\n", command.c_str());
    return 1;
  }
  auto running = [&] { return opened ? WaitForSingleObject(opened, 0) == WAIT_TIMEOUT : program.IsRunning(); };

  Person person(shots);
  const DWORD start = GetTickCount();
  size_t next = 0;
  HWND answered = nullptr;
  while (next < plan.size() && person.failure.empty()) {
    const Step& step = plan[next];
    Candidate now;
    const bool came = windriver::WaitUntil(
        [&] {
          now = FindActive(step);
          // The copy gauge comes and goes by itself: only a step that expects it waits for it.
          if (now.kind == "GAUGE" && step.kind != "GAUGE") return false;
          return now.window != nullptr && now.window != answered;
        },
        kStepTimeoutMs);
    if (!came) {
      person.Fail(step, "nothing came");
      break;
    }
    if (now.kind != step.kind && !(step.kind.rfind("WINDOW=", 0) == 0 && now.kind == step.kind)) {
      if (step.optional) {
        ++next;
        continue;
      }
      person.Fail(step, "came instead: " + now.kind + " " + Describe(now.window));
      break;
    }
    // The gauge is busy copying: reading its texts (a message to each control) would let it end
    // before the person acts.
    const std::string seen = now.kind == "GAUGE" ? "" : " " + Describe(now.window);
    std::printf("%6.1f s  %s%s\n", (GetTickCount() - start) / 1000.0, now.kind.c_str(), seen.c_str());
    std::fflush(stdout);
    if (!person.Act(step, now.window)) break;
    answered = now.window;
    ++next;
  }
  if (person.failure.empty()) {
    // Every step taken: the command ends, and no other question comes meanwhile.
    const bool ended = windriver::WaitUntil(
        [&] {
          Step any;
          const Candidate extra = FindActive(any);
          if (extra.window && extra.window != answered && extra.kind != "GAUGE") {
            person.failure = "a window came after the last step: " + extra.kind + " " + Describe(extra.window);
            return true;
          }
          return !running();
        },
        kStepTimeoutMs);
    if (!ended) person.failure = "the command did not end";
  }
  if (!person.failure.empty()) {
    std::fprintf(stderr, "qs_installer_user: %s\n", person.failure.c_str());
    EndWaitingPrograms();
    return 1;
  }
  return 0;
}
