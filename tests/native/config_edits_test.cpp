// The text edits of the INI, environment and start-up file commands.
#include <gtest/gtest.h>

#include "commands/ini_edits.h"
#include "commands/startup_file_edits.h"
#include "support/text_lines.h"

using Lines = std::vector<std::string>;

TEST(TextLines, SplitKeepsLongLinesWholeAndTheLastLineWithoutEnd) {
  const std::string longLine(70000, 'x');
  EXPECT_EQ(SplitTextLines("a\r\n\r\nb\nc\rd\r\n" + longLine + "\r\nlast"),
            (Lines{"a", "", "b\nc\rd", longLine, "last"}));
  EXPECT_EQ(SplitTextLines(""), Lines{});
  EXPECT_EQ(JoinTextLines({"a", ""}), "a\r\n\r\n");
}

TEST(IniEdits, ListItemsAreAppendedOnce) {
  std::string updated;
  ASSERT_TRUE(AppendListItem("", "item", updated));
  EXPECT_EQ(updated, "item;");
  ASSERT_TRUE(AppendListItem("one;two", "item", updated));
  EXPECT_EQ(updated, "one;two;item;");
  EXPECT_FALSE(AppendListItem("One;TWO;", "two", updated));
  ASSERT_TRUE(AppendListItem("one;two;", "tw", updated));  // a part of an item is no item
  EXPECT_EQ(updated, "one;two;tw;");
}

TEST(IniEdits, MultiEntriesGoToTheEndOfTheirSection) {
  const Lines ini{"[Drivers]", "wave=a.drv", "", "[Other]", "x=1"};
  EXPECT_EQ(AddMultiEntry(ini, "drivers", "wave", "b.drv"),
            (Lines{"[Drivers]", "wave=a.drv", "wave=b.drv", "", "[Other]", "x=1"}));
  EXPECT_EQ(AddMultiEntry(ini, "Other", "x", "2"), (Lines{"[Drivers]", "wave=a.drv", "", "[Other]", "x=1", "x=2"}));
  EXPECT_EQ(AddMultiEntry(ini, "New", "k", "v"),
            (Lines{"[Drivers]", "wave=a.drv", "", "[Other]", "x=1", "[New]", "k=v"}));
  EXPECT_EQ(AddMultiEntry(ini, "Drivers", "WAVE", "A.DRV"), ini);  // present in another case
  EXPECT_EQ(AddMultiEntry({}, "S", "k", "v"), (Lines{"[S]", "k=v"}));
}

TEST(IniEdits, MultiEntriesAreRemovedFromTheirSectionOnly) {
  const Lines ini{"[A]", "dev=x", "dev=y", "DEV=X", "[B]", "dev=x", "[a]", "dev=x"};
  EXPECT_EQ(RemoveMultiEntry(ini, "a", "dev", "x"), (Lines{"[A]", "dev=y", "[B]", "dev=x", "[a]"}));
  EXPECT_EQ(RemoveMultiEntry(ini, "C", "dev", "x"), ini);
}

TEST(StartupFileEdits, SetLinesOfABatchFile) {
  const Lines batch{"  @echo off ", "set temp=C:\\OLD", "PATH=C:\\DOS"};
  EXPECT_EQ(SetBatchVariable(batch, "TEMP", "C:\\TMP"), (Lines{"@echo off", "SET TEMP=C:\\TMP", "PATH=C:\\DOS"}));
  EXPECT_EQ(SetBatchVariable(batch, "TEMP", ""), (Lines{"@echo off", "set temp=C:\\OLD", "PATH=C:\\DOS"}));
  EXPECT_EQ(SetBatchVariable(batch, "LV", "1"), (Lines{"@echo off", "set temp=C:\\OLD", "PATH=C:\\DOS", "SET LV=1"}));
  EXPECT_EQ(SetBatchVariable(batch, "LV", "").size(), 3u);
}

TEST(StartupFileEdits, PathLinesOfABatchFile) {
  EXPECT_EQ(AddBatchPath({"@echo off"}, "C:\\LV"), (Lines{"@echo off", "PATH=C:\\LV"}));
  EXPECT_EQ(AddBatchPath({"path c:\\dos;c:\\lv;"}, "C:\\LV"), (Lines{"path c:\\dos;c:\\lv;"}));
  EXPECT_EQ(AddBatchPath({"PATH=C:\\DOS;", "x", " PATH %PATH%"}, "C:\\LV"),
            (Lines{"PATH=C:\\DOS;C:\\LV", "x", " PATH %PATH%;C:\\LV"}));
  // A "SET PATH=" line is the path too: a plain "PATH=C:\LV" after it would drop C:\DOS.
  EXPECT_EQ(AddBatchPath({"SET  PATH=C:\\DOS"}, "C:\\LV"), (Lines{"SET  PATH=C:\\DOS;C:\\LV"}));
  EXPECT_EQ(AddBatchPath({"SET PATHEXT=.COM"}, "C:\\LV"), (Lines{"SET PATHEXT=.COM", "PATH=C:\\LV"}));
}

TEST(StartupFileEdits, PathValueOfAnEnvironment) {
  EXPECT_EQ(AddToPathValue("%SystemRoot%\\system32;%SYSTEMROOT%", "C:\\WINDOWS", "C:\\LV"),
            "C:\\WINDOWS\\system32;%SYSTEMROOT%;C:\\LV");
  EXPECT_EQ(AddToPathValue("C:\\A;c:\\lv;", "C:\\WINDOWS", "C:\\LV"), "C:\\A;c:\\lv;");
  EXPECT_EQ(AddToPathValue("C:\\A;", "C:\\WINDOWS", "C:\\LV"), "C:\\A;C:\\LV");
  EXPECT_EQ(AddToPathValue("", "C:\\WINDOWS", "C:\\LV"), "C:\\LV");
  EXPECT_EQ(AddToPathValue("C:\\WINDOWS\\LV", "C:\\WINDOWS", "%SystemRoot%\\LV"), "C:\\WINDOWS\\LV");
}

TEST(StartupFileEdits, ConfigurationValuesAreOnlyRaised) {
  const Lines config{"device=himem.sys", "files = 20", "Buffers=40"};
  ConfigEdit edit = RaiseConfigValues(config, 30, 20);
  EXPECT_EQ(edit.lines, (Lines{"device=himem.sys", "files =30", "Buffers=40"}));
  EXPECT_EQ(edit.changes, 1);
  edit = RaiseConfigValues(config, 10, 0);
  EXPECT_EQ(edit.lines, config);
  EXPECT_EQ(edit.changes, 0);
  edit = RaiseConfigValues({"device=himem.sys"}, 30, 15);
  EXPECT_EQ(edit.lines, (Lines{"device=himem.sys", "FILES=30", "BUFFERS=15"}));
  EXPECT_EQ(edit.changes, 2);
}
