// Text files (INI, start-up batch and configuration files) edited as a whole: the file is held
// exclusively while its lines are read and the new lines written to a work file beside it; the
// work file takes the file's place only when it is complete, so a full volume or a failed write
// leaves the file as it was.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DebugLog;

class TextFileEdit {
 public:
  enum class OpenResult { Opened, Missing, Locked };
  enum class SaveResult { Saved, NoWorkFile, WriteFailed, ReplaceFailed };

  explicit TextFileEdit(DebugLog& log) : log_(log) {}
  TextFileEdit(const TextFileEdit&) = delete;
  TextFileEdit& operator=(const TextFileEdit&) = delete;
  ~TextFileEdit() { Close(); }

  // Opens [path] for reading and writing with no sharing and reads its lines, each whole.
  // Locked: the file exists but cannot be opened so, or carries the read-only attribute (which
  // Wine run by root would otherwise let through), unless [evenReadOnly] is set.
  OpenResult Open(const std::string& path, bool evenReadOnly = false);
  const std::vector<std::string>& Lines() const { return lines_; }

  // Puts [lines] (each ended by CR LF) in the file's place, keeping its attributes; the file is
  // released either way. Nothing is written when the content stays the same. A failure leaves
  // the file unchanged and says in the debug log what happened and where the work file is.
  SaveResult Save(const std::vector<std::string>& lines);

 private:
  void Close();

  DebugLog& log_;
  std::string path_;
  std::string original_;
  DWORD attributes_ = 0;
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::vector<std::string> lines_;
};

// Creates the new file [path] holding [lines]; false (and no file left behind) when it cannot
// be created or written in full.
bool CreateTextFile(const std::string& path, const std::vector<std::string>& lines);

// True when [path] carries the read-only attribute.
bool IsReadOnlyFile(const std::string& path);
