// The interface language, the translated captions and the text macros (#OK#, #NEXT#,
// #VARIABLE#) that scripts write into the texts they pass to commands.
#pragma once

#include <string>

struct Interpreter;

constexpr int kLanguageCount = 10;

// The language index 0..9, detected from WIN.INI's "sLanguage" on first use.
int CurrentLanguage(Interpreter& ip);
// Detects the index from a three-letter code such as "DEU" (0, UK English, for any other).
int LanguageFromCode(const std::string& code);

// The text of string resource [baseId] + language, or the UK English one when that is
// missing or empty.
std::string LanguageText(Interpreter& ip, int baseId);

// The text with its caption macros and #VARIABLE# macros replaced, in up to four passes.
std::string ExpandTextMacros(Interpreter& ip, std::string text);

// The caption macros ("#OK#" ...) with the base ids of their texts, in the order they are
// replaced.
struct CaptionMacro {
  const char* macro;
  int baseId;
};
const CaptionMacro* CaptionMacrosBegin();
const CaptionMacro* CaptionMacrosEnd();

// The names SETLANGUAGE( accepts and GETLANGUAGE( stores, by index.
const char* LanguageCommandName(int index);
const char* LanguageStoredName(int index);

// Expansion results are kept whole up to this length; only a macro that expands to itself
// can grow a text past it, and such a text is cut there.
constexpr size_t kMaxExpandedText = 65535;
