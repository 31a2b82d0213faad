#include "talven/win32_platform.h"

#include <shlobj.h>

#include <vector>

#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

// A script file read into memory at once; the handle stays open (others may read and write
// it) until the script level is closed, as a file the interpreter is reading.
class Win32ScriptSource : public ScriptSource {
 public:
  explicit Win32ScriptSource(HANDLE file) : file_(file) {}
  ~Win32ScriptSource() override { CloseHandle(file_); }

 private:
  HANDLE file_;
};

}  // namespace

WindowsVersionInfo Win32Platform::Version() {
  if (!versionKnown_) {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (GetVersionExA(&info)) version_ = {info.dwMajorVersion, info.dwMinorVersion, info.dwPlatformId};
    versionKnown_ = true;
  }
  return version_;
}

std::string Win32Platform::Environment(const std::string& name) {
  char small[512];
  const DWORD length = GetEnvironmentVariableA(name.c_str(), small, sizeof small);
  if (length == 0) return std::string();
  if (length < sizeof small) return std::string(small, length);
  std::string value(length, '\0');
  const DWORD got = GetEnvironmentVariableA(name.c_str(), value.data(), length);
  value.resize(got < length ? got : 0);
  return value;
}

std::string Win32Platform::ResourceText(int id) { return LoadResourceText(static_cast<UINT>(id)); }

std::string Win32Platform::CurrentDirectory() {
  char buffer[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

std::string Win32Platform::WindowsDirectory() { return ::WindowsDirectory(); }
std::string Win32Platform::SystemDirectory() { return ::SystemDirectory(); }

std::string Win32Platform::ProgramPath() {
  char buffer[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, buffer, sizeof buffer);
  return buffer;
}

std::string Win32Platform::DesktopFolder() {
  char path[MAX_PATH] = "";
  LPITEMIDLIST list = nullptr;
  if (SHGetSpecialFolderLocation(windows_.MainHandle(), CSIDL_DESKTOP, &list) == S_OK) {
    SHGetPathFromIDListA(list, path);
    CoTaskMemFree(list);
  }
  return path;
}

std::string Win32Platform::ReadRegistryString(int rootCode, const std::string& key, const std::string& value,
                                              const std::string& defaultValue) {
  return ReadSetting(rootCode, key, value, defaultValue);
}

int Win32Platform::ProfileInt(const std::string& section, const std::string& key, int defaultValue) {
  return static_cast<int>(GetProfileIntA(section.c_str(), key.c_str(), defaultValue));
}

std::string Win32Platform::ProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) {
  char buffer[256] = "";
  GetProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer, sizeof buffer);
  return buffer;
}

bool Win32Platform::FileExists(const std::string& pattern) { return ::FileExists(pattern); }
std::string Win32Platform::VolumeLabel(const std::string& drive) { return ::VolumeLabel(drive); }

std::unique_ptr<ScriptSource> Win32Platform::OpenScriptFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  auto source = std::make_unique<Win32ScriptSource>(file);
  const DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE) return nullptr;
  source->bytes.resize(size);
  DWORD got = 0;
  if (size > 0 && (!ReadFile(file, source->bytes.data(), size, &got, nullptr) || got != size)) return nullptr;
  return source;
}

int Win32Platform::CompareText(const std::string& a, const std::string& b) { return lstrcmpA(a.c_str(), b.c_str()); }

std::string Win32Platform::UpperText(const std::string& text) {
  std::string out = text;
  if (!out.empty()) CharUpperBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

std::string Win32Platform::LowerText(const std::string& text) {
  std::string out = text;
  if (!out.empty()) CharLowerBuffA(out.data(), static_cast<DWORD>(out.size()));
  return out;
}

// The gauge and the wait message are disabled and the cursor released while the box is up.
int Win32Platform::ShowMessage(const std::string& text, const std::string& title, unsigned style, int helpId) {
  windows_.BeginUserPrompt();
  const int answer = ShowMessageBox(windows_.MainHandle(), text, title, style, helpId);
  windows_.EndUserPrompt();
  return answer;
}

void Win32Platform::SetBusyCursor(bool on) { windows_.SetBusyCursor(on); }
bool Win32Platform::BusyCursor() const { return windows_.BusyCursor(); }

void Win32Platform::HideSetupWindow() {
  if (HWND setup = FindSetupWindow()) SendMessageA(setup, WM_COMMAND, 2, 0);
}

void Win32Platform::BeginUserPrompt() { windows_.BeginUserPrompt(); }
void Win32Platform::EndUserPrompt() { windows_.EndUserPrompt(); }
bool Win32Platform::CopyGaugeOpen() { return windows_.CopyGaugeOpen(); }
void Win32Platform::CloseCopyGauge() { windows_.CloseCopyGauge(); }

// GetTickCount wraps after 49 days (and its 64-bit twin is missing before Vista): the
// differences are added up instead.
uint64_t Win32Platform::Milliseconds() {
  const DWORD now = GetTickCount();
  ticks_ += static_cast<DWORD>(now - lastTick_);
  lastTick_ = now;
  return ticks_;
}

namespace {

struct SetupWindowSearch {
  DWORD ownProcess;
  HWND found;
};

BOOL CALLBACK MatchSetupWindow(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<SetupWindowSearch*>(data);
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  char title[16] = "";
  if (process == search->ownProcess || GetWindowTextA(window, title, sizeof title) != 5 || lstrcmpA(title, "Setup") != 0)
    return TRUE;
  search->found = window;
  return FALSE;
}

}  // namespace

HWND FindSetupWindow() {
  SetupWindowSearch search{GetCurrentProcessId(), nullptr};
  EnumWindows(MatchSetupWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}
