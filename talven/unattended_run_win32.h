// TALVEN.EXE's side of unattended installations: the answer file read before the script
// starts, and the recording and the installation log written as the run goes.
#pragma once

#include <memory>
#include <string>

#include "engine/main_loop.h"

class Win32DebugLogBackend;

// A file that each text is appended to as it comes (so that a run that is ended leaves what it
// wrote so far); with [stamped] each text is a line with the time before it.
class AppendedFile : public TextSink {
 public:
  AppendedFile(std::string path, bool stamped) : path_(std::move(path)), stamped_(stamped) {}
  void Append(const std::string& text) override;

 private:
  std::string path_;
  bool stamped_;
};

struct UnattendedFiles {
  std::unique_ptr<AppendedFile> record;
  std::unique_ptr<AppendedFile> log;
};

// Sets the run up as [options] asks: the installation log and the recording begun (files named
// relative to the current directory), the answer file read, the answer source configured, the
// time limit started. In a run that nobody watches the debugger stays off and the debug log
// reports no failure in a box. False when the answer file cannot be used: the user has been
// told (or the log, when nobody watches) and the script must not run.
bool BeginUnattendedRun(Interpreter& ip, StartupOptions& options, UnattendedFiles& files,
                        Win32DebugLogBackend& logBackend);
