// The checker's insides, shared by the file pass (script_check.cpp) and the statement rules
// (statement_check.cpp).
#pragma once

#include <array>
#include <functional>
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
  std::vector<std::string> texts;  // labels, variable names, literals (by token index)
  std::vector<int32_t> numbers;    // numbers (by token index)
  std::string text;                // the line as the lexer saw it: upper-cased outside quotes

  int32_t At(int index) const { return index >= 0 && index < kMaxTokens ? tokens[static_cast<size_t>(index)] : 0; }
  const std::string& Text(int index) const {
    static const std::string kNone;
    return index >= 0 && static_cast<size_t>(index) < texts.size() ? texts[static_cast<size_t>(index)] : kNone;
  }
  int32_t Number(int index) const {
    return index >= 0 && static_cast<size_t>(index) < numbers.size() ? numbers[static_cast<size_t>(index)] : 0;
  }
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
  void CheckRecordedLine(const LineTokens& line, int cursor);
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
  std::string recording_;  // while a line that ADDDEINSTALL( records is checked: what to say first
  int definitionLine_ = 0;
  std::unique_ptr<struct CheckMachine> machine_;
};

// Gathers what [line] tells about the scripts into [facts].
void GatherFacts(const LineTokens& line, SharedFacts& facts);
// Decides which variables hold the medium's folder, from what they are given.
void SettleMediumVariables(SharedFacts& facts);
// Tokenises every line of [bytes] as the interpreter reads them and hands it to [each] (lines
// that cannot be read are left out).
void ScanScript(const std::string& bytes, const std::function<void(const LineTokens&)>& each);
// Adds the literal names that [line] CALLs (as written, variable references marked) to [names].
void AddCalledNames(const LineTokens& line, std::vector<std::string>& names);
// The short text of an error code ("Invalid numeric parameter").
std::string ErrorText(int32_t code);
// The keyword's text for people ("COPYFILE(", "SET").
std::string KeywordName(int32_t token);
