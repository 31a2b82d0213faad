// What the configuration commands' tests share: fresh scratch folders, registry values read
// straight through the registry API or exported by regedit, the small volume made full, and a
// key that its users may only read.
#pragma once

#include <windows.h>

#include <string>

#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"

inline std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// C:\qstests\NAME\ emptied of files.
std::string FreshFolder(const std::string& name);

// A string or number value read with the registry API alone; "<none>" / -1 when missing.
std::string RegValueText(HKEY root, const std::string& key, const std::string& name, DWORD* type = nullptr);
long RegValueNumber(HKEY root, const std::string& key, const std::string& name);
bool RegKeyExists(HKEY root, const std::string& key);
void SetRegText(HKEY root, const std::string& key, const std::string& name, const std::string& text, DWORD type = REG_SZ);
void RemoveRegTree(HKEY root, const std::string& key);

// The key exported by "regedit /E" (the .reg text made narrow): a reader of its own.
std::string RegeditExport(const std::string& key);

// Makes drive S: (the session's 1 MB volume) full but for [spare] bytes, rounded to its
// clusters; false when S: is not that small volume (the session was not run as root).
bool FillSmallVolume(DWORD spare);

// HKEY_CURRENT_USER\[key] made anew with the value "Name" = "stored" and 7 in "Number", whose
// access list grants its users reading (and deleting the key) only.
void MakeReadOnlyKey(const std::string& key);
