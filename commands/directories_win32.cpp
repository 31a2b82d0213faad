#include "commands/directories_win32.h"

#include <windows.h>

#include "support/debug_log.h"
#include "support/text.h"

namespace {

// Whether a file can be created in [directory]: the test for a directory that exists and
// can be written.
bool ProbeDirectory(const std::string& directory) {
  const std::string probe = Trim(directory, 'B', " ") + "\\MD024687.531";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileA(probe.c_str());
  return true;
}

void CreateOne(DebugLog& log, std::string directory, bool network) {
  if (network) directory += "\\";
  log.LogText("MakeDirectory: '" + directory + "'\r\n");
  CreateDirectoryA(directory.c_str(), nullptr);
}

}  // namespace

int MakeDirectory(DebugLog& log, const std::string& path) {
  int result = 2;
  if (!ProbeDirectory(path)) {
    const bool network = StartsWith(path, "\\\\");
    std::string walked = path;
    for (size_t at = 0; at < walked.size(); ++at) {
      if (walked[at] != '\\' && walked[at] != '/') continue;
      walked[at] = '\\';
      if (at > 0) CreateOne(log, walked.substr(0, at), network);
    }
    CreateOne(log, walked, network);
    result = ProbeDirectory(path) ? 0 : 1;
  }
  log.LogText("MakeDirectoryRc: " + std::to_string(result) + "\r\n");
  return result;
}
