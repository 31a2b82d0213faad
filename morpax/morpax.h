// The de-installer program's pieces that need the whole system.
#pragma once

#include <windows.h>

#include "engine/executor.h"
#include "morpax/core/deinstall_plan.h"

// The command families the de-installer runs its lines with: the portable ones (SET, the
// language) and the machine families whose removal commands a de-install script may hold.
CommandTable DeinstallerCommandTable();

// How a de-installation ended; the program's exit code.
enum DeinstallResult : int {
  DEINSTALL_DONE = 0,      // everything went, or goes at the next start
  DEINSTALL_DECLINED = 1,  // the user said No: nothing was removed
  DEINSTALL_REFUSED = 2,   // the script could not be read or holds a line not run: nothing was removed
  DEINSTALL_PARTLY = 3,    // some items could not be removed; they are reported
};

// Reads the script, checks it, asks, removes and reports.
DeinstallResult RunDeinstaller(Interpreter& ip, const DeinstallerOptions& options);
