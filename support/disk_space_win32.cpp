#include <cctype>

#include "support/file_helpers_win32.h"
#include "support/text.h"

DriveSpace QueryDriveSpace(const std::string& path) {
  DriveSpace space;
  if (StartsWith(path, "\\\\")) {
    // A network share: only the 64-bit call knows it.
    space.root = EnsureBackslash(path);
    ULARGE_INTEGER available, total, free;
    space.ok = GetDiskFreeSpaceExA(space.root.c_str(), &available, &total, &free) != 0;
    if (space.ok) space.freeBytes = available.QuadPart;
    return space;
  }
  if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
    space.root = std::string(1, AsciiUpper(path[0])) + ":\\";
  space.ok = GetDiskFreeSpaceA(space.root.empty() ? nullptr : space.root.c_str(), &space.sectorsPerCluster,
                               &space.bytesPerSector, &space.freeClusters, nullptr) != 0;
  if (space.ok)
    space.freeBytes = uint64_t{space.bytesPerSector} * space.sectorsPerCluster * space.freeClusters;
  return space;
}
