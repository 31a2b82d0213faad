#include "support/file_helpers_win32.h"

#include <lzexpand.h>

bool LzSource::Open(const std::string& path) {
  Close();
  OFSTRUCT info = {};
  handle_ = LZOpenFileA(const_cast<char*>(path.c_str()), &info, OF_READ);
  if (handle_ < 0) handle_ = -1;
  return IsOpen();
}

void LzSource::Close() {
  if (handle_ >= 0) LZClose(handle_);
  handle_ = -1;
}

long LzSource::Length() {
  if (!IsOpen()) return -1;
  const LONG length = LZSeek(handle_, 0, 2);
  if (length < 0 || LZSeek(handle_, 0, 0) < 0) return -1;
  return length;
}

int LzSource::Read(char* buffer, int size) { return LZRead(handle_, buffer, size); }

bool LzSource::SeekTo(long offset) { return IsOpen() && LZSeek(handle_, offset, 0) == offset; }

bool FileBlockSource::SeekTo(long offset) {
  LARGE_INTEGER to{};
  to.QuadPart = offset;
  return SetFilePointerEx(file_, to, nullptr, FILE_BEGIN) != 0;
}

int FileBlockSource::Read(char* buffer, int size) {
  DWORD got = 0;
  if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
  return static_cast<int>(got);
}

int FileBlockSink::Write(const char* buffer, int size) {
  DWORD written = 0;
  const BOOL ok = WriteFile(file_, buffer, static_cast<DWORD>(size), &written, nullptr);
  if (!ok || written != static_cast<DWORD>(size)) lastError_ = ok ? ERROR_SUCCESS : GetLastError();
  return static_cast<int>(written > static_cast<DWORD>(size) ? 0 : written);
}
