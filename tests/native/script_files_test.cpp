#include <gtest/gtest.h>

#include "engine/script_files.h"
#include "tests/native/script_harness.h"

namespace {

class ScriptFiles : public ::testing::Test {
 protected:
  int Open(const std::string& name) { return files.OpenScript(run.platform, run.log, "C:\\SETUP", name); }
  ScriptRun run;
  ScriptFileStack files;
};

}  // namespace

TEST_F(ScriptFiles, NamesWithoutDirectoryOrExtension) {
  run.platform.AddFile("C:\\SETUP\\SUB.SCR", "X\r\n");
  run.platform.AddFile("D:\\OTHER\\SUB", "X\r\n");
  run.platform.AddFile("C:\\SETUP\\SUB.QLS", "X\r\n");
  EXPECT_EQ(Open("SUB"), 0);
  EXPECT_EQ(files.Current().path, "C:\\SETUP\\SUB.SCR");
  EXPECT_EQ(Open("SUB.QLS"), 0);
  EXPECT_EQ(files.Current().path, "C:\\SETUP\\SUB.QLS");
  EXPECT_EQ(Open("D:\\OTHER\\SUB"), 10028);  // a path is used as given, ".SCR" added when it has no dot
  EXPECT_EQ(Open("NOSUCH"), 10028);
  EXPECT_EQ(files.Depth(), 2);
}

TEST_F(ScriptFiles, LabelIndexAndDump) {
  run.platform.AddFile("C:\\SETUP\\L.QLS", ":ONE\r\n  :TWO comment\r\n\t:TAB\r\nX\r\n:THREE\r\n");
  ASSERT_EQ(Open("L.QLS"), 0);
  EXPECT_EQ(files.GotoLabel(":TWO"), 0);
  ASSERT_EQ(files.ReadNextLine(), 0);
  EXPECT_EQ(files.LineText(), "  :TWO comment");
  EXPECT_EQ(files.Current().lineNo, 2u);
  EXPECT_EQ(files.GotoLabel(":TAB"), 10004);
  EXPECT_NE(run.Log().find("File 0  LineNo 0  LabEnd 41\n"
                           "    1: Label ':ONE'  LineNo 1  FilePos 0\n"
                           "    2: Label ':TWO'  LineNo 2  FilePos 6\n"
                           "    3: Label ':THREE'  LineNo 5  FilePos 32\n"
                           "Done\n\n"),
            std::string::npos)
      << "[" << run.Log() << "]";
}

TEST_F(ScriptFiles, ALabelIndexPast65535BytesIsRefused) {
  std::string script;
  for (int i = 0; script.size() < 70000; ++i) script += ":LABEL" + std::to_string(i) + "\r\n";
  run.platform.AddFile("C:\\SETUP\\BIG.QLS", script);
  EXPECT_EQ(Open("BIG.QLS"), 10050);
  EXPECT_EQ(files.Depth(), 1);  // the level stays as far as it was built
  EXPECT_LE(files.Current().labelsUsed, kLabelIndexBytes);
}

TEST_F(ScriptFiles, OnlyLineStartsAreLabels) {
  // The reader gives a line longer than 65,534 bytes in pieces; a piece that begins with a
  // colon is the middle of that line.
  const std::string longLine = std::string(kMaxReadLine, 'x') + ":TAIL";
  run.platform.AddFile("C:\\SETUP\\LONG.QLS", longLine + "\r\n:NEXT\r\n" + std::string(kMaxReadLine, 'y') + "\r\n:AFTER\r\n");
  ASSERT_EQ(Open("LONG.QLS"), 0);
  EXPECT_EQ(files.GotoLabel(":TAIL"), 10004);
  ASSERT_EQ(files.GotoLabel(":NEXT"), 0);
  files.ReadNextLine();
  EXPECT_EQ(files.LineText(), ":NEXT");
  EXPECT_EQ(files.Current().lineNo, 3u);  // the reader counts the two pieces as lines
  ASSERT_EQ(files.GotoLabel(":AFTER"), 0);  // a line of exactly 65,534 bytes still ends at its CR LF
  files.ReadNextLine();
  EXPECT_EQ(files.LineText(), ":AFTER");
}

TEST_F(ScriptFiles, PositionsRewindAndDebuggerLines) {
  files.SetDebuggerActive(true);
  run.platform.AddFile("C:\\SETUP\\P.QLS", "one\r\ntwo\r\nthree\r\n");
  run.platform.AddFile("C:\\SETUP\\Q.QLS", "q1\r\nq2\r\n");
  ASSERT_EQ(Open("P.QLS"), 0);
  files.ReadNextLine();
  files.ReadNextLine();
  const PositionRecord two = files.CurrentPosition();
  EXPECT_EQ(two.offset, 5);
  EXPECT_EQ(two.lineNo, 2);
  files.ReadNextLine();
  files.SeekTo(two);
  files.ReadNextLine();
  EXPECT_EQ(files.LineText(), "two");
  EXPECT_EQ(files.LineTextForDebugger(3), "0003  three");
  EXPECT_EQ(files.Current().lineNo, 2u);  // reading for the debugger leaves the position alone
  files.SeekToLine(3);
  EXPECT_EQ(files.LineText(), "three");
  files.Rewind();
  EXPECT_EQ(files.LineText(), "");
  EXPECT_EQ(files.Current().lineNo, 0u);
  ASSERT_EQ(Open("Q.QLS"), 0);
  EXPECT_EQ(files.Current().firstRecord, 3);
  EXPECT_EQ(files.LineTextForDebugger(2), "0002  q2");
  EXPECT_EQ(files.LineTextForDebugger(3), "");
  EXPECT_EQ(files.ReadNextLine(), 0);
  files.CloseScript();
  EXPECT_EQ(files.LineTextForDebugger(1), "0001  one");
  files.CloseAll();
  EXPECT_EQ(files.ReadNextLine(), 10027);
}

TEST_F(ScriptFiles, ScrambledFilesIndexScrambledLabels) {
  files.SetDebuggerActive(true);
  std::string text = "  :HIDDEN\r\nSET\r\n";
  ScrambleLine(text);
  run.platform.AddFile("C:\\SETUP\\S.QLS", std::string("\x00\x40", 2) + text);
  ASSERT_EQ(Open("S.QLS"), 0);
  EXPECT_TRUE(files.Current().encoded);
  EXPECT_EQ(files.LineTextForDebugger(2), "0002  SET");  // the debugger shows the lines decoded
  EXPECT_EQ(files.GotoLabel(":HIDDEN"), 0);
  files.ReadNextLine();
  EXPECT_EQ(files.LineText(), "  :HIDDEN");
  files.ReadNextLine();
  EXPECT_EQ(files.LineText(), "SET");
}

TEST(ScrambleLine, IsItsOwnInverseAndKeepsLineEnds) {
  std::string text;
  for (int b = 1; b < 256; ++b) text += static_cast<char>(b);
  std::string scrambled = text;
  ScrambleLine(scrambled);
  EXPECT_NE(scrambled, text);
  EXPECT_EQ(scrambled[9 - 1], '\t');
  EXPECT_EQ(scrambled[10 - 1], '\n');
  EXPECT_EQ(scrambled[13 - 1], '\r');
  ScrambleLine(scrambled);
  EXPECT_EQ(scrambled, text);
}
