#include <gtest/gtest.h>

#include <string>

#include "engine/lexer.h"
#include "engine/tokens.h"
#include "tests/native/script_harness.h"

namespace {

// Tokenises [line] and renders the tokens with their values: keywords as their text, labels
// as :NAME, variables as %NAME%, literals in quotes, numbers as #n, characters as 'c'.
class Lexer : public ::testing::Test {
 protected:
  std::string Tokens(const std::string& line, int* result = nullptr) {
    const int r = TokeniseLine(run.ip, line);
    if (result) *result = r;
    std::string out;
    for (int i = 0; run.ip.lexer.tokens[static_cast<size_t>(i)] != TOK_END; ++i) {
      const int32_t t = run.ip.lexer.tokens[static_cast<size_t>(i)];
      if (!out.empty()) out += ' ';
      if (t == TOK_LABEL) out += ":" + run.ip.strings.Next();
      else if (t == TOK_VARIABLE) out += "%" + run.ip.strings.Next() + "%";
      else if (t == TOK_STRING) out += "\"" + run.ip.strings.Next() + "\"";
      else if (t == TOK_NUMBER) out += "#" + std::to_string(run.ip.numbers.Next());
      else if (t >= kFirstKeyword && t <= kLastKeyword && KeywordText(t)) out += Keyword(t);
      else out += std::string("'") + static_cast<char>(t) + "'";
    }
    return out;
  }
  static std::string Keyword(int32_t t) {
    std::string text = KeywordText(t);
    if (text.back() == ' ') text.pop_back();
    return text;
  }
  int Error(const std::string& line) {
    int r = 0;
    Tokens(line, &r);
    return r;
  }
  ScriptRun run;
};

}  // namespace

TEST_F(Lexer, UpperCasesOutsideQuotesOnly) {
  EXPECT_EQ(Tokens("set %a% = 1"), "SET %A% '=' #1");
  EXPECT_EQ(Tokens("SET %A% = 1"), "SET %A% '=' #1");
  EXPECT_EQ(Tokens("SET %A% = \"MiXeD\""), "SET %A% '=' \"MiXeD\"");
}

TEST_F(Lexer, KeywordsNeedTheirBlankOrParenthesis) {
  EXPECT_EQ(Tokens("SET%A%=1"), "'S' 'E' 'T' %A% '=' #1");
  EXPECT_EQ(Tokens("RELEASE()"), "RELEASE()");
  EXPECT_EQ(Tokens("RELEASE( )"), "'R' 'E' 'L' 'E' 'A' 'S' 'E' '(' ')'");
  EXPECT_EQ(Tokens("COPYFILE (\"A\")"), "'C' 'O' 'P' 'Y' 'F' 'I' 'L' 'E' '(' \"A\" ')'");
}

TEST_F(Lexer, FirstMatchInCodeOrderWins) {
  EXPECT_EQ(Tokens("MB_OKCANCEL"), "#1");
  EXPECT_EQ(Tokens("MB_OK"), "#0");
  EXPECT_EQ(Tokens("READWRITE READ WRITE APPEND"), "#2 #0 #1 #20");
  EXPECT_EQ(Tokens("READLINE(1, %L%)"), "READLINE( #1 ',' %L% ')'");
  EXPECT_EQ(Tokens("MB_YESNO + MB_ICONQUESTION"), "#4 '+' #32");
}

TEST_F(Lexer, ComparisonsAndTheTwoSpellingsOfNotEqual) {
  EXPECT_EQ(Tokens("IF %A% <> 2 GOTO :X"), "IF %A% != #2 GOTO :X");
  EXPECT_EQ(Tokens("IF %A% != 2 GOTO :X"), "IF %A% != #2 GOTO :X");
  EXPECT_EQ(Tokens("IF 1 >= 2"), "IF #1 >= #2");
  EXPECT_EQ(Tokens("IF 1 > -2"), "IF #1 > #-2");
}

TEST_F(Lexer, SignBelongsToTheNumberOnlyAfterAnOperatorOrAtTheStart) {
  EXPECT_EQ(Tokens("SET %X% = %Y% -5"), "SET %X% '=' %Y% '-' #5");
  EXPECT_EQ(Tokens("SET %X% = -5"), "SET %X% '=' #-5");
  EXPECT_EQ(Tokens("-5"), "#-5");
  EXPECT_EQ(Tokens("SKIP(-1)"), "SKIP( '-' #1 ')'");
  EXPECT_EQ(Tokens("F(1,-1)"), "'F' '(' #1 ',' #-1 ')'");
  EXPECT_EQ(Tokens("SET %X% = 2 * -3"), "SET %X% '=' #2 '*' #-3");
  EXPECT_EQ(Tokens("SET %X% = 5 +7"), "SET %X% '=' #5 '+' #7");
}

TEST_F(Lexer, NumbersWrapModulo32BitsAndStopAtTheFirstNonDigit) {
  EXPECT_EQ(Tokens("4294967297"), "#1");
  EXPECT_EQ(Tokens("2147483648"), "#-2147483648");
  EXPECT_EQ(Tokens("12AB"), "#12 'A' 'B'");
  EXPECT_EQ(Tokens("1.5"), "#1 '.' #5");
}

TEST_F(Lexer, CommentsAndEmptyLines) {
  EXPECT_EQ(Tokens(""), "");
  EXPECT_EQ(Tokens("   \t "), "");
  EXPECT_EQ(Tokens("// only a comment"), "");
  EXPECT_EQ(Tokens("GOTO :END // jump"), "GOTO :END");
  EXPECT_EQ(Tokens("SET %A% = \"a//b\""), "SET %A% '=' \"a//b\"");
}

TEST_F(Lexer, LabelsRunToABlankOrAByteAboveZ) {
  EXPECT_EQ(Tokens(":START"), ":START");
  EXPECT_EQ(Tokens(": X"), ": 'X'");
  EXPECT_EQ(Tokens(":A,B) C"), ":A,B) 'C'");
  EXPECT_EQ(Tokens(":AB{C"), ":AB '{' 'C'");
  EXPECT_EQ(Tokens(":ABCDEFGHIJKLMNOPQRS"), ":ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(Error(":ABCDEFGHIJKLMNOPQRST"), 10006);
}

TEST_F(Lexer, VariableNames) {
  EXPECT_EQ(Tokens("%%"), "%%");
  EXPECT_EQ(Tokens("%ABCDEFGHIJKLMNOPQRS%"), "%ABCDEFGHIJKLMNOPQRS%");
  EXPECT_EQ(Error("%ABCDEFGHIJKLMNOPQRST%"), 10009);
  EXPECT_EQ(Error("SET %A = 1"), 10003);
}

TEST_F(Lexer, LiteralEscapesAndVariableReferences) {
  run.ip.variables.SetVariable("NAME", "a%b|c^1");
  EXPECT_EQ(Tokens("\"A|B\""), "\"A\nB\"");
  EXPECT_EQ(Tokens("\"100%%\""), "\"100%\"");
  EXPECT_EQ(Tokens("\"^^\""), "\"^\"");
  EXPECT_EQ(Tokens("\"x^\""), "\"x^\"");
  EXPECT_EQ(Tokens("\"^065^13\""), "\"A\r\"");
  EXPECT_EQ(Tokens("\"^9x\""), "\"\tx\"");
  EXPECT_EQ(Tokens("\"^a\""), "\"^a\"");
  EXPECT_EQ(Tokens("\"<%name%>\""), "\"<a%b|c^1>\"");
  EXPECT_EQ(Tokens("\"\""), "\"\"");
}

TEST_F(Lexer, LiteralsFallBackToTheEnvironment) {
  run.platform.environment["WINDIR"] = "C:\\WINDOWS";
  EXPECT_EQ(Tokens("\"%WINDIR%\\X\""), "\"C:\\WINDOWS\\X\"");
  EXPECT_EQ(Tokens("\"[%NOSUCH%]\""), "\"[]\"");
}

TEST_F(Lexer, UnterminatedLiteralsAndReferences) {
  EXPECT_EQ(Error("SET %A% = \"abc"), 10005);
  EXPECT_EQ(Error("\"100%\""), 10003);
  EXPECT_EQ(Error("\"%ABCDEFGHIJKLMNOPQRST%\""), 10009);
}

TEST_F(Lexer, LengthLimitsOfLiterals) {
  const std::string fits(298, 'x');
  EXPECT_EQ(Error("\"" + fits + "\""), 0);
  run.ip.variables.SetVariable("LONG", std::string(200, 'y'));
  EXPECT_EQ(Error("\"" + std::string(100, 'x') + "%LONG%\""), 0);
  EXPECT_EQ(Error("\"" + std::string(101, 'x') + "%LONG%\""), 10013);
  EXPECT_EQ(Error("\"%LONG%%LONG%\""), 10013);
  const std::string almost(298, 'x');
  run.ip.variables.SetVariable("L299", std::string(299, 'z'));
  EXPECT_EQ(Error("\"%L299%^65\""), 10010);  // an escape checked after it reached 300
  run.ip.variables.SetVariable("L300", std::string(300, 'z'));
  EXPECT_EQ(Error("\"%L300%x\""), 10010);  // a plain 301st character
}

TEST_F(Lexer, LinesLongerThan300CharactersOrHoldingANulAreRefused) {
  EXPECT_EQ(Error(std::string(300, ' ')), 0);
  EXPECT_EQ(Error(std::string(301, ' ')), 10010);
  EXPECT_EQ(run.ip.lexer.tokens[0], TOK_END);
  EXPECT_EQ(Error(std::string("SET %B% = 1\0" "2", 13)), 10094);  // not run as "SET %B% = 1"
  EXPECT_EQ(run.ip.lexer.tokens[0], TOK_END);
  EXPECT_EQ(Error(std::string("\"a\0b\"", 5)), 10094);
}

TEST_F(Lexer, StackLimitsAre25ValuesPerKind) {
  std::string numbers, strings;
  for (int i = 0; i < 25; ++i) numbers += "1,", strings += "\"s\",";
  EXPECT_EQ(Error(numbers), 0);
  EXPECT_EQ(Error(numbers + "TRUE"), 10008);
  EXPECT_EQ(Error(strings), 0);
  EXPECT_EQ(Error(strings + "%V%"), 10007);
  EXPECT_EQ(Error(strings + ":L"), 10007);
  // The tokens before the error stay, ended by 0.
  EXPECT_EQ(run.ip.lexer.count, 50);
  EXPECT_EQ(run.ip.lexer.tokens[50], TOK_END);
}

TEST_F(Lexer, VersionMacrosFollowTheReportedVersion) {
  run.ip.version = {4, 0, 1};  // Windows 95
  EXPECT_EQ(Tokens("#WIN95# #WINNT# #WINVER# #WIN31#"), "#1 #0 #400 #0");
  EXPECT_EQ(Tokens("\"#INSTVER# #win95#\""), "\"TALVEN #win95#\"");
  run.ip.version = {4, 0, 2};  // NT 4
  EXPECT_EQ(Tokens("#WIN95# #WINNT# #WIN2000#"), "#0 #1 #0");
  run.ip.version = {5, 1, 2};  // XP
  EXPECT_EQ(Tokens("#WINNT# #WINXP# #WINVER#"), "#0 #1 #501");
  run.ip.version = {4, 90, 1};  // Me
  EXPECT_EQ(Tokens("#WINME# #WIN98# #WIN95#"), "#1 #0 #0");
}

TEST_F(Lexer, HighBytesOutsideQuotesAreTokensOfTheirOwnCode) {
  EXPECT_EQ(run.ip.lexer.tokens[0], 0);
  int r = TokeniseLine(run.ip, std::string("\x80 %A%"));
  EXPECT_EQ(r, 0);
  EXPECT_EQ(run.ip.lexer.tokens[0], 128);
  EXPECT_EQ(run.ip.lexer.tokens[1], TOK_VARIABLE);
}

TEST(KeywordTable, TheIndexGivesTheFirstMatchInCodeOrder) {
  // The reference: try every keyword in code order, as the table is defined.
  auto firstMatch = [](const std::string& text) {
    for (int32_t code = kFirstKeyword; code <= kLastKeyword; ++code)
      if (const char* k = KeywordText(code); k && text.rfind(k, 0) == 0) return code;
    return int32_t{0};
  };
  for (int32_t code = kFirstKeyword; code <= kLastKeyword; ++code) {
    const char* text = KeywordText(code);
    if (!text) continue;
    for (const std::string& probe : {std::string(text), std::string(text) + "X(", std::string(text) + " 1"}) {
      const Keyword* k = MatchKeyword(probe.c_str());
      ASSERT_NE(k, nullptr) << probe;
      EXPECT_EQ(k->code, firstMatch(probe)) << probe;
    }
  }
  EXPECT_EQ(MatchKeyword("XYZZY"), nullptr);
}
