// The checker's insides, shared by the file pass (script_check.cpp) and the statement rules
// (statement_check.cpp).
#pragma once

#include <array>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "engine/interpreter.h"
#include "engine/keyword_params.h"
#include "engine/lexer.h"
#include "tools/check/script_check.h"

// A variable reference inside a literal stands in the checked text as kVarOpen NAME kVarClose:
// its value is not known before the script runs.
constexpr char kVarOpen = '\x01';
constexpr char kVarClose = '\x02';

// One tokenised line, with the value of every value token by the token's index.
struct LineTokens {
  std::array<int32_t, kMaxTokens> tokens{};
  std::array<std::string, kMaxTokens> texts;  // labels, variable names, literals
  std::array<int32_t, kMaxTokens> numbers{};
  std::string text;  // the line as the lexer saw it: upper-cased outside quotes

  int32_t At(int index) const { return index >= 0 && index < kMaxTokens ? tokens[static_cast<size_t>(index)] : 0; }
  const std::string& Text(int index) const { return texts[static_cast<size_t>(index)]; }
};

// What all scripts of a check tell about each other, gathered before any is checked.
struct SharedFacts {
  // What each variable is given anywhere: the name of the variable it is set to as a whole,
  // or "" for anything else.
  std::map<std::string, std::vector<std::string>> assignments;
  std::set<std::string> mediumVariables;  // variables that hold the medium's folder
  std::set<std::string> objectNames;      // objects created under a literal name
  bool objectNamedByVariable = false;
  bool changesDirectory = false;  // some script has CHDIR(: relative names are not the medium's
};

// The params of every keyword, read once from the keyword table.
const CommandParams& ParamsOf(int32_t token);
// The form of [params] that a statement whose parameters begin at [cursor] takes.
const ParamForm& ChooseForm(const CommandParams& params, const LineTokens& line, int cursor);
// The token at parameter [n]'s place (1-based), or 0 past the end of the line.
int32_t ParamAt(const LineTokens& line, int cursor, int n);
// The name on the medium that the path [literal] stands for; false when it is not known.
bool MediumPathOf(const std::string& literal, const SharedFacts& facts, std::string& name);

// Checks one script file.
class ScriptChecker {
 public:
  ScriptChecker(std::string name, const SharedFacts& facts, const MediumIndex* medium, CheckResult& result);
  void Check(std::string bytes);
  // Scripts this one CALLs that were found on the medium.
  const std::vector<const MediumFile*>& Calls() const { return calls_; }

 private:
  struct Block {
    int32_t kind;  // TOK_IF or TOK_WHILE
    int line;
  };

  // script_check.cpp: lines, blocks, object definitions, labels.
  bool ReadTokens(const std::string& text, LineTokens& line);
  void CheckLine(const LineTokens& line);
  void CheckDefinitionLine(const LineTokens& line);
  void OpenBlock(int32_t kind);
  void CloseBlock(int32_t kind);
  void EndOfFile();
  void CheckLabel(const std::string& label);

  // statement_check.cpp: one statement and its parameters.
  void CheckStatement(const LineTokens& line, int at, bool chained);
  void CheckUnknownCommand(const LineTokens& line, int at, bool chained);
  void CheckSet(const LineTokens& line, int at);
  int CheckCondition(const LineTokens& line, int at);  // the index after it, or -1
  void CheckIf(const LineTokens& line, int at, bool chained);
  bool CheckParams(const LineTokens& line, int32_t token, int cursor);
  bool CheckForm(const LineTokens& line, const char* name, const ParamForm& form, int cursor, bool conditional,
                 int firstParam = 1);
  void CheckControl(const LineTokens& line, int cursor);
  void CheckCommandEffects(const LineTokens& line, int32_t token, int cursor);
  void CheckCopySource(const LineTokens& line, int index, int optionsAt);
  void CheckCall(const LineTokens& line, int index);
  void CheckDialogName(const LineTokens& line, int index);
  // The name on the medium that a path parameter stands for, or false when it is not known.
  bool MediumName(const LineTokens& line, int index, std::string& name) const;
  const MediumFile* FindOnMedium(const std::string& name) const;

  void Report(Severity severity, int32_t code, const std::string& text);
  void ReportRule(Severity severity, const std::string& id, const std::string& text);

  std::string name_;
  const SharedFacts& facts_;
  const MediumIndex* medium_;
  CheckResult& result_;
  std::vector<const MediumFile*> calls_;
  int lineNo_ = 0;
  std::vector<Block> blocks_;
  int32_t definition_ = 0;  // the creating keyword while an object definition is read
  int definitionLine_ = 0;
  std::unique_ptr<struct CheckMachine> machine_;
};

// Gathers the facts of [lines] (one script, tokenised) into [facts].
void GatherFacts(const std::vector<LineTokens>& lines, SharedFacts& facts);
// Decides which variables hold the medium's folder, from what they are given.
void SettleMediumVariables(SharedFacts& facts);
// Tokenises every line of [bytes] as the interpreter reads them (lines with errors left out).
std::vector<LineTokens> TokeniseScript(const std::string& bytes);
// The literal names a script CALLs (as written, variable references marked).
std::vector<std::string> CalledNames(const std::vector<LineTokens>& lines);
// The short text of an error code ("Invalid numeric parameter").
std::string ErrorText(int32_t code);
// The keyword's text for people ("COPYFILE(", "SET").
std::string KeywordName(int32_t token);
