#include "support/text_file_edit_win32.h"

#include "support/debug_log.h"
#include "support/file_replace_win32.h"
#include "support/text_lines.h"

namespace {

bool ReadWhole(HANDLE file, std::string& bytes) {
  const DWORD size = GetFileSize(file, nullptr);
  if (size == INVALID_FILE_SIZE) return false;
  bytes.assign(size, '\0');
  DWORD got = 0;
  return size == 0 || (ReadFile(file, bytes.data(), size, &got, nullptr) && got == size);
}

bool WriteWhole(HANDLE file, const std::string& bytes) {
  DWORD written = 0;
  return bytes.empty() ||
         (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) && written == bytes.size());
}

}  // namespace

bool IsReadOnlyFile(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

TextFileEdit::OpenResult TextFileEdit::Open(const std::string& path, bool evenReadOnly) {
  Close();
  path_ = path;
  attributes_ = GetFileAttributesA(path.c_str());
  if (attributes_ == INVALID_FILE_ATTRIBUTES) return OpenResult::Missing;
  if ((attributes_ & FILE_ATTRIBUTE_READONLY) && !evenReadOnly) return OpenResult::Locked;
  file_ = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file_ == INVALID_HANDLE_VALUE) return OpenResult::Locked;
  if (!ReadWhole(file_, original_)) {
    Close();
    return OpenResult::Locked;
  }
  lines_ = SplitTextLines(original_);
  return OpenResult::Opened;
}

void TextFileEdit::Close() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

TextFileEdit::SaveResult TextFileEdit::Save(const std::vector<std::string>& lines) {
  const std::string bytes = JoinTextLines(lines);
  if (bytes == original_) {
    Close();
    return SaveResult::Saved;
  }
  const std::string work = StagingNameFor(path_);
  HANDLE out = CreateFileA(work.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) {
    Close();
    log_.LogText("Edit: no work file beside '" + path_ + "'; the file is unchanged\r\n");
    return SaveResult::NoWorkFile;
  }
  const bool written = WriteWhole(out, bytes) && FlushFileBuffers(out);
  CloseHandle(out);
  Close();
  if (!written) {
    DeleteFileA(work.c_str());
    log_.LogText("Edit: writing the work file '" + work + "' failed; '" + path_ + "' is unchanged\r\n");
    return SaveResult::WriteFailed;
  }
  // A read-only file (CHANGECONFIG edits those) steps out of read-only for the move only.
  if (attributes_ & FILE_ATTRIBUTE_READONLY) SetFileAttributesA(path_.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!CommitStagedFile(work, path_)) {
    const bool targetThere = GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
    if (targetThere) {
      SetFileAttributesA(path_.c_str(), attributes_);
      DeleteFileA(work.c_str());
      log_.LogText("Edit: '" + path_ + "' could not be replaced; it is unchanged\r\n");
    } else {
      log_.LogText("Edit: '" + path_ + "' could not be replaced; its new content is in '" + work + "'\r\n");
    }
    return SaveResult::ReplaceFailed;
  }
  SetFileAttributesA(path_.c_str(), attributes_);
  return SaveResult::Saved;
}

bool CreateTextFile(const std::string& path, const std::vector<std::string>& lines) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  const bool written = WriteWhole(file, JoinTextLines(lines));
  CloseHandle(file);
  if (!written) DeleteFileA(path.c_str());
  return written;
}
