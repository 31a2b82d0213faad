// Files that are rewritten are written beside themselves first: the new content takes the old
// file's place in one step only when it is complete, so a failure part-way (a full volume, a
// read error) never leaves a truncated or missing file behind.
#pragma once

#include <string>

// A fresh work-file name in [target]'s own folder (same volume, so the final move is a rename).
// The name is reserved by an empty file of that name, which the caller overwrites or deletes.
std::string StagingNameFor(const std::string& target);

// Puts the complete file [staged] in [target]'s place (replacing it when it exists). True on
// success. On failure [target] is as it was, [staged] is still there, and GetLastError says why.
bool CommitStagedFile(const std::string& staged, const std::string& target);

// Writes [bytes] as the new content of [target] through a staged file beside it. True when the
// new content is in place; on failure [target] is as it was and no staged file is left.
bool ReplaceFileContents(const std::string& target, const std::string& bytes);
