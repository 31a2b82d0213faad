#include "support/text_lines.h"

TextLineSpan ScanTextLine(const char* data, size_t available, size_t maxLength) {
  size_t i = 0;
  for (; i < available; ++i) {
    if (data[i] == '\r' && i + 1 < available && data[i + 1] == '\n') return {i, i + 2};
    if (i == maxLength) return {i, i};
  }
  return {i, i};
}

std::vector<std::string> SplitTextLines(std::string_view bytes) {
  std::vector<std::string> lines;
  while (!bytes.empty()) {
    const TextLineSpan line = ScanTextLine(bytes.data(), bytes.size(), bytes.size());
    lines.emplace_back(bytes.substr(0, line.length));
    bytes.remove_prefix(line.consumed);
  }
  return lines;
}

std::string JoinTextLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text.append(line).append("\r\n");
  return text;
}
