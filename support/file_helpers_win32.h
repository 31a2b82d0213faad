// File helpers that the bootstrap and the interpreter's copy engine share: the fixed file
// version of a version resource, last-write times through the MS-DOS date and time form, the
// free space of a drive, and reading through the system's LZ expansion functions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/block_copy.h"

// The two 32-bit halves of a version resource's fixed file version.
struct FileVersion {
  uint32_t most = 0;
  uint32_t least = 0;
};

// The fixed file version of [path]. False, with both halves 0, when it has no version resource.
bool QueryFixedFileVersion(const std::string& path, FileVersion& version);
// Below 0, 0 or above 0 as [a] is older than, equal to or newer than [b]: the most significant
// halves first, then the least significant ones, each compared as a signed 32-bit number.
int CompareFileVersions(const FileVersion& a, const FileVersion& b);
// "%d.%d.%d.%d": high and low word of the most significant half, then of the least.
std::string FileVersionText(const FileVersion& version);

// The local calendar time that a copy gives its target, from the source's last-write time
// [utc]. A time whose UTC calendar form lies outside what the MS-DOS form holds (year before
// 1980 or after 2038, or a field out of range) becomes 1 January 1980 00:00:00.
SYSTEMTIME CopyDateTime(const FILETIME& utc);
// The current local time, as a copy made now would note it.
SYSTEMTIME CurrentCopyDateTime();
// The last-write time of [path] as CopyDateTime gives it, opening the file for reading with
// [shareMode]; the current time when it cannot be opened. [opened], when given, tells which.
SYSTEMTIME NoteCopyDateTime(const std::string& path, DWORD shareMode, bool* opened = nullptr);
// The MS-DOS date and time words of the local calendar time [local] (two-second resolution).
WORD DosDate(const SYSTEMTIME& local);
WORD DosTime(const SYSTEMTIME& local);
// Gives the open [file] the last-write time [local], passed through the MS-DOS form.
bool SetCopyDateTime(HANDLE file, const SYSTEMTIME& local);

// The free space of the volume that holds [path]: for "X:..." the root of drive X, for a network
// path "\\server\share\..." that share, else the current drive. The counts come from the
// system (zero for a network path); the product is computed in 64 bits so that volumes with more
// than 4 GB free do not wrap.
struct DriveSpace {
  bool ok = false;
  std::string root;
  DWORD sectorsPerCluster = 0;
  DWORD bytesPerSector = 0;
  DWORD freeClusters = 0;
  uint64_t freeBytes = 0;
};
DriveSpace QueryDriveSpace(const std::string& path);

// A file read through the system's LZ expansion functions: a file in the LZ-compressed format
// reads expanded, any other file unchanged.
class LzSource : public BlockSource {
 public:
  LzSource() = default;
  LzSource(const LzSource&) = delete;
  LzSource& operator=(const LzSource&) = delete;
  ~LzSource() { Close(); }

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return handle_ >= 0; }
  // The expanded length (seek to the end and back to the start); -1 on failure.
  long Length();
  // Reads up to [size] bytes; the number read, or a negative LZ error code.
  int Read(char* buffer, int size) override;
  // A step back expands the file again from its start up to [offset].
  bool SeekTo(long offset) override;

 private:
  int handle_ = -1;
};

// A file read as it is, through a handle opened for reading (the caller keeps and closes it).
class FileBlockSource : public BlockSource {
 public:
  explicit FileBlockSource(HANDLE file) : file_(file) {}
  int Read(char* buffer, int size) override;
  bool SeekTo(long offset) override;

 private:
  HANDLE file_;
};

// A file written through a handle (the caller keeps and closes it). The system's reason for the
// last write that stopped short stays here, whatever runs after it.
class FileBlockSink : public BlockSink {
 public:
  explicit FileBlockSink(HANDLE file) : file_(file) {}
  int Write(const char* buffer, int size) override;
  DWORD LastError() const { return lastError_; }

 private:
  HANDLE file_;
  DWORD lastError_ = ERROR_SUCCESS;
};
