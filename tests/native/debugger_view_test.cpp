// What the debugger shows of the statement about to run and of the variables, and its Set Next
// move, on the portable engine.
#include <gtest/gtest.h>

#include "engine/errors.h"
#include "tests/native/script_harness.h"
#include "ui/debugger_view.h"
#include "ui/text_table.h"

namespace {

std::string Text(int id) { return BuiltInText(id); }

}  // namespace

TEST(DebuggerView, CommandListShowsTheValuesWithoutTakingThemOffTheStacks) {
  ScriptRun run;
  run.ip.variables.SetVariable("SRC", "C:\\A\tB\r\n");
  run.ip.variables.SetVariable("LONG", std::string(1200, 'x'));
  // A label takes a text of the stack but shows nothing; values come in token order.
  ASSERT_EQ(TokeniseLine(run.ip, ":HERE \"lit\" %SRC% , -12 , %NONE%"), 0);
  const std::vector<std::string> entries = CommandListEntries(run.ip, Text);
  EXPECT_EQ(entries, (std::vector<std::string>{
                         "Parameters", "  'lit'", "  SRC = 'C:\\A^009B^013^010'", "  -12", "  NONE = ''", "Variables",
                         "  SRC = 'C:\\A^009B^013^010'", "  LONG = '" + std::string(1000, 'x') + "...'"}));
  // The statement still reads its values from the first one on.
  EXPECT_EQ(run.ip.strings.Next(), "HERE");
  EXPECT_EQ(run.ip.strings.Next(), "lit");
  EXPECT_EQ(run.ip.numbers.Next(), -12);
  EXPECT_EQ(ShownValue(std::string("a\0b\x7f", 4)), "a^000b^127");
}

TEST(DebuggerView, SetNextMakesALineTheStatementAboutToRun) {
  ScriptRun run;
  run.ip.files.SetDebuggerActive(true);
  run.platform.AddFile("C:\\SETUP\\N.QLS", Lines({"SET %A% = 1", "SET %B% = \"unterminated", "SET %C% = 3", "SET %D% = 4"}));
  ASSERT_EQ(run.ip.files.OpenScript(run.platform, run.log, "C:\\SETUP", "N.QLS"), 0);
  EXPECT_EQ(run.ip.files.DebuggerLineCount(), 4u);
  ASSERT_EQ(run.ip.files.ReadNextLine(), 0);
  ASSERT_EQ(TokeniseLine(run.ip, run.ip.files.LineText()), 0);

  EXPECT_EQ(SetNextLine(run.ip, 3), 0);
  EXPECT_EQ(run.ip.files.Current().lineNo, 3u);
  ASSERT_EQ(ExecuteLine(run.ip, run.ip.line, run.ip.lexer.tokens), 0);
  EXPECT_EQ(run.Var("C"), "3");
  EXPECT_EQ(run.Var("A"), "");
  ASSERT_EQ(run.ip.files.ReadNextLine(), 0);  // the run goes on after the chosen line
  EXPECT_EQ(run.ip.files.LineText(), "SET %D% = 4");

  // A line that does not tokenise is recorded, and nothing of it runs.
  EXPECT_EQ(SetNextLine(run.ip, 2), ERR_INVALID_STRING);
  EXPECT_EQ(CurrentError(run.ip), ERR_INVALID_STRING);
  EXPECT_EQ(run.ip.lexer.tokens[0], TOK_END);
  EXPECT_EQ(ExecuteLine(run.ip, run.ip.line, run.ip.lexer.tokens), 0);
  EXPECT_EQ(run.Var("B"), "");
  EXPECT_EQ(run.ip.files.Current().lineNo, 2u);
}

TEST(DebuggerView, BreakpointKeysAsTheProfileFunctionsReadThem) {
  EXPECT_EQ(BreakpointKey("C:\\WINDOWS\\TEMP\\SETUP.QLS", 12), "C:\\WINDOWS\\TEMP\\SETUP.QLS:12");
  using namespace std::string_literals;
  const std::string section = "c:\\a.qls:3=1\0C:\\A.QLS:4=0\0C:\\A.QLS:3=0\0C:\\A.QLS:5= 7x\0X:99999999999999999999=1\0"
                            "no equals sign\0:=1\0C:\\A.QLS:4=1\0"s;
  EXPECT_EQ(BreakpointKeys(section),
            (std::set<std::string>{"C:\\A.QLS:3", "C:\\A.QLS:5", "X:99999999999999999999", ":"}));
}
