#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/core/program_image.h"
#include "support/file_helpers_win32.h"
#include "support/file_replace_win32.h"
#include "support/text.h"

namespace {

// Copies are loops of 4096-byte blocks, read and written 16 blocks at a time.
constexpr long kCopyBlock = 4096;
constexpr size_t kCopyRun = 64 * 1024;

void TraceDriveSpace(Bootstrap& run, const DriveSpace& space, long needed) {
  run.log.LogText("Setup: free space of '" + (space.root.empty() ? std::string("current drive") : space.root) +
                  "': " + DecimalText(space.bytesPerSector) + " bytes per sector, " +
                  DecimalText(space.sectorsPerCluster) + " sectors per cluster, " +
                  DecimalText(space.freeClusters) + " free clusters = " +
                  DecimalText(static_cast<int64_t>(space.freeBytes)) + " bytes; needed " + DecimalText(needed) +
                  "\r\n");
}

// Last-write times to the second: that is the precision at which files are ranked.
int64_t WholeSeconds(const FILETIME& time) {
  return static_cast<int64_t>((uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime) / 10000000u);
}

FILETIME NowAsFileTime() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return now;
}

// The newer file's time: shared read, the current time when it cannot be opened.
FILETIME NewFileTime(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return NowAsFileTime();
  FILETIME written;
  const bool ok = GetFileTime(file, nullptr, nullptr, &written) != 0;
  CloseHandle(file);
  return ok ? written : NowAsFileTime();
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
}

// An installed program that a failed copy cut short (or any file that is no whole program)
// can never start: it is replaced whatever its date or version say.
bool IsUsableProgram(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return true;  // what cannot be read is judged as before
  std::string head(kProgramHeadBytes, '\0');
  DWORD got = 0;
  if (!ReadFile(file, head.data(), static_cast<DWORD>(head.size()), &got, nullptr)) got = 0;
  LARGE_INTEGER size{};
  const bool sized = GetFileSizeEx(file, &size) != 0;
  CloseHandle(file);
  head.resize(got);
  return sized && IsCompleteProgramImage(head, static_cast<uint64_t>(size.QuadPart));
}

// Whether [target] is what ExpandFile made of [source] in an earlier run: the length the
// source expands to, and the source's date as the copy gave it. Compared with that copy of
// itself, by version or by date, it would stay: the source need not be expanded again to learn
// that (the interpreter and the de-installer, about a megabyte, at every start).
bool MadeFrom(const std::string& source, const std::string& target) {
  bool opened = false;
  const SYSTEMTIME made = NoteCopyDateTime(source, 0, &opened);
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!opened || !GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data)) return false;
  const SYSTEMTIME has = CopyDateTime(data.ftLastWriteTime);
  if (DosDate(has) != DosDate(made) || DosTime(has) != DosTime(made)) return false;
  LzSource input;
  if (!input.Open(source)) return false;
  const long length = input.Length();
  return length >= 0 && FileSize(target) == static_cast<uint64_t>(length);
}

// Whether the expanded [candidate] should take the place of [target]: an unusable target
// always, else by version when both have one, else by date; a target that cannot be opened
// for writing exclusively stays.
bool ShouldReplace(Bootstrap& run, const std::string& candidate, const std::string& target) {
  if (!IsUsableProgram(target)) {
    run.log.LogText("Setup: '" + target + "' is no whole program\r\n");
    return true;
  }
  FileVersion newVersion, oldVersion;
  if (QueryFixedFileVersion(candidate, newVersion) && QueryFixedFileVersion(target, oldVersion)) {
    run.log.LogText("Setup: versions " + FileVersionText(newVersion) + " (new) and " +
                    FileVersionText(oldVersion) + " (installed)\r\n");
    return CompareFileVersions(newVersion, oldVersion) > 0;
  }
  const FILETIME newTime = NewFileTime(candidate);
  HANDLE file = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    run.log.LogText("Setup: '" + target + "' cannot be opened for writing, it stays\r\n");
    return false;
  }
  FILETIME oldTime;
  const bool ok = GetFileTime(file, nullptr, nullptr, &oldTime) != 0;
  CloseHandle(file);
  run.log.LogText("Setup: comparing dates of '" + candidate + "' and '" + target + "'\r\n");
  return ok && WholeSeconds(oldTime) < WholeSeconds(newTime);
}

// Puts the complete file [ready] in [target]'s place; read-only does not stand in the way. On
// failure [target] keeps its attributes and GetLastError says why.
int PlaceFile(Bootstrap& run, const std::string& ready, const std::string& target) {
  const DWORD attributes = GetFileAttributesA(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (CommitStagedFile(ready, target)) return BOOT_OK;
  const DWORD why = GetLastError();
  run.log.LogText("Setup: '" + ready + "' cannot take the place of '" + target + "'\r\n");
  if (attributes != INVALID_FILE_ATTRIBUTES) SetFileAttributesA(target.c_str(), attributes);
  SetLastError(why);
  return BOOT_CREATE_FAILED;
}

}  // namespace

int ExpandFile(Bootstrap& run, const std::string& source, const std::string& target) {
  run.log.LogText("Setup: ExpandFile '" + source + "' to '" + target + "'\r\n");
  if (UpperAscii(source) == UpperAscii(target)) return BOOT_SAME_FILE;
  const SYSTEMTIME noted = NoteCopyDateTime(source, 0);

  LzSource input;
  if (!input.Open(source)) return BOOT_SOURCE_MISSING;
  const long size = input.Length();
  if (size < 0) return BOOT_READ_FAILED;

  // The file that the copy replaces gives its space back when the copy takes its place. It
  // stays until then, so a volume that holds only one of the two keeps the old file (203).
  const DriveSpace space = QueryDriveSpace(target);
  TraceDriveSpace(run, space, size);
  if (!(static_cast<uint64_t>(size) < space.freeBytes + FileSize(target))) return BOOT_NO_SPACE;

  // Written beside the target and put in its place only when complete: a failure leaves the
  // target as it was and no partial file.
  const std::string staged = StagingNameFor(target);
  HANDLE output = CreateFileA(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (output == INVALID_HANDLE_VALUE) {
    DeleteFileA(staged.c_str());
    return BOOT_CREATE_FAILED;
  }
  std::vector<char> buffer(kCopyRun);
  FileBlockSink sink(output);
  const BlockCopyResult copy = CopyBlocks(input, sink, size, kCopyBlock, buffer.data(), static_cast<long>(buffer.size()));
  const DWORD writeError = sink.LastError();
  int result = copy == BlockCopyResult::Done        ? BOOT_OK
               : copy == BlockCopyResult::ShortRead ? BOOT_READ_FAILED
               : writeError == ERROR_DISK_FULL || writeError == ERROR_HANDLE_DISK_FULL ? BOOT_NO_SPACE
                                                                                        : BOOT_WRITE_FAILED;
  if (result == BOOT_OK) SetCopyDateTime(output, noted);
  CloseHandle(output);
  if (result == BOOT_OK) result = PlaceFile(run, staged, target);
  if (result != BOOT_OK) {
    run.log.LogText("Setup: '" + target + "' is left as it was\r\n");
    DeleteFileA(staged.c_str());
  }
  return result;
}

int UpdateFile(Bootstrap& run, const std::string& source, const std::string& target) {
  if (!FileExists(target)) return ExpandFile(run, source, target);
  if (IsUsableProgram(target) && MadeFrom(source, target)) {
    run.log.LogText("Setup: keeping '" + target + "', made from '" + source + "'\r\n");
    return BOOT_OK;
  }
  const std::string scratch = run.temporaryFolder + FileNamePart(target);
  int result = ExpandFile(run, source, scratch);
  if (result != BOOT_OK) {
    DeleteFileA(scratch.c_str());
    return result;
  }
  if (ShouldReplace(run, scratch, target)) {
    run.log.LogText("Setup: replacing '" + target + "'\r\n");
    // The complete scratch copy moves into the target's place (one step, no room needed); only
    // where the two folders lie on different volumes is it copied beside the target first.
    result = PlaceFile(run, scratch, target);
    if (result != BOOT_OK && GetLastError() == ERROR_NOT_SAME_DEVICE) result = ExpandFile(run, scratch, target);
  } else {
    run.log.LogText("Setup: keeping '" + target + "'\r\n");
  }
  DeleteFileA(scratch.c_str());
  return result;
}
