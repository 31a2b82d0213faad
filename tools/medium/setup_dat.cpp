#include "tools/medium/setup_dat.h"

#include <map>

#include "bootstrap/core/setup_texts.h"
#include "support/text.h"

namespace {

// Code points of bytes 0x80..0x9F in code page 1252; 0 where the code page has no character.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool EncodeCp1252(uint32_t code, char& byte) {
  if (code < 0x80 || (code >= 0xA0 && code <= 0xFF)) {
    byte = static_cast<char>(code);
    return true;
  }
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] != 0 && kCp1252High[i] == code) {
      byte = static_cast<char>(0x80 + i);
      return true;
    }
  }
  return false;
}

// One code point from [text] at [i]; false for a malformed or overlong sequence.
bool DecodeUtf8(std::string_view text, size_t& i, uint32_t& code) {
  const auto lead = static_cast<unsigned char>(text[i]);
  int extra = 0;
  if (lead < 0x80) {
    code = lead;
  } else if ((lead & 0xE0) == 0xC0) {
    code = lead & 0x1F, extra = 1;
  } else if ((lead & 0xF0) == 0xE0) {
    code = lead & 0x0F, extra = 2;
  } else if ((lead & 0xF8) == 0xF0) {
    code = lead & 0x07, extra = 3;
  } else {
    return false;
  }
  if (i + extra >= text.size() && extra > 0) return false;
  for (int k = 1; k <= extra; ++k) {
    const auto next = static_cast<unsigned char>(text[i + k]);
    if ((next & 0xC0) != 0x80) return false;
    code = code << 6 | (next & 0x3F);
  }
  static const uint32_t kSmallest[4] = {0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return false;
  i += extra + 1;
  return true;
}

static_assert(sizeof kSetupDatHeader - 1 == kSetupDatHeaderSize, "the header the bootstrap skips");

struct LanguageTexts {
  std::string window, folder;
};

std::string Unescape(std::string_view text) {
  std::string out(text);
  ReplaceAll(out, "\\n", "\n", true);
  return out;
}

}  // namespace

bool Utf8ToCp1252(std::string_view utf8, std::string& out, size_t& badAt) {
  out.clear();
  for (size_t i = 0; i < utf8.size();) {
    const size_t start = i;
    uint32_t code = 0;
    char byte = 0;
    if (!DecodeUtf8(utf8, i, code) || !EncodeCp1252(code, byte)) {
      badAt = start;
      return false;
    }
    out += byte;
  }
  return true;
}

SetupDatResult BuildSetupDat(std::string_view source) {
  SetupDatResult result;
  if (StartsWith(source, "\xEF\xBB\xBF")) source.remove_prefix(3);
  std::map<int, LanguageTexts> languages;
  int current = -1;
  int lineNumber = 0;
  auto fail = [&](const std::string& message) {
    result.errors.push_back("line " + std::to_string(lineNumber) + ": " + message);
  };
  for (size_t position = 0; position < source.size();) {
    size_t end = source.find('\n', position);
    if (end == std::string_view::npos) end = source.size();
    std::string_view raw = source.substr(position, end - position);
    position = end + 1;
    ++lineNumber;
    if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
    const std::string line = Trim(raw, 'B', " ");
    if (line.empty() || line[0] == '#') continue;
    if (line.front() == '[') {
      const std::string inside = line.size() >= 2 && line.back() == ']' ? line.substr(1, line.size() - 2) : "";
      if (inside.size() != 1 || inside[0] < '0' || inside[0] >= '0' + kBootstrapLanguages) {
        fail("a section is a language index [0] to [7]");
        continue;
      }
      current = inside[0] - '0';
      if (languages.count(current)) fail("language [" + inside + "] is given twice");
      languages[current];
      continue;
    }
    const size_t equals = line.find('=');
    const std::string key = LowerAscii(Trim(line.substr(0, equals == std::string::npos ? 0 : equals), 'B', " "));
    if (equals == std::string::npos || (key != "window" && key != "folder")) {
      fail("expected \"window = TEXT\" or \"folder = TEXT\"");
      continue;
    }
    if (current < 0) {
      fail("a text before the first [N] section");
      continue;
    }
    std::string text;
    size_t badAt = 0;
    if (!Utf8ToCp1252(Unescape(Trim(line.substr(equals + 1), 'B', " ")), text, badAt)) {
      fail("not UTF-8, or a character that code page 1252 lacks");
      continue;
    }
    const size_t limit = key == "window" ? kWindowTextLimit : kFolderMessageLimit;
    if (text.size() > limit) fail(key + " text has " + std::to_string(text.size()) + " characters, more than " +
                                   std::to_string(limit));
    (key == "window" ? languages[current].window : languages[current].folder) = text;
  }
  if (languages.empty()) fail("no language section");
  if (!result.errors.empty()) return result;

  result.bytes.assign(kSetupDatHeader, kSetupDatHeader + kSetupDatHeaderSize);
  const LanguageTexts fallback = languages.count(0) ? languages[0] : LanguageTexts();
  const int highest = languages.rbegin()->first;
  for (int index = 0; index <= highest; ++index) {
    const LanguageTexts& texts = languages.count(index) ? languages[index] : fallback;
    for (const std::string* text : {&texts.window, &texts.folder}) {
      result.bytes.insert(result.bytes.end(), text->begin(), text->end());
      result.bytes.push_back('\r');
      result.bytes.push_back('\n');
    }
  }
  result.ok = true;
  return result;
}
