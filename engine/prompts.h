// Every question the interpreter puts to a person goes through here: the answer source in the
// interpreter's context decides whether the answer file answers it, its default does, or the
// person does; the answer is then recorded (/RECORD:) and, when nobody gave it, noted in the
// logs. Message boxes are shown from here; pages and dialogs by the dialog runner between
// BeginQuestion and EndQuestion.
#pragma once

#include <string>
#include <vector>

#include "engine/answers.h"

struct Interpreter;

struct Asking {
  Question question;
  Answer answer;
  AnswerWay way = AnswerWay::Asked;
  int occurrence = 0;
};

// A message box's question, known by its title and text.
Question BoxQuestion(QuestionKind kind, const std::string& text, const std::string& title, unsigned style);

Asking BeginQuestion(Interpreter& ip, Question question);
void EndQuestion(Interpreter& ip, const Asking& asking);

// A message box of [kind]: its answer as the box would give it. The box is known by its title
// and text unless [fields] says otherwise (the overwrite question by its two files).
int AskMessage(Interpreter& ip, QuestionKind kind, const std::string& text, const std::string& title, unsigned style,
               std::vector<AnswerField> fields = {}, int helpId = -1);

// Stores the variables of a replayed page or dialog in their order: 0, or the error of the first
// store that fails (the rest are not stored).
int StoreAnswerValues(Interpreter& ip, const Answer& answer);
