// What the portable script engine asks of the machine it runs on. The interpreter program
// implements it with the Win32 API; the native tests and the fuzz targets with fakes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct WindowsVersionInfo {
  unsigned major = 0;
  unsigned minor = 0;
  unsigned platformId = 0;  // bit 0: the Windows 95 family; bit 1: the NT family
};

// An open script file: its bytes, read once, and whatever keeps the file open meanwhile.
class ScriptSource {
 public:
  virtual ~ScriptSource() = default;
  std::vector<char> bytes;
};

// Message-box styles and answers as the Windows message box knows them.
enum MessageStyle : unsigned {
  MSG_OK = 0, MSG_OKCANCEL = 1, MSG_ABORTRETRYIGNORE = 2, MSG_YESNOCANCEL = 3, MSG_YESNO = 4,
  MSG_RETRYCANCEL = 5, MSG_ICONSTOP = 16, MSG_ICONQUESTION = 32, MSG_ICONEXCLAMATION = 48,
  MSG_ICONINFORMATION = 64,
};
enum MessageAnswer : int { ANSWER_OK = 1, ANSWER_CANCEL = 2, ANSWER_YES = 6, ANSWER_NO = 7 };

class Platform {
 public:
  virtual ~Platform() = default;

  // System facts.
  virtual WindowsVersionInfo Version() = 0;
  virtual std::string Environment(const std::string& name) = 0;
  virtual std::string ResourceText(int id) = 0;
  virtual std::string CurrentDirectory() = 0;
  virtual std::string WindowsDirectory() = 0;
  virtual std::string SystemDirectory() = 0;
  virtual std::string ProgramPath() = 0;
  virtual std::string DesktopFolder() = 0;
  virtual std::string ReadRegistryString(int rootCode, const std::string& key, const std::string& value,
                                         const std::string& defaultValue) = 0;
  // WIN.INI, the system's profile.
  virtual int ProfileInt(const std::string& section, const std::string& key, int defaultValue) = 0;
  virtual std::string ProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue) = 0;
  virtual bool FileExists(const std::string& pattern) = 0;
  virtual std::string VolumeLabel(const std::string& drive) = 0;

  // Opens a script for reading, others may read and write it meanwhile; nullptr on failure.
  virtual std::unique_ptr<ScriptSource> OpenScriptFile(const std::string& path) = 0;

  // The system's locale-aware, case-sensitive comparison, and its case mappings.
  virtual int CompareText(const std::string& a, const std::string& b) = 0;
  virtual std::string UpperText(const std::string& text) = 0;
  virtual std::string LowerText(const std::string& text) = 0;

  // The one message box of the interpreter; [helpId] -1 for none.
  virtual int ShowMessage(const std::string& text, const std::string& title, unsigned style, int helpId) = 0;
  virtual void SetBusyCursor(bool on) = 0;
  // Closes the bootstrap's "Setup" window, when there is one.
  virtual void HideSetupWindow() = 0;
  // Around a question to the user: the copy gauge and the wait message step aside.
  virtual void BeginUserPrompt() = 0;
  virtual void EndUserPrompt() = 0;
  // Lets the windows handle what is waiting for them (repaints, buttons).
  virtual void PumpMessages() = 0;
  // The same at a steady pace: a clock check, and a drain only every few milliseconds.
  virtual void PumpMessagesPaced() = 0;
  virtual bool CopyGaugeOpen() = 0;
  virtual void CloseCopyGauge() = 0;
  // A clock for time limits: milliseconds since some fixed moment, never going back.
  virtual uint64_t Milliseconds() = 0;
};
