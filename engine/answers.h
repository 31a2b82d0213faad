// Where the answers to the interpreter's questions come from: the person at the screen, an
// answer file that an earlier run recorded, or the question's own default in a run that nobody
// watches. Portable: the answer file is text read and written by the caller.
//
// A question is known by what was asked: its kind, for a page or dialog its name, and its
// fields (a box's title and text, the overwrite question's two files, a page's caption and
// message texts), together with how often exactly that question has been asked in the run so
// far. The answer file holds one block per answer:
//
//   [message 1]                    kind, (page or dialog name,) occurrence
//   title = Lumivane Setup         the fields, compared whole
//   text = Install the device too?
//   answer = 6 (Yes)               the button (its leading number counts)
//   set INSTALLPATH = C:\LUMI      pages and dialogs: the variables written back, in order
//
// Texts keep their bytes; a control character, "^" and a blank at either end of a value are
// written as "^" and three decimal digits ("^010" is a line break). Lines that begin with ";"
// are comments.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

enum class QuestionKind { Message, Error, Overwrite, Disk, Page, Dialog };

struct AnswerField {
  std::string name;
  std::string value;
  bool operator==(const AnswerField& other) const { return name == other.name && value == other.value; }
};

struct Question {
  QuestionKind kind = QuestionKind::Message;
  std::string name;                 // pages and dialogs: the template or object name
  std::vector<AnswerField> fields;  // what was asked
  unsigned style = 0;               // boxes: the message-box style (buttons and default button)
  bool IsBox() const { return kind != QuestionKind::Page && kind != QuestionKind::Dialog; }
};

struct Answer {
  int button = 0;
  std::vector<AnswerField> values;  // pages and dialogs: the variables written back
};

// How a question was met.
enum class AnswerWay {
  Asked,      // shown to the person
  Replayed,   // taken from the answer file
  Default,    // nobody answers: the default button, a page's Continue or OK
  Cancelling, // asked again after its default: the answer that does not repeat it
  Notice,     // a box with nothing to choose in a run that nobody watches: not shown
};

// The buttons a message box of [style] shows, in order, as the answers they give.
std::vector<int> BoxButtons(unsigned style);
// The box's default button: the one its default-button bits choose, else the first.
int DefaultBoxAnswer(unsigned style);
// The answer that stops a question from coming back: Cancel, else No, else Abort, else the
// first button.
int CancellingBoxAnswer(unsigned style);
// "6 (Yes)" for box answers, the bare number otherwise.
std::string AnswerText(int button, bool box);

// The file form of a value, and back.
std::string EscapeAnswerText(const std::string& text);
std::string UnescapeAnswerText(const std::string& text);

// "message", "error", "overwrite", "disk", "page", "dialog".
const char* QuestionKindName(QuestionKind kind);

class AnswerSource {
 public:
  // [replay]: questions are looked up in the answers loaded; [unattended]: boxes with nothing to
  // choose are not shown; [takeDefaults]: a question that no answer covers takes its default.
  void Configure(bool replay, bool unattended, bool takeDefaults);
  bool Unattended() const { return unattended_; }
  bool TakesDefaults() const { return takeDefaults_; }

  // Reads the blocks of an answer file. False, with the number of the first line that is not
  // understood in [badLine], when the text is no answer file.
  bool Load(const std::string& text, int& badLine);

  // Decides how [question] is met and counts it; [answer] holds the answer for Replayed (and
  // the button of Default, Cancelling and Notice for boxes; pages press their own buttons).
  // [occurrence] gets how often the question has now been asked.
  AnswerWay Decide(const Question& question, Answer& answer, int& occurrence);

  // The block that records [answer] to [question], ready to be appended to a recording.
  static std::string RecordText(const Question& question, int occurrence, const Answer& answer, AnswerWay way);
  // The comment that opens a recording.
  static std::string RecordHeader(const std::string& script, const std::string& when);

 private:
  struct Entry {
    QuestionKind kind;
    std::string name;
    int occurrence;
    std::vector<AnswerField> fields;
    Answer answer;
  };
  static std::string Identity(const Question& question);
  const Entry* Find(const Question& question, int occurrence) const;

  bool replay_ = false, unattended_ = false, takeDefaults_ = false;
  std::vector<Entry> entries_;
  std::map<std::string, int> asked_;   // identity -> times asked
  std::set<std::string> defaulted_;    // identities that took their default once
};
