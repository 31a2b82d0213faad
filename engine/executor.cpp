#include "engine/executor.h"

#include "engine/errors.h"
#include "support/text.h"
#include "ui/language.h"

void SetCurrentError(Interpreter& ip, int32_t code) { ip.currentError = code; }
int32_t CurrentError(const Interpreter& ip) { return ip.currentError; }

namespace {

int DoNothing(Interpreter&, TokenLine&) { return 0; }
int OnlyInsideObjectDefinition(Interpreter&, TokenLine&) { return ERR_OUTSIDE_OBJECT_CREATION; }

// Runs the statement whose first token the cursor has just passed. [result] keeps its value
// for a label (and an ENDOBJECT( outside a definition): they execute nothing.
void RunStatement(Interpreter& ip, TokenLine& line, int32_t first, int& result) {
  if (first == TOK_LABEL || first == TOK_ENDOBJECT) return;
  if (first == TOK_VARIABLE || first == TOK_STRING) {
    --line.cursor;  // the value is the copy list line's first parameter
    result = ip.commands.valueLine ? ip.commands.valueLine(ip, line) : ERR_INVALID_COMMAND;
    return;
  }
  const CommandHandler handler =
      first > 0 && first <= kLastKeyword ? ip.commands.byToken[static_cast<size_t>(first)] : nullptr;
  result = handler ? handler(ip, line) : ERR_INVALID_COMMAND;
}

}  // namespace

int ExecuteLine(Interpreter& ip, TokenLine& line, const std::array<int32_t, kMaxTokens>& tokens) {
  line.tokens = tokens;
  line.cursor = 0;
  line.paramNo = 0;
  line.chain = 1;
  if (line.At(0) == TOK_END) return 0;
  int result = 0;
  do {
    line.chain = 0;
    const int32_t first = line.At(line.cursor++);
    RunStatement(ip, line, first, result);
    ip.exitJumpPending = false;  // a Cancel meanwhile: its "GOTO :EXIT" is the next statement here
  } while (line.chain == 1);
  return result;
}

void InjectExitJump(Interpreter& ip) {
  ip.outcome.cancelled = true;
  ip.installLog.Note("Cancelled: the script goes on at :EXIT");
  ip.platform.CloseCopyGauge();
  ip.line.chain = 1;
  TokeniseLine(ip, "GOTO :EXIT");
  ip.line.tokens = ip.lexer.tokens;
  ip.line.cursor = 0;
  ip.exitJumpPending = true;
}

std::string StringParam(Interpreter& ip, TokenLine& line, int index, bool expand) {
  std::string value = line.At(index) == TOK_VARIABLE ? ip.variables.GetVariable(ip.strings.Next()) : ip.strings.Next();
  return expand ? ExpandTextMacros(ip, std::move(value)) : value;
}

int32_t NumberParam(Interpreter& ip, TokenLine& line, int index) {
  SetCurrentError(ip, 0);
  const int32_t token = line.At(index);
  if (token == TOK_NUMBER) return ip.numbers.Next();
  if (token != TOK_VARIABLE) {
    SetCurrentError(ip, ERR_INVALID_NUMERIC_PARAMETER);
    return 0;
  }
  const std::string value = Trim(ip.variables.GetVariable(ip.strings.Next()), 'A', " ");
  if (!StartsWith(value, "-") && value.find_first_not_of("0123456789") != std::string::npos)
    SetCurrentError(ip, ERR_INVALID_NUMERIC_PARAMETER);
  return LeadingNumber(value);
}

std::string VariableName(Interpreter& ip, TokenLine&) { return ip.strings.Next(); }

int CheckString(TokenLine& line, int index, int paramNo) {
  line.paramNo = paramNo;
  return IsStringToken(line.At(index)) ? 0 : ERR_INVALID_STRING_PARAMETER;
}

int CheckNumber(TokenLine& line, int index, int paramNo) {
  line.paramNo = paramNo;
  return IsNumberToken(line.At(index)) ? 0 : ERR_INVALID_NUMERIC_PARAMETER;
}

int CheckVariable(TokenLine& line, int index, int paramNo) {
  line.paramNo = paramNo;
  return line.At(index) == TOK_VARIABLE ? 0 : ERR_MISSING_VARIABLE_NAME;
}

int SetErrorVariable(Interpreter& ip, int64_t value) { return ip.variables.SetVariableNumber("ERROR", value); }

int ReadStringParam(Interpreter& ip, TokenLine& line, int n, std::string& out) {
  const int index = line.cursor + 2 * (n - 1);
  if (int r = CheckString(line, index, n)) return r;
  out = StringParam(ip, line, index, true);
  return 0;
}

int ReadNumberParam(Interpreter& ip, TokenLine& line, int n, int32_t& out) {
  const int index = line.cursor + 2 * (n - 1);
  if (int r = CheckNumber(line, index, n)) return r;
  out = NumberParam(ip, line, index);
  return CurrentError(ip);
}

int ReadVariableParam(Interpreter& ip, TokenLine& line, int n, std::string& name) {
  if (int r = CheckVariable(line, line.cursor + 2 * (n - 1), n)) return r;
  name = VariableName(ip, line);
  return 0;
}

int ReadLiteralNumberParam(Interpreter& ip, TokenLine& line, int n, int32_t& out) {
  line.paramNo = n;
  if (line.At(line.cursor + 2 * (n - 1)) != TOK_NUMBER) return ERR_INVALID_NUMERIC_PARAMETER;
  out = ip.numbers.Next();
  return 0;
}

CommandTable PortableCommandTable() {
  CommandTable table;
  table.Add(TOK_MAKEGROUPFROMFILE, DoNothing);
  table.Add(TOK_UNREGISTERTYPELIB, DoNothing);
  table.Add(TOK_CREATECONTROL, OnlyInsideObjectDefinition);
  table.Add(TOK_SETFOCUS, OnlyInsideObjectDefinition);
  AddFlowCommands(table);
  AddBlockCommands(table);
  AddVariableCommands(table);
  AddErrorCommands(table);
  AddMessageCommands(table);
  AddObjectDefinitionCommands(table);
  return table;
}
