#include "commands/command_families.h"

#include "engine/executor.h"
#include "ui/installer_windows_win32.h"

namespace {

int ShowBackdropCommand(Interpreter& ip, TokenLine& line) {
  if (int r = CheckString(line, line.cursor, 1)) return r;
  const std::string name = StringParam(ip, line, line.cursor, true);
  return ip.windows ? ip.windows->ShowBackdrop(name) : ERR_OBJECT_NOT_FOUND;
}

// Without an open gauge nothing is read: a malformed step is no error then.
int UpdateGaugeCommand(Interpreter& ip, TokenLine& line) {
  if (!ip.windows || !ip.windows->CopyGaugeOpen()) return 0;
  if (int r = CheckNumber(line, line.cursor, 1)) return r;
  const int32_t step = NumberParam(ip, line, line.cursor);
  if (int r = CurrentError(ip)) return r;
  GaugeBar bar = ip.windows->Bar();
  // The bar stops at its ends: never past the maximum, never below empty.
  int64_t position = int64_t{bar.Position()} + step;
  if (position < 0) position = 0;
  if (position > bar.Maximum()) position = bar.Maximum();
  bar.SetPosition(static_cast<int32_t>(position));
  return 0;
}

int SetGaugeTextCommand(Interpreter& ip, TokenLine& line) {
  std::string texts[3];
  for (int n = 0; n < 3; ++n) {
    const int at = line.cursor + 2 * n;
    if (int r = CheckString(line, at, n + 1)) return r;
    texts[n] = StringParam(ip, line, at, true);
  }
  if (ip.windows) ip.windows->SetGaugeTexts(texts[0], texts[1], texts[2]);
  return 0;
}

int ShowWaitMessageCommand(Interpreter& ip, TokenLine& line) {
  if (int r = CheckString(line, line.cursor, 1)) return r;
  const std::string text = StringParam(ip, line, line.cursor, true);
  if (ip.windows) ip.windows->ShowWaitMessage(text);
  return 0;
}

int HideWaitMessageCommand(Interpreter& ip, TokenLine&) {
  if (ip.windows) ip.windows->HideWaitMessage();
  return 0;
}

// Two number literals (variables are not accepted here): 0, or 10020 naming the parameter.
int ReadTwoLiterals(Interpreter& ip, TokenLine& line, int32_t& first, int32_t& second) {
  line.paramNo = 1;
  if (line.At(line.cursor) != TOK_NUMBER) return ERR_INVALID_NUMERIC_PARAMETER;
  line.paramNo = 2;
  if (line.At(line.cursor + 2) != TOK_NUMBER) return ERR_INVALID_NUMERIC_PARAMETER;
  first = NumberParam(ip, line, line.cursor);
  second = NumberParam(ip, line, line.cursor + 2);
  return 0;
}

int PositionDialogCommand(Interpreter& ip, TokenLine& line) {
  int32_t x = 0, y = 0;
  if (int r = ReadTwoLiterals(ip, line, x, y)) return r;
  if (ip.windows) {
    ip.windows->placement.fixedX = x;
    ip.windows->placement.fixedY = y;
  }
  return 0;
}

int CentreDialogCommand(Interpreter& ip, TokenLine& line) {
  int32_t horizontal = 3, vertical = 3;
  if (line.At(line.cursor) != ')')
    if (int r = ReadTwoLiterals(ip, line, horizontal, vertical)) return r;
  if (ip.windows) {
    ip.windows->placement.horizontalMode = horizontal;
    ip.windows->placement.verticalMode = vertical;
  }
  return 0;
}

}  // namespace

void AddWindowCommands(CommandTable& table) {
  table.Add(TOK_SHOWBACKDROP, ShowBackdropCommand);
  table.Add(TOK_UPDATEGAUGE, UpdateGaugeCommand);
  table.Add(TOK_SETGAUGETEXT, SetGaugeTextCommand);
  table.Add(TOK_SHOWWAITMESSAGE, ShowWaitMessageCommand);
  table.Add(TOK_HIDEWAITMESSAGE, HideWaitMessageCommand);
  table.Add(TOK_POSITIONDIALOG, PositionDialogCommand);
  table.Add(TOK_CENTREDIALOG, CentreDialogCommand);
}
