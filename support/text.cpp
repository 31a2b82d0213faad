#include "support/text.h"

#include <algorithm>
#include <cstdint>

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string UpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiUpper(c);
  return out;
}

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

static bool SameAt(std::string_view text, size_t at, std::string_view find, bool exactCase) {
  if (at + find.size() > text.size()) return false;
  if (exactCase) return text.compare(at, find.size(), find) == 0;
  for (size_t i = 0; i < find.size(); ++i)
    if (AsciiUpper(text[at + i]) != AsciiUpper(find[i])) return false;
  return true;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && SameAt(a, 0, b, false);
}

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool EndsWith(std::string_view text, std::string_view suffix) {
  return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

std::string Trim(std::string_view text, char mode, std::string_view pad) {
  mode = AsciiUpper(mode);
  if (pad.empty()) return std::string(text);
  if (mode == 'A') {
    std::string out(text);
    ReplaceAll(out, pad, "", true);
    return out;
  }
  if (mode == 'L' || mode == 'B')
    while (StartsWith(text, pad)) text.remove_prefix(pad.size());
  if (mode == 'R' || mode == 'B')
    while (EndsWith(text, pad)) text.remove_suffix(pad.size());
  return std::string(text);
}

int ReplaceAll(std::string& text, std::string_view find, std::string_view replacement, bool exactCase,
               size_t maxLength) {
  if (find.empty()) return 0;
  std::string out;
  int count = 0;
  size_t copied = 0;
  for (size_t at = 0; at + find.size() <= text.size() && out.size() <= maxLength;) {
    if (SameAt(text, at, find, exactCase)) {
      out.append(text, copied, at - copied);
      out.append(replacement);
      at += find.size();
      copied = at;
      ++count;
    } else {
      ++at;
    }
  }
  if (count == 0) return 0;
  if (out.size() <= maxLength) out.append(text, copied, std::string::npos);
  if (out.size() > maxLength) out.resize(maxLength);
  text.swap(out);
  return count;
}

int FindFrom(int start, std::string_view text, std::string_view find, bool backward, bool exactCase) {
  const long size = static_cast<long>(text.size());
  const long length = static_cast<long>(find.size());
  if (start < 0) start = 0;
  if (backward) {
    for (long at = std::min<long>(start, size - length); at >= 0; --at)
      if (SameAt(text, static_cast<size_t>(at), find, exactCase)) return static_cast<int>(at);
    return -1;
  }
  for (long at = start; at + length <= size; ++at)
    if (SameAt(text, static_cast<size_t>(at), find, exactCase)) return static_cast<int>(at);
  return -1;
}

std::string EnsureBackslash(std::string_view path) {
  std::string out(path);
  if (out.empty() || out.back() != '\\') out.push_back('\\');
  return out;
}

std::string DirectoryPart(std::string_view path) {
  const size_t slash = path.rfind('\\');
  return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

std::string FileNamePart(std::string_view path) {
  const size_t slash = path.rfind('\\');
  std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
  return std::string(name);
}

int32_t LeadingNumber(std::string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::string DecimalText(int64_t value) { return std::to_string(value); }

std::string ShowControlCharacters(std::string_view text) {
  std::string shown;
  shown.reserve(text.size());
  for (char c : text) {
    const unsigned b = static_cast<unsigned char>(c);
    if (b >= 32 && b != 127) {
      shown += c;
      continue;
    }
    shown += '^';
    shown += static_cast<char>('0' + b / 100);
    shown += static_cast<char>('0' + b / 10 % 10);
    shown += static_cast<char>('0' + b % 10);
  }
  return shown;
}
