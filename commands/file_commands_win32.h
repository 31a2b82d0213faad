// The file and directory commands: existence, deletion, renaming, directories, attributes,
// dates, lengths, versions, searches, modules in use, free space and APPENDFILE(.
#pragma once

#include <string>

#include "engine/executor.h"

class DebugLog;

// The families behind AddFileCommands: dates and lengths, and the questions about files.
void AddFileDateCommands(CommandTable& table);
void AddFileQueryCommands(CommandTable& table);

// Removes the directory tree [path]; [mode] bit 2 clears read-only flags first. 0 removed, 1 not.
int RemoveTree(DebugLog& log, const std::string& path, int32_t mode);

// 0 when the file is not in use by a running program, 1 when it is, 3..10 when the running
// programs could not be examined.
int GetModuleInUse(Interpreter& ip, const std::string& path);
