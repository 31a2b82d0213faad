#include "commands/copy_engine_win32.h"

#include <vector>

#include "commands/copy_target_win32.h"
#include "commands/file_info_win32.h"
#include "engine/errors.h"
#include "engine/run_outcome.h"
#include "support/file_helpers_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

constexpr long kBlock = 1024;
constexpr DWORD kShareReadWrite = FILE_SHARE_READ | FILE_SHARE_WRITE;

int Returning(DebugLog& log, int status) {
  if (log.Enabled()) log.LogText("  FCopyFile returning: '" + std::to_string(status) + "'\r\n");
  return status;
}

// The source, opened plain or through the LZ functions.
struct OpenSource {
  LzSource lz;
  HANDLE plain = INVALID_HANDLE_VALUE;
  FileBlockSource plainReader{INVALID_HANDLE_VALUE};
  bool expanded = false;

  ~OpenSource() { Close(); }
  bool Open(DebugLog& log, const std::string& path, bool expand) {
    expanded = expand;
    if (expand) {
      log.LogText("Opening with LZ32.DLL\r\n");
      return lz.Open(path);
    }
    log.LogText("Standard Open\r\n");
    plain = CreateFileA(path.c_str(), GENERIC_READ, kShareReadWrite, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr);
    plainReader = FileBlockSource(plain);
    return plain != INVALID_HANDLE_VALUE;
  }
  // The bytes the copy will read (expanded when expanding); -1 when unknown.
  long Length() {
    if (expanded) return lz.Length();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(plain, &size) || size.QuadPart > 0x7FFFFFFF) return -1;
    return static_cast<long>(size.QuadPart);
  }
  BlockSource& Reader() { return expanded ? static_cast<BlockSource&>(lz) : plainReader; }
  void Close() {
    lz.Close();
    if (plain != INVALID_HANDLE_VALUE) CloseHandle(plain);
    plain = INVALID_HANDLE_VALUE;
  }
};

// Free kilobytes as a whole number; a volume too large for the count keeps its largest value.
int64_t FreeKilobytes(DebugLog& log, const std::string& target) {
  const double free = GetDiskFree(log, DirectoryPart(target), true);
  return free >= 9.0e18 ? INT64_MAX : static_cast<int64_t>(free);
}

// Opens and at once closes [path] for reading when it exists, else creates it empty ([created]).
bool OpensOrCreates(const std::string& path, bool& created) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, kShareReadWrite, nullptr, exists ? OPEN_EXISTING : CREATE_NEW,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  created = !exists;
  return true;
}

}  // namespace

int CopyStatusError(int status) {
  switch (status) {
    case COPY_DONE: return 0;
    case COPY_SOURCE_MISSING: return ERR_SOURCE_NOT_FOUND;
    case COPY_TARGET_FAILED: return ERR_TARGET_CREATE_FAILED;
    case COPY_NO_SPACE: return ERR_NO_SPACE_ON_TARGET;
    case COPY_SAME_FILE: return ERR_SAME_SOURCE_AND_TARGET;
    case COPY_BAD_TARGET: return ERR_INVALID_TARGET_NAME;
    case COPY_READ_FAILED: return ERR_READ_FAILURE;
    default: return ERR_WRITE_FAILURE;
  }
}

void NoteCopy(InstallLog& installLog, const std::string& source, const std::string& target, int status) {
  if (!installLog.Enabled()) return;
  static const char* const kReasons[] = {"",
                                         "the source was not found",
                                         "the target could not be created",
                                         "not enough space on the target drive",
                                         "source and target are the same file",
                                         "the target name is not valid",
                                         "the source could not be read",
                                         "the target could not be written"};
  if (status == COPY_DONE)
    installLog.Note("Copied: ", target, " from ", source);
  else
    installLog.Note("Not copied: ", target, " from ", source, ": ", kReasons[status >= 1 && status <= 7 ? status : 7]);
}

int FCopyFile(DebugLog& log, const std::string& source, const std::string& target, DWORD attributes,
              CopyGaugeLink* gauge, bool append, bool expand) {
  if (log.Enabled()) log.LogText("FCopyFile: '" + source + "'  '" + target + "'\r\n");
  if (EqualsNoCase(source, target)) return Returning(log, COPY_SAME_FILE);
  if (gauge) {
    gauge->ShowSource(source);
    gauge->ShowTarget(target);
  }
  const bool byteMode = gauge && gauge->Alive() && gauge->Maximum() == 1;
  const bool expanding = expand && !append;

  bool noted = false;
  const SYSTEMTIME date = NoteCopyDateTime(source, kShareReadWrite, &noted);
  if (noted && log.Enabled()) log.LogText("Source File: " + DateTraceLine(ToDateTime(date)));

  OpenSource input;
  if (!input.Open(log, source, expanding)) return Returning(log, COPY_SOURCE_MISSING);
  const long length = input.Length();
  if (length < 0) return Returning(log, COPY_SOURCE_MISSING);
  const int64_t kilobytes = (int64_t{length} + kBlock - 1) / kBlock;
  if (log.Enabled())
    log.LogText("  File Length: " + std::to_string(length) + " bytes, " + std::to_string(kilobytes) +
                "K bytes, target Space (");
  if (byteMode) {
    gauge->SetMaximum(length);
    gauge->SetPosition(0);
  }

  // The file being replaced is given back when the copy takes its place: its space counts as
  // free, as if it had been deleted first. It is not deleted: a copy that fails leaves it.
  const TargetBefore before = LookAtTarget(target);
  const int64_t free = FreeKilobytes(log, target);
  const bool replacing = before.exists && !append;
  const int64_t given = replacing ? static_cast<int64_t>((before.size + kBlock - 1) / kBlock) : 0;
  const int64_t room = free > INT64_MAX - given ? INT64_MAX : free + given;
  if (log.Enabled()) log.LogText("Disk Space: '" + target + "' = " + std::to_string(room) + "K bytes - ");
  if (room < kilobytes) {
    log.LogText("not enough!\r\n");
    return Returning(log, COPY_NO_SPACE);
  }
  log.LogText("Ok, Copying\r\n");

  const CopyJob job{log, input.Reader(), length, gauge, byteMode, date};
  int status = COPY_TARGET_FAILED;
  if (append && before.exists) {
    status = AppendTo(job, target, before);
  } else {
    bool noRoom = free < kilobytes;
    if (!noRoom) status = CopyBeside(job, target, before, noRoom);
    if (noRoom) status = CopyInPlace(job, target, before);
  }
  if (status == COPY_DONE) {
    SetFileAttributesA(target.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes);
    if (gauge && !byteMode) gauge->SetPositionPaced(gauge->Position() + 1);
  }
  return Returning(log, status);
}

int ValidateName(DebugLog& log, const std::string& found, const std::string& target, std::string& resolved,
                 bool* created) {
  resolved = target;
  if (log.Enabled()) log.LogText("ValidateName 1: '" + found + "'  '" + resolved + "'\r\n");
  bool made = false;
  int result = 0;
  if (!OpensOrCreates(resolved, made)) {
    resolved = EnsureBackslash(target) + found;
    if (log.Enabled()) log.LogText("ValidateName 2: '" + resolved + "'\r\n");
    result = OpensOrCreates(resolved, made) ? 0 : COPY_BAD_TARGET;
  }
  if (created) *created = made;
  if (log.Enabled()) log.LogText("ValidateName returning: " + std::to_string(result) + "'\r\n");
  return result;
}

int BlockCopy(DebugLog& log, const std::string& pattern, const std::string& sourceDirectory, const std::string& target,
              CopyGaugeLink* gauge, bool expand, bool append, bool move, InstallLog* installLog) {
  if (log.Enabled()) log.LogText("BlockCopy: '" + pattern + "'  '" + target + "'\r\n");
  WIN32_FIND_DATAA entry;
  HANDLE search = FindFirstFileA(pattern.c_str(), &entry);
  int status = COPY_SOURCE_MISSING;
  if (search == INVALID_HANDLE_VALUE && installLog) NoteCopy(*installLog, pattern, target, status);
  if (search != INVALID_HANDLE_VALUE) {
    status = COPY_DONE;
    do {
      // Folders are no files to copy: a pattern such as *.* meets them on every medium.
      if (entry.cFileName[0] == '.' || (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) continue;
      const std::string fullSource = sourceDirectory + entry.cFileName;
      std::string resolved;
      bool created = false;
      status = ValidateName(log, entry.cFileName, target, resolved, &created);
      if (status == COPY_DONE) status = FCopyFile(log, fullSource, resolved, 0, gauge, append, expand);
      // The empty file that resolving the name made is no copy: a failed copy leaves nothing.
      if (status != COPY_DONE && created) DeleteFileA(resolved.c_str());
      if (installLog) NoteCopy(*installLog, fullSource, resolved, status);
      if (status == COPY_DONE && move) DeleteMatching(fullSource);
    } while (status == COPY_DONE && FindNextFileA(search, &entry));
    FindClose(search);
  }
  const int result = CopyStatusError(status);
  if (log.Enabled()) log.LogText("BlockCopy returning: '" + std::to_string(result) + "'\r\n");
  return result;
}
