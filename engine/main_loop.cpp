#include "engine/main_loop.h"

#include "engine/executor.h"

namespace {

// A file that ends inside an open block: the block's first line is read again so that the
// report shows it. Returns false when the run must end.
bool EndOfFile(Interpreter& ip) {
  const ScriptLevel& level = ip.files.Current();
  int code = 0;
  if (level.whileDepth > 0) {
    ip.files.SeekTo(level.whileStack[static_cast<size_t>(level.whileDepth - 1)]);
    code = ERR_WHILE_WITHOUT_WEND;
  } else if (level.ifDepth > 0) {
    ip.files.SeekTo(level.ifStack[static_cast<size_t>(level.ifDepth - 1)]);
    code = ERR_IF_WITHOUT_ENDIF;
  }
  if (code != 0) {
    ip.files.ReadNextLine();
    ReportScriptError(ip, code);
    ip.outcome.scriptError = true;
  }
  ip.files.CloseScript();
  return code == 0;
}

// A statement that failed: the trapping mode decides. Returns false when the run must end.
bool StatementFailed(Interpreter& ip, int code) {
  if (ip.trap.showErrors) ReportScriptError(ip, code);
  if (!ip.trap.trapErrors) {
    ip.outcome.scriptError = true;
    return false;
  }
  SetCurrentError(ip, code);
  ip.variables.SetVariableNumber("ERROR", ShownErrorNumber(code));
  ip.variables.SetVariable("ERRORTEXT", FormatScriptError(ip, code));
  return true;
}

// Between lines the windows get what waits for them, at the copy loop's pace (a clock check
// per line): a long or endless loop still repaints, and the copy gauge's Cancel acts. A Cancel
// that came while no command ran (here, or while an error was shown) has no running line to
// redirect, so its "GOTO :EXIT" runs as the next statement. Returns false when the run must end.
bool LetWindowsBreathe(Interpreter& ip) {
  ip.platform.PumpMessagesPaced();
  if (!ip.exitJumpPending) return true;
  if (int r = ExecuteLine(ip, ip.line, ip.lexer.tokens)) return StatementFailed(ip, r);
  return true;
}

}  // namespace

void RunMainLoop(Interpreter& ip) {
  ip.linesExecuted = true;
  while (ip.files.AnyOpen()) {
    if (!LetWindowsBreathe(ip)) break;
    if (ip.outcome.deadline != 0 && TimeLimitReached(ip)) break;
    if (!ip.files.AnyOpen()) break;
    if (ip.files.ReadNextLine() != 0) {
      if (!EndOfFile(ip)) break;
      continue;
    }
    const std::string& text = ip.files.LineText();
    if (ip.log.Enabled()) ip.log.LogText("MLine: '" + text + "'\r\n");
    if (int r = TokeniseLine(ip, text)) {
      ReportScriptError(ip, r);  // whatever the trapping mode
      ip.outcome.scriptError = true;
      break;
    }
    if (DebuggerEndsRun(ip)) continue;
    if (int r = ExecuteLine(ip, ip.line, ip.lexer.tokens)) {
      if (!StatementFailed(ip, r)) break;
    }
  }
}
