// Token codes of the script language and the keyword table behind them.
#pragma once

#include <cstdint>

enum Token : int32_t {
  TOK_END = 0,
#define KEYWORD(code, name, text, params) TOK_##name = code,
#define CONSTANT(code, name, text, value) TOK_##name = code,
#include "engine/keywords.def"
#undef KEYWORD
#undef CONSTANT
  TOK_LABEL = 32764,
  TOK_VARIABLE = 32765,
  TOK_STRING = 32766,
  TOK_NUMBER = 32767,
};

constexpr int32_t kFirstKeyword = 128;
constexpr int32_t kLastKeyword = 323;

struct Keyword {
  int32_t code;
  const char* text;
  uint8_t length;
  bool isConstant;  // a named constant: the lexer delivers it as TOK_NUMBER with [value]
  int32_t value;
  const char* params;  // what the command reads (the notation is at the top of keywords.def)
};

// The keyword that begins at [text] (NUL-terminated), or nullptr. Keywords are tried in the
// order of their codes and the first whose whole text matches wins.
const Keyword* MatchKeyword(const char* text);

// The keyword's text for a code in 128..323, or nullptr for an unused code.
const char* KeywordText(int32_t code);

// Every keyword and named constant, in code order.
const Keyword* KeywordsBegin();
const Keyword* KeywordsEnd();

// True for the comparison tokens "==" "!=" ">=" "<=" ">" "<".
inline bool IsComparisonToken(int32_t token) { return token >= TOK_EQ && token <= TOK_LT && token != TOK_LTGT; }
