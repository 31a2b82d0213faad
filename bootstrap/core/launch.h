// The bootstrap's folders, its interpreter command line and its messages, as plain text work.
// Portable.
#pragma once

#include <string>
#include <string_view>

#include "support/run_switches.h"  // IsSilent

// The folder of the running SETUP.EXE from its module file name: cut at the last backslash; a
// bare drive ("A:") gets its backslash back ("A:\").
std::string SourceFolderOf(std::string_view modulePath);
// The form in which the source folder is made current: upper-cased, and without a trailing
// backslash unless it is a drive root.
std::string CurrentDirectoryForm(std::string_view folder);
// [windowsDirectory] with a backslash, then [name] and a backslash ("C:\WINDOWS\TEMP\").
std::string WorkFolder(std::string_view windowsDirectory, std::string_view name);

// What follows the program name on a command line (the name quoted or not), without the blanks
// before it.
std::string ArgumentsOf(std::string_view commandLine);

// "<program folder>TALVEN.EXE <temporary folder>SETUP.QLS /DIR:"<source>"" upper-cased, then a
// blank and the bootstrap's own arguments unchanged when it has any.
std::string InterpreterCommandLine(std::string_view programFolder, std::string_view temporaryFolder,
                                   std::string_view sourceDirectory, std::string_view arguments);

// [message] with "%1" and "%2" replaced by [first] and [second], in one pass: a value that holds
// "%2" itself is not replaced again.
std::string FillMessage(std::string_view message, std::string_view first, std::string_view second = {});
// The folder message with every "#Folder#" (in any case) replaced by [folder].
std::string FolderMessage(std::string_view message, std::string_view folder);
