// MESSAGEBOX(, SETLANGUAGE( and GETLANGUAGE(: a standard message box whose answer the script
// reads from ERROR, and the interface language.
#include "engine/executor.h"
#include "engine/prompts.h"
#include "support/text.h"
#include "ui/language.h"

namespace {

int MessageBoxCommand(Interpreter& ip, TokenLine& line) {
  std::string text, title;
  int32_t style = 0, extra = 0;
  if (int r = ReadStringParam(ip, line, 1, text)) return r;
  if (int r = ReadStringParam(ip, line, 2, title)) return r;
  if (int r = ReadLiteralNumberParam(ip, line, 3, style)) return r;
  if (int r = ReadLiteralNumberParam(ip, line, 4, extra)) return r;
  ip.platform.BeginUserPrompt();
  const int answer = AskMessage(ip, QuestionKind::Message, text, title, static_cast<unsigned>(style | extra));
  const int stored = SetErrorVariable(ip, answer);
  ip.platform.EndUserPrompt();
  ip.platform.PumpMessages();
  return stored;
}

int SetLanguageCommand(Interpreter& ip, TokenLine& line) {
  std::string name;
  if (int r = ReadStringParam(ip, line, 1, name)) return r;
  const std::string upper = UpperAscii(name);
  for (int index = 0; index < kLanguageCount; ++index) {
    if (upper == LanguageCommandName(index)) {
      ip.languageIndex = index;
      return 0;
    }
  }
  return ERR_UNSUPPORTED_LANGUAGE;
}

int GetLanguageCommand(Interpreter& ip, TokenLine& line) {
  line.paramNo = 1;
  if (line.At(line.cursor) != TOK_VARIABLE) return ERR_INVALID_VARIABLE_NAME;
  const std::string name = VariableName(ip, line);
  const int index = CurrentLanguage(ip);
  return ip.variables.SetVariable(name, LanguageStoredName(index >= 1 && index <= 9 ? index : 0));
}

}  // namespace

void AddMessageCommands(CommandTable& table) {
  table.Add(TOK_MESSAGEBOX, MessageBoxCommand);
  table.Add(TOK_SETLANGUAGE, SetLanguageCommand);
  table.Add(TOK_GETLANGUAGE, GetLanguageCommand);
}
