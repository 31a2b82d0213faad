// Directories as the installer makes and removes them.
#pragma once

#include <string>

class DebugLog;

// Creates [path] with its missing parents. 0 when it was created, 2 when it existed already,
// 1 when it could not be made (a probe file is created in it to tell).
int MakeDirectory(DebugLog& log, const std::string& path);
