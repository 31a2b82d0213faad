// A machine for the portable engine in native tests and fuzz targets: scripts and files in
// memory, message boxes recorded and answered from a queue, the debug log in a string.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/platform.h"
#include "support/debug_log.h"

struct ShownMessage {
  std::string text;
  std::string title;
  unsigned style;
};

class FakePlatform : public Platform {
 public:
  WindowsVersionInfo version{5, 1, 2};
  std::map<std::string, std::string> environment;
  std::map<std::string, std::string> files;  // upper-cased path -> bytes
  std::map<std::string, std::string> registry;  // "root|key|value" -> data
  std::map<std::string, std::string> profile;   // "section|key" -> WIN.INI value
  std::map<std::string, std::string> volumeLabels;  // drive letter -> label
  std::set<std::string> existingPatterns;
  std::string currentDirectory = "C:\\SETUP";
  std::string windowsDirectory = "C:\\WINDOWS";
  std::string systemDirectory = "C:\\WINDOWS\\system32";
  std::string desktopFolder = "C:\\Documents and Settings\\User\\Desktop";
  std::deque<int> answers;  // message-box answers in order, then [defaultAnswer]
  int defaultAnswer = ANSWER_OK;
  std::vector<ShownMessage> messages;
  int setupWindowHidden = 0;
  int promptsBegun = 0;
  int pumps = 0;
  bool copyGaugeOpen = false;
  std::function<void()> onPacedPump;  // what a window does while the run lets them breathe

  void AddFile(const std::string& path, const std::string& bytes);

  WindowsVersionInfo Version() override { return version; }
  std::string Environment(const std::string& name) override;
  std::string ResourceText(int id) override;
  std::string CurrentDirectory() override { return currentDirectory; }
  std::string WindowsDirectory() override { return windowsDirectory; }
  std::string SystemDirectory() override { return systemDirectory; }
  std::string ProgramPath() override { return windowsDirectory + "\\KVLSOFT\\TALVEN.EXE"; }
  std::string DesktopFolder() override { return desktopFolder; }
  std::string ReadRegistryString(int rootCode, const std::string& key, const std::string& value,
                                 const std::string& defaultValue) override;
  int ProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
  std::string ProfileString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
  bool FileExists(const std::string& pattern) override { return existingPatterns.count(pattern) > 0; }
  std::string VolumeLabel(const std::string& drive) override;
  std::unique_ptr<ScriptSource> OpenScriptFile(const std::string& path) override;
  int CompareText(const std::string& a, const std::string& b) override { return a.compare(b); }
  std::string UpperText(const std::string& text) override;
  std::string LowerText(const std::string& text) override;
  int ShowMessage(const std::string& text, const std::string& title, unsigned style, int helpId) override;
  void SetBusyCursor(bool) override {}
  void HideSetupWindow() override { ++setupWindowHidden; }
  void BeginUserPrompt() override { ++promptsBegun; }
  void EndUserPrompt() override {}
  void PumpMessages() override { ++pumps; }
  void PumpMessagesPaced() override {
    if (onPacedPump) onPacedPump();
  }
  bool CopyGaugeOpen() override { return copyGaugeOpen; }
  void CloseCopyGauge() override { copyGaugeOpen = false; }
  // The clock moves only when a test moves it, or by [tick] at every reading.
  uint64_t now = 0;
  uint64_t tick = 0;
  uint64_t Milliseconds() override { return now += tick; }
};

// The debug log into a string, switched on.
class MemoryLogBackend : public DebugLogBackend {
 public:
  std::string text;
  bool enabled = true;
  bool ReadSettings(DebugLogSettings& settings) override {
    settings.enabled = enabled;
    settings.title = "Setup";
    return true;
  }
  bool Append(const std::string&, const char* bytes, size_t length) override {
    text.append(bytes, length);
    return true;
  }
  void ReportFailure(const std::string&) override {}
  LocalTime Now() override { return {8, 12, 2026, 9, 30, 0}; }
};
