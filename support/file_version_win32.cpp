#include <cstdio>
#include <vector>

#include "support/file_helpers_win32.h"

bool QueryFixedFileVersion(const std::string& path, FileVersion& version) {
  version = FileVersion();
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
  if (size == 0) return false;
  std::vector<char> data(size, 0);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return false;
  void* block = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", &block, &length) || block == nullptr ||
      length < sizeof(VS_FIXEDFILEINFO))
    return false;
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(block);
  version.most = fixed->dwFileVersionMS;
  version.least = fixed->dwFileVersionLS;
  return true;
}

int CompareFileVersions(const FileVersion& a, const FileVersion& b) {
  // Signed on purpose: that is how installed files have always been ranked, so a half with the
  // top bit set counts as older than any ordinary version.
  const auto signedHalf = [](uint32_t half) { return static_cast<int32_t>(half); };
  if (signedHalf(a.most) != signedHalf(b.most)) return signedHalf(a.most) < signedHalf(b.most) ? -1 : 1;
  if (signedHalf(a.least) != signedHalf(b.least)) return signedHalf(a.least) < signedHalf(b.least) ? -1 : 1;
  return 0;
}

std::string FileVersionText(const FileVersion& version) {
  char text[48];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", static_cast<int>(version.most >> 16),
                static_cast<int>(version.most & 0xFFFF), static_cast<int>(version.least >> 16),
                static_cast<int>(version.least & 0xFFFF));
  return text;
}
