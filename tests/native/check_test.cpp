// The script checker: scripts with the faults it names, every script fixture (whose
// "//> check" lines say what it reports; a fixture without them must pass clean), and the
// scripts the project ships.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/keyword_params.h"
#include "engine/script_files.h"
#include "engine/tokens.h"
#include "support/text.h"
#include "tests/native/script_harness.h"
#include "tools/check/script_check.h"

namespace {

namespace fs = std::filesystem;

// "LINE ID" for findings in [main], "NAME:LINE ID" for the others, sorted.
std::vector<std::string> Reported(const CheckResult& result, const std::string& main) {
  std::vector<std::string> out;
  for (const CheckFinding& f : result.findings)
    out.push_back((f.file == main ? "" : f.file + ":") + DecimalText(f.line) + " " + f.id);
  std::sort(out.begin(), out.end());
  return out;
}

std::string AllText(const CheckResult& result) {
  std::string text;
  for (const CheckFinding& f : result.findings) text += FormatFinding(f) + "\n";
  return text;
}

// A medium in a folder of its own, removed at the end.
class TempMedium {
 public:
  TempMedium() : root_(fs::temp_directory_path() / ("qs_check_test_" + std::to_string(::getpid()))) {
    fs::remove_all(root_);
    fs::create_directories(root_);
  }
  ~TempMedium() { fs::remove_all(root_); }
  void Add(const std::string& name, const std::string& bytes) {
    fs::create_directories((root_ / name).parent_path());
    std::ofstream(root_ / name, std::ios::binary) << bytes;
  }
  MediumIndex Index() const { return MediumIndexOfFolder(root_.string()); }

 private:
  fs::path root_;
};

CheckResult CheckText(const std::string& script, const MediumIndex* medium = nullptr) {
  return CheckScripts({{"TEST.QLS", script}}, medium);
}

}  // namespace

TEST(KeywordTable, EveryCommandSaysWhatItReads) {
  for (const Keyword* k = KeywordsBegin(); k != KeywordsEnd(); ++k) {
    if (k->isConstant) continue;
    CommandParams params;
    std::string error;
    EXPECT_TRUE(ParseCommandParams(k->params, params, error)) << k->text << ": " << error;
  }
}

TEST(ScriptChecker, NamesEachFault) {
  const struct {
    std::string script;
    std::vector<std::string> reported;
    std::string saying;
  } cases[] = {
      {"SET %A% = 1\nSET %B% = 2\n", {"1 line-ends"}, "CR LF"},
      {"SET %A% = \"" + std::string(295, 'x') + "\"\r\n", {"1 11"}, "at most 300"},
      {"SET %A% = 1\r\nCOPYFIL(3)\r\n", {"2 1"}, "did you mean COPYFILE(?"},
      {"SET%A%=1\r\n", {"1 1"}, "SET needs a blank after it"},
      {"IF 1 == 2 GOTO :MISSING\r\nSTOP\r\n:Missing\r\n", {"1 5"}, "in capitals"},
      {"IF 1 == 1 THEN\r\nWHILE 1 == 2\r\nENDIF\r\nWEND\r\n", {"3 blocks-cross"}, "still open"},
      {"UPDATEGAUGE(\"x\")\r\nMKDIR(5)\r\n", {"1 21", "2 20"}, "only on some systems"},
      // The lines recorded for the de-installer: the quotes around a path forgotten, a jump.
      {"ADDDEINSTALL(\"$FILES$\", \"DELETE(%TARGET%\\MAIN.EXE)\")\r\n"
       "ADDDEINSTALL(\"$FILE$\", \"DELETE(^034C:\\X^034)\")\r\n"
       "ADDDEINSTALL(\"$CLEANUP$\", \"GOTO :X\")\r\n",
       {"1 deinstall-line", "2 73", "3 deinstall-line"}, "recorded for de-installation: parameter 1 of DELETE("},
      {"CREATEBACKDROP(\"B\")\r\n"
       "CREATECONTROL(\"button\", \"x\", 1, 0, 0, 10, 10, 0)\r\n"
       "CREATEDIALOG(\"D1\", \"Title\", 0, 0, 100, 100)\r\n"
       "CREATECONTROL(\"slider\", \"x\", 1, 0, 0, 10, 10, 0)\r\n"
       "CREATECUECARD(\"C\", 0, 0, 10, 10)\r\n"
       "SETFOCUS(1)\r\n"
       "CREATEDIALOG(\"D\", \"Title\", 0, 0, 100, 100)\r\n"
       "SET %A% = 1\r\n"
       "SETFOCUS(1)\r\n"  // the block ended at the error before
       "CREATEDIALOG(\"D\", \"Title\", 0, 0, 100, 100)\r\n"
       "CREATECONTROL(\"text\", \"Hi\", 1, 0, 0, 10, 10, 0, \"Arial\", 8, 0, 0, %C%)\r\n"
       "DIALOGBOX(\"d\")\r\nDIALOGBOX(\"welcome\")\r\nDIALOGBOX(\"WELCOM\")\r\n",
       {"11 21", "14 13", "2 58", "4 34", "6 57", "8 31", "9 65"}, "no control type"},
  };
  for (const auto& c : cases) {
    const CheckResult result = CheckText(c.script);
    EXPECT_EQ(Reported(result, "TEST.QLS"), c.reported) << c.script << "\n" << AllText(result);
    EXPECT_NE(AllText(result).find(c.saying), std::string::npos) << AllText(result);
  }
}

TEST(ScriptChecker, FindsWhatTheMediumLacksAndWhatTheCopiesNeed) {
  TempMedium medium;
  medium.Add("SUB.QLS", "GOTO :NOPE\r\n");
  // A compressed file's header gives its expanded length: 5000 bytes.
  medium.Add("APP/MAIN.EX_", std::string("SZDD\x88\xF0\x27\x33" "AE\x88\x13\0\0", 14) + "data");
  medium.Add("DATA/A.DAT", std::string(100, 'a'));
  medium.Add("DATA/B.DAT", std::string(20, 'b'));
  const MediumIndex index = medium.Index();
  const CheckResult result = CheckText(
      "SET %SOURCE% = %CURRENTDIRECTORY%\r\n"
      "ADDCHAR(%SOURCE%, \"\\\")\r\n"
      "CALL \"%SOURCE%SUB.QLS\"\r\n"
      "CALL \"OTHER\"\r\n"
      "COPYFILE(2)\r\n"
      "\"%SOURCE%APP\\MAIN.EX_\", \"C:\\APP\\\", \"Main\"\r\n"
      "\"%SOURCE%app\\nothere.txt\", \"C:\\APP\\\", \"Missing\"\r\n"
      "ENDCOPYFILE()\r\n"
      "COPYFILE(\"DATA\\*.DAT\", \"C:\\APP\\\")\r\n"
      "COPYFILE(\"%WINDOWSDIRECTORY%WIN.INI\", \"C:\\APP\\\")\r\n",
      &index);
  EXPECT_EQ(Reported(result, "TEST.QLS"), (std::vector<std::string>{"4 29", "7 16", "SUB.QLS:1 5"})) << AllText(result);
  EXPECT_EQ(result.copies, 3);
  EXPECT_EQ(result.copyBytes, 5000u + 100u + 20u);
}

TEST(ScriptChecker, ReportsWhatEachFixtureSays) {
  for (const std::string& folder : {std::string(QS_SCRIPT_FIXTURES), std::string(QS_SCRIPT_FIXTURES) + "/win32"}) {
    for (const fs::path& path : ScriptFixtures(folder)) {
      const ScriptFixture fixture = ReadScriptFixture(path);
      std::vector<std::string> expected;
      std::string main = fixture.mainScript;
      for (const std::string& d : fixture.directives) {
        if (StartsWith(d, "check ")) expected.push_back(d.substr(6));
        if (d == "scrambled") {
          ScrambleLine(main);
          main = std::string("\x00\x40", 2) + main;
        }
      }
      std::sort(expected.begin(), expected.end());
      TempMedium medium;
      for (const auto& [name, text] : fixture.files) medium.Add(name, text);
      const MediumIndex index = medium.Index();
      const CheckResult result = CheckScripts({{"TEST.QLS", main}}, &index);
      EXPECT_EQ(Reported(result, "TEST.QLS"), expected) << path << "\n" << AllText(result);
    }
  }
}

TEST(ScriptChecker, PassesTheScriptsThatShip) {
  std::vector<fs::path> scripts;
  for (const char* folder : {"resources", "examples", "tests/bench"})
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(QS_SOURCE_DIR) / folder,
                                                              fs::directory_options::skip_permission_denied))
      if (EqualsNoCase(entry.path().extension().string(), ".qls")) scripts.push_back(entry.path());
  EXPECT_GE(scripts.size(), 4u);
  for (const fs::path& path : scripts) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string script = bytes.str();
    // Scripts kept in UTF-8 (a utf8 folder) get CR LF line ends from the build.
    if (path.parent_path().filename() == "utf8") {
      ReplaceAll(script, "\r\n", "\n", true);
      ReplaceAll(script, "\n", "\r\n", true);
    }
    const CheckResult result = CheckScripts({{path.filename().string(), script}}, nullptr);
    EXPECT_TRUE(result.findings.empty()) << AllText(result);
  }
}
