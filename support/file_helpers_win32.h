// File helpers that the bootstrap and the interpreter's copy engine share: the fixed file
// version of a version resource, last-write times through the MS-DOS date and time form, the
// free space of a drive, and reading through the system's LZ expansion functions.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// What a block copy reads from.
class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // Reads up to [size] bytes; the number read, or a negative number on failure.
  virtual int Read(char* buffer, int size) = 0;
  // Back to the first byte, so that the same bytes can be read once more.
  virtual bool Rewind() = 0;
};

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
  bool Rewind() override;

 private:
  int handle_ = -1;
};

// A file read as it is, through a handle opened for reading (the caller keeps and closes it).
class FileBlockSource : public BlockSource {
 public:
  explicit FileBlockSource(HANDLE file) : file_(file) {}
  int Read(char* buffer, int size) override;
  bool Rewind() override;

 private:
  HANDLE file_;
};

enum class BlockCopyResult { Done, ShortRead, ShortWrite };

// Copies [length] bytes from [source] to [target] in blocks of [buffer]'s size: full blocks while
// more than a block remains, then the rest. Stops at the first short read or short write.
// [afterBlock], when given, runs after every block with the bytes copied so far (the copy engine
// moves its gauge there); [beforeIo], when given, before every read and every write (the copy
// engine lets window messages through there).
BlockCopyResult CopyBlocks(BlockSource& source, HANDLE target, long length, std::vector<char>& buffer,
                           const std::function<void(long copied)>& afterBlock = {},
                           const std::function<void()>& beforeIo = {});
// Reads [length] bytes from [source] in blocks of [buffer]'s size and keeps none of them: true
// when every block came whole. [beforeRead], when given, runs before every read.
bool ReadsWhole(BlockSource& source, long length, std::vector<char>& buffer,
                const std::function<void()>& beforeRead = {});
