// The medium builder: SETUP.DAT from its text source (read back the way the bootstrap reads
// it), the description file, and a medium folder built from real files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "bootstrap/core/setup_texts.h"
#include "tools/lz/lz_file_io.h"
#include "tools/lz/lz_format.h"
#include "tools/medium/medium.h"
#include "tools/medium/setup_dat.h"

namespace {

namespace fs = std::filesystem;

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

bool HasErrorContaining(const std::vector<std::string>& errors, const std::string& part) {
  for (const std::string& e : errors)
    if (e.find(part) != std::string::npos) return true;
  return false;
}

class MediumFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    root_ = fs::temp_directory_path() / ("qs_medium_test_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "in" / "payload");
  }
  void TearDown() override { fs::remove_all(root_); }
  void Write(const std::string& name, const std::string& contents) {
    std::ofstream(root_ / "in" / name, std::ios::binary) << contents;
  }
  std::vector<uint8_t> Read(const std::string& name) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(lz::ReadWholeFile((root_ / "out" / name).string(), bytes)) << name;
    return bytes;
  }
  fs::path root_;
};

}  // namespace

TEST(SetupDatSource, RoundTripThroughTheBootstrapReader) {
  const SetupDatResult dat = BuildSetupDat(
      "\xEF\xBB\xBF# texts\n"
      "[0]\n"
      "window = Preparing...\n"
      "folder = Cannot write\\n#Folder#\r\n"
      "\n"
      "[3]\n"
      "  window   =   Vorbereitung l\xC3\xA4uft \xE2\x82\xAC  \n"
      "folder = Ordner #Folder#\n");
  ASSERT_TRUE(dat.ok) << (dat.errors.empty() ? "" : dat.errors[0]);
  const std::string bytes = AsText(dat.bytes);
  EXPECT_EQ(bytes.substr(0, 5), "QSDAT");
  // Index 0, then 1 and 2 as copies of 0, then 3; code page 1252 and the line break.
  EXPECT_EQ(bytes.substr(5), "Preparing...\r\nCannot write\n#Folder#\r\nPreparing...\r\nCannot write\n#Folder#\r\n"
                             "Preparing...\r\nCannot write\n#Folder#\r\nVorbereitung l\xE4uft \x80\r\nOrdner #Folder#\r\n");
  EXPECT_EQ(ReadSetupTexts(bytes, 0).windowText, "Preparing...");
  EXPECT_EQ(ReadSetupTexts(bytes, 2).folderMessage, "Cannot write\n#Folder#");
  EXPECT_EQ(ReadSetupTexts(bytes, 3).windowText, "Vorbereitung l\xE4uft \x80");
  EXPECT_EQ(ReadSetupTexts(bytes, 7).folderMessage, "Ordner #Folder#");
}

TEST(SetupDatSource, RefusesWhatTheBootstrapCouldNotShow) {
  const struct {
    const char* source;
    const char* error;
  } cases[] = {
      {"window = x\n", "before the first"},
      {"[8]\nwindow = x\n", "[0] to [7]"},
      {"[0]\n[0]\n", "twice"},
      {"[0]\ntitle = x\n", "expected"},
      {"[0]\nwindow = \xE4\xB8\xAD\n", "code page 1252"},  // a CJK character
      {"[0]\nwindow = \xC3\n", "not UTF-8"},
      {"[0]\nwindow = \xC0\xAF\n", "not UTF-8"},  // an overlong form
      {"# nothing\n", "no language"},
  };
  for (const auto& c : cases) {
    const SetupDatResult dat = BuildSetupDat(c.source);
    EXPECT_FALSE(dat.ok) << c.source;
    EXPECT_TRUE(HasErrorContaining(dat.errors, c.error)) << c.source << " -> " << (dat.errors.empty() ? "" : dat.errors[0]);
  }
  EXPECT_TRUE(BuildSetupDat("[0]\nwindow = " + std::string(199, 'w') + "\nfolder = " + std::string(255, 'f')).ok);
  EXPECT_FALSE(BuildSetupDat("[0]\nwindow = " + std::string(200, 'w')).ok);
  EXPECT_FALSE(BuildSetupDat("[0]\nfolder = " + std::string(256, 'f')).ok);
}

TEST(MediumDescriptionFile, EntriesNamesAndVariables) {
  const MediumDescription d = ParseMediumDescription(
      "# a medium\n"
      "\t \t\n"  // blanks and tabs only: a blank line
      "setup ${BUILD}/SETUP.EXE\n"
      "interpreter ${BUILD}/TALVEN.EXE\n"
      "script SETUP.QLS\r\n"
      "compress payload/main.exe\n"
      "compress payload/lib.dll LIB\\LIB.DL_\n"
      "file \"payload/read me.txt\" DOCS/README.TXT\n",
      "/base", {{"BUILD", "/build/bin"}});
  ASSERT_TRUE(d.errors.empty()) << d.errors[0];
  ASSERT_EQ(d.entries.size(), 6u);
  EXPECT_EQ(d.entries[0].source, "/build/bin/SETUP.EXE");
  EXPECT_EQ(d.entries[1].target, "TALVEN.EX_");
  EXPECT_TRUE(d.entries[1].compressed);
  EXPECT_EQ(d.entries[1].missingChar, 'E');
  EXPECT_EQ(d.entries[2].source, "/base/SETUP.QLS");
  EXPECT_EQ(d.entries[3].target, "main.ex_");
  EXPECT_EQ(d.entries[3].missingChar, 'e');
  EXPECT_EQ(d.entries[4].target, "LIB/LIB.DL_");
  EXPECT_EQ(d.entries[5].source, "/base/payload/read me.txt");
  EXPECT_EQ(d.entries[5].target, "DOCS/README.TXT");
  EXPECT_FALSE(d.entries[5].compressed);
}

TEST(MediumDescriptionFile, Mistakes) {
  const std::string required = "setup S\ninterpreter T\nscript Q\n";
  const struct {
    std::string text;
    const char* error;
  } cases[] = {
      {"setup S\nscript Q\n", "'interpreter' entry"},
      {required + "copy X\n", "unknown kind"},
      {required + "setup S2\n", "twice"},
      {required + "file a/x.txt X.TXT\nfile b/x.txt x.txt\n", "twice"},
      {required + "file x ../X\n", "not a name within"},
      {required + "file x /abs/X\n", "not a name within"},
      {required + "file x C:X\n", "not a name within"},
      {required + "file x A//B\n", "not a name within"},
      {required + "file ${NOPE}/x\n", "${NOPE} is not defined"},
      {required + "script Q TARGET\n", "expected: script PATH"},
      {required + "file \"unclosed\n", "unclosed"},
  };
  for (const auto& c : cases) {
    const MediumDescription d = ParseMediumDescription(c.text, "/", {});
    EXPECT_TRUE(HasErrorContaining(d.errors, c.error)) << c.text << " -> " << (d.errors.empty() ? "" : d.errors[0]);
  }
}

TEST_F(MediumFolder, BuildsTheFolder) {
  const std::string program(5000, 'P');
  Write("SETUP.EXE", "MZ setup");
  Write("talven.exe", program);
  Write("SETUP.QLS", "// script\r\n");
  Write("texts.txt", "[0]\nwindow = Hello\nfolder = No #Folder#\n");
  Write("payload/main.exe", std::string(3000, 'm'));
  Write("payload/data.bin", "plain");
  const MediumDescription d = ParseMediumDescription(
      "setup SETUP.EXE\ninterpreter talven.exe\nscript SETUP.QLS\ntexts texts.txt\n"
      "compress payload/main.exe APP/MAIN.EX_\nfile payload/data.bin APP/DATA/DATA.BIN\n",
      (root_ / "in").string(), {});
  const MediumReport report = BuildMedium(d, (root_ / "out").string());
  ASSERT_TRUE(report.ok()) << report.errors[0];
  EXPECT_EQ(report.written.size(), 6u);

  EXPECT_EQ(AsText(Read("SETUP.EXE")), "MZ setup");
  const lz::ExpandResult talven = lz::Expand(Read("TALVEN.EX_"));
  ASSERT_TRUE(talven.ok);
  EXPECT_EQ(AsText(talven.data), program);
  EXPECT_EQ(talven.missingChar, 'E');
  EXPECT_EQ(AsText(Read("SETUP.QLS")), "// script\r\n");
  EXPECT_EQ(ReadSetupTexts(AsText(Read("SETUP.DAT")), 0).windowText, "Hello");
  const lz::ExpandResult main = lz::Expand(Read("APP/MAIN.EX_"));
  EXPECT_EQ(AsText(main.data), std::string(3000, 'm'));
  EXPECT_EQ(main.missingChar, 'e');
  EXPECT_EQ(AsText(Read("APP/DATA/DATA.BIN")), "plain");
  EXPECT_FALSE(fs::exists(root_ / "out" / "MORPAX.EX_"));
}

TEST_F(MediumFolder, ReportsMissingSourcesAndBadTexts) {
  Write("SETUP.EXE", "MZ");
  Write("texts.txt", "[0]\nwindow = " + std::string(300, 'x') + "\n");
  const MediumDescription d = ParseMediumDescription(
      "setup SETUP.EXE\ninterpreter missing.exe\nscript SETUP.QLS\ntexts texts.txt\n", (root_ / "in").string(), {});
  const MediumReport report = BuildMedium(d, (root_ / "out").string());
  EXPECT_FALSE(report.ok());
  EXPECT_TRUE(HasErrorContaining(report.errors, "line 2: cannot read"));
  EXPECT_TRUE(HasErrorContaining(report.errors, "texts.txt: line 2: window text has 300"));
}

TEST_F(MediumFolder, ChecksTheScriptsAndReplacesTheOutputOnlyWhole) {
  Write("SETUP.EXE", "MZ");
  Write("T.EXE", "talven");
  Write("SETUP.QLS", "SET %A% = 1\nCALL \"SUB\"\n");  // LF alone, as some editors save
  Write("SUB.SCR", "STOP\r\n");
  const std::string base = "setup SETUP.EXE\ninterpreter T.EXE\nscript SETUP.QLS\n";
  const std::string out = (root_ / "out").string();
  MediumReport report = BuildMedium(ParseMediumDescription(base, (root_ / "in").string(), {}), out);
  EXPECT_TRUE(HasErrorContaining(report.errors, "SETUP.QLS:2: error: CALL: the script SUB.SCR is not on the medium"));
  EXPECT_FALSE(fs::exists(out));

  report = BuildMedium(ParseMediumDescription(base + "file SUB.SCR\n", (root_ / "in").string(), {}), out);
  ASSERT_TRUE(report.ok()) << report.errors[0];
  EXPECT_TRUE(HasErrorContaining(report.notices, "2 line ends were a CR or an LF alone"));
  EXPECT_EQ(AsText(Read("SETUP.QLS")), "SET %A% = 1\r\nCALL \"SUB\"\r\n");

  // A medium is replaced whole; a build that fails half-way leaves it as it was.
  std::ofstream(root_ / "out" / "OLD.TXT") << "old";
  Write("T.EXE", "talven 2");
  ASSERT_TRUE(BuildMedium(ParseMediumDescription(base + "file SUB.SCR\n", (root_ / "in").string(), {}), out).ok());
  EXPECT_FALSE(fs::exists(root_ / "out" / "OLD.TXT"));
  report = BuildMedium(ParseMediumDescription(base + "file SUB.SCR\nsign c.pem k.pem\n", (root_ / "in").string(), {}), out);
  EXPECT_TRUE(HasErrorContaining(report.errors, "SETUP.EXE is no Windows program"));
  EXPECT_EQ(AsText(lz::Expand(Read("TALVEN.EX_")).data), "talven 2");

  // A folder that holds anything else is never emptied.
  fs::create_directories(root_ / "mine");
  std::ofstream(root_ / "mine" / "NOTES.TXT") << "mine";
  report = BuildMedium(ParseMediumDescription(base + "file SUB.SCR\n", (root_ / "in").string(), {}), (root_ / "mine").string());
  EXPECT_TRUE(HasErrorContaining(report.errors, "holds other files than a medium"));
  EXPECT_TRUE(fs::exists(root_ / "mine" / "NOTES.TXT"));
  EXPECT_EQ(std::distance(fs::directory_iterator(root_), fs::directory_iterator()), 3);  // no staging left behind
}

TEST_F(MediumFolder, CommandLineTool) {
  Write("SETUP.EXE", "MZ");
  Write("T.EXE", "talven");
  Write("SETUP.QLS", "STOP");
  Write("medium.txt", "setup ${IN}/SETUP.EXE\ninterpreter ${IN}/T.EXE\nscript SETUP.QLS\n");
  const std::string tool = QS_MEDIUM_TOOL;
  const std::string description = (root_ / "in" / "medium.txt").string();
  const std::string out = (root_ / "out").string();
  EXPECT_EQ(std::system((tool + " -D IN=" + (root_ / "in").string() + " " + description + " " + out + " >/dev/null").c_str()), 0);
  EXPECT_TRUE(fs::exists(root_ / "out" / "TALVEN.EX_"));
  EXPECT_NE(std::system((tool + " " + description + " " + out + " 2>/dev/null").c_str()), 0);  // ${IN} undefined
  EXPECT_NE(std::system((tool + " only-one-argument 2>/dev/null").c_str()), 0);
}

// The texts that ship and the example description stay valid.
TEST(ShippedMediumFiles, TextsAndExampleDescription) {
  std::vector<uint8_t> source;
  ASSERT_TRUE(lz::ReadWholeFile(std::string(QS_SOURCE_DIR) + "/resources/bootstrap/setup-texts.txt", source));
  const SetupDatResult dat = BuildSetupDat(AsText(source));
  ASSERT_TRUE(dat.ok) << dat.errors[0];
  const std::string bytes = AsText(dat.bytes);
  for (int index = 0; index < kBootstrapLanguages; ++index) {
    const SetupTexts texts = ReadSetupTexts(bytes, index);
    EXPECT_FALSE(texts.windowText.empty()) << index;
    EXPECT_NE(texts.folderMessage.find("#Folder#"), std::string::npos) << index;
  }
  EXPECT_EQ(ReadSetupTexts(bytes, 3).windowText, "Die Installation wird vorbereitet. Bitte warten...");
  EXPECT_NE(ReadSetupTexts(bytes, 3).folderMessage.find("pr\xFC" "fen"), std::string::npos);  // in code page 1252

  std::vector<uint8_t> example;
  ASSERT_TRUE(lz::ReadWholeFile(std::string(QS_SOURCE_DIR) + "/examples/minimal/example.medium", example));
  const MediumDescription d =
      ParseMediumDescription(AsText(example), std::string(QS_SOURCE_DIR) + "/examples/minimal", {{"BUILD", "/b"}});
  EXPECT_TRUE(d.errors.empty()) << d.errors[0];
  EXPECT_EQ(d.entries.size(), 6u);
}
