// The trace that script writers switch on to see what the installer does. Portable: the file
// access and the settings come from a DebugLogBackend (Win32, or a test's own).
#pragma once

#include <cstdint>
#include <string>

struct DebugLogSettings {
  bool enabled = false;
  std::string outputPath = "C:\\DEBUG.DBG";
  std::string title;
};

struct LocalTime {
  int day = 0, month = 0, year = 0, hour = 0, minute = 0, second = 0;
};

class DebugLogBackend {
 public:
  virtual ~DebugLogBackend() = default;
  // Reads the program's own settings; false while the program has no settings file yet.
  virtual bool ReadSettings(DebugLogSettings& settings) = 0;
  // Opens [path] (creating it), appends the bytes at its end and closes it again.
  virtual bool Append(const std::string& path, const char* bytes, size_t length) = 0;
  // Tells the user that [path] could not be opened (the log is off from then on).
  virtual void ReportFailure(const std::string& path) = 0;
  virtual LocalTime Now() = 0;
};

class DebugLog {
 public:
  explicit DebugLog(DebugLogBackend& backend) : backend_(backend) {}

  void LogText(const char* text);
  void LogText(const std::string& text) { LogText(text.c_str()); }
  void LogLong(int32_t value);
  void LogInt(int value);
  // A dump of [length] bytes: with [withCodes] 12 bytes a line as "%3d %c  ", else 64 bytes
  // a line as plain characters; bytes below 32 show as '.'.
  void LogDump(const unsigned char* bytes, int length, bool withCodes);

  // True once the settings have been read and say the log is on. Decides on first call.
  bool Enabled();
  const std::string& OutputPath() const { return outputPath_; }

 private:
  void Decide();
  void Write(const char* text);

  DebugLogBackend& backend_;
  int enabled_ = -1;  // -1 undecided, 0 off, 1 on
  std::string outputPath_ = "C:\\DEBUG.DBG";
};
