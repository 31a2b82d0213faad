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

bool LzSource::Rewind() { return IsOpen() && LZSeek(handle_, 0, 0) >= 0; }

bool FileBlockSource::Rewind() { return SetFilePointer(file_, 0, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER; }

int FileBlockSource::Read(char* buffer, int size) {
  DWORD got = 0;
  if (!ReadFile(file_, buffer, static_cast<DWORD>(size), &got, nullptr)) return -1;
  return static_cast<int>(got);
}

BlockCopyResult CopyBlocks(BlockSource& source, HANDLE target, long length, std::vector<char>& buffer,
                           const std::function<void(long copied)>& afterBlock, const std::function<void()>& beforeIo) {
  const long block = static_cast<long>(buffer.size());
  long copied = 0;
  while (copied < length) {
    const long chunk = length - copied > block ? block : length - copied;
    if (beforeIo) beforeIo();
    if (source.Read(buffer.data(), static_cast<int>(chunk)) != chunk) return BlockCopyResult::ShortRead;
    if (beforeIo) beforeIo();
    DWORD written = 0;
    if (!WriteFile(target, buffer.data(), static_cast<DWORD>(chunk), &written, nullptr) ||
        written != static_cast<DWORD>(chunk))
      return BlockCopyResult::ShortWrite;
    copied += chunk;
    if (afterBlock) afterBlock(copied);
  }
  return BlockCopyResult::Done;
}

bool ReadsWhole(BlockSource& source, long length, std::vector<char>& buffer, const std::function<void()>& beforeRead) {
  const long block = static_cast<long>(buffer.size());
  for (long done = 0; done < length;) {
    const long chunk = length - done > block ? block : length - done;
    if (beforeRead) beforeRead();
    if (source.Read(buffer.data(), static_cast<int>(chunk)) != chunk) return false;
    done += chunk;
  }
  return true;
}
