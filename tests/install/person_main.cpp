// A person at the screen for a whole installation: "qs_person SECONDS COMMAND LINE" starts the
// command and, until it ends, accepts every dialog and message box that it or a program it
// started shows, as a person pressing Enter would (the default button, else OK). Each window it
// answers is printed. Ends with the program's exit code, or 1000 when it did not end in time.
#include <windows.h>

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>

namespace {

// The command line after the program's own name and the seconds.
std::string CommandAfterTwoWords(const char* line) {
  for (int word = 0; word < 2; ++word) {
    while (*line == ' ') ++line;
    const bool quoted = *line == '"';
    if (quoted) ++line;
    while (*line && (quoted ? *line != '"' : *line != ' ')) ++line;
    if (quoted && *line) ++line;
  }
  while (*line == ' ') ++line;
  return line;
}

// Whether [process] is [root] or was started by it.
bool InFamily(DWORD process, DWORD root) {
  std::map<DWORD, DWORD> parents;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    parents[entry.th32ProcessID] = entry.th32ParentProcessID;
  CloseHandle(snapshot);
  for (int depth = 0; depth < 4 && process != 0; ++depth) {
    if (process == root) return true;
    process = parents.count(process) ? parents[process] : 0;
  }
  return false;
}

struct Search {
  DWORD root;
  std::set<HWND>* answered;
};

HWND DefaultButton(HWND dialog) {
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char className[16] = "";
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0 && (GetWindowLongA(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
      return child;
  }
  return GetDlgItem(dialog, IDOK);
}

BOOL CALLBACK Answer(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (!IsWindowVisible(window) || lstrcmpA(className, "#32770") != 0 || search->answered->count(window) ||
      !InFamily(process, search->root))
    return TRUE;
  HWND button = DefaultButton(window);
  if (!button) return TRUE;  // the bootstrap's window, a gauge: nothing to answer
  search->answered->insert(window);
  char title[128] = "", caption[64] = "";
  GetWindowTextA(window, title, sizeof title);
  GetWindowTextA(button, caption, sizeof caption);
  std::printf("pressed '%s' on '%s'\n", caption, title);
  std::fflush(stdout);
  PostMessageA(button, BM_CLICK, 0, 0);
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return 2;
  const DWORD limit = static_cast<DWORD>(std::atoi(argv[1])) * 1000;
  std::string command = CommandAfterTwoWords(GetCommandLineA());
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    return 3;
  CloseHandle(started.hThread);
  std::set<HWND> answered;
  Search search{started.dwProcessId, &answered};
  const DWORD begin = GetTickCount();
  while (WaitForSingleObject(started.hProcess, 100) == WAIT_TIMEOUT) {
    if (GetTickCount() - begin > limit) return 1000;
    EnumWindows(Answer, reinterpret_cast<LPARAM>(&search));
  }
  DWORD code = 0;
  GetExitCodeProcess(started.hProcess, &code);
  return static_cast<int>(code);
}
