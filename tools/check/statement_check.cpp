// The statement rules of the checker: which command a line is, and whether each parameter is
// of the kind the command reads, as the keyword table says; SET and conditions by their own
// forms; labels, called scripts, copy sources and dialog names where they can be known.
#include <algorithm>
#include <cstring>
#include <map>

#include "engine/errors.h"
#include "engine/tokens.h"
#include "support/text.h"
#include "commands/deinstall_script.h"
#include "tools/check/check_internal.h"
#include "ui/standard_pages.h"

namespace {

CommandParams ParsedOrDie(const std::string& text) {
  CommandParams params;
  std::string error;
  ParseCommandParams(text, params, error);  // the keyword table's own test keeps the texts valid
  return params;
}

struct ParamsTable {
  std::array<CommandParams, kLastKeyword + 1> byToken;
  CommandParams notACommand;
  ParamsTable() {
    notACommand.shape = CommandParams::Shape::NotACommand;
    for (CommandParams& p : byToken) p = notACommand;
    for (const Keyword* k = KeywordsBegin(); k != KeywordsEnd(); ++k)
      if (!k->isConstant) byToken[static_cast<size_t>(k->code)] = ParsedOrDie(k->params);
  }
};

const ParamsTable& Params() {
  static const ParamsTable table;
  return table;
}

// A line that begins with a value is a line of a copy list (COPYFILE('s list form): source,
// target and description, then the copy options.
const ParamForm& CopyListForm() {
  static const CommandParams params = ParsedOrDie("S,S,S,[n],[n],[n]");
  return params.forms[0];
}

bool HasMark(const std::string& text) { return text.find(kVarOpen) != std::string::npos; }

std::string KindWanted(char kind) {
  switch (kind) {
    case 'S': return "a string or a variable";
    case 'N': return "a number or a variable";
    case 'n': return "a number written out (a variable is not taken here)";
    case 'V': return "a variable that receives the result";
    default: return "a label";
  }
}

std::string TokenFound(int32_t token) {
  switch (token) {
    case 0:
    case ')': return "it is missing";
    case TOK_STRING: return "not a string";
    case TOK_NUMBER: return "not a number";
    case TOK_VARIABLE: return "not a variable";
    case TOK_LABEL: return "not a label";
    default:
      if (const char* k = KeywordText(token)) return std::string("not ") + Trim(k, 'R', " ");
      return std::string("not '") + static_cast<char>(token) + "'";
  }
}

bool StartsNumeric(const std::string& value) {
  const size_t digit = !value.empty() && value[0] == '-' ? 1 : 0;
  return value.size() > digit && value[digit] >= '0' && value[digit] <= '9';
}

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// What was meant by the word a line begins with, when it is near a keyword.
std::string CommandHint(const std::string& lineText) {
  size_t start = lineText.find_first_not_of(" \t");
  if (start == std::string::npos) return "";
  size_t end = start;
  while (end < lineText.size() && (isalnum(static_cast<unsigned char>(lineText[end])) || lineText[end] == '_')) ++end;
  const std::string word = lineText.substr(start, end - start);
  if (word.empty()) return "";
  const size_t next = lineText.find_first_not_of(" \t", end);
  const bool parenAfterBlank = next != std::string::npos && next > end && lineText[next] == '(';
  std::string nearest;
  size_t best = 3;
  for (const Keyword* k = KeywordsBegin(); k != KeywordsEnd(); ++k) {
    if (k->isConstant || ParamsOf(k->code).shape == CommandParams::Shape::NotACommand) continue;
    const std::string text = k->text;
    const std::string bare = Trim(Trim(Trim(text, 'R', " "), 'R', ")"), 'R', "(");
    if (bare == word) {
      if (EndsWith(text, " ")) return "; " + word + " needs a blank after it";
      if (parenAfterBlank) return "; write " + text.substr(0, bare.size() + 1) + " with the parenthesis right after the name";
      return "; it is written " + text;
    }
    // The distance is at least the difference in length: most words need no table walk.
    const size_t gap = word.size() > bare.size() ? word.size() - bare.size() : bare.size() - word.size();
    if (gap >= best || gap * 3 > bare.size()) continue;
    const size_t distance = EditDistance(word, bare);
    if (distance < best && distance * 3 <= bare.size()) {
      best = distance;
      nearest = text;
    }
  }
  return nearest.empty() ? "" : "; did you mean " + Trim(nearest, 'R', " ") + "?";
}

}  // namespace

const CommandParams& ParamsOf(int32_t token) {
  if (token < kFirstKeyword || token > kLastKeyword) return Params().notACommand;
  return Params().byToken[static_cast<size_t>(token)];
}

int32_t ParamAt(const LineTokens& line, int cursor, int n) {
  const int index = cursor + 2 * (n - 1);
  for (int i = cursor; i < index; ++i)
    if (line.At(i) == 0) return 0;
  return line.At(index);
}

const ParamForm& ChooseForm(const CommandParams& params, const LineTokens& line, int cursor) {
  size_t given = 0;
  for (int32_t t; (t = ParamAt(line, cursor, static_cast<int>(given) + 1)) != 0 && t != ')';) ++given;
  for (const ParamForm& form : params.forms) {
    if (form.RequiredCount() > given) continue;
    const int after = form.params.empty() ? cursor : cursor + 2 * static_cast<int>(form.params.size()) - 1;
    if (form.endsWithParen && ParamAt(line, after, 1) != ')') continue;
    return form;
  }
  return params.forms.back();
}

bool ScriptChecker::CheckForm(const LineTokens& line, const char* name, const ParamForm& form, int cursor,
                              bool conditional, int firstParam) {
  for (size_t i = 0; i < form.params.size(); ++i) {
    const ParamRule& rule = form.params[i];
    const int32_t token = ParamAt(line, cursor, static_cast<int>(i) + 1);
    if (rule.presence == ParamPresence::IfKind) continue;
    if (rule.presence == ParamPresence::Optional && (token == 0 || token == ')')) continue;
    if (TokenFitsKind(token, rule.kind)) continue;
    std::string text = "parameter " + DecimalText(firstParam + static_cast<int>(i)) + " of " + name + " must be " +
                       KindWanted(rule.kind) + ", " + TokenFound(token);
    if (conditional) text += " (the command checks it only on some systems or while the copy gauge is open)";
    Report(conditional ? Severity::Warning : Severity::Error, rule.error, text);
    return false;
  }
  return true;
}

bool ScriptChecker::CheckParams(const LineTokens& line, int32_t token, int cursor) {
  const CommandParams& params = ParamsOf(token);
  return CheckForm(line, KeywordName(token).c_str(), ChooseForm(params, line, cursor), cursor, params.conditional);
}

void ScriptChecker::CheckStatement(const LineTokens& line, int at, bool chained) {
  const int32_t token = line.At(at);
  if (token == 0) return;
  if (token == TOK_LABEL) {
    if (!chained && line.At(at + 1) != 0)
      ReportRule(Severity::Warning, "label-rest", "what follows the label on its line is never executed");
    return;
  }
  if (token == TOK_STRING || token == TOK_VARIABLE) {
    if (CheckForm(line, "a copy list line", CopyListForm(), at, false)) CheckCopySource(line, at, at + 6);
    return;
  }
  const CommandParams& params = ParamsOf(token);
  if (params.shape == CommandParams::Shape::NotACommand) return CheckUnknownCommand(line, at, chained);
  if (token == TOK_SET) return CheckSet(line, at);
  if (token == TOK_IF) return CheckIf(line, at, chained);
  if (token == TOK_WHILE) {
    const int after = CheckCondition(line, at + 1);
    if (after > 0 && line.At(after) != 0)
      ReportRule(Severity::Warning, "while-rest", "what follows the condition of a WHILE is never executed");
    if (chained) ReportRule(Severity::Warning, "block-after-if", "a WHILE after a single-line IF opens its loop only when the condition holds");
    else OpenBlock(TOK_WHILE);
    return;
  }
  switch (token) {
    case TOK_ELSE:
    case TOK_ENDIF:
    case TOK_WEND:
      ReportRule(Severity::Warning, "block-after-if",
                 KeywordName(token) + " after a single-line IF acts only when the condition holds; give it a line of its own");
      return;
    case TOK_CREATECONTROL:
    case TOK_SETFOCUS:
      Report(Severity::Error, ERR_OUTSIDE_OBJECT_CREATION,
             KeywordName(token) + " belongs inside an object definition (after CREATEDIALOG(, CREATEBACKDROP( or CREATECUECARD()");
      return;
    case TOK_CREATEBACKDROP:
    case TOK_CREATEDIALOG:
    case TOK_CREATECUECARD:
      if (chained)
        ReportRule(Severity::Warning, "block-after-if",
                   "an object definition after a single-line IF: when the condition fails, its lines run as commands");
      break;
    default: break;
  }
  if (CheckParams(line, token, at + 1) && recording_.empty()) CheckCommandEffects(line, token, at + 1);
}

void ScriptChecker::CheckUnknownCommand(const LineTokens& line, int at, bool chained) {
  const int32_t token = line.At(at);
  std::string text;
  if (token == TOK_NUMBER) text = "a statement cannot begin with a number";
  else if (const char* k = KeywordText(token)) text = std::string(Trim(k, 'R', " ")) + " cannot begin a statement";
  else if (chained) text = "after the condition stands no command";
  else text = "the line begins with no command" + CommandHint(line.text);
  Report(Severity::Error, ERR_INVALID_COMMAND, text);
}

void ScriptChecker::CheckIf(const LineTokens& line, int at, bool chained) {
  const int after = CheckCondition(line, at + 1);
  if (after < 0) {
    // The skip over a block counts every THEN of an IF line, so the block stays counted.
    for (int i = at; !chained && line.At(i) != 0; ++i)
      if (line.At(i) == TOK_THEN) {
        OpenBlock(TOK_IF);
        break;
      }
    return;
  }
  const int32_t next = line.At(after);
  if (next == TOK_THEN) {
    if (line.At(after + 1) != 0)
      ReportRule(Severity::Warning, "then-rest", "what follows THEN is never executed; the block's lines come on the next lines");
    if (chained) ReportRule(Severity::Warning, "block-after-if", "an IF ... THEN after a single-line IF opens its block only when the first condition holds");
    else OpenBlock(TOK_IF);
    return;
  }
  if (next == 0) {
    Report(Severity::Error, ERR_INVALID_COMMAND,
           "nothing follows the condition: when it holds, there is no command to run (a block IF ends with THEN)");
    return;
  }
  CheckStatement(line, after, true);
}

int ScriptChecker::CheckCondition(const LineTokens& line, int c) {
  const int32_t first = line.At(c);
  int op = c + 1;
  int after = c + 3;
  if (first == TOK_STRING) {
    if (!TokenFitsKind(line.At(c + 2), 'S')) {
      Report(Severity::Error, ERR_INVALID_STRING_PARAMETER,
             "a condition that begins with a string compares texts: its second operand must be a string or a variable, " +
                 TokenFound(line.At(c + 2)));
      return -1;
    }
  } else if (first == TOK_NUMBER || first == TOK_VARIABLE) {
    if (!TokenFitsKind(line.At(c + 2), 'N')) {
      Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER,
             "a condition that begins with a number or a variable compares numbers: its second operand must be a number "
             "or a variable, " + TokenFound(line.At(c + 2)) + " (to compare texts, write the string first: IF \"%X%\" == \"YES\")");
      return -1;
    }
    const int32_t logical = line.At(c + 1);
    if (logical == TOK_AND || logical == TOK_OR || logical == TOK_XOR) {
      if (!TokenFitsKind(line.At(c + 4), 'N')) {
        Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER,
               "the operand after " + KeywordName(logical) + " must be a number or a variable, " + TokenFound(line.At(c + 4)));
        return -1;
      }
      op = c + 3;
      after = c + 5;
    }
  } else {
    Report(Severity::Error, ERR_INVALID_COMPARISON_VALUE, "a condition begins with a string, a number or a variable");
    return -1;
  }
  if (!IsComparisonToken(line.At(op))) {
    Report(Severity::Error, ERR_INVALID_COMPARISON_OPERATOR,
           "the condition has no comparison (== != <> >= <= > <) where one must stand, " + TokenFound(line.At(op)));
    return -1;
  }
  return after;
}

void ScriptChecker::CheckSet(const LineTokens& line, int at) {
  const int c = at + 1;
  if (line.At(c) != TOK_VARIABLE || line.At(c + 1) != '=') {
    Report(Severity::Error, ERR_MISSING_VARIABLE_NAME, "SET is written SET %NAME% = value");
    return;
  }
  const int v = c + 2;
  const int32_t form = line.At(v);
  bool text = false;  // the value is known to be no number
  // The arguments of a string function: T a text, N a number in [low, high].
  struct Argument {
    char kind;
    int32_t low, high;
  };
  std::vector<Argument> arguments;
  int end = v + 1;
  switch (form) {
    case TOK_NUMBER:
    case TOK_VARIABLE:
    case TOK_NOT: break;
    case TOK_STRING: text = !HasMark(line.Text(v)) && !StartsNumeric(line.Text(v)); break;
    case TOK_LEFT:
    case TOK_RIGHT: arguments = {{'S', 0, 0}, {'N', 0, 254}}; break;
    case TOK_MID: arguments = {{'S', 0, 0}, {'N', 0, 254}, {'N', 0, 254}}; break;
    case TOK_UCASE:
    case TOK_LCASE: arguments = {{'S', 0, 0}}; break;
    case TOK_LEN: arguments = {{'S', 0, 0}}; break;
    case TOK_INSTR: arguments = {{'N', 1, 255}, {'S', 0, 0}, {'S', 0, 0}}; break;
    default:
      Report(Severity::Error, ERR_INVALID_PARAMETERS,
             "SET takes a number, a string, a variable, or LEFT( RIGHT( MID( UCASE( LCASE( INSTR( LEN( NOT, " + TokenFound(form));
      return;
  }
  if (form == TOK_NOT) {
    if (!TokenFitsKind(line.At(v + 1), 'N')) {
      Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER, "NOT takes a number or a variable, " + TokenFound(line.At(v + 1)));
      return;
    }
    end = v + 2;
  }
  for (size_t i = 0; i < arguments.size(); ++i) {
    const int index = v + 1 + 2 * static_cast<int>(i);
    const int32_t token = line.At(index);
    if (!TokenFitsKind(token, arguments[i].kind)) {
      Report(Severity::Error, DefaultKindError(arguments[i].kind),
             "argument " + DecimalText(static_cast<int>(i) + 1) + " of " + KeywordName(form) + " must be " +
                 KindWanted(arguments[i].kind) + ", " + TokenFound(token));
      return;
    }
    const int32_t value = line.Number(index);
    if (token == TOK_NUMBER && (value < arguments[i].low || value > arguments[i].high)) {
      Report(Severity::Error, ERR_SUBSCRIPT_OUT_OF_RANGE,
             "argument " + DecimalText(static_cast<int>(i) + 1) + " of " + KeywordName(form) + " must lie in " +
                 DecimalText(arguments[i].low) + ".." + DecimalText(arguments[i].high));
      return;
    }
    end = index + 2;
  }
  int next = end;
  if (line.At(next) == 0) return;
  const int32_t logical = line.At(next);
  if ((form == TOK_NUMBER || form == TOK_VARIABLE) && (logical == TOK_AND || logical == TOK_OR || logical == TOK_XOR)) {
    if (!TokenFitsKind(line.At(next + 1), 'N')) {
      Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER,
             "the operand after " + KeywordName(logical) + " must be a number or a variable, " + TokenFound(line.At(next + 1)));
      return;
    }
    next += 2;
    if (line.At(next) == 0) return;
  }
  if (text) {
    Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER,
           "SET stores the text \"" + line.Text(v) + "\", which is no number, so the arithmetic after it fails");
    return;
  }
  const int32_t op = line.At(next);
  if (op != '+' && op != '-' && op != '*' && op != '/') {
    Report(Severity::Error, ERR_INVALID_ARITHMETIC_OPERATOR,
           "after the value SET takes one arithmetic step (+ - * /), " + TokenFound(op));
    return;
  }
  const int32_t operand = line.At(next + 1);
  if (!TokenFitsKind(operand, 'N')) {
    Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER,
           std::string("the operand after '") + static_cast<char>(op) + "' must be a number or a variable, " + TokenFound(operand));
    return;
  }
  if (op == '/' && operand == TOK_NUMBER && line.Number(next + 1) == 0) {
    Report(Severity::Error, ERR_INVALID_NUMERIC_PARAMETER, "SET divides by zero");
    return;
  }
  if (line.At(next + 2) != 0)
    ReportRule(Severity::Warning, "set-rest", "SET takes one arithmetic step; what follows its operand is ignored");
}

void ScriptChecker::CheckCommandEffects(const LineTokens& line, int32_t token, int cursor) {
  switch (token) {
    case TOK_GOTO: CheckLabel(line.Text(cursor)); break;
    case TOK_CALL: CheckCall(line, cursor); break;
    case TOK_COPYFILE:
      if (line.At(cursor + 1) != ')') CheckCopySource(line, cursor, cursor + 4);
      break;
    case TOK_UNCOMPRESS:
    case TOK_ADDREPLACEFILE: CheckCopySource(line, cursor, -1); break;
    case TOK_DIALOGBOX: CheckDialogName(line, cursor); break;
    case TOK_ADDDEINSTALL: CheckRecordedLine(line, cursor); break;
    default: break;
  }
}

bool ScriptChecker::MediumName(const LineTokens& line, int index, std::string& name) const {
  return medium_ && line.At(index) == TOK_STRING && MediumPathOf(line.Text(index), facts_, name);
}

void ScriptChecker::CheckCopySource(const LineTokens& line, int index, int optionsAt) {
  std::string name;
  if (!MediumName(line, index, name)) return;
  // Expanded unless the copy's options say expand 0 or append.
  bool expanded = true;
  if (optionsAt >= 0) {
    const int32_t expand = ParamAt(line, optionsAt, 1), append = ParamAt(line, optionsAt, 2);
    if (expand == TOK_NUMBER && line.Number(optionsAt) == 0) expanded = false;
    if (append == TOK_NUMBER && line.Number(optionsAt + 2) != 0) expanded = false;
  }
  std::vector<const MediumFile*> files;
  if (name.find_first_of("*?") != std::string::npos) files = medium_->Match(name);
  else if (const MediumFile* file = medium_->Find(name)) files.push_back(file);
  if (files.empty()) {
    Report(Severity::Error, ERR_SOURCE_NOT_FOUND, "the source " + name + " is not on the medium");
    return;
  }
  for (const MediumFile* file : files) {
    ++result_.copies;
    result_.copyBytes += expanded ? file->expandedSize : file->size;
  }
}

void ScriptChecker::CheckCall(const LineTokens& line, int index) {
  std::string name;
  if (!MediumName(line, index, name)) return;
  if (name.find('.') == std::string::npos) name += ".SCR";  // as the interpreter opens it
  if (!medium_->Find(name)) Report(Severity::Error, ERR_SCRIPT_NOT_FOUND, "CALL: the script " + name + " is not on the medium");
}

void ScriptChecker::CheckDialogName(const LineTokens& line, int index) {
  if (line.At(index) != TOK_STRING) return;
  const std::string name = UpperAscii(line.Text(index));
  if (HasMark(name) || name.find('#') != std::string::npos) return;  // known only when the script runs
  StandardPage page;
  if (FindStandardPage(name, page) || facts_.objectNames.count(name)) return;
  const std::string text = "DIALOGBOX(\"" + line.Text(index) + "\"): no built-in page has this name, and no script " +
                           "creates an object of it";
  if (facts_.objectNamedByVariable) Report(Severity::Warning, ERR_INVALID_TEMPLATE_NAME, text);
  else Report(Severity::Error, ERR_INVALID_TEMPLATE_NAME, text);
}

void ScriptChecker::CheckControl(const LineTokens& line, int cursor) {
  if (!CheckParams(line, TOK_CREATECONTROL, cursor) || line.At(cursor) != TOK_STRING) return;
  const std::string type = LowerAscii(line.Text(cursor));
  if (HasMark(type)) return;
  // The control types, and the objects that take them: D dialogs, C cue cards, B backdrops.
  static const std::map<std::string, const char*> kTypes = {
      {"text", "DCB"},   {"edit", "D"},        {"groupbox", "DC"}, {"icon", "DCB"},     {"bitmap", "DCB"},
      {"checkbox", "D"}, {"radiobutton", "D"}, {"button", "D"},    {"colourblock", "DCB"}, {"listbox", "D"},
      {"combobox", "D"}, {"droplist", "D"},
  };
  const auto found = kTypes.find(type);
  if (found == kTypes.end()) {
    Report(Severity::Error, ERR_INVALID_CONTROL_TYPE,
           "\"" + line.Text(cursor) + "\" is no control type (text, edit, groupbox, icon, bitmap, checkbox, radiobutton, "
           "button, colourblock, listbox, combobox, droplist)");
    return;
  }
  const char object = definition_ == TOK_CREATEDIALOG ? 'D' : definition_ == TOK_CREATECUECARD ? 'C' : 'B';
  if (!std::strchr(found->second, object)) {
    Report(Severity::Error, ERR_CONTROL_WRONG_FOR_OBJECT,
           std::string("a ") + (object == 'B' ? "backdrop takes only text, icon, bitmap and colourblock controls"
                                              : "cue card takes only text, groupbox, icon, bitmap and colourblock controls"));
    return;
  }
  static const CommandParams kText = ParsedOrDie("S,n,n,n,n"), kColour = ParsedOrDie("n");
  if (type == "text") CheckForm(line, "CREATECONTROL(", kText.forms[0], cursor + 16, false, 9);
  if (type == "colourblock") CheckForm(line, "CREATECONTROL(", kColour.forms[0], cursor + 16, false, 9);
  std::string name;
  if (type == "bitmap" && MediumName(line, cursor + 2, name) && !medium_->Find(name))
    Report(Severity::Error, ERR_BITMAP_NOT_FOUND, "the bitmap " + name + " is not on the medium");
}

// ADDDEINSTALL( records a line that MORPAX.EXE runs later: a line of one command, which it
// refuses (and with it the whole de-install script) when it cannot be read or run.
void ScriptChecker::CheckRecordedLine(const LineTokens& line, int cursor) {
  if (line.At(cursor) == TOK_STRING && !HasMark(line.Text(cursor)) && SectionNamed(Trim(line.Text(cursor), 'B', " ")) < 0)
    Report(Severity::Error, ERR_INVALID_DEINSTALL_SECTION,
           "\"" + line.Text(cursor) + "\" is no section of the de-install script ($STARTUP$ ... $CLEANUP$)");
  if (line.At(cursor + 2) != TOK_STRING) return;
  recording_ = "the line recorded for de-installation: ";
  LineTokens recorded;
  if (ReadTokens(Trim(line.Text(cursor + 2), 'B', " "), recorded)) {
    const int32_t first = recorded.At(0);
    if (first == TOK_LABEL || first == TOK_IF || first == TOK_ELSE || first == TOK_ENDIF || first == TOK_WHILE ||
        first == TOK_WEND || first == TOK_GOTO || first == TOK_CALL || first == TOK_STRING || first == TOK_VARIABLE)
      ReportRule(Severity::Error, "deinstall-line", "MORPAX.EXE runs one command a line: no labels, jumps, conditions or loops");
    else
      CheckStatement(recorded, 0, false);
  }
  recording_.clear();
}
