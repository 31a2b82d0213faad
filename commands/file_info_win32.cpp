#include "commands/file_info_win32.h"

#include <cstdio>
#include <cstdlib>

#include "support/debug_log.h"
#include "support/file_helpers_win32.h"
#include "support/text.h"

float GetDiskFree(DebugLog& log, const std::string& path, bool kilobytes) {
  log.LogText("GetDiskFree('" + path + "') " + (kilobytes ? "(in KBytes)" : "(in Bytes)") + "\r\n");
  float result = 0;
  const DriveSpace space = QueryDriveSpace(path);
  if (StartsWith(path, "\\\\")) {
    // The 64-bit count goes through its decimal text, as the single-precision result takes it.
    result = std::strtof(std::to_string(space.freeBytes).c_str(), nullptr);
  } else {
    result = static_cast<float>(space.sectorsPerCluster) * static_cast<float>(space.bytesPerSector) *
             static_cast<float>(space.freeClusters);
    log.LogText("32bit API\r\nBytes per sector:    " + std::to_string(space.bytesPerSector) +
                "\r\nSectors per cluster: " + std::to_string(space.sectorsPerCluster) +
                "\r\nFree clusters:       " + std::to_string(space.freeClusters) + "\r\n");
  }
  if (kilobytes) result /= 1024;
  char line[64];
  std::snprintf(line, sizeof line, "Returned: %f\r\n", static_cast<double>(result));
  log.LogText(line);
  return result;
}

bool QueryFileVersion(DebugLog& log, const std::string& path, uint32_t& most, uint32_t& least) {
  log.LogText("Checking File Version: " + path + "\r\n");
  FileVersion version;
  const bool found = QueryFixedFileVersion(path, version);
  most = version.most;
  least = version.least;
  if (!found) {
    log.LogText("File has no version info\r\n");
    return false;
  }
  log.LogText(std::to_string(most) + "  " + std::to_string(least) + "\r\n" + FileVersionText(version) + "\r\n");
  return true;
}

DateTime ToDateTime(const SYSTEMTIME& t) { return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond}; }

SYSTEMTIME ToSystemTime(const DateTime& v) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(v.year);
  t.wMonth = static_cast<WORD>(v.month);
  t.wDay = static_cast<WORD>(v.day);
  t.wHour = static_cast<WORD>(v.hour);
  t.wMinute = static_cast<WORD>(v.minute);
  t.wSecond = static_cast<WORD>(v.second);
  return t;
}

std::string DateTraceLine(const DateTime& v) {
  char line[96];
  std::snprintf(line, sizeof line, "Date: %02d/%02d/%d  Time: %02d:%02d:%02d\r\n", v.year, v.month, v.day, v.hour,
                v.minute, v.second);
  return line;
}
