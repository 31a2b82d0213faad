#include <vector>

#include "bootstrap/bootstrap.h"
#include "support/file_helpers_win32.h"
#include "support/text.h"

namespace {

constexpr size_t kCopyBlock = 4096;

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

// Whether the expanded [candidate] should take the place of [target]: by version when both
// have one, else by date; a target that cannot be opened for writing exclusively stays.
bool ShouldReplace(Bootstrap& run, const std::string& candidate, const std::string& target) {
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

}  // namespace

int ExpandFile(Bootstrap& run, const std::string& source, const std::string& target) {
  run.log.LogText("Setup: ExpandFile '" + source + "' to '" + target + "'\r\n");
  if (UpperAscii(source) == UpperAscii(target)) return BOOT_SAME_FILE;
  DeleteMatching(target);
  const SYSTEMTIME noted = NoteCopyDateTime(source, 0);

  LzSource input;
  if (!input.Open(source)) return BOOT_SOURCE_MISSING;
  const long size = input.Length();
  if (size < 0) return BOOT_READ_FAILED;

  const DriveSpace space = QueryDriveSpace(target);
  TraceDriveSpace(run, space, size);
  if (!(static_cast<uint64_t>(size) < space.freeBytes)) return BOOT_NO_SPACE;

  HANDLE output = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
  if (output == INVALID_HANDLE_VALUE) return BOOT_CREATE_FAILED;
  std::vector<char> buffer(kCopyBlock);
  const BlockCopyResult copy = CopyBlocks(input, output, size, buffer);
  const int result = copy == BlockCopyResult::Done        ? BOOT_OK
                     : copy == BlockCopyResult::ShortRead ? BOOT_READ_FAILED
                                                          : BOOT_WRITE_FAILED;
  if (result == BOOT_OK) SetCopyDateTime(output, noted);
  CloseHandle(output);  // a failed copy leaves its partial target
  return result;
}

int UpdateFile(Bootstrap& run, const std::string& source, const std::string& target) {
  if (!FileExists(target)) return ExpandFile(run, source, target);
  const std::string scratch = run.temporaryFolder + FileNamePart(target);
  int result = ExpandFile(run, source, scratch);
  if (result != BOOT_OK) {
    DeleteFileA(scratch.c_str());
    return result;
  }
  if (ShouldReplace(run, scratch, target)) {
    run.log.LogText("Setup: replacing '" + target + "'\r\n");
    SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    result = ExpandFile(run, scratch, target);
  } else {
    run.log.LogText("Setup: keeping '" + target + "'\r\n");
  }
  DeleteFileA(scratch.c_str());
  return result;
}
