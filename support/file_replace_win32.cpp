#include "support/file_replace_win32.h"

#include <windows.h>

#include "support/text.h"
#include "support/win32.h"

std::string StagingNameFor(const std::string& target) {
  const std::string folder = DirectoryPart(target);
  char name[MAX_PATH];
  if (!GetTempFileNameA(folder.empty() ? "." : folder.c_str(), "QS", 0, name)) return EnsureBackslash(folder) + "QS$STAGE.TMP";
  return name;
}

namespace {

// The Windows 95 family has no replacing move (MoveFileEx is a stub there): the old file steps
// aside under a fresh name, the new one moves in, and the old one goes only after that
// succeeded (or comes back).
bool ReplaceByRenames(const std::string& staged, const std::string& target) {
  if (GetFileAttributesA(target.c_str()) == INVALID_FILE_ATTRIBUTES) return MoveFileA(staged.c_str(), target.c_str());
  const std::string aside = StagingNameFor(target);
  DeleteFileA(aside.c_str());
  if (!MoveFileA(target.c_str(), aside.c_str())) return false;
  if (!MoveFileA(staged.c_str(), target.c_str())) {
    const DWORD why = GetLastError();
    MoveFileA(aside.c_str(), target.c_str());
    SetLastError(why);
    return false;
  }
  DeleteFileA(aside.c_str());
  return true;
}

bool Windows95Family() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

// The family is asked, not only the stub's error: a system that reports the Windows 95 family
// (Wine does so per program) then takes the same way as Windows 95 itself.
bool CommitStagedFile(const std::string& staged, const std::string& target) {
  if (!Windows95Family()) {
    if (MoveFileExA(staged.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
    if (GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return false;
  }
  return ReplaceByRenames(staged, target);
}

bool ReplaceFileContents(const std::string& target, const std::string& bytes) {
  const std::string staged = StagingNameFor(target);
  HANDLE file = CreateFileA(staged.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    DeleteFileA(staged.c_str());
    return false;
  }
  DWORD written = 0;
  const bool complete = (bytes.empty() || (WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                     nullptr) && written == bytes.size())) &&
                        FlushFileBuffers(file);
  CloseHandle(file);
  if (complete && CommitStagedFile(staged, target)) return true;
  const DWORD why = GetLastError();
  DeleteFileA(staged.c_str());
  SetLastError(why);
  return false;
}
