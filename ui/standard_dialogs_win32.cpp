// DIALOGBOX(: a script's own dialog object or one of the built-in pages, shown modally while
// the copy gauge and the wait message step aside; the button that closed it goes to ERROR.
#include "ui/standard_dialogs_win32.h"

#include "commands/command_families.h"
#include "engine/executor.h"
#include "engine/prompts.h"
#include "support/dialog_template_win32.h"
#include "support/text.h"
#include "ui/installer_windows_win32.h"
#include "ui/language.h"
#include "ui/user_dialog_win32.h"

namespace {

// A page is known by its name and the texts it shows; a script's dialog by its name and caption.
Question DialogQuestion(Interpreter& ip, const std::string& name, const UserObject* object, const StandardPage& page) {
  Question question;
  question.kind = object ? QuestionKind::Dialog : QuestionKind::Page;
  question.name = name;
  if (object) {
    question.fields.push_back({"caption", ExpandTextMacros(ip, object->caption)});
  } else {
    for (const std::string& variable : PageTextVariables(page))
      question.fields.push_back({variable, PageVariable(ip, variable, variable != "FILTERS")});
  }
  return question;
}

// The variables a page or dialog wrote, each once, in the order it first wrote them.
std::vector<AnswerField> WrittenValues(const Interpreter& ip, const std::vector<std::string>& written) {
  std::vector<AnswerField> values;
  for (const std::string& name : written) {
    bool seen = false;
    for (const AnswerField& value : values) seen = seen || value.name == name;
    if (!seen) values.push_back({name, ip.variables.StoredValue(name)});
  }
  return values;
}

// Shows the page or dialog; [press] says whether a person answers it or it answers itself.
// The system's file dialogs cannot answer themselves: unanswered, they are cancelled.
int RunDialog(Interpreter& ip, const UserObject* object, const StandardPage& page, int press, int32_t& closingId) {
  if (object) return RunUserDialog(ip, *object, closingId, press);
  if (page.kind == PageKind::OpenFile || page.kind == PageKind::SaveAs) {
    if (press == kPressNothing) RunFileDialog(ip, page.kind == PageKind::SaveAs, closingId);
    else closingId = IDCANCEL;
    return 0;
  }
  return RunStandardPage(ip, page, closingId, press);
}

// Every page and dialog is a question for the answer source: replayed from the answer file (the
// variables it wrote then are stored again, nothing is shown), answered by itself with its
// default button, or shown; what it wrote is recorded with the button that closed it.
int ShowNamedDialog(Interpreter& ip, const std::string& name, int32_t& closingId) {
  const UserObject* object = ip.objects.Find(name);
  StandardPage page;
  if (object && object->kind != ObjectKind::Dialog) return ERR_NOT_A_DIALOG;
  if (!object && !FindStandardPage(name, page)) return ERR_INVALID_TEMPLATE_NAME;

  Asking asking = BeginQuestion(ip, DialogQuestion(ip, name, object, page));
  int result = 0;
  if (asking.way == AnswerWay::Replayed) {
    const int stored = StoreAnswerValues(ip, asking.answer);
    closingId = asking.answer.button;
    if (object) result = stored;  // a built-in page's failed store is no error of the command
  } else {
    const int press = asking.way == AnswerWay::Asked     ? kPressNothing
                      : asking.way == AnswerWay::Default ? kPressDefault
                                                         : IDCANCEL;
    std::vector<std::string> written;
    ip.variables.JournalWrites(&written);
    result = RunDialog(ip, object, page, press, closingId);
    ip.variables.JournalWrites(nullptr);
    asking.answer.button = closingId;
    asking.answer.values = WrittenValues(ip, written);
  }
  if (result == 0) EndQuestion(ip, asking);
  return result;
}

int DialogBoxCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  ip.platform.BeginUserPrompt();
  int32_t closingId = IDCANCEL;
  int result = ShowNamedDialog(ip, UpperAscii(name), closingId);
  ip.platform.EndUserPrompt();
  if (result != 0) return result;
  result = SetErrorVariable(ip, closingId);
  ip.platform.PumpMessages();
  return result;
}

}  // namespace

std::string PageVariable(Interpreter& ip, const std::string& name, bool expand) {
  const std::string value = ip.variables.GetVariable(name);
  return expand ? ExpandTextMacros(ip, value) : value;
}

PageTextLookup PageTexts(Interpreter& ip) {
  return [&ip](int id) {
    const bool languageText = id >= 14000 && id < 15000;
    return AnsiToUtf16(languageText ? LanguageText(ip, id) : ip.platform.ResourceText(id));
  };
}

void AddDialogCommands(CommandTable& table) { table.Add(TOK_DIALOGBOX, DialogBoxCommand); }
