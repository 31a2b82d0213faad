#include <cstdio>

#include "support/win32.h"

void Win32DebugLogBackend::AttachSettings(const std::string& iniFileName, const std::string& title) {
  if (iniFileName_.empty()) iniFileName_ = iniFileName;
  title_ = title;
}

bool Win32DebugLogBackend::ReadSettings(DebugLogSettings& settings) {
  if (iniFileName_.empty()) return false;
  const char* ini = iniFileName_.c_str();
  settings.enabled = GetPrivateProfileIntA("Debug", "Debug", 0, ini) != 0;
  char path[82] = "";
  GetPrivateProfileStringA("Debug", "OutputTo", "C:\\DEBUG.DBG", path, sizeof path, ini);
  settings.outputPath = path;
  settings.title = title_;
  return true;
}

bool Win32DebugLogBackend::Append(const std::string& path, const char* bytes, size_t length) {
  const DWORD share = exclusive_ ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  SetFilePointer(file, 0, nullptr, FILE_END);
  DWORD written = 0;
  WriteFile(file, bytes, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
  return true;
}

void Win32DebugLogBackend::ReportFailure(const std::string& path) {
  if (quiet_) return;
  char message[400];
  std::snprintf(message, sizeof message, "Failed to open debug file '%s' for writing", path.c_str());
  ShowMessageBox(nullptr, message, title_, MB_OK);
}

LocalTime Win32DebugLogBackend::Now() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wDay, now.wMonth, now.wYear, now.wHour, now.wMinute, now.wSecond};
}
