#include <windows.h>
#include <ddeml.h>

#include "support/text.h"
#include "support/text_lines.h"
#include "support/win32.h"

bool ReadTextLine(HANDLE file, char* buffer, int size) {
  // One read covers the longest line and its CR LF; the file position is then put back to just
  // after the line, where a byte-by-byte reader would have left it.
  if (size <= 0) return false;
  const LONG start = static_cast<LONG>(SetFilePointer(file, 0, nullptr, FILE_CURRENT));
  std::string block(static_cast<size_t>(size) + 1, '\0');
  DWORD got = 0;
  if (!ReadFile(file, block.data(), static_cast<DWORD>(block.size()), &got, nullptr) || got == 0) {
    buffer[0] = '\0';
    return false;
  }
  const TextLineSpan line = ScanTextLine(block.data(), got, static_cast<size_t>(size) - 1);
  block.copy(buffer, line.length);
  buffer[line.length] = '\0';
  SetFilePointer(file, start + static_cast<LONG>(line.consumed), nullptr, FILE_BEGIN);
  return true;
}

bool WriteTextLine(HANDLE file, const std::string& text) {
  const std::string line = text + "\r\n";
  DWORD written = 0;
  return WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size();
}

bool FileExists(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  FindClose(search);
  return true;
}

std::string ShortPathName(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, sizeof buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

int DeleteMatching(const std::string& pattern) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return 0;
  const std::string directory = DirectoryPart(pattern);
  int deleted = 0;
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (DeleteFileA((directory + found.cFileName).c_str())) ++deleted;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return deleted;
}

std::string VolumeLabel(const std::string& drive) {
  char label[MAX_PATH + 1] = "";
  const std::string root = drive.empty() ? std::string() : drive.substr(0, 1) + ":\\";
  if (!GetVolumeInformationA(root.empty() ? nullptr : root.c_str(), label, sizeof label, nullptr,
                             nullptr, nullptr, nullptr, 0))
    return std::string();
  return label;
}

namespace {
HDDEDATA CALLBACK IgnoreDdeTransaction(UINT, UINT, HCONV, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) { return nullptr; }
}  // namespace

DWORD StartDdeClient() {
  DWORD instance = 0;
  return DdeInitializeA(&instance, IgnoreDdeTransaction, APPCMD_CLIENTONLY, 0) == DMLERR_NO_ERROR ? instance : 0;
}

void EndDdeClient(DWORD instance) {
  if (instance) DdeUninitialize(instance);
}

bool ReadWholeFile(const std::string& path, std::string& bytes, DWORD limit) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const DWORD size = GetFileSize(file, nullptr);
  bool ok = size != INVALID_FILE_SIZE && size <= limit;
  if (ok) {
    bytes.assign(size, '\0');
    DWORD got = 0;
    ok = size == 0 || (ReadFile(file, bytes.data(), size, &got, nullptr) && got == size);
  }
  CloseHandle(file);
  return ok;
}

bool MakeEmptyFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

bool AppendLogLine(const std::string& path, const std::string& line) {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[16];
  wsprintfA(stamp, "%02u:%02u:%02u ", now.wHour, now.wMinute, now.wSecond);
  return AppendToFile(path, stamp + line + "\r\n");
}

void PumpMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

namespace {
DWORD lastDrain = 0;
}  // namespace

void PumpMessagesPaced() {
  const DWORD now = GetTickCount();
  if (now - lastDrain < kPumpIntervalMs) return;
  lastDrain = now;
  PumpMessages();
}

int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style, int helpId) {
  if (helpId == -1) return MessageBoxA(owner, text.c_str(), title.c_str(), style);
  MSGBOXPARAMSA params{};
  params.cbSize = sizeof params;
  params.hwndOwner = owner;
  params.hInstance = GetModuleHandleA(nullptr);
  params.lpszText = text.c_str();
  params.lpszCaption = title.c_str();
  params.dwStyle = style;
  params.dwContextHelpId = static_cast<DWORD_PTR>(helpId);
  return MessageBoxIndirectA(&params);
}
