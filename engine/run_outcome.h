// How a run ends and what it leaves for the administrator: the verdict that becomes the
// interpreter's exit code, the time limit of /TIMEOUT:, and the installation log of /LOG:.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "support/run_switches.h"  // RunVerdict

struct Interpreter;


// What decides the verdict, gathered while the run goes on.
struct RunOutcome {
  bool scriptError = false;
  bool cancelled = false;
  bool timedOut = false;
  bool restartNeeded = false;  // files were queued for replacement at restart
  uint64_t deadline = 0;       // Platform::Milliseconds() at which the run ends; 0: no limit
  uint32_t timeoutSeconds = 0;
};

// Where the recording and the installation log go: a file that each text is appended to.
class TextSink {
 public:
  virtual ~TextSink() = default;
  virtual void Append(const std::string& text) = 0;
};

// The installation log: one line per thing the run changed (files copied or kept and why,
// folders, INI and registry values, shortcuts, registrations, queued replacements), the
// answers that nobody gave, errors, and the verdict. Without /LOG: it has no sink and each
// call is one test: nothing is put together.
class InstallLog {
 public:
  void Attach(TextSink* sink) { sink_ = sink; }
  bool Enabled() const { return sink_ != nullptr; }

  template <typename... Parts>
  void Note(const Parts&... parts) {
    if (!sink_) return;
    std::string line;
    (line.append(std::string_view(parts)), ...);
    Write(line);
  }

 private:
  // Control characters (a message's line breaks) are written as "^" and three digits
  // (ShowControlCharacters), so that every entry is one line.
  void Write(const std::string& line);
  TextSink* sink_ = nullptr;
};

// Starts the time limit of /TIMEOUT: (0 seconds: none).
void StartTimeLimit(Interpreter& ip, uint32_t seconds);
// True once the time limit has passed; the first time, the run is ended (every script file is
// closed, as STOP does) and the log says where it stood. Waits ask this between their steps.
bool TimeLimitReached(Interpreter& ip);

// The verdict of the run that has ended, noted in the installation log.
int FinishRun(Interpreter& ip);
