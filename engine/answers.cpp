#include "engine/answers.h"

#include <algorithm>
#include <cstdio>

#include "support/text.h"

namespace {

constexpr unsigned kButtonBits = 0x0F;
constexpr unsigned kDefaultButtonShift = 8;
constexpr const char* kKindNames[] = {"message", "error", "overwrite", "disk", "page", "dialog"};

bool IsDigits(const std::string& text) {
  return !text.empty() && text.size() <= 9 && text.find_first_not_of("0123456789") == std::string::npos;
}

bool KindOf(const std::string& name, QuestionKind& kind) {
  for (size_t i = 0; i < sizeof kKindNames / sizeof *kKindNames; ++i) {
    if (name != kKindNames[i]) continue;
    kind = static_cast<QuestionKind>(i);
    return true;
  }
  return false;
}

std::vector<AnswerField> Sorted(std::vector<AnswerField> fields) {
  std::sort(fields.begin(), fields.end(), [](const AnswerField& a, const AnswerField& b) {
    return a.name != b.name ? a.name < b.name : a.value < b.value;
  });
  return fields;
}

// "name = value", or "name =" for an empty value that an editor trimmed.
bool SplitAssignment(const std::string& line, std::string& name, std::string& value) {
  const size_t at = line.find(" = ");
  if (at != std::string::npos) {
    name = line.substr(0, at);
    value = UnescapeAnswerText(line.substr(at + 3));
  } else if (EndsWith(line, " =")) {
    name = line.substr(0, line.size() - 2);
    value.clear();
  } else {
    return false;
  }
  return !name.empty();
}

// Lines ended by LF or CR LF (an answer file may have passed through any editor).
std::vector<std::string> FileLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    start = end + 1;
  }
  return lines;
}

}  // namespace

std::vector<int> BoxButtons(unsigned style) {
  switch (style & kButtonBits) {
    case 1: return {1, 2};        // OK, Cancel
    case 2: return {3, 4, 5};     // Abort, Retry, Ignore
    case 3: return {6, 7, 2};     // Yes, No, Cancel
    case 4: return {6, 7};        // Yes, No
    case 5: return {4, 2};        // Retry, Cancel
    case 6: return {2, 10, 11};   // Cancel, Try Again, Continue
    default: return {1};          // OK
  }
}

int DefaultBoxAnswer(unsigned style) {
  const std::vector<int> buttons = BoxButtons(style);
  const size_t chosen = (style >> kDefaultButtonShift) & 0x0F;
  return chosen < buttons.size() ? buttons[chosen] : buttons.front();
}

int CancellingBoxAnswer(unsigned style) {
  const std::vector<int> buttons = BoxButtons(style);
  for (int stop : {2, 7, 3})
    if (std::find(buttons.begin(), buttons.end(), stop) != buttons.end()) return stop;
  return buttons.front();
}

std::string AnswerText(int button, bool box) {
  static const char* const kNames[] = {nullptr, "OK", "Cancel", "Abort", "Retry", "Ignore", "Yes", "No",
                                       nullptr, nullptr, "Try Again", "Continue"};
  const std::string number = DecimalText(button);
  if (!box || button < 1 || button > 11 || !kNames[button]) return number;
  return number + " (" + kNames[button] + ")";
}

std::string EscapeAnswerText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const bool edgeBlank = c == ' ' && (i == 0 || i + 1 == text.size());
    if (c < 32 || c == 127 || c == '^' || edgeBlank) {
      char code[8];
      std::snprintf(code, sizeof code, "^%03u", c);
      out += code;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

std::string UnescapeAnswerText(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    const std::string digits = text.substr(i + 1, 3);
    if (text[i] == '^' && digits.size() == 3 && IsDigits(digits) && std::stoi(digits) < 256) {
      out += static_cast<char>(std::stoi(digits));
      i += 3;
    } else {
      out += text[i];
    }
  }
  return out;
}

const char* QuestionKindName(QuestionKind kind) { return kKindNames[static_cast<size_t>(kind)]; }

void AnswerSource::Configure(bool replay, bool unattended, bool takeDefaults) {
  replay_ = replay;
  unattended_ = unattended;
  takeDefaults_ = takeDefaults;
}

bool AnswerSource::Load(const std::string& text, int& badLine) {
  entries_.clear();
  Entry* entry = nullptr;
  int lineNumber = 0, entryLine = 0;
  bool answered = true;
  for (const std::string& raw : FileLines(text)) {
    ++lineNumber;
    const std::string line = Trim(raw, 'R', " \t");
    if (Trim(line, 'L', " \t").empty() || line[0] == ';') continue;
    badLine = lineNumber;
    if (line.front() == '[' && line.back() == ']') {
      if (!answered) {  // the block before has no answer
        badLine = entryLine;
        return false;
      }
      // "[kind name occurrence]": the name (pages and dialogs only) is what lies between.
      const std::string inside = line.substr(1, line.size() - 2);
      const size_t kindEnd = inside.find(' '), numberStart = inside.rfind(' ');
      QuestionKind kind;
      if (kindEnd == std::string::npos || !KindOf(inside.substr(0, kindEnd), kind) ||
          !IsDigits(inside.substr(numberStart + 1)))
        return false;
      const std::string name = Trim(inside.substr(kindEnd, numberStart - kindEnd), 'B', " ");
      entries_.push_back({kind, UnescapeAnswerText(name), std::stoi(inside.substr(numberStart + 1)), {}, {}});
      entry = &entries_.back();
      entryLine = lineNumber;
      answered = false;
      continue;
    }
    std::string name, value;
    if (!entry || !SplitAssignment(line, name, value)) return false;
    if (name == "answer") {
      if (!IsDigits(Trim(value, 'L', " ").substr(0, 1))) return false;
      entry->answer.button = LeadingNumber(value);
      answered = true;
    } else if (StartsWith(name, "set ")) {
      entry->answer.values.push_back({UpperAscii(Trim(name.substr(4), 'B', " ")), value});
    } else {
      entry->fields.push_back({name, value});
    }
  }
  if (!answered) {  // a block without its answer
    badLine = entryLine;
    return false;
  }
  for (Entry& e : entries_) e.fields = Sorted(std::move(e.fields));
  badLine = 0;
  return true;
}

std::string AnswerSource::Identity(const Question& question) {
  std::string identity = std::string(QuestionKindName(question.kind)) + '\x1f' + question.name;
  for (const AnswerField& field : question.fields) identity += '\x1e' + field.name + '\x1f' + field.value;
  return identity;
}

const AnswerSource::Entry* AnswerSource::Find(const Question& question, int occurrence) const {
  const std::vector<AnswerField> fields = Sorted(question.fields);
  for (const Entry& entry : entries_) {
    if (entry.kind == question.kind && entry.occurrence == occurrence && EqualsNoCase(entry.name, question.name) &&
        entry.fields == fields)
      return &entry;
  }
  return nullptr;
}

AnswerWay AnswerSource::Decide(const Question& question, Answer& answer, int& occurrence) {
  const std::string identity = Identity(question);
  occurrence = ++asked_[identity];
  if (replay_) {
    if (const Entry* entry = Find(question, occurrence)) {
      answer = entry->answer;
      return AnswerWay::Replayed;
    }
  }
  if (unattended_ && question.IsBox() && BoxButtons(question.style).size() == 1) {
    answer.button = BoxButtons(question.style).front();
    return AnswerWay::Notice;
  }
  if (!takeDefaults_) return AnswerWay::Asked;
  // A default that brings the same question back got the script nowhere (a disk prompt whose
  // OK looks again, a page the script shows until it likes the answer): the second time the
  // question gets the answer that ends it.
  const bool again = !defaulted_.insert(identity).second;
  if (question.IsBox()) answer.button = again ? CancellingBoxAnswer(question.style) : DefaultBoxAnswer(question.style);
  return again ? AnswerWay::Cancelling : AnswerWay::Default;
}

std::string AnswerSource::RecordText(const Question& question, int occurrence, const Answer& answer, AnswerWay way) {
  std::string text;
  if (way == AnswerWay::Notice) {
    text = std::string("; ") + QuestionKindName(question.kind) + " shown to nobody:";
    for (const AnswerField& field : question.fields) text += " " + field.name + " = " + EscapeAnswerText(field.value) + ";";
    return text.substr(0, text.size() - 1) + "\r\n";
  }
  text = "[" + std::string(QuestionKindName(question.kind)) +
         (question.name.empty() ? "" : " " + EscapeAnswerText(question.name)) + " " + DecimalText(occurrence) + "]\r\n";
  if (way == AnswerWay::Default) text += "; nobody answered: the default was taken\r\n";
  if (way == AnswerWay::Cancelling) text += "; asked again after its default: ended with the cancelling answer\r\n";
  for (const AnswerField& field : question.fields) text += field.name + " = " + EscapeAnswerText(field.value) + "\r\n";
  text += "answer = " + AnswerText(answer.button, question.IsBox()) + "\r\n";
  for (const AnswerField& value : answer.values) text += "set " + value.name + " = " + EscapeAnswerText(value.value) + "\r\n";
  return text + "\r\n";
}

std::string AnswerSource::RecordHeader(const std::string& script, const std::string& when) {
  return "; Answers to the questions of " + script + ", recorded " + when +
         ".\r\n"
         "; SETUP.EXE /ANSWERS:<this file> answers each question from its block without showing it;\r\n"
         "; with /s too, a question that no block answers takes its default. A block is found by its\r\n"
         "; kind, its occurrence (the same question asked a second time is 2) and its fields, which\r\n"
         "; are compared whole. \"^\" and three digits stand for one character (^010 is a line break).\r\n\r\n";
}
