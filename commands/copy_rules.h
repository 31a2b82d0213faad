// The copy commands' rules that need no machine: reading the parameters of the COPYFILE forms,
// the names a copy resolves, backup names, the overwrite decision and the overwrite question's
// text. The Win32 copy engine acts on what these decide.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "commands/date_time.h"

struct Interpreter;
struct TokenLine;
class DebugLog;

// A COPYFILE statement as read from its line.
struct CopyRequest {
  bool blockForm = false;  // COPYFILE(total): opens the copy gauge
  int32_t total = 0;
  std::string source, target, description;
  int32_t expand = 1, append = 0, move = 0;
};

// Reads COPYFILE( at the line's cursor, or with [listForm] a copy-list line (source, target,
// description) whose first token is at the cursor. 0, or 10019 / 10020 with paramNo set.
int ReadCopyRequest(Interpreter& ip, TokenLine& line, bool listForm, CopyRequest& request);

// Up to [count] optional number literals at [index], [index] + 2, ...: each position holds a
// number literal or the line has ended before it. 0, or 10020 with paramNo set.
int ReadOptionalNumbers(Interpreter& ip, TokenLine& line, int index, int firstParamNo, int32_t* values, int count);

// The folder a copy reads from: the source's directory part, or [currentDirectory] when it has
// none (at most 256 characters), ending in a backslash.
std::string CopySourceDirectory(const std::string& source, const std::string& currentDirectory);
// A target with no "." anywhere names a directory: it gets a trailing backslash.
std::string CopyTargetName(const std::string& target);

// The first of [path] with its last "." onwards replaced by ".001", ".002", ... that no file
// has. A path without any "." gets the number after the whole name ("MAIN" gives "MAIN.001").
std::string BackupName(const std::string& path, const std::function<bool(const std::string&)>& fileExists);

// One file of CONFIRMOVERWRITE(, as the directory search and the version query found it.
struct OverwriteFile {
  std::string name;         // the parameter as given
  int64_t timeValue = 0;    // last write, seconds since 1970
  DateTime written;         // last write, local time
  uint64_t size = 0;
  bool hasVersion = false;
  std::string versionText;  // "1.0.0.1"; empty without a version
};

enum class OverwriteStep { Replace, Keep, Ask };

// What CONFIRMOVERWRITE( does with two existing files in [mode] (0 always ask, 2 never
// replace by an older file, other values ask when the new file is older), traced into [log].
// [versionOrder] ranks the new file's version against the existing one's (below 0 older, 0 the
// same, above 0 newer) and counts only when both have a version. [existingWritable] is asked
// only when the decision still depends on it.
OverwriteStep DecideOverwrite(DebugLog& log, const OverwriteFile& existing, const OverwriteFile& newer,
                              int versionOrder, int32_t mode, const std::function<bool()>& existingWritable);

// The question's text: [message], or [defaultText] (string resource 1200) when that is empty,
// with "|" as line breaks and the $OLDFILE$ ... $NEWVER$ placeholders filled. Dates are written
// MM/DD/YY for US English ([languageIndex] 1), else DD/MM/YY.
std::string OverwritePrompt(DebugLog& log, const std::string& message, const std::string& defaultText,
                            int languageIndex, const OverwriteFile& existing, const OverwriteFile& newer);
