#include "commands/copy_target_win32.h"


#include "commands/copy_engine_win32.h"
#include "commands/file_info_win32.h"
#include "support/debug_log.h"
#include "support/file_replace_win32.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

// A copy is a loop of 1024-byte blocks (the gauge's steps, what a failure leaves), read and
// written 64 blocks at a time: under Wine a file call costs far more than the bytes it moves.
// The buffer is on the stack: a heap block of that size added its 64 KB to the program's peak
// memory, the stack's pages do not (measured under Wine: the same peak as the 1024-byte loop).
constexpr long kBlock = 1024;
constexpr long kRunBytes = 64 * 1024;
constexpr int kBlocksPerGaugeStep = 41;

bool IsDiskFull(DWORD error) { return error == ERROR_DISK_FULL || error == ERROR_HANDLE_DISK_FULL; }

// The blocks of one file: pumping before each read and write, the bar moved every 41st block
// in byte mode (painted at the pace of the message drains) and to the total at the end.
// [writeError] receives the system's reason when a write fails.
int CopyContent(const CopyJob& job, HANDLE target, DWORD& writeError) {
  char buffer[kRunBytes];
  int counter = 0;
  const auto afterBlock = [&](long copied) {
    if (!job.byteMode) return;
    if (copied == job.length) {
      job.gauge->SetPosition(copied);
    } else if (++counter > kBlocksPerGaugeStep - 1) {
      counter = 0;
      job.gauge->SetPositionPaced(copied);
    }
  };
  FileBlockSink sink(target);
  const BlockCopyResult result =
      CopyBlocks(job.source, sink, job.length, kBlock, buffer, kRunBytes, afterBlock, PumpMessagesPaced);
  writeError = result == BlockCopyResult::ShortWrite ? sink.LastError() : ERROR_SUCCESS;
  PumpMessagesPaced();
  if (result == BlockCopyResult::ShortRead) return COPY_READ_FAILED;
  if (result == BlockCopyResult::ShortWrite) return COPY_WRITE_FAILED;
  if (job.byteMode && job.length == 0) job.gauge->SetPosition(0);
  return COPY_DONE;
}

HANDLE OpenForWriting(const std::string& path, DWORD disposition) {
  return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                     nullptr);
}

// Read-only stands in the way of a replacing move and of writing; it comes back on failure.
void ClearAttributes(const std::string& target, const TargetBefore& before) {
  if (before.exists) SetFileAttributesA(target.c_str(), FILE_ATTRIBUTE_NORMAL);
}
void RestoreAttributes(const std::string& target, const TargetBefore& before) {
  if (before.exists) SetFileAttributesA(target.c_str(), before.attributes);
}

}  // namespace

TargetBefore LookAtTarget(const std::string& target) {
  TargetBefore before;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(target.c_str(), GetFileExInfoStandard, &data)) return before;
  before.exists = true;
  before.attributes = data.dwFileAttributes;
  before.size = uint64_t{data.nFileSizeHigh} << 32 | data.nFileSizeLow;
  before.written = data.ftLastWriteTime;
  return before;
}

int CopyBeside(const CopyJob& job, const std::string& target, const TargetBefore& before, bool& noRoom) {
  noRoom = false;
  const std::string staged = StagingNameFor(target);
  HANDLE output = OpenForWriting(staged, CREATE_ALWAYS);
  if (output == INVALID_HANDLE_VALUE) {
    // A full folder (a FAT root has a fixed number of entries) or one that lets this process
    // write the file but make no other: the file itself can still be written over.
    DeleteFileA(staged.c_str());
    noRoom = before.exists;
    return COPY_TARGET_FAILED;
  }
  DWORD writeError = ERROR_SUCCESS;
  const int status = CopyContent(job, output, writeError);
  if (status == COPY_DONE) {
    if (job.log.Enabled()) job.log.LogText("Setting Target File: " + DateTraceLine(ToDateTime(job.date)));
    SetCopyDateTime(output, job.date);
  }
  CloseHandle(output);
  if (status != COPY_DONE) {
    DeleteFileA(staged.c_str());
    noRoom = before.exists && status == COPY_WRITE_FAILED && IsDiskFull(writeError);
    return status;
  }
  ClearAttributes(target, before);
  if (!CommitStagedFile(staged, target)) {
    job.log.LogText("The new file cannot take the place of the existing one - it stays as it was\r\n");
    DeleteFileA(staged.c_str());
    RestoreAttributes(target, before);
    return COPY_TARGET_FAILED;
  }
  return COPY_DONE;
}

int CopyInPlace(const CopyJob& job, const std::string& target, const TargetBefore& before) {
  job.log.LogText("No room for the new file beside the existing one: the source is read through first, "
                  "then written over the existing file\r\n");
  char buffer[kRunBytes];
  if (!job.source.Rewind() || !ReadsWhole(job.source, job.length, buffer, kRunBytes, PumpMessagesPaced) ||
      !job.source.Rewind()) {
    job.log.LogText("The source cannot be read whole - the existing file stays as it was\r\n");
    return COPY_READ_FAILED;
  }
  ClearAttributes(target, before);
  HANDLE output = OpenForWriting(target, OPEN_EXISTING);
  if (output == INVALID_HANDLE_VALUE) {
    RestoreAttributes(target, before);
    return COPY_TARGET_FAILED;
  }
  // Written from its start without cutting it first: the old file's space is used again, so
  // only what the new file adds needs free space.
  DWORD writeError = ERROR_SUCCESS;
  const int status = CopyContent(job, output, writeError);
  if (status == COPY_DONE) {
    SetEndOfFile(output);
    if (job.log.Enabled()) job.log.LogText("Setting Target File: " + DateTraceLine(ToDateTime(job.date)));
    SetCopyDateTime(output, job.date);
  } else {
    job.log.LogText("Writing over the existing file failed part-way - the existing file is damaged\r\n");
  }
  CloseHandle(output);
  return status;
}

int AppendTo(const CopyJob& job, const std::string& target, const TargetBefore& before) {
  ClearAttributes(target, before);
  HANDLE output = OpenForWriting(target, OPEN_EXISTING);
  if (output == INVALID_HANDLE_VALUE) {
    RestoreAttributes(target, before);
    return COPY_TARGET_FAILED;
  }
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(before.size);
  SetFilePointerEx(output, end, nullptr, FILE_BEGIN);
  DWORD writeError = ERROR_SUCCESS;
  const int status = CopyContent(job, output, writeError);
  if (status == COPY_DONE) {
    if (job.log.Enabled()) job.log.LogText("Setting Target File: " + DateTraceLine(ToDateTime(job.date)));
    SetCopyDateTime(output, job.date);
  } else {
    SetFilePointerEx(output, end, nullptr, FILE_BEGIN);
    SetEndOfFile(output);
    SetFileTime(output, nullptr, nullptr, &before.written);
    job.log.LogText("The existing file is cut back to its old length\r\n");
  }
  CloseHandle(output);
  RestoreAttributes(target, before);
  return status;
}
