// The copy commands' portable rules: the COPYFILE forms and their parameter errors, the names
// a copy resolves, backup names, the overwrite decision table and the question's text.
#include <gtest/gtest.h>

#include <set>

#include "commands/copy_rules.h"
#include "engine/lexer.h"
#include "tests/native/script_harness.h"

namespace {

struct ReadResult {
  int code;
  int paramNo;
  CopyRequest request;
};

// Tokenises [text] and reads it as the executor hands it over: the cursor after COPYFILE(, or
// on the first token of a copy-list line.
ReadResult Read(const char* text, bool listForm, std::initializer_list<std::pair<const char*, const char*>> vars = {}) {
  static ScriptRun run;
  for (const auto& [name, value] : vars) run.ip.variables.SetVariable(name, value);
  EXPECT_EQ(TokeniseLine(run.ip, text), 0) << text;
  TokenLine line;
  line.tokens = run.ip.lexer.tokens;
  line.cursor = listForm ? 0 : 1;
  ReadResult result{};
  result.code = ReadCopyRequest(run.ip, line, listForm, result.request);
  result.paramNo = line.paramNo;
  return result;
}

}  // namespace

TEST(CopyRequest, BlockFormTakesANumberOrAVariable) {
  ReadResult r = Read("COPYFILE(12)", false);
  EXPECT_EQ(r.code, 0);
  EXPECT_TRUE(r.request.blockForm);
  EXPECT_EQ(r.request.total, 12);
  r = Read("COPYFILE(%TOTAL%)", false, {{"TOTAL", "7"}});
  EXPECT_EQ(r.request.total, 7);
  r = Read("COPYFILE(\"files\")", false);
  EXPECT_EQ(r.code, ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(r.paramNo, 1);
  r = Read("COPYFILE(%WORD%)", false, {{"WORD", "many"}});
  EXPECT_EQ(r.code, ERR_INVALID_NUMERIC_PARAMETER);
}

TEST(CopyRequest, CopyFormOptionsDefaultToExpandOnly) {
  ReadResult r = Read("COPYFILE(\"A:\\X.TXT\", \"C:\\APP\")", false);
  ASSERT_EQ(r.code, 0);
  EXPECT_FALSE(r.request.blockForm);
  EXPECT_EQ(r.request.source, "A:\\X.TXT");
  EXPECT_EQ(r.request.target, "C:\\APP");
  EXPECT_EQ(r.request.expand, 1);
  EXPECT_EQ(r.request.append, 0);
  EXPECT_EQ(r.request.move, 0);
  r = Read("COPYFILE(%SRC%, \"C:\\APP\", 0, 1, 1)", false, {{"SRC", "D:\\SETUP\\*.DL_"}});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.request.source, "D:\\SETUP\\*.DL_");
  EXPECT_EQ(r.request.expand, 0);
  EXPECT_EQ(r.request.append, 1);
  EXPECT_EQ(r.request.move, 1);
}

TEST(CopyRequest, ParameterErrorsNameTheirPosition) {
  struct Case {
    const char* text;
    bool list;
    int code;
    int paramNo;
  } cases[] = {
      {"COPYFILE(1, \"B\")", false, ERR_INVALID_STRING_PARAMETER, 1},
      {"COPYFILE(\"A\", 2)", false, ERR_INVALID_STRING_PARAMETER, 2},
      {"COPYFILE(\"A\", \"B\", %V%)", false, ERR_INVALID_NUMERIC_PARAMETER, 3},  // variables are no literals
      {"COPYFILE(\"A\", \"B\", 1, \"x\")", false, ERR_INVALID_NUMERIC_PARAMETER, 4},
      {"COPYFILE(\"A\", \"B\", 1, 0, 1, 7)", false, 0, 5},  // tokens past the form are left alone
      {"\"A\", \"B\"", true, ERR_INVALID_STRING_PARAMETER, 3},
      {"\"A\", \"B\", \"desc\", \"x\"", true, ERR_INVALID_NUMERIC_PARAMETER, 4},
  };
  for (const Case& c : cases) {
    const ReadResult r = Read(c.text, c.list, {{"V", "1"}});
    EXPECT_EQ(r.code, c.code) << c.text;
    EXPECT_EQ(r.paramNo, c.paramNo) << c.text;
  }
}

TEST(CopyRequest, ListLineCarriesADescription) {
  ReadResult r = Read("%SRC%, \"C:\\APP\\\", \"Copying the help\", 0", true, {{"SRC", "A:\\HELP.HL_"}});
  ASSERT_EQ(r.code, 0);
  EXPECT_EQ(r.request.source, "A:\\HELP.HL_");
  EXPECT_EQ(r.request.target, "C:\\APP\\");
  EXPECT_EQ(r.request.description, "Copying the help");
  EXPECT_EQ(r.request.expand, 0);
  EXPECT_EQ(r.request.move, 0);
}

TEST(CopyNames, SourceDirectoryAndDirectoryTargets) {
  EXPECT_EQ(CopySourceDirectory("D:\\SETUP\\*.*", "C:\\CUR"), "D:\\SETUP\\");
  EXPECT_EQ(CopySourceDirectory("README.TXT", "C:\\CUR"), "C:\\CUR\\");
  EXPECT_EQ(CopySourceDirectory("README.TXT", "C:\\"), "C:\\");
  EXPECT_EQ(CopyTargetName("C:\\APP"), "C:\\APP\\");  // no dot anywhere: a directory
  EXPECT_EQ(CopyTargetName("C:\\APP\\"), "C:\\APP\\");
  EXPECT_EQ(CopyTargetName("C:\\APP\\MAIN.EXE"), "C:\\APP\\MAIN.EXE");
  EXPECT_EQ(CopyTargetName("C:\\MY.APP\\MAIN"), "C:\\MY.APP\\MAIN");  // a dot in the folder counts
}

TEST(BackupNames, NumberReplacesTheTextFromTheLastDot) {
  std::set<std::string> files;
  const auto exists = [&files](const std::string& name) { return files.count(name) > 0; };
  EXPECT_EQ(BackupName("C:\\WIN\\MAIN.INI", exists), "C:\\WIN\\MAIN.001");
  files.insert("C:\\WIN\\MAIN.001");
  EXPECT_EQ(BackupName("C:\\WIN\\MAIN.INI", exists), "C:\\WIN\\MAIN.002");
  EXPECT_EQ(BackupName("C:\\MY.DIR\\README", exists), "C:\\MY.001");
  EXPECT_EQ(BackupName("C:\\DIR\\README", exists), "C:\\DIR\\README.001");  // no dot: after the whole name
  for (int n = 1; n <= 999; ++n) {
    char name[32];
    std::snprintf(name, sizeof name, "C:\\B.%03d", n);
    files.insert(name);
  }
  EXPECT_EQ(BackupName("C:\\B.TXT", exists), "C:\\B.1000");
}

namespace {

OverwriteFile Dated(int64_t time) {
  OverwriteFile f;
  f.timeValue = time;
  return f;
}

OverwriteFile Versioned(const char* text) {
  OverwriteFile f;
  f.hasVersion = true;
  f.versionText = text;
  return f;
}

}  // namespace

TEST(OverwriteDecision, FollowsTheTable) {
  struct Row {
    const char* situation;
    OverwriteFile existing, newer;
    int versionOrder;
    bool writable;
    OverwriteStep mode0, mode2, mode1;
  } rows[] = {
      {"same date", Dated(100), Dated(100), 0, true, OverwriteStep::Keep, OverwriteStep::Keep, OverwriteStep::Keep},
      {"same version, other dates", Versioned("1"), Versioned("1"), 0, true, OverwriteStep::Keep, OverwriteStep::Keep,
       OverwriteStep::Keep},
      {"newer date", Dated(100), Dated(200), 0, true, OverwriteStep::Ask, OverwriteStep::Replace,
       OverwriteStep::Replace},
      {"newer version", Versioned("1"), Versioned("2"), 1, true, OverwriteStep::Ask, OverwriteStep::Replace,
       OverwriteStep::Replace},
      {"older date", Dated(200), Dated(100), 0, true, OverwriteStep::Ask, OverwriteStep::Keep, OverwriteStep::Ask},
      {"older version", Versioned("2"), Versioned("1"), -1, true, OverwriteStep::Ask, OverwriteStep::Keep,
       OverwriteStep::Ask},
      {"newer, read-only", Dated(100), Dated(200), 0, false, OverwriteStep::Keep, OverwriteStep::Keep,
       OverwriteStep::Keep},
      {"older, in use", Dated(200), Dated(100), 0, false, OverwriteStep::Keep, OverwriteStep::Keep,
       OverwriteStep::Keep},
  };
  for (const Row& row : rows) {
    const std::pair<int, OverwriteStep> modes[] = {{0, row.mode0}, {2, row.mode2}, {1, row.mode1}, {5, row.mode1}};
    for (const auto& [mode, expected] : modes) {
      ScriptRun run;
      const OverwriteStep step =
          DecideOverwrite(run.log, row.existing, row.newer, row.versionOrder, mode, [&] { return row.writable; });
      EXPECT_EQ(static_cast<int>(step), static_cast<int>(expected)) << row.situation << ", mode " << mode;
    }
  }
}

TEST(OverwriteDecision, VersionsWinOverDatesOnlyWhenBothHaveOne) {
  ScriptRun run;
  OverwriteFile existing = Versioned("2.0.0.0");
  existing.timeValue = 100;
  OverwriteFile newer = Dated(500);  // no version: the dates decide, and it is newer
  EXPECT_EQ(DecideOverwrite(run.log, existing, newer, -1, 2, [] { return true; }), OverwriteStep::Replace);
  EXPECT_NE(run.Log().find("Comparing via date/times\r\nExisting Date/Time: 100\r\nNew Date/Time:      500\r\n"),
            std::string::npos);
  ScriptRun versions;
  DecideOverwrite(versions.log, Versioned("1"), Versioned("1"), 0, 1, [] { return true; });
  EXPECT_NE(versions.Log().find("Both files have version info, using VER.DLL\r\nBoth files same - don't copy\r\n"),
            std::string::npos);
}

TEST(OverwriteDecision, WritabilityIsAskedOnlyWhenItMatters) {
  ScriptRun run;
  int asked = 0;
  DecideOverwrite(run.log, Dated(200), Dated(100), 0, 2, [&] { return ++asked > 0; });
  EXPECT_EQ(asked, 0);  // older in mode 2: kept before the file is tried
  DecideOverwrite(run.log, Dated(100), Dated(200), 0, 1, [&] { return ++asked > 0; });
  EXPECT_EQ(asked, 1);
}

TEST(OverwritePrompt, DefaultTextWithLineBreaksDatesAndSizes) {
  ScriptRun run;
  OverwriteFile existing, newer;
  existing.name = "C:\\APP\\MAIN.DLL";
  existing.written = {1998, 3, 7, 9, 5, 0};
  existing.size = 4096;
  newer.name = "A:\\MAIN.DLL";
  newer.written = {1999, 11, 24, 17, 45, 30};
  newer.size = 123456;
  const std::string defaultText = run.platform.ResourceText(1200);
  EXPECT_EQ(OverwritePrompt(run.log, "", defaultText, 0, existing, newer),
            "Setup is attempting to overwrite:\n\nC:\\APP\\MAIN.DLL\n(07/03/98 09:05A 4096 Bytes)\n\nwith:\n\n"
            "A:\\MAIN.DLL\n(24/11/99 17:45A 123456 Bytes)\n\nAre you sure you wish to overwrite this file ?");
  EXPECT_NE(run.Log().find("3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n10\r\n"), std::string::npos);
  ScriptRun us;
  existing.versionText = "1.0.0.1";
  EXPECT_EQ(OverwritePrompt(us.log, "$OLDDATE$|$OLDVER$ $NEWVER$", defaultText, 1, existing, newer), "03/07/98\n1.0.0.1 ");
  EXPECT_NE(us.Log().find("1\r\n2\r\n5\r\n6\r\n7\r\n9\r\n10\r\n"), std::string::npos);
}
