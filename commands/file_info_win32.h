// What the copy engine and the file commands ask about files and volumes, traced into the
// debug log.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "commands/date_time.h"

class DebugLog;

// The free space of the volume that holds [path], in bytes or (with [kilobytes]) kilobytes,
// as a single-precision number.
float GetDiskFree(DebugLog& log, const std::string& path, bool kilobytes);

// The fixed file version halves of [path]; false, with both 0, when it has no version resource.
bool QueryFileVersion(DebugLog& log, const std::string& path, uint32_t& most, uint32_t& least);

DateTime ToDateTime(const SYSTEMTIME& time);
SYSTEMTIME ToSystemTime(const DateTime& value);
// "Date: %02d/%02d/%d  Time: %02d:%02d:%02d\r\n" as the copy trace writes a date.
std::string DateTraceLine(const DateTime& value);
