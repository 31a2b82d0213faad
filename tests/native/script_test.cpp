// Runs every script fixture in tests/scripts through the portable engine. A fixture carries
// its expectations inline, in comment lines that begin with "//>":
//   //> var NAME = VALUE     the variable holds VALUE after the run (\n is a line feed, \r a
//                           carriage return; any other backslash stands for itself)
//   //> unset NAME           the variable is not set (and has no environment value)
//   //> message TEXT         the next message box shown holds TEXT (same escapes)
//   //> messages N           N message boxes in all
//   //> answer N             the next message box is answered with N (1 OK, 2 Cancel, 6 Yes ...)
//   //> log TEXT             the debug log contains TEXT;  //> nolog TEXT: it does not
//   //> env NAME=VALUE       an environment variable for the run
//   //> label D LABEL        drive D has the volume label LABEL
//   //> version MAJOR MINOR PLATFORMID   what the version query reports
//   //> scrambled            the main script is stored in the scrambled form
//   //> file NAME ... //> end   a further file in the current directory (lines in between)
//   //> check [NAME:]LINE ID     what the script checker reports (its own tests read these)
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "engine/script_files.h"
#include "support/text.h"
#include "tests/native/script_harness.h"

namespace {

std::string Unescape(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (text[i] == '\\' && (next == 'n' || next == 'r')) {
      out += next == 'n' ? '\n' : '\r';
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Scrambled(const std::string& script) {
  std::string out("\x00\x40", 2);
  std::string copy = script;
  ScrambleLine(copy);
  return out + copy;
}

class ScriptFixtureRun : public ::testing::TestWithParam<std::filesystem::path> {};

TEST_P(ScriptFixtureRun, MeetsItsExpectations) {
  ScriptRun run;
  ScriptFixture fixture = ReadScriptFixture(GetParam());
  for (const auto& [name, text] : fixture.files) run.platform.AddFile(run.platform.currentDirectory + "\\" + name, text);
  // Set-up directives first.
  for (const std::string& d : fixture.directives) {
    std::istringstream words(d);
    std::string verb;
    words >> verb;
    if (verb == "answer") {
      int answer = 0;
      words >> answer;
      run.platform.answers.push_back(answer);
    } else if (verb == "env") {
      const std::string rest = d.substr(4);
      run.platform.environment[rest.substr(0, rest.find('='))] = rest.substr(rest.find('=') + 1);
    } else if (verb == "label") {
      std::string drive, label;
      words >> drive >> label;
      run.platform.volumeLabels[drive] = label;
    } else if (verb == "version") {
      words >> run.platform.version.major >> run.platform.version.minor >> run.platform.version.platformId;
    } else if (verb == "scrambled") {
      fixture.mainScript = Scrambled(fixture.mainScript);
    }
  }
  ASSERT_EQ(run.Run(fixture.mainScript), 0);
  size_t messageIndex = 0;
  for (const std::string& d : fixture.directives) {
    std::istringstream words(d);
    std::string verb, name;
    words >> verb;
    if (verb == "var") {
      words >> name;
      const size_t eq = d.find(" = ");
      EXPECT_EQ(run.Var(name), Unescape(eq == std::string::npos ? "" : d.substr(eq + 3))) << "variable " << name;
    } else if (verb == "unset") {
      words >> name;
      EXPECT_EQ(run.Var(name), "") << "variable " << name;
    } else if (verb == "message") {
      ASSERT_LT(messageIndex, run.platform.messages.size()) << "missing message " << d;
      EXPECT_EQ(run.platform.messages[messageIndex++].text, Unescape(d.substr(8)));
    } else if (verb == "messages") {
      size_t count = 0;
      words >> count;
      EXPECT_EQ(run.platform.messages.size(), count);
    } else if (verb == "log") {
      EXPECT_NE(run.Log().find(Unescape(d.substr(4))), std::string::npos) << "log lacks " << d.substr(4);
    } else if (verb == "nolog") {
      EXPECT_EQ(run.Log().find(Unescape(d.substr(6))), std::string::npos) << "log has " << d.substr(6);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Scripts, ScriptFixtureRun, ::testing::ValuesIn(ScriptFixtures(QS_SCRIPT_FIXTURES)),
                         [](const ::testing::TestParamInfo<std::filesystem::path>& param) {
                           std::string name = param.param.stem().string();
                           for (char& c : name)
                             if (!isalnum(static_cast<unsigned char>(c))) c = '_';
                           return name;
                         });

}  // namespace
