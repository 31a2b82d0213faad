#include "engine/lexer.h"

#include <cstdint>

#include "engine/errors.h"
#include "engine/interpreter.h"
#include "engine/tokens.h"
#include "support/text.h"

int WindowsVersion(const WindowsVersionInfo& v) { return static_cast<int>(v.major * 100 + v.minor); }
bool IsWin95(const WindowsVersionInfo& v) { return (v.platformId & 1) && v.minor == 0; }
bool IsWin98(const WindowsVersionInfo& v) { return (v.platformId & 1) && v.minor == 10; }
bool IsWinNT(const WindowsVersionInfo& v) { return (v.platformId & 2) && (v.major == 3 || v.major == 4); }
bool IsWin2000(const WindowsVersionInfo& v) { return WindowsVersion(v) == 500; }
bool IsWinMe(const WindowsVersionInfo& v) { return WindowsVersion(v) == 490; }
bool IsWinXP(const WindowsVersionInfo& v) { return WindowsVersion(v) == 501; }

namespace {

class Scanner {
 public:
  Scanner(Interpreter& ip) : ip_(ip), lx_(ip.lexer) {}

  int Run() {
    while (At(0) != '\0') {
      while (At(0) == ' ' || At(0) == '\t') ++lx_.position;
      const char c = At(0);
      if (c == '\0') break;
      int result = 0;
      if (c == ':') result = Label();
      else if (c == '%') result = Variable();
      else if (c == '"') result = Literal();
      else if (IsDigit(c) || ((c == '+' || c == '-') && IsDigit(At(1)))) result = Number();
      else if (c == '/' && At(1) == '/') break;  // a comment ends the line
      else result = KeywordOrCharacter();
      if (result != 0) return result;
    }
    return 0;
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }
  char At(int offset) const {
    const size_t at = static_cast<size_t>(lx_.position + offset);
    return at < lx_.text.size() ? lx_.text[at] : '\0';
  }
  // Every token takes at least one character of a line of at most 300, so 301 slots hold the
  // tokens and the closing 0.
  void Store(int32_t token) { lx_.tokens[static_cast<size_t>(lx_.count++)] = token; }
  int32_t PreviousToken() const { return lx_.count > 0 ? lx_.tokens[static_cast<size_t>(lx_.count - 1)] : TOK_END; }

  int KeywordOrCharacter() {
    int32_t token;
    if (const Keyword* k = MatchKeyword(lx_.text.c_str() + lx_.position)) {
      lx_.position += k->length;
      if (k->isConstant) {
        if (int r = ip_.numbers.Push(k->value)) return r;
        Store(TOK_NUMBER);
        return 0;
      }
      token = k->code == TOK_LTGT ? TOK_NE : k->code;
    } else {
      token = static_cast<unsigned char>(At(0));
      ++lx_.position;
    }
    Store(token);
    return 0;
  }

  // A sign belongs to the number at the start of the line and after an operator, a comma or
  // a comparison; elsewhere it is an arithmetic operator of its own (%A% -5).
  bool SignBelongsToNumber() const {
    if (lx_.count == 0) return true;
    const int32_t previous = PreviousToken();
    return previous == ',' || previous == '-' || previous == '+' || previous == '/' || previous == '*' ||
           previous == '=' || IsComparisonToken(previous);
  }

  int Number() {
    bool negative = false;
    const char sign = At(0);
    if (sign == '+' || sign == '-') {
      if (SignBelongsToNumber()) negative = sign == '-';
      else Store(static_cast<unsigned char>(sign));
      ++lx_.position;
    }
    uint32_t value = 0;
    while (IsDigit(At(0))) value = value * 10u + static_cast<uint32_t>(At(0) - '0'), ++lx_.position;
    if (negative) value = 0u - value;
    if (int r = ip_.numbers.Push(static_cast<int32_t>(value))) return r;
    Store(TOK_NUMBER);
    return 0;
  }

  int Label() {
    ++lx_.position;
    std::string name;
    for (unsigned char c; (c = static_cast<unsigned char>(At(0))) > 32 && c <= 122; ++lx_.position) {
      name.push_back(static_cast<char>(c));
      if (name.size() > kMaxNameLength) return ERR_LABEL_TOO_LONG;
    }
    if (int r = ip_.strings.Push(std::move(name))) return r;
    Store(TOK_LABEL);
    return 0;
  }

  // Reads a name up to the next '%', the position standing after the opening one.
  int VariableName(std::string& name) {
    for (char c; (c = At(0)) != '%'; ++lx_.position) {
      if (c == '\0') return ERR_INVALID_VARIABLE_NAME;
      name.push_back(c);
      if (name.size() > kMaxNameLength) return ERR_VARIABLE_NAME_TOO_LONG;
    }
    ++lx_.position;
    return 0;
  }

  int Variable() {
    ++lx_.position;
    std::string name;
    if (int r = VariableName(name)) return r;
    if (int r = ip_.strings.Push(std::move(name))) return r;
    Store(TOK_VARIABLE);
    return 0;
  }

  int Literal() {
    ++lx_.position;
    std::string text;
    for (;;) {
      const char c = At(0);
      if (c == '\0') return ERR_INVALID_STRING;
      if (c == '"') break;
      if (c == '%' && At(1) == '%') {
        if (int r = AppendPlain(text, '%')) return r;
        lx_.position += 2;
      } else if (c == '%') {
        ++lx_.position;
        std::string name;
        if (int r = VariableName(name)) return r;
        const std::string value = ip_.variables.GetVariable(name);
        if (text.size() + value.size() > static_cast<size_t>(kMaxLineLength)) return ERR_STRING_CONCAT_TOO_LONG;
        text += value;  // taken as it is: no escapes inside a variable's value
      } else if (c == '^' && IsDigit(At(1))) {
        ++lx_.position;
        text.push_back(CharacterCode());
        if (text.size() >= static_cast<size_t>(kMaxLineLength)) return ERR_TEXT_TOO_LONG;
      } else if (c == '^' && At(1) == '^') {
        if (int r = AppendPlain(text, '^')) return r;
        lx_.position += 2;
      } else {
        if (int r = AppendPlain(text, c == '|' ? '\n' : c)) return r;
        ++lx_.position;
      }
    }
    ++lx_.position;
    if (int r = ip_.strings.Push(std::move(text))) return r;
    Store(TOK_STRING);
    return 0;
  }

  static int AppendPlain(std::string& text, char c) {
    if (text.size() >= static_cast<size_t>(kMaxLineLength)) return ERR_TEXT_TOO_LONG;
    text.push_back(c);
    return 0;
  }

  // ^nnn: the three characters after the caret, less the non-digits at their end, are all
  // consumed; their leading digits give the character code (^9x is a tab and then 'x').
  char CharacterCode() {
    int take = 0;
    while (take < 3 && At(take) != '\0') ++take;
    while (take > 0 && !IsDigit(At(take - 1))) --take;
    uint32_t code = 0;
    for (int i = 0; i < take && IsDigit(At(i)); ++i) code = code * 10u + static_cast<uint32_t>(At(i) - '0');
    lx_.position += take;
    return static_cast<char>(static_cast<unsigned char>(code % 256u));
  }

  Interpreter& ip_;
  LineLexer& lx_;
};

void UpperCaseOutsideQuotes(std::string& text) {
  bool quoted = false;
  for (char& c : text) {
    if (c == '"') quoted = !quoted;
    else if (!quoted) c = AsciiUpper(c);
  }
}

void ReplaceVersionMacros(std::string& text, const WindowsVersionInfo& v) {
  if (text.find('#') == std::string::npos) return;
  auto flag = [](bool b) { return b ? "1" : "0"; };
  ReplaceAll(text, "#INSTVER#", "TALVEN", true);
  ReplaceAll(text, "#WINVER#", std::to_string(WindowsVersion(v)), true);
  ReplaceAll(text, "#WIN31#", "0", true);
  ReplaceAll(text, "#WIN95#", flag(IsWin95(v)), true);
  ReplaceAll(text, "#WIN98#", flag(IsWin98(v)), true);
  ReplaceAll(text, "#WINNT#", flag(IsWinNT(v)), true);
  ReplaceAll(text, "#WIN2000#", flag(IsWin2000(v)), true);
  ReplaceAll(text, "#WINME#", flag(IsWinMe(v)), true);
  ReplaceAll(text, "#WINXP#", flag(IsWinXP(v)), true);
}

}  // namespace

int TokeniseLine(Interpreter& ip, std::string_view lineText) {
  LineLexer& lx = ip.lexer;
  lx.tokens.fill(0);
  lx.position = 0;
  lx.count = 0;
  ip.numbers.Reset();
  ip.strings.Reset();
  if (lineText.size() > static_cast<size_t>(kMaxLineLength)) {
    lx.text.clear();
    return ERR_TEXT_TOO_LONG;
  }
  // A NUL byte cannot be part of a script line: cutting the line there would run only its
  // first part (SET %B% = 1<NUL>2 would set 1), so the line is refused.
  if (lineText.find('\0') != std::string_view::npos) {
    lx.text.clear();
    return ERR_NUL_IN_LINE;
  }
  lx.text.assign(lineText);
  UpperCaseOutsideQuotes(lx.text);
  ReplaceVersionMacros(lx.text, ip.version);
  const int result = Scanner(ip).Run();
  lx.tokens[static_cast<size_t>(lx.count)] = TOK_END;
  return result;
}
