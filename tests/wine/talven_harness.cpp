#include "tests/wine/talven_harness.h"

#include <windows.h>

#include "support/text.h"

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 256 ? static_cast<char>(c) : '?';
  return out;
}

std::string ScratchFolder(const std::string& name) {
  CreateDirectoryA("C:\\qstests", nullptr);
  const std::string folder = "C:\\qstests\\" + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
}

std::string ReadFileBytes(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(GetFileSize(file, nullptr), '\0');
  DWORD got = 0;
  if (!bytes.empty()) ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr);
  CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

namespace {
const char* const kSessionManager = "System\\CurrentControlSet\\Control\\Session Manager";
}  // namespace

std::vector<std::string> PendingFileMoves() {
  std::vector<std::string> moves;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return moves;
  std::string data(16384, '\0');
  DWORD size = static_cast<DWORD>(data.size()), type = 0;
  if (RegQueryValueExA(key, "PendingFileRenameOperations", nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size) ==
      ERROR_SUCCESS) {
    for (size_t at = 0; at + 1 < size; at = data.find('\0', at) + 1) moves.push_back(data.c_str() + at);
  }
  RegCloseKey(key);
  return moves;
}

void ForgetPendingFileMoves() {
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
  RegDeleteValueA(key, "PendingFileRenameOperations");
  RegCloseKey(key);
}

std::string ScriptLines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

TalvenProgram::TalvenProgram(const std::string& name, const std::string& program) : name_(name) {
  const std::string folder = ScratchFolder("programs");
  exe_ = folder + name + ".EXE";
  log_ = folder + name + ".LOG";
  CopyFileA((windriver::TestExecutableDirectory() + program).c_str(), exe_.c_str(), FALSE);
  char windows[MAX_PATH];
  GetWindowsDirectoryA(windows, sizeof windows);
  ini_ = EnsureBackslash(windows) + name + ".INI";
  WriteFileBytes(ini_, "[Debug]\r\nDebug=1\r\nOutputTo=" + log_ + "\r\n");
}

TalvenProgram::~TalvenProgram() { DeleteFileA(ini_.c_str()); }

void TalvenProgram::SetIni(const std::string& contents) {
  if (contents.empty()) DeleteFileA(ini_.c_str());
  else WriteFileBytes(ini_, contents);
}

bool TalvenProgram::Run(const std::string& arguments, const std::string& directory, std::vector<std::string> answers,
                        DWORD timeoutMs) {
  DeleteFileA(log_.c_str());
  boxes.clear();
  windriver::ChildProgram program;
  if (!program.Start("\"" + exe_ + "\" " + arguments, directory)) return false;
  const DWORD start = GetTickCount();
  size_t answered = 0;
  while (GetTickCount() - start < timeoutMs) {
    HANDLE process = program.Handle();
    if (MsgWaitForMultipleObjects(1, &process, FALSE, 50, QS_ALLINPUT) == WAIT_OBJECT_0) return program.WaitForExit(0, &exitCode);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    for (HWND box : windriver::TopLevelWindows(program.Id(), "#32770", nullptr)) {
      MessageBoxSeen seen;
      seen.title = windriver::WindowTextA(box);
      seen.text = Narrow(windriver::MessageBoxText(box));
      for (const std::wstring& caption : windriver::ButtonCaptions(box)) seen.buttons.push_back(Narrow(caption));
      boxes.push_back(seen);
      if (onBox) onBox(seen);
      const std::string answer = answered < answers.size() ? answers[answered] : "OK";
      ++answered;
      HWND button = windriver::FindControlByText(box, "Button", std::wstring(answer.begin(), answer.end()));
      if (!button) button = windriver::FindControlByText(box, "Button", L"&" + std::wstring(answer.begin(), answer.end()));
      if (button) windriver::PressButton(button);
      windriver::WaitForWindowGone(box, 5000);
    }
  }
  return false;
}

std::string TalvenProgram::Log() const { return ReadFileBytes(log_); }

std::string TalvenProgram::DumpedVariable(const std::string& name) const {
  const std::string log = Log();
  const size_t dump = log.rfind("*** Variables Dump ***");
  if (dump == std::string::npos) return "<no dump>";
  const size_t at = log.find("\n" + name + "=", dump);
  if (at == std::string::npos) return "<unset>";
  const size_t start = at + name.size() + 2;
  return log.substr(start, log.find('\n', start) - start);
}

void RemoveTreeForTest(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string entry = path + "\\" + name;
      SetFileAttributesA(entry.c_str(), FILE_ATTRIBUTE_NORMAL);
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTreeForTest(entry);
      else DeleteFileA(entry.c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  RemoveDirectoryA(path.c_str());
}
