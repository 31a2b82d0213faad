// The commands that move the read position between lines and files: GOTO, CALL, EXIT, STOP,
// SKIP(, and CHECKLABEL(, which waits for the disk with a given volume label.
#include "engine/executor.h"
#include "engine/prompts.h"
#include "support/text.h"

namespace {

int GotoCommand(Interpreter& ip, TokenLine& line) {
  if (line.At(line.cursor) != TOK_LABEL) return ERR_INVALID_LABEL;
  return ip.files.GotoLabel(":" + ip.strings.Next());
}

int CallCommand(Interpreter& ip, TokenLine& line) {
  if (int r = CheckString(line, line.cursor, 1)) return r;
  const std::string name = StringParam(ip, line, line.cursor, true);
  if (int r = ip.files.OpenScript(ip.platform, ip.log, ip.platform.CurrentDirectory(), name)) return r;
  return ip.variables.SetVariable("SCRIPTFILE", ip.files.Current().path);
}

int ExitCommand(Interpreter& ip, TokenLine&) {
  ip.files.CloseScript();
  if (!ip.files.AnyOpen()) return 0;
  return ip.variables.SetVariable("SCRIPTFILE", ip.files.Current().path);
}

int StopCommand(Interpreter& ip, TokenLine&) {
  ip.files.CloseAll();
  return 0;
}

int SkipCommand(Interpreter& ip, TokenLine& line) {
  if (int r = CheckNumber(line, line.cursor, 1)) return r;
  const int32_t count = NumberParam(ip, line, line.cursor);
  if (CurrentError(ip) != 0) return 0;  // a variable that is not a number skips nothing
  for (int32_t i = 0; i < count && ip.files.ReadNextLine() == 0; ++i) {
  }
  return 0;
}

int CheckLabelCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  if (int r = CheckString(line, c, 1)) return r;
  const std::string drive = StringParam(ip, line, c, true).substr(0, 1);
  if (int r = CheckString(line, c + 2, 2)) return r;
  const std::string expected = UpperAscii(StringParam(ip, line, c + 2, true));
  if (int r = CheckString(line, c + 4, 3)) return r;
  const std::string prompt = StringParam(ip, line, c + 4, true);
  const std::string title = ip.variables.GetVariable("CAPTION");
  for (;;) {
    if (ip.platform.VolumeLabel(drive) == expected) return SetErrorVariable(ip, 1);
    ip.platform.BeginUserPrompt();
    const int answer = AskMessage(ip, QuestionKind::Disk, prompt, title, MSG_OKCANCEL | MSG_ICONEXCLAMATION);
    ip.platform.EndUserPrompt();
    // Anything but OK (Cancel, or a box that could not be shown) ends the wait.
    if (answer != ANSWER_OK) return SetErrorVariable(ip, 2);
  }
}

}  // namespace

void AddFlowCommands(CommandTable& table) {
  table.Add(TOK_GOTO, GotoCommand);
  table.Add(TOK_CALL, CallCommand);
  table.Add(TOK_EXIT, ExitCommand);
  table.Add(TOK_STOP, StopCommand);
  table.Add(TOK_SKIP, SkipCommand);
  table.Add(TOK_CHECKLABEL, CheckLabelCommand);
}
