// Line splitting for 8-bit text files whose lines end in CR LF. Portable; the Win32
// ReadTextLine and the script reader both cut lines with it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TextLineSpan {
  size_t length;    // bytes of the line, without its CR LF
  size_t consumed;  // bytes to move past: the line and its CR LF when it has one
};

// Finds the line that starts at [data]. A CR not followed by LF, and a lone LF, belong to the
// line. A line longer than [maxLength] is cut there; its rest is the next line. The CR LF that
// directly follows a line of exactly [maxLength] bytes still ends that line.
TextLineSpan ScanTextLine(const char* data, size_t available, size_t maxLength);

// The lines of a whole text file as ScanTextLine finds them, each kept whole whatever its
// length (the text edits rewrite files, and a line cut in two would be two lines afterwards).
std::vector<std::string> SplitTextLines(std::string_view bytes);
// The lines joined again, each followed by CR LF.
std::string JoinTextLines(const std::vector<std::string>& lines);
