#include <gtest/gtest.h>

#include "support/text.h"
#include "support/text_lines.h"

TEST(Trim, ModesRemoveThePadFromTheNamedEnds) {
  EXPECT_EQ(Trim("  a b  ", 'B', " "), "a b");
  EXPECT_EQ(Trim("  a b  ", 'b', " "), "a b");
  EXPECT_EQ(Trim("  a b  ", 'L', " "), "a b  ");
  EXPECT_EQ(Trim("  a b  ", 'R', " "), "  a b");
  EXPECT_EQ(Trim("  a b  ", 'A', " "), "ab");
  EXPECT_EQ(Trim("xyxyaxy", 'L', "xy"), "axy");
  EXPECT_EQ(Trim("abc", 'B', ""), "abc");
  EXPECT_EQ(Trim("  abc", 'Q', " "), "  abc");
}

TEST(ReplaceAll, DoesNotRescanInsertedText) {
  std::string text = "aXbXc";
  EXPECT_EQ(ReplaceAll(text, "X", "XX", true), 2);
  EXPECT_EQ(text, "aXXbXXc");
  text = "abAB";
  ReplaceAll(text, "ab", "-", false);
  EXPECT_EQ(text, "--");
  text = "abAB";
  ReplaceAll(text, "ab", "-", true);
  EXPECT_EQ(text, "-AB");
  text = "same";
  EXPECT_EQ(ReplaceAll(text, "", "x", true), 0);
  EXPECT_EQ(text, "same");
}

TEST(ReplaceAll, CutsAResultLongerThanTheLimit) {
  std::string text = "#A##A##A#";
  ReplaceAll(text, "#A#", "0123456789", true, 15);
  EXPECT_EQ(text, "012345678901234");
}

TEST(FindFrom, SearchesForwardAndBackward) {
  EXPECT_EQ(FindFrom(0, "abcabc", "bc", false, true), 1);
  EXPECT_EQ(FindFrom(2, "abcabc", "bc", false, true), 4);
  EXPECT_EQ(FindFrom(5, "abcabc", "bc", false, true), -1);
  EXPECT_EQ(FindFrom(5, "abcabc", "bc", true, true), 4);
  EXPECT_EQ(FindFrom(3, "abcabc", "bc", true, true), 1);
  EXPECT_EQ(FindFrom(0, "abcabc", "BC", false, false), 1);
  EXPECT_EQ(FindFrom(0, "abcabc", "BC", false, true), -1);
}

TEST(Paths, BackslashAndParts) {
  EXPECT_EQ(EnsureBackslash(""), "\\");
  EXPECT_EQ(EnsureBackslash("C:\\DIR"), "C:\\DIR\\");
  EXPECT_EQ(EnsureBackslash("C:\\"), "C:\\");
  EXPECT_EQ(DirectoryPart("C:\\DIR\\FILE.TXT"), "C:\\DIR\\");
  EXPECT_EQ(DirectoryPart("FILE.TXT"), "");
  EXPECT_EQ(FileNamePart("C:\\DIR\\FILE.TXT  "), "FILE.TXT");
  EXPECT_EQ(FileNamePart("FILE.TXT"), "FILE.TXT");
}

TEST(LeadingNumber, ReadsLikeAtol) {
  EXPECT_EQ(LeadingNumber("12abc"), 12);
  EXPECT_EQ(LeadingNumber("abc"), 0);
  EXPECT_EQ(LeadingNumber("  -7"), -7);
  EXPECT_EQ(LeadingNumber("+8"), 8);
  EXPECT_EQ(LeadingNumber("4294967297"), 1);  // modulo 2^32
  EXPECT_EQ(LeadingNumber("2147483648"), -2147483647 - 1);
}

TEST(ScanTextLine, SplitsOnCrLfOnly) {
  const std::string data = "one\r\ntwo\nthree\rfour\r\n";
  TextLineSpan s = ScanTextLine(data.data(), data.size(), 100);
  EXPECT_EQ(data.substr(0, s.length), "one");
  EXPECT_EQ(s.consumed, 5u);
  s = ScanTextLine(data.data() + 5, data.size() - 5, 100);
  EXPECT_EQ(data.substr(5, s.length), "two\nthree\rfour");
  const std::string last = "tail";
  s = ScanTextLine(last.data(), last.size(), 100);
  EXPECT_EQ(s.length, 4u);
  EXPECT_EQ(s.consumed, 4u);
}

TEST(ScanTextLine, CutsLongLinesAndKeepsTheRestForTheNextLine) {
  const std::string data = "abcdefgh\r\n";
  TextLineSpan s = ScanTextLine(data.data(), data.size(), 5);
  EXPECT_EQ(s.length, 5u);
  EXPECT_EQ(s.consumed, 5u);
  s = ScanTextLine(data.data() + 5, data.size() - 5, 5);
  EXPECT_EQ(s.length, 3u);
  // A line of exactly the limit still owns its CR LF: no empty line follows it.
  const std::string exact = "abcde\r\nx";
  s = ScanTextLine(exact.data(), exact.size(), 5);
  EXPECT_EQ(s.length, 5u);
  EXPECT_EQ(s.consumed, 7u);
}
