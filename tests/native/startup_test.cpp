#include <gtest/gtest.h>

#include "engine/main_loop.h"
#include "tests/native/script_harness.h"

namespace {

struct CommandLineCase {
  const char* line;
  bool setupWindow;
  bool debugSetting;
  const char* script;
  const char* directory;
  const char* debugFile;
  const char* parameters;
};

// Equivalent spellings of what the bootstrap or a user passes.
const CommandLineCase kCases[] = {
    {"", false, false, "SETUP.QLS", "", "", ""},
    {"   ", false, false, "SETUP.QLS", "", "", ""},
    {"MAIN.QLS", false, false, "MAIN.QLS", "", "", ""},
    {"C:\\WINDOWS\\TEMP\\SETUP.QLS /DIR:\"D:\\\"", false, false, "C:\\WINDOWS\\TEMP\\SETUP.QLS", "D:\\", "", ""},
    {"S.QLS \"/DIR:e:\\my disk\\\" /s", false, false, "S.QLS", "E:\\MY DISK", "", "/s"},
    {"S.QLS D:\\SRC one", true, false, "S.QLS", "D:\\SRC", "", "one"},
    {"S.QLS D:\\SRC one", false, false, "S.QLS", "", "", "D:\\SRC one"},
    {"S.QLS /DEBUG a b", false, false, "S.QLS", "", "SETUP.DDB", "a b"},
    {"S.QLS /DEBUG:TRACE.DDB a", false, false, "S.QLS", "", "TRACE.DDB", "a"},
    {"S.QLS /DIR:C:\\X /DEBUG p1 p2", false, false, "S.QLS", "C:\\X", "SETUP.DDB", "p1 p2"},
    {"S.QLS p1 p2", false, true, "S.QLS", "", "SETUP.DDB", "p1 p2"},
    {"S.QLS /DIR:C:\\X p1 p2 p3 p4 p5", false, false, "S.QLS", "C:\\X", "", "p1 p2 p3 p4 p5"},
    {"S.QLS  two", false, false, "S.QLS", "", "", " two"},  // the empty second word still counts
    {"\"C:\\Program Files\\S.QLS\"", false, false, "C:\\Program Files\\S.QLS", "", "", ""},
};

}  // namespace

TEST(CommandLine, WordsDirectoryDebugFileAndParameters) {
  for (const CommandLineCase& c : kCases) {
    const StartupOptions o = ParseCommandLine(c.line, c.setupWindow, c.debugSetting);
    EXPECT_EQ(o.scriptName, c.script) << c.line;
    EXPECT_EQ(o.directory, c.directory) << c.line;
    EXPECT_EQ(o.debugFile, c.debugFile) << c.line;
    EXPECT_EQ(o.parameters, c.parameters) << c.line;
  }
}

TEST(CommandLine, QuotesToggleAndBlanksSplit) {
  EXPECT_EQ(SplitCommandLine("a \"b c\"d  e"), (std::vector<std::string>{"a", "b cd", "", "e"}));
  EXPECT_EQ(SplitCommandLine("\"\""), (std::vector<std::string>{""}));
}

// The copy gauge's Cancel pressed while the script runs between commands (an endless loop):
// the windows are served between lines, and the jump to :EXIT is taken there.
TEST(MainLoop, CancelBetweenLinesEndsAnEndlessLoopAtExit) {
  ScriptRun run;
  int pumps = 0;
  run.platform.copyGaugeOpen = true;
  run.platform.onPacedPump = [&] {
    if (++pumps == 50) InjectExitJump(run.ip);
  };
  ASSERT_EQ(run.Run(Lines({"SET %I% = 0", "WHILE 1 == 1", "  SET %I% = %I% + 1", "WEND", ":EXIT",
                           "SET %DONE% = %I%", "EXIT"})),
            0);
  EXPECT_FALSE(run.platform.copyGaugeOpen);
  EXPECT_EQ(run.Var("DONE"), run.Var("I"));
  EXPECT_GT(std::stoi(run.Var("I")), 10);
  EXPECT_GE(pumps, 50);
  EXPECT_TRUE(run.platform.messages.empty());
}
