#include <gtest/gtest.h>

#include "engine/prompts.h"
#include "tests/native/script_harness.h"

namespace {

struct MemorySink : TextSink {
  std::string text;
  void Append(const std::string& more) override { text += more + "\n"; }
};

}  // namespace

TEST(RunSwitches, TakenOutOfTheWordsBeforeAnythingElseReadsThem) {
  const StartupOptions o = ParseCommandLine(
      "S.QLS /DIR:C:\\X /record:\"C:\\My Answers\\a.txt\" /DEBUG p1 /TIMEOUT:30 /Log:L.TXT /s /ANSWERS:", false, false);
  EXPECT_EQ(o.directory, "C:\\X");
  EXPECT_EQ(o.debugFile, "SETUP.DDB");
  EXPECT_EQ(o.parameters, "p1 /s");
  EXPECT_EQ(o.switches.recordFile, "C:\\My Answers\\a.txt");
  EXPECT_EQ(o.switches.logFile, "L.TXT");
  EXPECT_EQ(o.switches.timeoutSeconds, 30u);
  EXPECT_TRUE(o.switches.replay);
  EXPECT_EQ(o.switches.answersFile, "");
  EXPECT_TRUE(o.switches.TakeDefaults());

  // A plain /s keeps its old meaning; a file name holding "-s" does not make a run silent.
  EXPECT_FALSE(ParseCommandLine("S.QLS /s", false, false).switches.Unattended());
  const RunSwitches named = ParseCommandLine("S.QLS /LOG:C:\\x-s.log", false, false).switches;
  EXPECT_FALSE(named.silent);
  EXPECT_FALSE(named.Unattended());
  EXPECT_TRUE(ParseCommandLine("S.QLS /ANSWERS:a.txt", false, false).switches.Unattended());
  EXPECT_FALSE(ParseCommandLine("S.QLS /ANSWERS:a.txt", false, false).switches.TakeDefaults());

  for (const char* bad : {"/TIMEOUT:", "/TIMEOUT:-5", "/TIMEOUT:1.5", "/TIMEOUT:99999999", "/TIMEOUT:0"}) {
    const RunSwitches s = ParseCommandLine(std::string("S.QLS ") + bad, false, false).switches;
    EXPECT_TRUE(s.timeout) << bad;
    EXPECT_EQ(s.timeoutSeconds, 0u) << bad;
  }
}

TEST(RunSwitches, RelativeFilesAreNamedFromTheBootstrapsFolder) {
  EXPECT_EQ(WithAbsoluteSwitchPaths("a  \"b c\" /LOG:x.log /RECORD:C:\\r.txt /ANSWERS:\"my a.txt\" /TIMEOUT:5",
                                    "D:\\Deploy"),
            "a  \"b c\" /LOG:\"D:\\Deploy\\x.log\" /RECORD:C:\\r.txt /ANSWERS:\"D:\\Deploy\\my a.txt\" /TIMEOUT:5");
  EXPECT_EQ(WithAbsoluteSwitchPaths("/s -x", "D:\\"), "/s -x");
}

TEST(Answers, MessageBoxDefaultsAndCancellingAnswers) {
  EXPECT_EQ(DefaultBoxAnswer(MSG_YESNO), ANSWER_YES);
  EXPECT_EQ(DefaultBoxAnswer(MSG_YESNO | 0x100), ANSWER_NO);
  EXPECT_EQ(DefaultBoxAnswer(MSG_OKCANCEL | 0x300), ANSWER_OK);  // past the last button: the first
  EXPECT_EQ(DefaultBoxAnswer(MSG_ABORTRETRYIGNORE | 0x200), 5);
  EXPECT_EQ(CancellingBoxAnswer(MSG_YESNOCANCEL), ANSWER_CANCEL);
  EXPECT_EQ(CancellingBoxAnswer(MSG_YESNO), ANSWER_NO);
  EXPECT_EQ(CancellingBoxAnswer(MSG_ABORTRETRYIGNORE), 3);
  EXPECT_EQ(CancellingBoxAnswer(MSG_OK), ANSWER_OK);
}

TEST(Answers, RecordedAnswersAreFoundAgainByWhatWasAskedAndHowOften) {
  Question box = BoxQuestion(QuestionKind::Message, "Line one\nline ^two ", " Title", MSG_YESNO);
  Question page;
  page.kind = QuestionKind::Page;
  page.name = "ASKPATH";
  page.fields = {{"CAPTION", "Setup"}, {"MESSAGE1", "Where to?"}};
  Answer pageAnswer{1, {{"INSTALLPATH", "C:\\A B"}, {"INSTALLDRIVE", ""}}};
  // The recording as a run writes it, the second box block edited on another system (LF only).
  std::string file = AnswerSource::RecordHeader("C:\\S.QLS", "now") +
                     AnswerSource::RecordText(box, 1, {7, {}}, AnswerWay::Asked) +
                     AnswerSource::RecordText(page, 1, pageAnswer, AnswerWay::Default);
  std::string second = AnswerSource::RecordText(box, 2, {6, {}}, AnswerWay::Asked);
  for (size_t at; (at = second.find('\r')) != std::string::npos;) second.erase(at, 1);
  file += second;

  AnswerSource source;
  int badLine = -1;
  ASSERT_TRUE(source.Load(file, badLine));
  source.Configure(true, true, false);
  Answer answer;
  int occurrence = 0;
  EXPECT_EQ(source.Decide(box, answer, occurrence), AnswerWay::Replayed);
  EXPECT_EQ(answer.button, 7);
  EXPECT_EQ(source.Decide(box, answer, occurrence), AnswerWay::Replayed);
  EXPECT_EQ(occurrence, 2);
  EXPECT_EQ(answer.button, 6);
  EXPECT_EQ(source.Decide(box, answer, occurrence), AnswerWay::Asked);  // a third time: not in the file

  std::reverse(page.fields.begin(), page.fields.end());  // the fields' order does not matter
  EXPECT_EQ(source.Decide(page, answer, occurrence), AnswerWay::Replayed);
  EXPECT_EQ(answer.button, 1);
  ASSERT_EQ(answer.values.size(), 2u);
  EXPECT_EQ(answer.values[0].value, "C:\\A B");
  EXPECT_EQ(answer.values[1].value, "");

  Question other = box;
  other.fields[1].value = "Line one";
  EXPECT_EQ(source.Decide(other, answer, occurrence), AnswerWay::Asked);

  const std::pair<const char*, int> bad[] = {
      {"title = x\n", 3},      {"[message]\n", 3},     {"[nonsense 1]\n", 3}, {"[message 1]\nno assignment\n", 4},
      {"[message 1]\nanswer = Yes\n", 4}, {"[message 1]\ntitle = x\n[message 2]\nanswer = 1\n", 3}};
  for (const auto& [text, line] : bad) {
    EXPECT_FALSE(source.Load(std::string("; comment\n\n") + text, badLine)) << text;
    EXPECT_EQ(badLine, line) << text;
  }
}

TEST(Answers, NobodyAnswersDefaultsOnceThenEndsTheQuestion) {
  AnswerSource source;
  source.Configure(false, true, true);
  Answer answer;
  int occurrence = 0;
  const Question retry = BoxQuestion(QuestionKind::Disk, "Insert disk 2", "Setup", MSG_OKCANCEL);
  EXPECT_EQ(source.Decide(retry, answer, occurrence), AnswerWay::Default);
  EXPECT_EQ(answer.button, ANSWER_OK);
  EXPECT_EQ(source.Decide(retry, answer, occurrence), AnswerWay::Cancelling);
  EXPECT_EQ(answer.button, ANSWER_CANCEL);
  EXPECT_EQ(source.Decide(BoxQuestion(QuestionKind::Error, "Error 21", "Setup", MSG_OK), answer, occurrence),
            AnswerWay::Notice);

  // Answers from a file but no /s: a question that the file does not answer is shown, a box with
  // nothing to choose is not.
  source.Configure(true, true, false);
  EXPECT_EQ(source.Decide(BoxQuestion(QuestionKind::Message, "Go?", "Setup", MSG_YESNO), answer, occurrence),
            AnswerWay::Asked);
  EXPECT_EQ(source.Decide(BoxQuestion(QuestionKind::Message, "Done", "Setup", MSG_OK), answer, occurrence),
            AnswerWay::Notice);
}

TEST(UnattendedRun, NothingIsShownAndTheVerdictSaysHowItEnded) {
  ScriptRun run;
  MemorySink log, record;
  run.ip.installLog.Attach(&log);
  run.ip.answerRecord = &record;
  run.ip.answers.Configure(false, true, true);
  run.platform.volumeLabels["A"] = "OTHER";
  run.Run(Lines({"MESSAGEBOX(\"Install the device?\", \"Setup\", MB_YESNO, 256)", "SET %ANSWER% = %ERROR%",
                 "CHECKLABEL(\"A\", \"DISK2\", \"Insert disk 2\")", "SET %DISK% = %ERROR%", "SET %A% = \"x\" + 1",
                 "SET %AFTER% = 1"}));
  EXPECT_TRUE(run.platform.messages.empty());
  EXPECT_EQ(run.Var("ANSWER"), "7");
  EXPECT_EQ(run.Var("DISK"), "2");  // OK looked again, the second time the prompt was cancelled
  EXPECT_EQ(run.Var("AFTER"), "");  // the error ended the run, as it would have with its box
  EXPECT_EQ(FinishRun(run.ip), VERDICT_SCRIPT_ERROR);
  EXPECT_NE(log.text.find("Script error: Error 21 in line 5"), std::string::npos) << log.text;
  EXPECT_NE(log.text.find("Answered by default (nobody answers): disk 1"), std::string::npos);
  EXPECT_NE(log.text.find("Verdict: 2 script error"), std::string::npos);
  EXPECT_NE(record.text.find("[disk 2]\r\n; asked again"), std::string::npos) << record.text;

  ScriptRun ended;
  ended.Run(Lines({"SET %EXITCODE% = 3", "STOP"}));
  EXPECT_EQ(FinishRun(ended.ip), VERDICT_ENDED_BY_SCRIPT);
  ScriptRun done;
  done.platform.environment["EXITCODE"] = "5";  // only the script's own variable counts
  done.Run(Lines({"SET %A% = 1"}));
  EXPECT_EQ(FinishRun(done.ip), VERDICT_SUCCESS);
}

TEST(UnattendedRun, TheTimeLimitEndsALoopThatNeverEnds) {
  ScriptRun run;
  run.platform.tick = 7;
  StartTimeLimit(run.ip, 2);
  run.Run(Lines({"SET %N% = 0", "WHILE 1 == 1", "SET %N% = %N% + 1", "WEND"}));
  EXPECT_GT(run.ip.variables.GetVariableNumber("N"), 50);
  EXPECT_EQ(FinishRun(run.ip), VERDICT_TIMED_OUT);
}
