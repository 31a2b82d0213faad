// The numbered file streams on real files.
#include <gtest/gtest.h>

#include "tests/wine/config_test_support.h"

TEST(FileStreams, LinesGoOutAndComeBackInEveryMode) {
  InProcessRun run;
  const std::string dir = FreshFolder("streams");
  run.ip.variables.SetVariable("F", dir + "lines.txt");
  run.ip.variables.SetVariable("LONG", std::string(300, 'x'));
  ASSERT_EQ(run.Line("OPEN(%F%, 1, WRITE)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  ASSERT_EQ(run.Line("WRITELINE(1, \"first\")"), 0);
  ASSERT_EQ(run.Line("WRITELINE(1, %LONG%)"), 0);
  ASSERT_EQ(run.Line("CLOSE(1)"), 0);
  // Append: positioned at the end, the length; the last line has no line end.
  ASSERT_EQ(run.Line("OPEN(%F%, 2, APPEND)"), 0);
  ASSERT_EQ(run.Line("GETFILEPOS(2, %POS%)"), 0);
  EXPECT_EQ(run.Var("POS"), "309");
  run.Line("CLOSE()");
  WriteFileBytes(dir + "lines.txt", ReadFileBytes(dir + "lines.txt") + "last");

  ASSERT_EQ(run.Line("OPEN(%F%, 3, READ)"), 0);
  std::vector<std::string> lines;
  for (int n = 0; n < 6; ++n) {
    ASSERT_EQ(run.Line("READLINE(3, %L%)"), 0);
    if (run.Var("ERROR") == "2") break;
    lines.push_back(run.Var("L"));
  }
  EXPECT_EQ(lines, (std::vector<std::string>{"first", std::string(254, 'x'), std::string(46, 'x'), "last"}));
  EXPECT_EQ(run.Var("L"), "last");  // EOF leaves the variable as it was

  // Read and write: a missing file is created; positions from the start, here and the end.
  run.ip.variables.SetVariable("G", dir + "both.txt");
  ASSERT_EQ(run.Line("OPEN(%G%, 4, READWRITE)"), 0);
  run.Line("WRITELINE(4, \"abcdef\")");
  run.Line("SETFILEPOS(4, 2, 0)");
  run.Line("READLINE(4, %R1%)");
  run.Line("SETFILEPOS(4, -3, 2)");
  run.Line("GETFILEPOS(4, %P1%)");
  run.Line("SETFILEPOS(4, -2, 1)");
  run.Line("GETFILEPOS(4, %P2%)");
  run.Line("WRITELINE(4, \"XY\")");
  EXPECT_EQ(run.Var("R1"), "cdef");
  EXPECT_EQ(run.Var("P1"), "5");
  EXPECT_EQ(run.Var("P2"), "3");
  run.Line("CLOSE(4)");
  EXPECT_EQ(ReadFileBytes(dir + "both.txt"), "abcXY\r\n\n");
  // An existing file opened for reading and writing keeps its content.
  ASSERT_EQ(run.Line("OPEN(%G%, 4, READWRITE)"), 0);
  run.Line("CLOSE(4)");
  EXPECT_EQ(ReadFileBytes(dir + "both.txt"), "abcXY\r\n\n");
}

TEST(FileStreams, WrongUseEndsTheLineAndLeavesTheStreamAlone) {
  InProcessRun run;
  const std::string dir = FreshFolder("stream_errors");
  WriteFileBytes(dir + "ro.txt", "keep\r\n");
  SetFileAttributesA((dir + "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  run.ip.variables.SetVariable("D", dir);
  ASSERT_EQ(run.Line("OPEN(\"%D%missing.txt\", 1, READ)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  ASSERT_EQ(run.Line("OPEN(\"%D%ro.txt\", 1, WRITE)"), 0);  // a read-only file is not emptied
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(ReadFileBytes(dir + "ro.txt"), "keep\r\n");
  EXPECT_EQ(run.Line("WRITELINE(1, \"x\")"), ERR_STREAM_NOT_OPEN);
  ASSERT_EQ(run.Line("OPEN(\"%D%ro.txt\", 1, READ)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(run.Line("OPEN(\"%D%other.txt\", 1, WRITE)"), ERR_STREAM_IN_USE);
  EXPECT_EQ(run.Line("WRITELINE(1, \"x\")"), ERR_STREAM_NOT_WRITABLE);
  ASSERT_EQ(run.Line("READLINE(1, %L%)"), 0);
  EXPECT_EQ(run.Var("L"), "keep");
  EXPECT_EQ(run.Line("READLINE(0, %L%)"), ERR_INVALID_STREAM);
  ASSERT_EQ(run.Line("OPEN(\"%D%other.txt\", 2, APPEND)"), 0);
  EXPECT_EQ(run.Line("READLINE(2, %L%)"), ERR_STREAM_NOT_READABLE);
  EXPECT_EQ(run.Line("CLOSE(11)"), 0);
  EXPECT_EQ(run.Line("CLOSE(\"1\")"), 0);
  ASSERT_EQ(run.Line("GETFILEPOS(1, %P%)"), 0);  // both still open
  ASSERT_EQ(run.Line("CLOSE()"), 0);
  EXPECT_EQ(run.Line("GETFILEPOS(1, %P%)"), ERR_STREAM_NOT_OPEN);
  EXPECT_EQ(run.Line("SETFILEPOS(2, 0, 0)"), ERR_STREAM_NOT_OPEN);
  SetFileAttributesA((dir + "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}
