#include "support/debug_log.h"

#include <cstdio>
#include <cstring>

void DebugLog::LogText(const char* text) {
  if (enabled_ == 0) return;
  if (enabled_ < 0) Decide();
  if (enabled_ != 0) Write(text);
}

bool DebugLog::Enabled() {
  if (enabled_ < 0) Decide();
  return enabled_ != 0;
}

void DebugLog::Decide() {
  DebugLogSettings settings;
  if (backend_.ReadSettings(settings)) {
    enabled_ = settings.enabled ? 1 : 0;
    outputPath_ = settings.outputPath.substr(0, 81);
  } else {
    // A trace written before the program has its settings: on for the rest of the run.
    enabled_ = 1;
    settings.title = "GlobalStart";
  }
  if (enabled_ == 0) return;
  const LocalTime t = backend_.Now();
  char date[32], time[32];
  std::snprintf(date, sizeof date, "%02d/%02d/%04d", t.day, t.month, t.year);
  std::snprintf(time, sizeof time, "%02d:%02d:%02d", t.hour, t.minute, t.second);
  const std::string banner = "\n\n**** Application Startup - " + settings.title.substr(0, 50) + " (" +
                             date + " " + time + ") ****\n";
  Write(banner.c_str());
}

// A log that cannot be opened is reported once and then switched off for the rest of the run:
// telling the user at every write would bury the installation under message boxes.
void DebugLog::Write(const char* text) {
  if (backend_.Append(outputPath_, text, std::strlen(text))) return;
  enabled_ = 0;
  backend_.ReportFailure(outputPath_);
}

void DebugLog::LogLong(int32_t value) {
  if (enabled_ == 0) return;
  LogText(std::to_string(value));
}

void DebugLog::LogInt(int value) {
  if (enabled_ == 0) return;
  LogText(std::to_string(value));
}

void DebugLog::LogDump(const unsigned char* bytes, int length, bool withCodes) {
  if (enabled_ == 0 || length <= 0) return;
  const int perLine = withCodes ? 12 : 64;
  std::string line;
  for (int i = 0; i < length; ++i) {
    const unsigned char b = bytes[i];
    if (withCodes) {
      char entry[16];
      std::snprintf(entry, sizeof entry, b >= 32 ? "%3d %c  " : "%3d .  ", b, b);
      line += entry;
    } else {
      line += b >= 32 ? static_cast<char>(b) : '.';
    }
    if ((i + 1) % perLine == 0 || i + 1 == length) {
      line += "\r\n";
      LogText(line);
      line.clear();
    }
  }
}
