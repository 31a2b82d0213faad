// The Win32 half of the support library: settings in the registry, temporary names, text
// files, file searches, volume labels, the message pump and the one message-box function.
#pragma once

#include <windows.h>

#include <string>

#include "support/debug_log.h"
#include "support/registry_win32.h"

// The program's settings key (string resource 215) followed by "\" and [name].
std::string SettingsKey(const std::string& name);
// A registry string value, or [defaultValue] when the key or the value is missing.
std::string ReadSetting(int rootCode, const std::string& subKey, const std::string& valueName,
                        const std::string& defaultValue);
// A number setting: a 32-bit value, or the leading number of a string value; [defaultValue]
// when the key or the value is missing. The key is opened for reading only.
int32_t ReadSettingNumber(int rootCode, const std::string& subKey, const std::string& valueName, int32_t defaultValue);

std::string WindowsDirectory();
std::string SystemDirectory();
std::string TempDirectory();
// [directory] followed by a name made from the current UTC time that no file has yet.
std::string MakeTempName(const std::string& directory);
std::string FreshTempName();

// Reads one line (ending in CR LF, both dropped) of at most size - 1 bytes into [buffer].
// A longer line is cut and its rest comes back as the next line. False only at the end of the
// file, when not even one byte could be read.
bool ReadTextLine(HANDLE file, char* buffer, int size);
bool WriteTextLine(HANDLE file, const std::string& text);

bool FileExists(const std::string& pattern);
// The path by its short (8.3) names where the file system has them; the path itself otherwise.
std::string ShortPathName(const std::string& path);
// Deletes every file that matches [pattern] in its directory; returns how many went.
int DeleteMatching(const std::string& pattern);
// The volume label of drive letter [drive] ("" for the current drive's root).
std::string VolumeLabel(const std::string& drive);

// A DDE management instance for a client only (its callback handles nothing); 0 when the
// library could not be initialised. EndDdeClient(0) does nothing.
DWORD StartDdeClient();
void EndDdeClient(DWORD instance);

// The whole of a file of at most [limit] bytes; false when it cannot be read (or is longer).
bool ReadWholeFile(const std::string& path, std::string& bytes, DWORD limit = 1 << 20);
// Makes [path] an empty file (replacing what it held). False when it cannot be made.
bool MakeEmptyFile(const std::string& path);
// Appends [bytes] at the end of [path], creating it when it does not exist (others may read and
// write it meanwhile). False when it cannot be opened.
bool AppendToFile(const std::string& path, const std::string& bytes);
// Appends [line] with the local time before it ("14:02:11 ") and CR LF after it: a line of the
// installation log.
bool AppendLogLine(const std::string& path, const std::string& line);

// Dispatches every waiting window message and returns when the queue is empty.
void PumpMessages();
// PumpMessages, but only when the last drain is kPumpIntervalMs old: asking the message queue
// costs a round trip to the window server, too much for every copy block or script line. The
// time of the last drain is the process's, so that a run of short steps drains too.
constexpr DWORD kPumpIntervalMs = 15;
void PumpMessagesPaced();

// The one message box of the programs. Every prompt, error and notice goes through here.
// [helpId] is the box's help context, -1 for none.
int ShowMessageBox(HWND owner, const std::string& text, const std::string& title, UINT style, int helpId = -1);

// The program's command line without the program's own name (quoted or not).
std::string ProgramArguments();

// The string resource [id] of the running program, empty when there is none.
std::string LoadResourceText(UINT id);

// The DebugLog's Win32 side: the program's INI file (its base name with ".INI", found by the
// profile functions in the Windows directory), and the log file opened, appended and closed
// per write. [exclusive] opens the log with no sharing (the interpreter does).
class Win32DebugLogBackend : public DebugLogBackend {
 public:
  explicit Win32DebugLogBackend(bool exclusive) : exclusive_(exclusive) {}
  // Makes the settings known; before this, a trace goes to C:\DEBUG.DBG unconditionally.
  void AttachSettings(const std::string& iniFileName, const std::string& title);
  // In a run that nobody watches, a log file that cannot be written is not reported in a box.
  void SetQuiet(bool quiet) { quiet_ = quiet; }

  bool ReadSettings(DebugLogSettings& settings) override;
  bool Append(const std::string& path, const char* bytes, size_t length) override;
  void ReportFailure(const std::string& path) override;
  LocalTime Now() override;

 private:
  bool exclusive_;
  bool quiet_ = false;
  std::string iniFileName_;
  std::string title_;
};

// The program's own INI file name: the executable's base name with the extension ".INI".
std::string ProgramIniFileName();
