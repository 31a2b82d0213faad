// How a copy's bytes reach its target without harming a file that is there: written beside it
// and put in its place in one step when complete, written over it in place when the volume has
// no room for both, or added to its end. A copy that fails leaves an existing target as it was;
// the one exception, a write that fails part-way over the file in place, is said in the trace.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "support/file_helpers_win32.h"

class DebugLog;
class CopyGaugeLink;

// The bytes of one copy and where its progress goes.
struct CopyJob {
  DebugLog& log;
  BlockSource& source;
  long length;           // bytes the source gives (expanded when expanding)
  CopyGaugeLink* gauge;  // none outside a copy block
  bool byteMode;         // the gauge follows the bytes of this file
  SYSTEMTIME date;       // the last-write time the copy receives
};

// A target as it was before the copy touched it.
struct TargetBefore {
  bool exists = false;
  DWORD attributes = 0;
  uint64_t size = 0;
  FILETIME written{};
};
TargetBefore LookAtTarget(const std::string& target);

// Writes the copy into a fresh work file in the target's folder and, when it is complete, puts
// that in the target's place. [noRoom] is set (and nothing is changed) when the work file could
// not be made or filled for want of room while a target exists, so that the caller may write
// over it in place instead.
int CopyBeside(const CopyJob& job, const std::string& target, const TargetBefore& before, bool& noRoom);

// Writes the copy over the existing target, for a volume that holds the new file only in the
// old one's place. The source is first read through once: a source that cannot be read whole
// leaves the target as it was.
int CopyInPlace(const CopyJob& job, const std::string& target, const TargetBefore& before);

// Adds the copy to the end of the existing target. A failure cuts the target back to its old
// length and last-write time.
int AppendTo(const CopyJob& job, const std::string& target, const TargetBefore& before);
