// The file copy engine: one file copied (expanded through the system's LZ functions when asked)
// with its free-space check, its date and the copy gauge, a source pattern copied file by file,
// and the resolution of a target name against what exists.
#pragma once

#include <windows.h>

#include <string>

class DebugLog;
class CopyGaugeLink;
class InstallLog;

// What one file copy ended with; CopyStatusError gives its script error.
enum CopyStatus : int {
  COPY_DONE = 0,
  COPY_SOURCE_MISSING = 1,  // 10015
  COPY_TARGET_FAILED = 2,   // 10045
  COPY_NO_SPACE = 3,        // 10014
  COPY_SAME_FILE = 4,       // 10018
  COPY_BAD_TARGET = 5,      // 10041
  COPY_READ_FAILED = 6,     // 10043
  COPY_WRITE_FAILED = 7,    // 10044
};
int CopyStatusError(int status);
// Notes one copy in the installation log: "Copied: ..." or "Not copied: ..." with the reason.
void NoteCopy(InstallLog& installLog, const std::string& source, const std::string& target, int status);

// Copies [source] to [target] in 1024-byte blocks. [attributes] are the target's at the end (0
// for normal); [gauge], when given, shows the names in its source and target lines and the
// progress in its bar (byte mode when its maximum is 1, else one step per file). Expands when
// [expand] is set and [append] is not. The space of a target being replaced counts as free; a
// copy that fails leaves an existing target as it was and no partial new one
// (copy_target_win32.h).
int FCopyFile(DebugLog& log, const std::string& source, const std::string& target, DWORD attributes,
              CopyGaugeLink* gauge, bool append, bool expand);

// Copies every file that matches [pattern] (names beginning with "." and folders left out)
// from [sourceDirectory] to [target], resolved by ValidateName; with [move] each source is
// deleted once copied. Stops at the first failure (the empty file that resolving its name made
// goes again). 0 or the script error of that failure. Each file goes into [installLog] when one
// is given.
int BlockCopy(DebugLog& log, const std::string& pattern, const std::string& sourceDirectory, const std::string& target,
              CopyGaugeLink* gauge, bool expand, bool append, bool move, InstallLog* installLog = nullptr);

// [resolved] = [target] when that names a file that can be opened or created (an empty one is
// created), else [target] with a backslash and [found] after it when that can. 0 or 5.
// [created], when given, tells whether the empty file was made here.
int ValidateName(DebugLog& log, const std::string& found, const std::string& target, std::string& resolved,
                 bool* created = nullptr);
