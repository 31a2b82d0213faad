// The bootstrap's portable part: language index, SETUP.DAT pairs, folders, command lines,
// messages and the working window's template bytes.
#include <gtest/gtest.h>

#include <string>

#include "bootstrap/core/launch.h"
#include "bootstrap/core/program_image.h"
#include "bootstrap/core/setup_texts.h"
#include "bootstrap/core/window_template.h"

namespace {

std::string Dat(const std::string& lines) { return "HEADR" + lines; }

}  // namespace

TEST(BootstrapLanguage, IndexFromTheFirstThreeLetters) {
  const struct {
    const char* setting;
    int index;
  } cases[] = {
      {"ENA", 0}, {"ENU", 1}, {"enc", 1}, {"FRA", 2}, {"FRS", 2}, {"DEU", 3}, {"DES", 3},
      {"ITA", 4}, {"ESN", 5}, {"ESV", 5}, {"NLD", 6}, {"PTB", 7}, {"PTG", 7}, {"JPN", 0},
      {"", 0},    {"EN", 0},  {"DEUTSCH", 3}, {"*EN", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(BootstrapLanguageIndex(c.setting), c.index) << c.setting;
}

TEST(SetupDat, ReadsThePairOfTheLanguage) {
  const std::string file = Dat("w0\r\nf0 #Folder#\r\nw1\r\nf1\r\nw2\r\nf2\r\n");
  EXPECT_EQ(ReadSetupTexts(file, 0).windowText, "w0");
  EXPECT_EQ(ReadSetupTexts(file, 0).folderMessage, "f0 #Folder#");
  EXPECT_EQ(ReadSetupTexts(file, 2).windowText, "w2");
  EXPECT_EQ(ReadSetupTexts(file, 2).folderMessage, "f2");
  // A language beyond the file's pairs keeps the last pair that could be read.
  EXPECT_EQ(ReadSetupTexts(file, 6).windowText, "w2");
  EXPECT_EQ(ReadSetupTexts(file, 99).windowText, "w0");
}

TEST(SetupDat, ShortAndOddFiles) {
  EXPECT_EQ(ReadSetupTexts("", 0).windowText, "");
  EXPECT_EQ(ReadSetupTexts("HEA", 0).folderMessage, "");
  EXPECT_EQ(ReadSetupTexts(Dat(""), 3).windowText, "");
  // A window line without a folder line, and a last line without CR LF.
  const SetupTexts half = ReadSetupTexts(Dat("only window"), 0);
  EXPECT_EQ(half.windowText, "only window");
  EXPECT_EQ(half.folderMessage, "");
  // A lone LF or CR belongs to the line; an empty line is an empty text.
  const SetupTexts odd = ReadSetupTexts(Dat("a\nb\rc\r\n\r\nw1\r\nf1"), 1);
  EXPECT_EQ(odd.windowText, "w1");
  EXPECT_EQ(odd.folderMessage, "f1");
  EXPECT_EQ(ReadSetupTexts(Dat("a\nb\rc\r\n\r\n"), 0).windowText, "a\nb\rc");
}

TEST(SetupDat, LongLinesAreCutAndThePairsStayInStep) {
  const std::string longWindow(500, 'w'), longFolder(700, 'f');
  const std::string file = Dat(longWindow + "\r\n" + longFolder + "\r\nnext window\r\nnext folder\r\n");
  const SetupTexts first = ReadSetupTexts(file, 0);
  EXPECT_EQ(first.windowText, std::string(kWindowTextLimit, 'w'));
  EXPECT_EQ(first.folderMessage, std::string(kFolderMessageLimit, 'f'));
  const SetupTexts second = ReadSetupTexts(file, 1);
  EXPECT_EQ(second.windowText, "next window");
  EXPECT_EQ(second.folderMessage, "next folder");
  // Exactly at the limits nothing is lost.
  const std::string exact = Dat(std::string(199, 'x') + "\r\n" + std::string(255, 'y') + "\r\n");
  EXPECT_EQ(ReadSetupTexts(exact, 0).windowText.size(), 199u);
  EXPECT_EQ(ReadSetupTexts(exact, 0).folderMessage.size(), 255u);
}

TEST(BootstrapFolders, SourceFolderAndItsCurrentForm) {
  EXPECT_EQ(SourceFolderOf("M:\\SETUP.EXE"), "M:\\");
  EXPECT_EQ(SourceFolderOf("M:\\Sub\\Disk1\\SETUP.EXE"), "M:\\Sub\\Disk1");
  EXPECT_EQ(SourceFolderOf("\\\\server\\share\\SETUP.EXE"), "\\\\server\\share");
  EXPECT_EQ(CurrentDirectoryForm("m:\\sub\\disk1\\"), "M:\\SUB\\DISK1");
  EXPECT_EQ(CurrentDirectoryForm("m:\\"), "M:\\");
  EXPECT_EQ(CurrentDirectoryForm("m:\\ab"), "M:\\AB");
  EXPECT_EQ(WorkFolder("C:\\WINDOWS", "TEMP"), "C:\\WINDOWS\\TEMP\\");
  EXPECT_EQ(WorkFolder("C:\\WINDOWS\\", "KVLSOFT"), "C:\\WINDOWS\\KVLSOFT\\");
}

TEST(BootstrapCommandLine, ArgumentsAndSilentMode) {
  EXPECT_EQ(ArgumentsOf("\"C:\\Set up\\SETUP.EXE\" /s Extra"), "/s Extra");
  EXPECT_EQ(ArgumentsOf("SETUP.EXE"), "");
  EXPECT_EQ(ArgumentsOf("  SETUP.EXE  \t-x y "), "-x y ");
  EXPECT_EQ(ArgumentsOf("\"unclosed"), "");

  EXPECT_TRUE(IsSilent("/s"));
  EXPECT_TRUE(IsSilent("-s"));
  EXPECT_TRUE(IsSilent("abc-sdef"));
  EXPECT_TRUE(IsSilent("x /slow"));
  EXPECT_FALSE(IsSilent("/S"));
  EXPECT_FALSE(IsSilent("-S"));
  EXPECT_FALSE(IsSilent(""));
  EXPECT_FALSE(IsSilent("- s / s"));
}

TEST(BootstrapCommandLine, InterpreterCommandLine) {
  EXPECT_EQ(InterpreterCommandLine("C:\\Windows\\KVLSOFT\\", "C:\\Windows\\TEMP\\", "M:\\", ""),
            "C:\\WINDOWS\\KVLSOFT\\TALVEN.EXE C:\\WINDOWS\\TEMP\\SETUP.QLS /DIR:\"M:\\\"");
  // The bootstrap's own arguments follow unchanged; the rest is upper-cased.
  EXPECT_EQ(InterpreterCommandLine("c:\\win\\KVLSOFT\\", "c:\\win\\TEMP\\", "m:\\Sub\\disk1", "/s Mixed"),
            "C:\\WIN\\KVLSOFT\\TALVEN.EXE C:\\WIN\\TEMP\\SETUP.QLS /DIR:\"M:\\SUB\\DISK1\" /s Mixed");
}

TEST(BootstrapMessages, FillAndFolderMessage) {
  EXPECT_EQ(FillMessage("File '%1'\nmissing.", "TALVEN.EX_"), "File 'TALVEN.EX_'\nmissing.");
  EXPECT_EQ(FillMessage("cmd %1 code (%2)", "A %2 B", "0"), "cmd A %2 B code (0)");
  EXPECT_EQ(FillMessage("100% sure %", "x"), "100% sure %");
  EXPECT_EQ(FolderMessage("Cannot write #Folder#, #FOLDER# or #folder#", "C:\\W\\TEMP\\"),
            "Cannot write C:\\W\\TEMP\\, C:\\W\\TEMP\\ or C:\\W\\TEMP\\");
  EXPECT_EQ(FolderMessage("", "C:\\"), "");
}

// The template as the dialog manager reads it: 18 bytes of header, no menu, the standard class,
// the caption, then the font (the DS_SETFONT form). Checked against the layout of DLGTEMPLATE.
TEST(WorkingWindowTemplate, Bytes) {
  const std::vector<uint8_t> expected = {
      0xC0, 0x00, 0xC0, 0x90,  // WS_POPUP | WS_VISIBLE | WS_CAPTION | DS_MODALFRAME | DS_SETFONT
      0x00, 0x00, 0x00, 0x00,  // extended style
      0x00, 0x00,              // no controls
      0x00, 0x00, 0x00, 0x00,  // x, y
      222,  0x00, 93,   0x00,  // 222 x 93 dialog units
      0x00, 0x00,              // no menu
      0x00, 0x00,              // the dialog class
      'S',  0,    'e',  0,    't', 0, 'u', 0, 'p', 0, 0, 0,
      8,    0,  // point size
      'M',  0,    'S',  0,    ' ', 0, 'S', 0, 'a', 0, 'n', 0, 's', 0, ' ', 0,
      'S',  0,    'e',  0,    'r', 0, 'i', 0, 'f', 0, 0,   0,
  };
  EXPECT_EQ(WorkingWindowTemplate(), expected);
}

namespace {

// The headers of a program image with two sections, the last one's data ending at [end].
std::string ImageHeaders(uint32_t end) {
  std::string image(1024, '\0');
  const auto put = [&](size_t at, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) image[at + static_cast<size_t>(i)] = static_cast<char>(value >> (8 * i));
  };
  image[0] = 'M', image[1] = 'Z';
  put(0x3C, 0x80, 4);
  image.replace(0x80, 4, std::string("PE\0\0", 4));
  put(0x80 + 4 + 2, 2, 2);             // two sections
  put(0x80 + 4 + 16, 224, 2);          // the optional header's size
  put(0x80 + 24 + 60, 0x400, 4);       // the headers' size
  const size_t table = 0x80 + 24 + 224;
  put(table + 16, 0x200, 4), put(table + 20, 0x400, 4);
  put(table + 40 + 16, end - 0x600, 4), put(table + 40 + 20, 0x600, 4);
  return image;
}

}  // namespace

TEST(ProgramImage, WholeOnlyWhenEverySectionLiesInTheFile) {
  const std::string head = ImageHeaders(0x1000);
  EXPECT_TRUE(IsCompleteProgramImage(head, 0x1000));
  EXPECT_TRUE(IsCompleteProgramImage(head, 0x1200));  // data after the last section
  EXPECT_FALSE(IsCompleteProgramImage(head, 0xFFF));  // cut short while it was written
  EXPECT_FALSE(IsCompleteProgramImage(head.substr(0, 0x100), 0x100));
  EXPECT_FALSE(IsCompleteProgramImage("", 0));
  std::string notProgram = head;
  notProgram[0x81] = 'X';
  EXPECT_FALSE(IsCompleteProgramImage(notProgram, 0x1000));
  std::string farHeader = head;
  farHeader[0x3C] = '\xF0', farHeader[0x3F] = '\x7F';  // the "PE" header far beyond the bytes read
  EXPECT_FALSE(IsCompleteProgramImage(farHeader, 0x1000));
}
