// The INI family's text edit that other families use too: the Windows 95 family's WININIT.INI
// takes its "Rename" lines through it.
#pragma once

#include <string>

class DebugLog;

// Adds "key=value" to [section] of the INI file [file] (a name without a backslash is the
// Windows directory's) even when the key is there already, through a work file beside it.
// True when the file was written.
bool WriteMultiProfileEntry(DebugLog& log, const std::string& file, const std::string& section, const std::string& key,
                            const std::string& value);
