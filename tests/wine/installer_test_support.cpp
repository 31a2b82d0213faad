#include "tests/wine/installer_test_support.h"

#include "engine/lexer.h"
#include "engine/main_loop.h"
#include "tests/support/win_driver.h"
#include "tests/wine/talven_harness.h"

InProcessRun::InProcessRun() {
  ip.windows = &windows;
  ip.commandState = &commandState;
  windows.Attach(ip);
  replaceList.Create();
  commandState.replaceList = &replaceList;
  ip.variables.SetVariable("CAPTION", "Setup");
  windows.CreateMainWindow(GetModuleHandleA(nullptr), "Setup");
}

int InProcessRun::Line(const std::string& text) {
  if (int r = TokeniseLine(ip, text)) return r;
  return ExecuteLine(ip, ip.line, ip.lexer.tokens);
}

int InProcessRun::Script(const std::string& path) {
  StartupOptions options;
  options.scriptName = path;
  if (int r = OpenMainScript(ip, options)) return r;
  BeginRun(ip, options);
  RunMainLoop(ip);
  ip.files.CloseAll();
  return 0;
}

void InProcessRun::RunLines(const std::string& path, std::initializer_list<const char*> lines) {
  WriteFileBytes(path, ScriptLines(lines));
  if (ip.files.OpenScript(platform, log, platform.CurrentDirectory(), path) == 0) RunMainLoop(ip);
}

BoxWatch::BoxWatch(const wchar_t* answer) : answer_(answer) {
  InitializeCriticalSection(&lock_);
  thread_ = std::thread([this] { Run(); });
}

BoxWatch::~BoxWatch() {
  stop_ = true;
  thread_.join();
  DeleteCriticalSection(&lock_);
}

std::vector<std::string> BoxWatch::Texts() {
  EnterCriticalSection(&lock_);
  std::vector<std::string> copy = texts_;
  LeaveCriticalSection(&lock_);
  return copy;
}

void BoxWatch::Run() {
  while (!stop_) {
    for (HWND box : windriver::TopLevelWindows(GetCurrentProcessId(), "#32770", nullptr)) {
      HWND button = windriver::FindControlByText(box, "Button", answer_);
      if (!button) continue;  // the copy gauge and the wait message have no such button
      const std::string text = Narrow(windriver::MessageBoxText(box));
      EnterCriticalSection(&lock_);
      texts_.push_back(text);
      LeaveCriticalSection(&lock_);
      windriver::PressButton(button);
      windriver::WaitForWindowGone(box, 5000);
    }
    Sleep(20);
  }
}

bool SetWriteTime(const std::string& path, WORD year, WORD month, WORD day, WORD hour, WORD minute, WORD second) {
  SYSTEMTIME t{};
  t.wYear = year;
  t.wMonth = month;
  t.wDay = day;
  t.wHour = hour;
  t.wMinute = minute;
  t.wSecond = second;
  FILETIME ft;
  SystemTimeToFileTime(&t, &ft);
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  const bool ok = f != INVALID_HANDLE_VALUE && SetFileTime(f, nullptr, nullptr, &ft);
  if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
  return ok;
}

SYSTEMTIME WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  SYSTEMTIME t{};
  FileTimeToSystemTime(&data.ftLastWriteTime, &t);
  return t;
}

std::string BinFolder() { return windriver::TestExecutableDirectory(); }

std::string ArtefactFolder() {
  const std::string folder = windriver::TestExecutableDirectory() + "..\\artefacts\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

std::string SolidBitmap(int width, int height, COLORREF colour) {
  const int row = (width * 3 + 3) / 4 * 4;
  std::string b(54 + static_cast<size_t>(row * height), '\0');
  const auto put = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
  };
  b[0] = 'B';
  b[1] = 'M';
  put(2, static_cast<uint32_t>(b.size()));
  put(10, 54);
  put(14, 40);
  put(18, static_cast<uint32_t>(width));
  put(22, static_cast<uint32_t>(height));
  b[26] = 1;
  b[28] = 24;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const size_t at = 54 + static_cast<size_t>(y * row + x * 3);
      b[at] = static_cast<char>(GetBValue(colour));
      b[at + 1] = static_cast<char>(GetGValue(colour));
      b[at + 2] = static_cast<char>(GetRValue(colour));
    }
  return b;
}
