// Text helpers shared by the interpreter and the bootstrap. Portable: no Windows headers.
// Texts are 8-bit strings; case-blind comparisons fold the ASCII letters only.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Removes occurrences of [pad] from [text]: mode 'L' from the left end, 'R' from the right end,
// 'B' from both ends (repeatedly, while the text begins or ends with [pad]), 'A' every occurrence
// anywhere. The mode letter is compared without regard to case; any other mode changes nothing.
std::string Trim(std::string_view text, char mode, std::string_view pad);

// Replaces every occurrence of [find] in [text], left to right, without rescanning the
// inserted text. An empty [find] does nothing. Returns the number of replacements. A result
// longer than [maxLength] is cut there.
int ReplaceAll(std::string& text, std::string_view find, std::string_view replacement, bool exactCase,
               size_t maxLength = std::string::npos);

// Position of [find] in [text], searching forward from [start], or backward (the last
// occurrence that begins at or before [start]) when [backward] is set; -1 when not found.
int FindFrom(int start, std::string_view text, std::string_view find, bool backward, bool exactCase);

// Appends "\" unless the path already ends in one; an empty path becomes "\".
std::string EnsureBackslash(std::string_view path);

// The path up to and including its last backslash; empty when it has none.
std::string DirectoryPart(std::string_view path);

// The part after the last backslash, with trailing spaces removed.
std::string FileNamePart(std::string_view path);

char AsciiUpper(char c);
char AsciiLower(char c);
std::string UpperAscii(std::string_view text);
std::string LowerAscii(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
bool StartsWith(std::string_view text, std::string_view prefix);
bool EndsWith(std::string_view text, std::string_view suffix);

// The leading decimal number of [text]: optional blanks and sign, then digits, computed
// modulo 2^32 and read as a signed 32-bit value; 0 when there is none (like atol).
int32_t LeadingNumber(std::string_view text);

// [text] with each control character (and DEL) written as "^" and its three-digit code, as a
// script would write it ("a^009b"): one line, whatever the text holds.
std::string ShowControlCharacters(std::string_view text);

// "%ld" and "%d" without a format string.
std::string DecimalText(int64_t value);
