#include "engine/run_outcome.h"

#include "engine/interpreter.h"
#include "support/text.h"

void InstallLog::Write(const std::string& line) { sink_->Append(ShowControlCharacters(line)); }

void StartTimeLimit(Interpreter& ip, uint32_t seconds) {
  ip.outcome.timeoutSeconds = seconds;
  ip.outcome.deadline = seconds == 0 ? 0 : ip.platform.Milliseconds() + uint64_t{seconds} * 1000;
}

bool TimeLimitReached(Interpreter& ip) {
  if (ip.outcome.timedOut) return true;
  if (ip.outcome.deadline == 0 || ip.platform.Milliseconds() < ip.outcome.deadline) return false;
  ip.outcome.timedOut = true;
  std::string where;
  if (ip.files.AnyOpen())
    where = " in line " + DecimalText(ip.files.Current().lineNo) + " of " + ip.files.Current().path + ": " +
            ip.files.LineText();
  ip.log.LogText("Time limit of " + DecimalText(ip.outcome.timeoutSeconds) + " seconds reached" + where + "\r\n");
  ip.installLog.Note("Time limit of ", DecimalText(ip.outcome.timeoutSeconds), " seconds reached", where);
  ip.files.CloseAll();  // the run ends here, as after STOP
  return true;
}

int FinishRun(Interpreter& ip) {
  // EXITCODE as the script set it; a variable of the environment does not count.
  const int32_t exitCode = LeadingNumber(ip.variables.StoredValue("EXITCODE"));
  int verdict = VERDICT_SUCCESS;
  if (ip.outcome.timedOut) verdict = VERDICT_TIMED_OUT;
  else if (ip.outcome.cancelled) verdict = VERDICT_CANCELLED;
  else if (ip.outcome.scriptError) verdict = VERDICT_SCRIPT_ERROR;
  else if (exitCode != 0) verdict = VERDICT_ENDED_BY_SCRIPT;
  else if (ip.outcome.restartNeeded || ip.restartMode != -1) verdict = VERDICT_RESTART_NEEDED;
  const std::string detail = verdict == VERDICT_ENDED_BY_SCRIPT ? " (EXITCODE " + DecimalText(exitCode) + ")" : "";
  ip.log.LogText("Verdict: " + DecimalText(verdict) + " " + VerdictText(verdict) + detail + "\r\n");
  ip.installLog.Note("Verdict: ", DecimalText(verdict), " ", VerdictText(verdict), detail);
  return verdict;
}
