#include "engine/prompts.h"

#include "engine/interpreter.h"
#include "support/text.h"

namespace {

const char* WayText(AnswerWay way) {
  switch (way) {
    case AnswerWay::Asked: return "Answered by the user";
    case AnswerWay::Replayed: return "Answered from the answer file";
    case AnswerWay::Default: return "Answered by default (nobody answers)";
    case AnswerWay::Cancelling: return "Asked again after its default, answered with its cancelling answer";
    case AnswerWay::Notice: return "Not shown (nobody answers)";
  }
  return "";
}

// kind, name, occurrence and the fields' values: enough to find the block in a recording.
std::string Described(const Asking& asking) {
  const Question& q = asking.question;
  std::string text = QuestionKindName(q.kind);
  if (!q.name.empty()) text += " " + q.name;
  text += " " + DecimalText(asking.occurrence);
  for (const AnswerField& field : q.fields) text += " \"" + field.value + "\"";
  return text;
}

}  // namespace

Question BoxQuestion(QuestionKind kind, const std::string& text, const std::string& title, unsigned style) {
  Question question;
  question.kind = kind;
  question.fields = {{"title", title}, {"text", text}};
  question.style = style;
  return question;
}

Asking BeginQuestion(Interpreter& ip, Question question) {
  Asking asking;
  asking.question = std::move(question);
  asking.way = ip.answers.Decide(asking.question, asking.answer, asking.occurrence);
  return asking;
}

void EndQuestion(Interpreter& ip, const Asking& asking) {
  const bool box = asking.question.IsBox();
  if (ip.answerRecord) ip.answerRecord->Append(AnswerSource::RecordText(asking.question, asking.occurrence, asking.answer, asking.way));
  if (ip.log.Enabled())
    ip.log.LogText(std::string(WayText(asking.way)) + ": " + Described(asking) + " -> " +
                   AnswerText(asking.answer.button, box) + "\r\n");
  if (asking.way == AnswerWay::Notice)
    ip.installLog.Note(WayText(asking.way), ": ", Described(asking));
  else
    ip.installLog.Note(WayText(asking.way), ": ", Described(asking), " -> ", AnswerText(asking.answer.button, box));
}

int AskMessage(Interpreter& ip, QuestionKind kind, const std::string& text, const std::string& title, unsigned style,
               std::vector<AnswerField> fields, int helpId) {
  Question question = BoxQuestion(kind, text, title, style);
  if (!fields.empty()) question.fields = std::move(fields);
  Asking asking = BeginQuestion(ip, std::move(question));
  if (asking.way == AnswerWay::Asked) asking.answer.button = ip.platform.ShowMessage(text, title, style, helpId);
  EndQuestion(ip, asking);
  return asking.answer.button;
}

int StoreAnswerValues(Interpreter& ip, const Answer& answer) {
  for (const AnswerField& value : answer.values)
    if (int r = ip.variables.SetVariable(value.name, value.value)) return r;
  return 0;
}
