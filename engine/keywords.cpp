#include <array>
#include <cstring>
#include <vector>

#include "engine/tokens.h"

namespace {

constexpr Keyword kKeywords[] = {
#define KEYWORD(code, name, text, params) {code, text, sizeof(text) - 1, false, 0, params},
#define CONSTANT(code, name, text, value) {code, text, sizeof(text) - 1, true, value, ""},
#include "engine/keywords.def"
#undef KEYWORD
#undef CONSTANT
};

constexpr bool CodesAscend() {
  for (size_t i = 1; i < sizeof kKeywords / sizeof kKeywords[0]; ++i)
    if (kKeywords[i - 1].code >= kKeywords[i].code) return false;
  return true;
}
static_assert(CodesAscend(), "keywords.def must list the keywords in ascending code order");

// The keywords grouped by their first byte, each group in code order: the lexer tries only
// the group of the character at hand, which gives the same first match as the whole list.
struct KeywordIndex {
  std::array<std::vector<const Keyword*>, 256> byFirstByte;
  std::array<const char*, kLastKeyword + 1> textByCode{};
  KeywordIndex() {
    for (const Keyword& k : kKeywords) {
      byFirstByte[static_cast<unsigned char>(k.text[0])].push_back(&k);
      textByCode[static_cast<size_t>(k.code)] = k.text;
    }
  }
};

const KeywordIndex& Index() {
  static const KeywordIndex index;
  return index;
}

}  // namespace

const Keyword* MatchKeyword(const char* text) {
  for (const Keyword* k : Index().byFirstByte[static_cast<unsigned char>(text[0])])
    if (std::strncmp(text, k->text, k->length) == 0) return k;
  return nullptr;
}

const char* KeywordText(int32_t code) {
  if (code < kFirstKeyword || code > kLastKeyword) return nullptr;
  return Index().textByCode[static_cast<size_t>(code)];
}

const Keyword* KeywordsBegin() { return kKeywords; }
const Keyword* KeywordsEnd() { return kKeywords + sizeof kKeywords / sizeof kKeywords[0]; }
