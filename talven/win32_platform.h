// The engine's view of the machine, made of real Win32 calls.
#pragma once

#include <windows.h>

#include "engine/platform.h"
#include "support/win32.h"

class InstallerWindows;

class Win32Platform : public Platform {
 public:
  explicit Win32Platform(InstallerWindows& windows) : windows_(windows), lastTick_(GetTickCount()) {}

  WindowsVersionInfo Version() override;
  std::string Environment(const std::string& name) override;
  std::string ResourceText(int id) override;
  std::string CurrentDirectory() override;
  std::string WindowsDirectory() override;
  std::string SystemDirectory() override;
  std::string ProgramPath() override;
  std::string DesktopFolder() override;
  std::string ReadRegistryString(int rootCode, const std::string& key, const std::string& value,
                                 const std::string& defaultValue) override;
  int ProfileInt(const std::string& section, const std::string& key, int defaultValue) override;
  std::string ProfileString(const std::string& section, const std::string& key, const std::string& defaultValue) override;
  bool FileExists(const std::string& pattern) override;
  std::string VolumeLabel(const std::string& drive) override;
  std::unique_ptr<ScriptSource> OpenScriptFile(const std::string& path) override;
  int CompareText(const std::string& a, const std::string& b) override;
  std::string UpperText(const std::string& text) override;
  std::string LowerText(const std::string& text) override;
  int ShowMessage(const std::string& text, const std::string& title, unsigned style, int helpId) override;
  void SetBusyCursor(bool on) override;
  void HideSetupWindow() override;
  void BeginUserPrompt() override;
  void EndUserPrompt() override;
  void PumpMessages() override { ::PumpMessages(); }
  void PumpMessagesPaced() override { ::PumpMessagesPaced(); }
  bool CopyGaugeOpen() override;
  void CloseCopyGauge() override;
  uint64_t Milliseconds() override;

  bool BusyCursor() const;

 private:
  InstallerWindows& windows_;
  bool versionKnown_ = false;
  DWORD lastTick_ = 0;
  uint64_t ticks_ = 0;
  WindowsVersionInfo version_;
};

// The bootstrap's "Setup" window: the first top-level window of that title that belongs to
// another process (the interpreter's own windows may carry the same title).
HWND FindSetupWindow();
