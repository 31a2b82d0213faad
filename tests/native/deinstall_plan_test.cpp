// The de-installer's checks: which lines each section takes, what a path, key or name must be,
// the order the lines run in, and its command line.
#include <gtest/gtest.h>

#include "engine/lexer.h"
#include "morpax/core/deinstall_plan.h"
#include "tests/native/script_harness.h"

namespace {

int Accept(Interpreter&, TokenLine&) { return 0; }

// The engine with a handler for every command, as the de-installer's table would have them.
struct PlanRun {
  PlanRun() {
    for (int32_t token = kFirstKeyword; token <= kLastKeyword; ++token)
      if (!run.table.byToken[static_cast<size_t>(token)]) run.table.Add(token, Accept);
    run.table.Add(TOK_UNINSTALLSERVICE, nullptr);  // one this de-installer cannot carry out
  }
  DeinstallRefusal Check(int section, const std::string& line) {
    DeinstallStep step;
    return CheckDeinstallLine(run.ip, section, line, step);
  }
  ScriptRun run;
};

const std::string kScript =
    "// Script file for de-installing:\r\n// Viewer 2\r\n// Do NOT delete or modify.\r\n"
    "\r\n//$STARTUP$\r\nSET %TARGET% = \"C:\\Program Files\\Viewer\"\r\nSETLANGUAGE(\"GERMAN\")\r\n"
    "SETSHAREDREGISTRY(\"KVL\", \"Viewer\", \"\")\r\n"
    "\r\n//$PREDEINSTALL$\r\n// nothing before\r\n"
    "\r\n//$UNPROTECT$\r\nSETFILEATTR(\"%TARGET%\\VIEW.EXE\", 0, 0, 0, 0)\r\n"
    "\r\n//$FILES$\r\nDELETE(\"%TARGET%\\VIEW.EXE\")\r\nUNREGISTER(\"%TARGET%\\PORT.DLL\")\r\n"
    "\r\n//$PMGROUP$\r\nDELETEGROUP(\"Viewer\")\r\nDELETESHORTCUT(\"All Users\", \"Desktop\", \"Viewer\")\r\n"
    "\r\n//$USERSCRIPT$\r\nREGDELETESETTING(3, \"SOFTWARE\\Viewer\", \"\")\r\n"
    "\r\n//$DIRECTORIES$\r\nRMDIR(\"%TARGET%\")\r\nRMDIR(\"%TARGET%\\Device\\Driver\")\r\nRMDIR(\"%TARGET%\\Device\")\r\n"
    "\r\n//$CLEANUP$\r\nREGDELETESETTING(3, \"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Viewer\", \"\")\r\n";

}  // namespace

TEST(DeinstallPlan, StartUpLinesSetTheValuesTheRemovalLinesUseAndDirectoriesGoDeepestFirst) {
  PlanRun plan;
  const DeinstallText text = ReadDeinstallText(kScript);
  EXPECT_EQ(HeaderApplication(text), "Viewer 2");
  std::vector<DeinstallStep> steps;
  ASSERT_EQ(PlanStartup(plan.run.ip, text, steps).reason, REFUSED_NONE);
  ASSERT_EQ(steps.size(), 3u);
  for (const DeinstallStep& step : steps) {
    ASSERT_EQ(TokeniseLine(plan.run.ip, step.line), 0);
    ASSERT_EQ(ExecuteLine(plan.run.ip, plan.run.ip.line, plan.run.ip.lexer.tokens), 0);
  }
  const DeinstallVerdict verdict = PlanRemoval(plan.run.ip, text, steps);
  ASSERT_EQ(verdict.reason, REFUSED_NONE) << verdict.line;
  std::vector<std::string> order;
  for (const DeinstallStep& step : steps) order.push_back(step.subject.empty() ? step.line.substr(0, 18) : step.subject);
  const std::string t = "C:\\Program Files\\Viewer";
  EXPECT_EQ(order, (std::vector<std::string>{t + "\\VIEW.EXE", t + "\\VIEW.EXE", t + "\\PORT.DLL", "DELETEGROUP(\"Viewe",
                                             "DELETESHORTCUT(\"Al", "REGDELETESETTING(3", t + "\\Device\\Driver",
                                             t + "\\Device", t, "REGDELETESETTING(3"}));
  EXPECT_EQ(steps[6].section, SECTION_DIRECTORIES);
}

TEST(DeinstallPlan, LinesThatCouldRemoveWhatWasNotRecordedAreRefused) {
  PlanRun plan;
  struct Case {
    int section;
    const char* line;
    DeinstallRefusal reason;
  };
  const Case cases[] = {
      {SECTION_FILES, "DELETE(\"C:\\Program Files\\Viewer\\*.DLL\")", REFUSED_PATH},
      {SECTION_FILES, "DELETE(\"VIEW.EXE\")", REFUSED_PATH},
      {SECTION_FILES, "DELETE(%UNSET%)", REFUSED_PATH},
      {SECTION_FILES, "UNREGISTER(\"\\\\server\\share\\PORT.DLL\")", REFUSED_NONE},
      {SECTION_FILES, "DELETE(\"C:\\A.EXE\") DELETE(\"C:\\B.EXE\")", REFUSED_PARAMETERS},
      {SECTION_FILES, "DELETE(\"C:\\A.EXE\", \"C:\\B.EXE\")", REFUSED_PARAMETERS},
      {SECTION_FILES, "RMDIR(\"C:\\Viewer\")", REFUSED_COMMAND},
      {SECTION_FILES, "SET %A% = 1", REFUSED_COMMAND},
      {SECTION_FILES, "GOTO :ELSEWHERE", REFUSED_COMMAND},
      {SECTION_FILES, "DELETE(\"C:\\unclosed)", REFUSED_UNREADABLE},
      {SECTION_STARTUP, "DELETE(\"C:\\A.EXE\")", REFUSED_COMMAND},
      {-1, "SET %A% = 1", REFUSED_COMMAND},
      {-1, "// a comment", REFUSED_NONE},
      {SECTION_DIRECTORIES, "RMDIR(\"C:\\Viewer\", 2)", REFUSED_PARAMETERS},  // a whole tree
      {SECTION_DIRECTORIES, "RMDIR(\"C:\\\")", REFUSED_PATH},
      {SECTION_USERSCRIPT, "REGDELETESETTING(3, \"SOFTWARE\", \"\")", REFUSED_KEY},
      {SECTION_USERSCRIPT, "REGDELETESETTING(3, \"SOFTWARE\\\\\", \"\")", REFUSED_KEY},
      {SECTION_USERSCRIPT, "REGDELETESETTING(3, \"SOFTWARE\", \"Viewer\")", REFUSED_NONE},
      {SECTION_USERSCRIPT, "REGDELETESETTING(%ROOT%, \"SOFTWARE\\Viewer\", \"\")", REFUSED_PARAMETERS},
      {SECTION_USERSCRIPT, "WRITEPRIVATEPROFILESTRING(\"Viewer\", \"Path\", \"\", \"WIN.INI\")", REFUSED_NONE},
      {SECTION_USERSCRIPT, "WRITEPRIVATEPROFILESTRING(\"Viewer\", \"Path\", \"C:\\\", \"WIN.INI\")", REFUSED_PARAMETERS},
      {SECTION_PMGROUP, "DELETEGROUP(\"C:\\WINDOWS\")", REFUSED_NAME},
      {SECTION_PMGROUP, "DELETEGROUP(\"..\")", REFUSED_NAME},
      {SECTION_PMGROUP, "DELETESHORTCUT(\"All Users\", \"Start Menu\\Programs\\..\\..\", \"Viewer\")", REFUSED_NAME},
      {SECTION_PMGROUP, "DELETESHORTCUT(\"All Users\", \"Desktop\", \"..\\Viewer\")", REFUSED_NAME},
      {SECTION_OLEUNREGISTER, "UNINSTALLSERVICE(\"ViewerService\")", REFUSED_NOT_AVAILABLE},
      {SECTION_CLEANUP, "DELETE(\"C:\\Viewer\\LEFT.TXT\")", REFUSED_NONE},
  };
  for (const Case& c : cases) EXPECT_EQ(plan.Check(c.section, c.line), c.reason) << c.line;

  // One bad line refuses the whole script, and says which.
  std::vector<DeinstallStep> steps;
  const DeinstallVerdict verdict =
      PlanRemoval(plan.run.ip, ReadDeinstallText("//$FILES$\r\nDELETE(\"C:\\A.EXE\")\r\nDELETE(\"*.*\")\r\n"), steps);
  EXPECT_EQ(verdict.reason, REFUSED_PATH);
  EXPECT_EQ(verdict.line, "DELETE(\"*.*\")");
  EXPECT_EQ(PlanStartup(plan.run.ip, ReadDeinstallText("// only comments\r\nDELETE(\"C:\\A.EXE\")\r\n"), steps).reason,
            REFUSED_NOT_A_SCRIPT);
}

TEST(DeinstallPlan, CommandLineTakesTheSilentSwitchAndAQuotedScript) {
  DeinstallerOptions options = ParseDeinstallerCommandLine(" \"C:\\Program Files\\Viewer\\UNINST.QLS\"  /s");
  EXPECT_TRUE(options.silent);
  EXPECT_EQ(options.scriptPath, "C:\\Program Files\\Viewer\\UNINST.QLS");
  options = ParseDeinstallerCommandLine("-S C:\\V\\U.QLS other");
  EXPECT_TRUE(options.silent);
  EXPECT_EQ(options.scriptPath, "C:\\V\\U.QLS");
  options = ParseDeinstallerCommandLine("C:\\V\\U.QLS /silent");
  EXPECT_FALSE(options.silent);
  EXPECT_EQ(ParseDeinstallerCommandLine("").scriptPath, "");
}
