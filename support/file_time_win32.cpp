#include "support/file_helpers_win32.h"

namespace {

SYSTEMTIME FirstDosDay() {
  SYSTEMTIME day = {};
  day.wYear = 1980;
  day.wMonth = 1;
  day.wDay = 1;
  return day;
}

// The fields that the MS-DOS date and time form can hold. Years before 1980 would make the
// date word wrap into the far future, so they take the fallback too.
bool FitsDosForm(const SYSTEMTIME& t) {
  return t.wYear >= 1980 && t.wYear <= 2038 && t.wMonth >= 1 && t.wMonth <= 12 && t.wDay <= 31 &&
         t.wHour <= 23 && t.wMinute <= 59 && t.wSecond <= 59;
}

}  // namespace

SYSTEMTIME CopyDateTime(const FILETIME& utc) {
  SYSTEMTIME calendar;
  if (!FileTimeToSystemTime(&utc, &calendar) || !FitsDosForm(calendar)) return FirstDosDay();
  FILETIME localTime;
  SYSTEMTIME local;
  if (!FileTimeToLocalFileTime(&utc, &localTime) || !FileTimeToSystemTime(&localTime, &local) ||
      !FitsDosForm(local))
    return FirstDosDay();
  local.wMilliseconds = 0;
  return local;
}

SYSTEMTIME CurrentCopyDateTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  now.wMilliseconds = 0;
  return now;
}

SYSTEMTIME NoteCopyDateTime(const std::string& path, DWORD shareMode, bool* opened) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, shareMode, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (opened) *opened = file != INVALID_HANDLE_VALUE;
  if (file == INVALID_HANDLE_VALUE) return CurrentCopyDateTime();
  FILETIME written;
  const bool ok = GetFileTime(file, nullptr, nullptr, &written) != 0;
  CloseHandle(file);
  return ok ? CopyDateTime(written) : CurrentCopyDateTime();
}

WORD DosDate(const SYSTEMTIME& local) {
  return static_cast<WORD>((local.wYear - 1980) * 512 + local.wMonth * 32 + local.wDay);
}

WORD DosTime(const SYSTEMTIME& local) {
  return static_cast<WORD>(local.wHour * 2048 + local.wMinute * 32 + local.wSecond / 2);
}

bool SetCopyDateTime(HANDLE file, const SYSTEMTIME& local) {
  FILETIME localTime, utc;
  if (!DosDateTimeToFileTime(DosDate(local), DosTime(local), &localTime)) return false;
  if (!LocalFileTimeToFileTime(&localTime, &utc)) return false;
  return SetFileTime(file, nullptr, nullptr, &utc) != 0;
}
