// The run's de-install script while it is open, and its closing (CLOSEDEINSTALL() and the
// interpreter's shut-down).
#pragma once

#include <windows.h>

#include <string>

#include "commands/deinstall_script.h"

// The file is kept open from OPENDEINSTALL( on (others may read it, not write it); the sections
// stay in memory and are written out when it is closed.
struct DeinstallFile {
  bool open = false;
  HANDLE file = INVALID_HANDLE_VALUE;
  std::string path;  // full path, so that a later CHDIR( does not move it
  DeinstallScript script;
};

// Writes the open script out and closes it. The new text is written beside the file and takes
// its place only when complete, so a full volume leaves the earlier script whole. True when it
// was written, or was not open.
bool CloseDeinstallScript(Interpreter& ip);
