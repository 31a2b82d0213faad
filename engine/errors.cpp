#include "engine/errors.h"

#include <cstdio>

#include "engine/executor.h"
#include "engine/interpreter.h"
#include "engine/prompts.h"
#include "support/text.h"

namespace {
constexpr size_t kMessageBuffer = 500;  // characters of a message, the terminator not counted
constexpr int kProgramTitleId = 57344;  // "Setup"
}  // namespace

std::string FormatScriptError(Interpreter& ip, int32_t code) {
  std::string text = ip.platform.ResourceText(code);
  if (text.size() > kMessageBuffer - 1) text.resize(kMessageBuffer - 1);
  char number[16];
  std::snprintf(number, sizeof number, "%02d", ShownErrorNumber(code));
  ReplaceAll(text, "%1", number, true);
  const bool open = ip.files.AnyOpen();
  ReplaceAll(text, "%2", std::to_string(open ? ip.files.Current().lineNo : 0u), true);
  ReplaceAll(text, "%3", open ? LowerAscii(ip.files.Current().path) : std::string(), true);
  ReplaceAll(text, "%4", std::to_string(ip.line.paramNo), true);
  text += "\n\n";
  text += ip.files.LineText();
  // A long script path together with a long line can pass the message buffer: the end of the
  // line's text goes, the message itself stays whole.
  if (text.size() > kMessageBuffer - 1) text.resize(kMessageBuffer - 1);
  return text;
}

void ReportScriptError(Interpreter& ip, int32_t code) {
  ip.platform.SetBusyCursor(false);
  ip.platform.HideSetupWindow();
  SetCurrentError(ip, code);
  const std::string text = FormatScriptError(ip, code);
  ip.installLog.Note("Script error: ", text);
  AskMessage(ip, QuestionKind::Error, text, ip.platform.ResourceText(kProgramTitleId), MSG_OK | MSG_ICONEXCLAMATION);
  ip.platform.SetBusyCursor(true);
}

int ShowCodedMessage(Interpreter& ip, std::string text, int helpId, const char* first, const char* second) {
  unsigned style = 0;
  if (!text.empty()) {
    switch (text[0]) {
      case '*': style = MSG_ICONSTOP; break;
      case '?': style = MSG_ICONQUESTION; break;
      case 'i': style = MSG_ICONINFORMATION; break;
      case '!': style = MSG_ICONEXCLAMATION; break;
      default: break;
    }
    if (style != 0) text.erase(0, 1);
  }
  // ORDER: the digits are taken in this order; the last one found chooses the buttons.
  constexpr unsigned kButtons[] = {MSG_OK, MSG_OKCANCEL, MSG_YESNO, MSG_YESNOCANCEL, MSG_RETRYCANCEL,
                                   MSG_ABORTRETRYIGNORE};
  unsigned buttons = MSG_OK;
  for (char digit = '1'; digit <= '6'; ++digit) {
    if (!text.empty() && text[0] == digit) {
      buttons = kButtons[digit - '1'];
      text.erase(0, 1);
    }
  }
  if (first) ReplaceAll(text, "%1", first, true);
  if (second) ReplaceAll(text, "%2", second, true);
  ip.platform.SetBusyCursor(true);
  return AskMessage(ip, QuestionKind::Message, text, ip.platform.ResourceText(kProgramTitleId), style | buttons, {},
                    helpId);
}

int ShowResourceMessage(Interpreter& ip, int id, int helpId, const char* first, const char* second) {
  return ShowCodedMessage(ip, ip.platform.ResourceText(id), helpId, first, second);
}

namespace {

// TRAPERROR( trap, show )
int TrapErrorCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  if (int r = CheckNumber(line, c, 1)) return r;
  if (int r = CheckNumber(line, c + 2, 2)) return r;
  const int32_t trap = NumberParam(ip, line, c);
  const int32_t show = NumberParam(ip, line, c + 2);
  ip.trap.trapErrors = trap;
  ip.trap.showErrors = show;
  return 0;
}

}  // namespace

void AddErrorCommands(CommandTable& table) { table.Add(TOK_TRAPERROR, TrapErrorCommand); }

std::string ErrorMessageCore(std::string text) {
  if (StartsWith(text, "!")) text.erase(0, 1);
  const size_t body = text.find("\n\n");
  const std::string rest = body == std::string::npos ? "" : text.substr(body + 2);
  if (!rest.empty() && rest[0] != '%') {
    text = rest;
  } else {
    if (body != std::string::npos) text.resize(body);
    if (StartsWith(text, "Error")) {
      const size_t colon = text.find(": ");
      if (colon != std::string::npos) text = text.substr(colon + 2);
    }
    if (EndsWith(text, ":")) text.pop_back();
  }
  ReplaceAll(text, "\n", " ", true);
  return text;
}
