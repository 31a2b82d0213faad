// The INI commands' rules that need no machine: ";"-lists in one entry, and the text edits for
// sections that hold the same key several times, where the profile functions cannot help.
#pragma once

#include <string>
#include <vector>

// The list [current] with [item] appended ("one;two" + "x" gives "one;two;x;"), or false when
// the list holds the item already (compared without regard to case).
bool AppendListItem(const std::string& current, const std::string& item, std::string& updated);

// The lines of an INI file with "key=value" added to [section] even when the key is there
// already: before the first empty line or the next section after the header, or at the end
// (with the header when the section is missing). A section holding a line that begins with the
// entry is left as it is.
std::vector<std::string> AddMultiEntry(const std::vector<std::string>& lines, const std::string& section,
                                       const std::string& key, const std::string& value);
// The lines without the lines of [section] that begin with "key=value"; other sections keep theirs.
std::vector<std::string> RemoveMultiEntry(const std::vector<std::string>& lines, const std::string& section,
                                          const std::string& key, const std::string& value);
