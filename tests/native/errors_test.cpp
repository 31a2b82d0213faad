#include <gtest/gtest.h>

#include "engine/errors.h"
#include "tests/native/script_harness.h"

TEST(ScriptErrors, EveryCodeHasItsTextButTheUnusedOne) {
  ScriptRun run;
  for (int code = 10000; code <= 10094; ++code) {
    if (code == 10016) EXPECT_EQ(run.platform.ResourceText(code), "");
    else EXPECT_NE(run.platform.ResourceText(code), "") << code;
  }
}

TEST(ScriptErrors, LongMessagesAreCutSafely) {
  ScriptRun run;
  const std::string dir = "C:\\" + std::string(200, 'D');
  run.platform.currentDirectory = dir;
  const std::string line = "SET %A% = \"" + std::string(280, 'x') + "\" + 1";
  run.platform.AddFile(dir + "\\TEST.QLS", line + "\r\n");
  run.RunFile();
  ASSERT_EQ(run.platform.messages.size(), 1u);
  const std::string& text = run.platform.messages[0].text;
  EXPECT_EQ(text.size(), 499u);
  EXPECT_EQ(text.rfind("Error 21 in line 1 of c:\\ddd", 0), 0u);
  EXPECT_NE(text.find("Invalid numeric parameter\n\nSET %A%"), std::string::npos);
}

TEST(CodedMessages, PrefixChoosesIconAndButtons) {
  ScriptRun run;
  run.platform.answers = {ANSWER_CANCEL};
  EXPECT_EQ(ShowCodedMessage(run.ip, "?2Go on with %1?", -1, "copying", nullptr), ANSWER_CANCEL);
  ASSERT_EQ(run.platform.messages.size(), 1u);
  EXPECT_EQ(run.platform.messages[0].text, "Go on with copying?");
  EXPECT_EQ(run.platform.messages[0].style, unsigned{MSG_ICONQUESTION | MSG_OKCANCEL});
  EXPECT_EQ(run.platform.messages[0].title, "Setup");
  ShowCodedMessage(run.ip, "!Error %1: Object '%2' not found!", -1, "10060", "LOGO");
  EXPECT_EQ(run.platform.messages[1].text, "Error 10060: Object 'LOGO' not found!");
  EXPECT_EQ(run.platform.messages[1].style, unsigned{MSG_ICONEXCLAMATION});
  ShowCodedMessage(run.ip, "*6x", -1, nullptr, nullptr);
  EXPECT_EQ(run.platform.messages[2].style, unsigned{MSG_ICONSTOP | MSG_ABORTRETRYIGNORE});
  ShowCodedMessage(run.ip, "135plain", -1, nullptr, nullptr);  // digits in order: the last one counts
  EXPECT_EQ(run.platform.messages[3].text, "plain");
  EXPECT_EQ(run.platform.messages[3].style, unsigned{MSG_RETRYCANCEL});
  ShowCodedMessage(run.ip, "no prefix", -1, nullptr, nullptr);
  EXPECT_EQ(run.platform.messages[4].style, unsigned{MSG_OK});
  ShowResourceMessage(run.ip, 10060, -1, "61", "BACKDROP");
  EXPECT_EQ(run.platform.messages[5].text, "Error 61: Object 'BACKDROP' not found!");
}
