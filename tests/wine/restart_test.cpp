// The replacement queue in the test process: staged copies in the Windows directory's KVLSOFT
// folder, their registration with the system on both Windows families, and clearing. What the
// system does with them at the next start is tested in a prefix of its own
// (tests/restart/restart_test.sh).
#include <gtest/gtest.h>

#include <windows.h>

#include "commands/replace_list_win32.h"
#include "engine/errors.h"
#include "support/text.h"
#include "support/win32.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }
std::string Staging() { return EnsureBackslash(WindowsDirectory()) + "KvlSoft\\"; }

class ReplaceQueue : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = ScratchFolder("replace");
    // Made as the bootstrap makes it (Wine keeps the case a folder is created with).
    CreateDirectoryA((EnsureBackslash(WindowsDirectory()) + "KVLSOFT").c_str(), nullptr);
    for (const char* name : {"VIEWER.EXE", "VIEWER.001", "VIEWER.002", "TEXT.TXT", "NEW.DLL"})
      DeleteFileA((Staging() + name).c_str());
    ForgetPendingFileMoves();
    CreateDirectoryA((folder + "other").c_str(), nullptr);
    WriteFileBytes(folder + "VIEWER.EXE", "old viewer");
    WriteFileBytes(folder + "other\\VIEWER.EXE", "old other viewer");
    WriteFileBytes(folder + "NEW1.EXE", "new viewer");
    WriteFileBytes(folder + "NEW2.EXE", "new other viewer");
  }
  void TearDown() override { ForgetPendingFileMoves(); }

  InProcessRun run;
  std::string folder;
};

}  // namespace

TEST_F(ReplaceQueue, CopiesAreStagedUnderTheirTargetsNamesAndOneNameIsNeverShared) {
  // A compressed file is staged expanded, under the name of the file it replaces.
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(BinFolder() + "lz_samples\\TEXT.TXT_") + ", " +
                     Quoted(folder + "TEXT.TXT") + ")"), 0);
  EXPECT_EQ(ReadFileBytes(Staging() + "TEXT.TXT"), ReadFileBytes(BinFolder() + "lz_samples\\TEXT.TXT"));
  // Two targets of the same name each get a staged copy of their own.
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "NEW1.EXE") + ", " + Quoted(folder + "VIEWER.EXE") + ")"), 0);
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "NEW2.EXE") + ", " + Quoted(folder + "other\\VIEWER.EXE") + ")"), 0);
  EXPECT_EQ(ReadFileBytes(Staging() + "VIEWER.EXE"), "new viewer");
  EXPECT_EQ(ReadFileBytes(Staging() + "VIEWER.001"), "new other viewer");
  const std::vector<ReplacePair> pairs = run.replaceList.Pairs();
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[2].staged, Staging() + "VIEWER.001");
  EXPECT_EQ(pairs[2].target, folder + "other\\VIEWER.EXE");

  // A copy that fails queues nothing.
  EXPECT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "MISSING.EXE") + ", " + Quoted(folder + "VIEWER.EXE") + ")"),
            ERR_SOURCE_NOT_FOUND);
  EXPECT_EQ(run.Line("ADDREPLACEFILE(1, " + Quoted(folder + "VIEWER.EXE") + ")"), ERR_INVALID_STRING_PARAMETER);
  EXPECT_EQ(run.replaceList.Pairs().size(), 3u);

  // Clearing deletes the staged copies and empties the queue: nothing is registered after it.
  ASSERT_EQ(run.Line("CLEARREPLACEFILES()"), 0);
  for (const char* name : {"TEXT.TXT", "VIEWER.EXE", "VIEWER.001"}) EXPECT_FALSE(FileExists(Staging() + name)) << name;
  ASSERT_EQ(run.Line("REGISTERREPLACEFILES()"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_TRUE(PendingFileMoves().empty());
  EXPECT_EQ(ReadFileBytes(folder + "VIEWER.EXE"), "old viewer");
}

TEST_F(ReplaceQueue, TheNtFamilyGetsDelayedMovesThatReplaceTheirTargets) {
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "NEW1.EXE") + ", " + Quoted(folder + "VIEWER.EXE") + ")"), 0);
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "NEW2.EXE") + ", " + Quoted(folder + "other\\VIEWER.EXE") + ")"), 0);
  ASSERT_EQ(run.Line("REGISTERREPLACEFILES()"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  // Each pair as the system keeps it: the source, then "!" (replace) and the target.
  const std::vector<std::string> expected = {"\\??\\" + Staging() + "VIEWER.EXE", "!\\??\\" + folder + "VIEWER.EXE",
                                             "\\??\\" + Staging() + "VIEWER.001",
                                             "!\\??\\" + folder + "other\\VIEWER.EXE"};
  EXPECT_EQ(PendingFileMoves(), expected);
  EXPECT_EQ(ReadFileBytes(folder + "VIEWER.EXE"), "old viewer");  // nothing moves before the restart
  ASSERT_EQ(run.Line("CLEARREPLACEFILES()"), 0);
}

TEST_F(ReplaceQueue, TheWindows95FamilyGetsRenameLinesInWininitIni) {
  run.ip.version = {4, 10, 1};  // Windows 98
  const std::string wininit = EnsureBackslash(WindowsDirectory()) + "WININIT.INI";
  DeleteFileA(wininit.c_str());
  ASSERT_EQ(run.Line("REGISTERREPLACEFILES()"), 0);  // nothing queued: no file made
  EXPECT_FALSE(FileExists(wininit));

  WriteFileBytes(wininit, "[Rename]\r\nNUL=C:\\OLD.TMP\r\n");
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "NEW1.EXE") + ", " + Quoted(folder + "VIEWER.EXE") + ")"), 0);
  ASSERT_EQ(run.Line("ADDREPLACEFILE(" + Quoted(folder + "NEW2.EXE") + ", " + Quoted(folder + "other\\VIEWER.EXE") + ")"), 0);
  ASSERT_EQ(run.Line("REGISTERREPLACEFILES()"), 0);
  const std::string text = ReadFileBytes(wininit);
  DeleteFileA(wininit.c_str());  // the next start of the test session's prefix would carry it out
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(text, "[Rename]\r\nNUL=C:\\OLD.TMP\r\n" + ShortPathName(folder + "VIEWER.EXE") + "=" +
                      ShortPathName(Staging() + "VIEWER.EXE") + "\r\n" + ShortPathName(folder + "other\\VIEWER.EXE") +
                      "=" + ShortPathName(Staging() + "VIEWER.001") + "\r\n");
  EXPECT_TRUE(PendingFileMoves().empty());
  ASSERT_EQ(run.Line("CLEARREPLACEFILES()"), 0);
}

TEST_F(ReplaceQueue, ExitWindowsTakesOnlyANumberWritten) {
  run.ip.variables.SetVariable("MODE", "1");
  EXPECT_EQ(run.Line("EXITWINDOWS(%MODE%)"), ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(run.Line("EXITWINDOWS(\"1\")"), ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(run.ip.restartMode, -1);
}
