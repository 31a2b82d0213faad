// Registry values as the programs and the scripts read and write them, by root code. One set of
// helpers for the settings key, the interpreter's own records and the registry commands.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

// Registry root codes as scripts and settings name them: 2 HKEY_CURRENT_USER,
// 3 HKEY_LOCAL_MACHINE, 4 HKEY_USERS, 5 HKEY_PERFORMANCE_DATA, 6 HKEY_CURRENT_CONFIG,
// 7 HKEY_DYN_DATA; any other code HKEY_CLASSES_ROOT.
HKEY RegistryRoot(int rootCode);
// The name of the root of [rootCode] ("HKEY_LOCAL_MACHINE"), as the logs write it.
const char* RegistryRootName(int rootCode);

// The longest string value a read returns; a longer value is cut there.
constexpr size_t kMaxRegString = 255;

// Creates or opens the key (read, create-subkey and set-value access) and sets the value: a
// zero-terminated string (REG_SZ, or the REG_EXPAND_SZ a rewritten value had), or a 32-bit
// number. 1 when the key cannot be created or opened, else 0 (a failure to set the value is not
// reported).
int WriteRegString(int rootCode, const std::string& key, const std::string& valueName, const std::string& text,
                   DWORD type = REG_SZ);
int WriteRegNumber(int rootCode, const std::string& key, const std::string& valueName, int32_t number);

// The string value, cut at kMaxRegString, or [defaultValue] when the key or the value is missing.
// The key is opened with write access as well, so a key the user may only read gives the
// default. [keyOpened], when given, tells whether the key could be opened.
std::string ReadRegString(int rootCode, const std::string& key, const std::string& valueName,
                          const std::string& defaultValue, bool* keyOpened = nullptr);
// The string value whole, however long, for a value that is read to be written back (a cut
// one would lose its end); [type], when given, receives its type (REG_SZ when it is missing).
std::string ReadRegLongString(int rootCode, const std::string& key, const std::string& valueName,
                              const std::string& defaultValue, DWORD* type = nullptr);
// The 32-bit value, or [defaultValue] (opened as ReadRegString opens it).
int32_t ReadRegNumber(int rootCode, const std::string& key, const std::string& valueName, int32_t defaultValue);

// Reads a string value (cut as above) through a key opened with [access] only; false when the
// key or the value is missing.
bool ReadRegText(HKEY root, const std::string& key, const std::string& valueName, REGSAM access, std::string& text);

// With a value name: deletes that value (1 when the key cannot be opened). With an empty value
// name: deletes the key with everything below it (DeleteRegTree). 0 otherwise.
int DeleteRegEntry(int rootCode, const std::string& key, const std::string& valueName);
// Deletes [key] under [parent] with all its subkeys. An empty key name is refused with
// ERROR_BADKEY (the root itself is never deleted). Returns the first failure, or ERROR_SUCCESS.
LONG DeleteRegTree(HKEY parent, const std::string& key);
