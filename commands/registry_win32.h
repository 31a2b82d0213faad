// Registry values as scripts and the interpreter write them.
#pragma once

#include <string>

// Creates or opens the key and sets the string value. 1 when the key cannot be created or
// opened, else 0 (a failure to set the value is not reported).
int WriteRegString(int rootCode, const std::string& key, const std::string& valueName, const std::string& text);
