#include <cstdio>

#include "engine/main_loop.h"
#include "engine/prompts.h"
#include "support/text.h"

int OpenMainScript(Interpreter& ip, const StartupOptions& options) {
  int code = ip.files.OpenScript(ip.platform, ip.log, ip.platform.CurrentDirectory(), options.scriptName);
  if (code == 0) return 0;
  ip.platform.HideSetupWindow();
  if (code == ERR_SCRIPT_NOT_FOUND) code = ERR_MAIN_SCRIPT_NOT_FOUND;
  std::string text = ip.platform.ResourceText(code);
  ReplaceAll(text, "%1", std::to_string(ShownErrorNumber(code)), true);
  ReplaceAll(text, "%2", "0", true);
  ReplaceAll(text, "%3", options.scriptName, true);
  ip.platform.SetBusyCursor(false);
  ip.outcome.scriptError = true;
  ip.installLog.Note("Script error: ", text);
  AskMessage(ip, QuestionKind::Error, text, ip.platform.ResourceText(57344), MSG_OK);
  return code;
}

void BeginRun(Interpreter& ip, const StartupOptions& options) {
  InitVariables(ip);
  ip.variables.SetVariable("SCRIPTFILE", ip.files.Level(0).path);
  ip.variables.SetVariable("PARAMETERS", options.parameters);
}
