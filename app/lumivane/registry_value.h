// Reading one registry value as text, the way the about box looks up the system-information
// tool.
#pragma once

#include <windows.h>

#include <string>

// Reads value [valueName] of key [keyName] under [root] into [value]. A string value loses
// its terminating NUL when it was stored with one; a 32-bit number becomes "&h" followed by
// its bytes in hexadecimal, highest first. False, with [value] empty, when the key cannot be
// opened or the value cannot be read.
bool GetKeyValue(HKEY root, const std::string& keyName, const std::string& valueName,
                 std::string& value);

// The path of the system-information tool from the two places it is registered, or "".
std::string FindSysInfoPath();
