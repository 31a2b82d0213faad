// Conditions and loops: IF in its single-line and block forms, ELSE, ENDIF, WHILE and WEND.
// A condition that fails reads ahead through the file, tokenising each line only to find the
// matching ELSE, ENDIF or WEND.
#include "engine/conditions.h"

#include "engine/executor.h"

namespace {

bool Relation(int32_t op, long long cmp) {
  switch (op) {
    case TOK_EQ: return cmp == 0;
    case TOK_NE: return cmp != 0;
    case TOK_GE: return cmp >= 0;
    case TOK_LE: return cmp <= 0;
    case TOK_GT: return cmp > 0;
    default: return cmp < 0;  // TOK_LT
  }
}

void LogNumbers(DebugLog& log, int32_t first, int32_t second) {
  log.LogText("Par1: ");
  log.LogLong(first);
  log.LogText("  Par2: ");
  log.LogLong(second);
  log.LogText("\r\n");
}

// Reads the next line into the executor's TokenLine for a skip; false at the end of the file
// or when the line cannot be tokenised.
bool ReadSkippedLine(Interpreter& ip) {
  if (ip.files.ReadNextLine() != 0) return false;
  if (TokeniseLine(ip, ip.files.LineText()) != 0) return false;
  ip.line.tokens = ip.lexer.tokens;
  return true;
}

// Pushes one IF level for every THEN token in the line; false when a push is refused.
bool PushThenLevels(Interpreter& ip) {
  for (int i = 0; i < kMaxTokens && ip.line.tokens[static_cast<size_t>(i)] != TOK_END; ++i)
    if (ip.line.tokens[static_cast<size_t>(i)] == TOK_THEN && PushIf(ip) != 0) return false;
  return true;
}

}  // namespace

int PushIf(Interpreter& ip) {
  ScriptLevel& level = ip.files.Current();
  if (level.ifDepth >= kMaxBlockDepth) return ERR_TOO_MANY_IFS;
  level.ifStack[static_cast<size_t>(level.ifDepth++)] = ip.files.CurrentPosition();
  return 0;
}

void PopIf(Interpreter& ip) {
  ScriptLevel& level = ip.files.Current();
  if (level.ifDepth > 0) --level.ifDepth;
}

int PushWhile(Interpreter& ip) {
  ScriptLevel& level = ip.files.Current();
  if (level.whileDepth >= kMaxBlockDepth) return ERR_TOO_MANY_WHILES;
  level.whileStack[static_cast<size_t>(level.whileDepth++)] = ip.files.CurrentPosition();
  return 0;
}

void PopWhile(Interpreter& ip) {
  ScriptLevel& level = ip.files.Current();
  if (level.whileDepth > 0) --level.whileDepth;
}

int EvaluateCondition(Interpreter& ip, TokenLine& line) {
  line.chain = 0;
  const int c = line.cursor;
  const int32_t kind = line.At(c);
  long long comparison = 0;
  int opIndex = c + 1;
  if (kind == TOK_STRING) {
    if (int r = CheckString(line, c + 2, 2)) return r;
    const std::string first = StringParam(ip, line, c, true);
    const std::string second = StringParam(ip, line, c + 2, true);
    ip.log.LogText("String Comparision\r\n");
    ip.log.LogText("Par1: '" + first + "'  Par2: '" + second + "'\r\n");
    comparison = ip.platform.CompareText(first, second);
  } else if (kind == TOK_NUMBER || kind == TOK_VARIABLE) {
    line.paramNo = 1;
    int32_t first = NumberParam(ip, line, c);
    if (CurrentError(ip)) return CurrentError(ip);
    line.paramNo = 2;
    int32_t second = NumberParam(ip, line, c + 2);
    if (CurrentError(ip)) return CurrentError(ip);
    ip.log.LogText("Numeric Comparision\r\n");
    LogNumbers(ip.log, first, second);
    const int32_t logical = line.At(c + 1);
    if (logical == TOK_AND || logical == TOK_OR || logical == TOK_XOR) {
      ip.log.LogText("Logical op\r\n");
      first = logical == TOK_AND ? (first & second) : logical == TOK_OR ? (first | second) : (first ^ second);
      line.cursor = c + 2;
      opIndex = c + 3;
      line.paramNo = 3;
      second = NumberParam(ip, line, c + 4);
      if (CurrentError(ip)) return CurrentError(ip);
      LogNumbers(ip.log, first, second);
    }
    comparison = static_cast<long long>(first) - static_cast<long long>(second);
  } else {
    return ERR_INVALID_COMPARISON_VALUE;
  }
  const int32_t op = line.At(opIndex);
  int result = 0;
  if (IsComparisonToken(op)) {
    if (Relation(op, comparison)) line.chain = 1;
    line.cursor += 3;
  } else {
    result = ERR_INVALID_COMPARISON_OPERATOR;
  }
  ip.log.LogText(line.chain ? "Result: True\r\n" : "Result: False\r\n");
  return result;
}

namespace {

// Skips the true branch of a block IF that does not hold, to its ELSE or ENDIF.
int SkipTrueBranch(Interpreter& ip) {
  const int depth = ip.files.Current().ifDepth;
  while (ReadSkippedLine(ip)) {
    const int32_t first = ip.line.tokens[0];
    if (first == TOK_IF) {
      if (!PushThenLevels(ip)) return ERR_TOO_MANY_IFS;
    } else if (first == TOK_ELSE && ip.files.Current().ifDepth == depth) {
      return 0;
    } else if (first == TOK_ENDIF) {
      const int before = ip.files.Current().ifDepth;
      if (before == 0) break;  // an ENDIF that would close more blocks than are open
      PopIf(ip);
      if (before == depth) return 0;
    }
  }
  const ScriptLevel& level = ip.files.Current();
  if (level.ifDepth > 0) ip.files.SeekTo(level.ifStack[static_cast<size_t>(level.ifDepth - 1)]);
  return ERR_IF_WITHOUT_ENDIF;
}

int IfCommand(Interpreter& ip, TokenLine& line) {
  const int result = EvaluateCondition(ip, line);
  if (line.At(line.cursor) != TOK_THEN) return result;  // single-line form: the executor goes on when chain is 1
  if (result != 0) return result;
  const bool holds = line.chain == 1;
  line.chain = 0;
  if (int r = PushIf(ip)) return r;
  return holds ? 0 : SkipTrueBranch(ip);
}

int ElseCommand(Interpreter& ip, TokenLine& line) {
  line.chain = 0;
  if (ip.files.Current().ifDepth == 0) return ERR_ELSE_WITHOUT_IF;
  const int depth = ip.files.Current().ifDepth;
  const PositionRecord elseLine = ip.files.CurrentPosition();
  while (ReadSkippedLine(ip)) {
    const int32_t first = ip.line.tokens[0];
    if (first == TOK_IF) {
      if (!PushThenLevels(ip)) return ERR_TOO_MANY_IFS;
    } else if (first == TOK_ENDIF) {
      const int before = ip.files.Current().ifDepth;
      PopIf(ip);
      if (before == depth) return 0;
    }
  }
  ip.files.SeekTo(elseLine);
  return ERR_ELSE_WITHOUT_ENDIF;
}

int EndIfCommand(Interpreter& ip, TokenLine&) {
  if (ip.files.Current().ifDepth == 0) return ERR_ENDIF_WITHOUT_IF;
  PopIf(ip);
  return 0;
}

int WhileCommand(Interpreter& ip, TokenLine& line) {
  if (int r = PushWhile(ip)) return r;
  const int result = EvaluateCondition(ip, line);
  const bool holds = line.chain == 1;
  line.chain = 0;  // whatever follows the condition on a WHILE line is not run
  if (result != 0 || holds) return result;
  ip.log.LogText("WhileCount3: ");
  ip.log.LogInt(ip.files.Current().whileDepth);
  ip.log.LogText("\r\n");
  const int depth = ip.files.Current().whileDepth;
  const PositionRecord whileLine = ip.files.CurrentPosition();
  int skip = ERR_WHILE_WITHOUT_WEND;
  while (ReadSkippedLine(ip)) {
    const int32_t first = ip.line.tokens[0];
    if (first == TOK_WHILE) {
      if (PushWhile(ip) != 0) {
        skip = ERR_TOO_MANY_WHILES;
        break;
      }
    } else if (first == TOK_WEND) {
      const int before = ip.files.Current().whileDepth;
      PopWhile(ip);
      if (before == depth) {
        skip = 0;
        break;
      }
    }
  }
  if (skip == ERR_WHILE_WITHOUT_WEND) ip.files.SeekTo(whileLine);
  ip.log.LogText("WhileCount4: ");
  ip.log.LogInt(ip.files.Current().whileDepth);
  ip.log.LogText("\r\n");
  return skip;
}

int WendCommand(Interpreter& ip, TokenLine&) {
  ScriptLevel& level = ip.files.Current();
  if (level.whileDepth == 0) return ERR_WEND_WITHOUT_WHILE;
  ip.files.SeekTo(level.whileStack[static_cast<size_t>(level.whileDepth - 1)]);
  PopWhile(ip);
  return 0;
}

}  // namespace

void AddBlockCommands(CommandTable& table) {
  table.Add(TOK_IF, IfCommand);
  table.Add(TOK_ELSE, ElseCommand);
  table.Add(TOK_ENDIF, EndIfCommand);
  table.Add(TOK_WHILE, WhileCommand);
  table.Add(TOK_WEND, WendCommand);
}
