// SET with its value forms and its single bitwise and arithmetic step, and the small string
// commands on variables: ADDCHAR(, STRIP(, REPLACE(, DUMPVARIABLES(.
#include <algorithm>
#include <cstdint>

#include "engine/executor.h"
#include "support/text.h"

namespace {

// Reads a string argument of a function: a literal as it is, a variable's value expanded.
int TextArgument(Interpreter& ip, TokenLine& line, int index, std::string& out) {
  if (int r = CheckString(line, index, line.paramNo)) return r;
  out = line.At(index) == TOK_STRING ? ip.strings.Next() : StringParam(ip, line, index, true);
  return 0;
}

int NumberArgument(Interpreter& ip, TokenLine& line, int index, int32_t& out) {
  out = NumberParam(ip, line, index);
  return CurrentError(ip);
}

bool InRange(int32_t value, int32_t low, int32_t high) { return value >= low && value <= high; }

int32_t Wrap32(int64_t value) { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value))); }

bool StartsNumeric(const std::string& value) {
  const size_t digit = value.size() > 0 && value[0] == '-' ? 1 : 0;
  return value.size() > digit && value[digit] >= '0' && value[digit] <= '9';
}

// The value form at [c]: stores its result in [target] and tells in [end] the index after it.
int EvaluateValueForm(Interpreter& ip, TokenLine& line, int c, const std::string& target, int& end) {
  std::string text, search;
  int32_t a = 0, b = 0;
  const int32_t form = line.At(c);
  switch (form) {
    case TOK_NUMBER:
      end = c + 1;
      return ip.variables.SetVariableNumber(target, ip.numbers.Next());
    case TOK_VARIABLE:
      end = c + 1;
      return ip.variables.SetVariable(target, StringParam(ip, line, c, true));
    case TOK_STRING:
      end = c + 1;
      return ip.variables.SetVariable(target, ip.strings.Next());
    case TOK_LEFT:
    case TOK_RIGHT: {
      end = c + 5;
      if (int r = TextArgument(ip, line, c + 1, text)) return r;
      ++line.paramNo;
      if (int r = NumberArgument(ip, line, c + 3, a)) return r;
      if (!InRange(a, 0, 254)) return ERR_SUBSCRIPT_OUT_OF_RANGE;
      const size_t count = std::min(static_cast<size_t>(a), text.size());
      return ip.variables.SetVariable(target, form == TOK_LEFT ? text.substr(0, count) : text.substr(text.size() - count));
    }
    case TOK_MID: {
      end = c + 7;
      if (int r = TextArgument(ip, line, c + 1, text)) return r;
      ++line.paramNo;
      if (int r = NumberArgument(ip, line, c + 3, a)) return r;
      if (!InRange(a, 0, 254)) return ERR_SUBSCRIPT_OUT_OF_RANGE;
      ++line.paramNo;
      if (int r = NumberArgument(ip, line, c + 5, b)) return r;
      if (!InRange(b, 0, 254)) return ERR_SUBSCRIPT_OUT_OF_RANGE;
      const size_t start = static_cast<size_t>(a == 0 ? 0 : a - 1);
      return ip.variables.SetVariable(target, start < text.size() ? text.substr(start, static_cast<size_t>(b)) : "");
    }
    case TOK_UCASE:
    case TOK_LCASE:
    case TOK_LEN:
      end = c + 3;
      if (int r = TextArgument(ip, line, c + 1, text)) return r;
      if (form == TOK_LEN) return ip.variables.SetVariableNumber(target, static_cast<int64_t>(text.size()));
      return ip.variables.SetVariable(target, form == TOK_UCASE ? ip.platform.UpperText(text) : ip.platform.LowerText(text));
    case TOK_INSTR: {
      end = c + 7;
      if (int r = NumberArgument(ip, line, c + 1, a)) return r;
      if (!InRange(a, 1, 255)) return ERR_SUBSCRIPT_OUT_OF_RANGE;
      ++line.paramNo;
      if (int r = TextArgument(ip, line, c + 3, text)) return r;
      ++line.paramNo;
      if (int r = TextArgument(ip, line, c + 5, search)) return r;
      int found = 0;
      for (size_t at = static_cast<size_t>(a - 1); at < text.size(); ++at) {
        if (text.compare(at, search.size(), search) == 0) {
          found = static_cast<int>(at) + 1;
          break;
        }
      }
      return ip.variables.SetVariableNumber(target, found);
    }
    case TOK_NOT:
      end = c + 2;
      if (int r = NumberArgument(ip, line, c + 1, a)) return r;
      return ip.variables.SetVariableNumber(target, a == 0 ? 1 : 0);
    default:
      end = c;
      return ERR_INVALID_PARAMETERS;
  }
}

int BitwiseStep(Interpreter& ip, TokenLine& line, const std::string& target, int& at) {
  const int32_t op = line.At(at);
  const std::string first = ip.variables.GetVariable(target);
  if (first.empty() || (first[0] != '-' && (first[0] < '0' || first[0] > '9'))) return ERR_INVALID_NUMERIC_PARAMETER;
  ++line.paramNo;
  int32_t operand = 0;
  if (int r = NumberArgument(ip, line, at + 1, operand)) return r;
  const int32_t value = LeadingNumber(first);
  at += 2;
  const int32_t result = op == TOK_AND ? (value & operand) : op == TOK_OR ? (value | operand) : (value ^ operand);
  return ip.variables.SetVariableNumber(target, result);
}

int ArithmeticStep(Interpreter& ip, TokenLine& line, const std::string& target, int at) {
  ++line.paramNo;
  const std::string first = ip.variables.GetVariable(target);
  if (!StartsNumeric(first)) return ERR_INVALID_NUMERIC_PARAMETER;
  ++line.paramNo;
  int32_t operand = 0;
  if (int r = NumberArgument(ip, line, at + 1, operand)) return r;
  const int64_t value = LeadingNumber(first);
  int64_t result;
  switch (line.At(at)) {
    case '+': result = value + operand; break;
    case '-': result = value - operand; break;
    case '*': result = value * operand; break;
    case '/':
      // Division by zero names the operand as the invalid numeric parameter.
      if (operand == 0) return ERR_INVALID_NUMERIC_PARAMETER;
      result = value / operand;
      break;
    default: return ERR_INVALID_ARITHMETIC_OPERATOR;
  }
  return ip.variables.SetVariableNumber(target, Wrap32(result));
}

int SetCommand(Interpreter& ip, TokenLine& line) {
  const int c = line.cursor;
  line.paramNo = 1;
  if (line.At(c) != TOK_VARIABLE || line.At(c + 1) != '=') return ERR_MISSING_VARIABLE_NAME;
  const std::string target = VariableName(ip, line);
  line.paramNo = 2;
  const int32_t form = line.At(c + 2);
  int at = c + 2;
  if (int r = EvaluateValueForm(ip, line, c + 2, target, at)) return r;
  if (line.At(at) == TOK_END) return 0;
  const int32_t next = line.At(at);
  if ((form == TOK_NUMBER || form == TOK_VARIABLE) && (next == TOK_AND || next == TOK_OR || next == TOK_XOR)) {
    if (int r = BitwiseStep(ip, line, target, at)) return r;
    if (line.At(at) == TOK_END) return 0;
  }
  return ArithmeticStep(ip, line, target, at);
}

// Reads the variable and string parameters that ADDCHAR(, STRIP( and REPLACE( begin with.
int VariableAndText(Interpreter& ip, TokenLine& line, std::string& name, std::string& text) {
  const int c = line.cursor;
  if (int r = CheckVariable(line, c, 1)) return r;
  if (int r = CheckString(line, c + 2, 2)) return r;
  name = VariableName(ip, line);
  text = StringParam(ip, line, c + 2, true);
  return 0;
}

int AddCharCommand(Interpreter& ip, TokenLine& line) {
  std::string name, text;
  if (int r = VariableAndText(ip, line, name, text)) return r;
  const std::string value = ip.variables.GetVariable(name);
  return EndsWith(value, text) ? 0 : ip.variables.SetVariable(name, value + text);
}

int StripCommand(Interpreter& ip, TokenLine& line) {
  std::string name, pad;
  if (int r = VariableAndText(ip, line, name, pad)) return r;
  char mode = 'R';
  if (IsStringToken(line.At(line.cursor + 4))) {
    const std::string modeText = StringParam(ip, line, line.cursor + 4, true);
    if (!modeText.empty()) mode = modeText[0];
  }
  return ip.variables.SetVariable(name, Trim(ip.variables.GetVariable(name), mode, pad));
}

int ReplaceCommand(Interpreter& ip, TokenLine& line) {
  std::string name, find;
  if (int r = VariableAndText(ip, line, name, find)) return r;
  if (int r = CheckString(line, line.cursor + 4, 3)) return r;
  const std::string replacement = StringParam(ip, line, line.cursor + 4, true);
  std::string value = ip.variables.GetVariable(name);
  ReplaceAll(value, find, replacement, true);
  return ip.variables.SetVariable(name, value);
}

int DumpVariablesCommand(Interpreter& ip, TokenLine&) {
  ip.variables.DumpVariables(ip.log);
  return 0;
}

}  // namespace

void AddVariableCommands(CommandTable& table) {
  table.Add(TOK_SET, SetCommand);
  table.Add(TOK_ADDCHAR, AddCharCommand);
  table.Add(TOK_STRIP, StripCommand);
  table.Add(TOK_REPLACE, ReplaceCommand);
  table.Add(TOK_DUMPVARIABLES, DumpVariablesCommand);
}
