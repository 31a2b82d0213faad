// The script lexer: one line of text into integer tokens, with the values of labels,
// variables, literals and numbers on the two value stacks in token order.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "engine/platform.h"

constexpr int kMaxLineLength = 300;
constexpr int kMaxTokens = 301;
constexpr size_t kMaxNameLength = 19;

struct LineLexer {
  std::string text;                          // the line, upper-cased outside quotes, macros replaced
  std::array<int32_t, kMaxTokens> tokens{};  // ends with a 0 token
  int position = 0;
  int count = 0;
};

struct Interpreter;

// Tokenises [lineText] into ip.lexer and refills the value stacks. Returns 0 or the first
// error; on an error the tokens read so far stay, ended by a 0 token. A line longer than 300
// characters is refused with 10010 "Text too long" before anything is read.
int TokeniseLine(Interpreter& ip, std::string_view lineText);

// The version tests, on what GetVersionExA reports.
int WindowsVersion(const WindowsVersionInfo& v);
bool IsWin95(const WindowsVersionInfo& v);
bool IsWin98(const WindowsVersionInfo& v);
bool IsWinNT(const WindowsVersionInfo& v);
bool IsWin2000(const WindowsVersionInfo& v);
bool IsWinMe(const WindowsVersionInfo& v);
bool IsWinXP(const WindowsVersionInfo& v);
