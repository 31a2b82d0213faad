// The file pass of the checker: line ends, the interpreter's reader and label index, the
// lexer on every line, IF and WHILE blocks, object definitions, and the scripts that CALL
// each other.
#include <algorithm>
#include <deque>
#include <fstream>
#include <sstream>

#include "engine/errors.h"
#include "engine/executor.h"
#include "support/debug_log.h"
#include "support/text.h"
#include "tools/check/check_internal.h"
#include "ui/text_table.h"

namespace {

// The machine the interpreter's reader and lexer see while a script is checked: the script's
// bytes and nothing else. A variable read in a literal comes back as its marked name.
class CheckPlatform : public Platform {
 public:
  std::string bytes;
  bool markVariables = true;

  WindowsVersionInfo Version() override { return {5, 1, 2}; }
  std::string Environment(const std::string& name) override {
    return markVariables ? std::string(1, kVarOpen) + name + kVarClose : std::string();
  }
  std::string ResourceText(int id) override {
    const char* text = BuiltInText(id);
    return text ? text : "";
  }
  std::string CurrentDirectory() override { return "C:\\"; }
  std::string WindowsDirectory() override { return "C:\\WINDOWS"; }
  std::string SystemDirectory() override { return "C:\\WINDOWS\\SYSTEM32"; }
  std::string ProgramPath() override { return "C:\\WINDOWS\\KVLSOFT\\TALVEN.EXE"; }
  std::string DesktopFolder() override { return ""; }
  std::string ReadRegistryString(int, const std::string&, const std::string&, const std::string& d) override { return d; }
  int ProfileInt(const std::string&, const std::string&, int d) override { return d; }
  std::string ProfileString(const std::string&, const std::string&, const std::string& d) override { return d; }
  bool FileExists(const std::string&) override { return false; }
  std::string VolumeLabel(const std::string&) override { return ""; }
  std::unique_ptr<ScriptSource> OpenScriptFile(const std::string&) override {
    auto source = std::make_unique<ScriptSource>();
    source->bytes.assign(bytes.begin(), bytes.end());
    return source;
  }
  int CompareText(const std::string& a, const std::string& b) override { return a.compare(b); }
  std::string UpperText(const std::string& text) override { return UpperAscii(text); }
  std::string LowerText(const std::string& text) override { return LowerAscii(text); }
  int ShowMessage(const std::string&, const std::string&, unsigned, int) override { return ANSWER_OK; }
  void SetBusyCursor(bool) override {}
  void HideSetupWindow() override {}
  void BeginUserPrompt() override {}
  void EndUserPrompt() override {}
  void PumpMessages() override {}
  void PumpMessagesPaced() override {}
  bool CopyGaugeOpen() override { return false; }
  void CloseCopyGauge() override {}
  uint64_t Milliseconds() override { return 0; }
};

class SilentLog : public DebugLogBackend {
 public:
  bool ReadSettings(DebugLogSettings& settings) override {
    settings.enabled = false;
    return true;
  }
  bool Append(const std::string&, const char*, size_t) override { return true; }
  void ReportFailure(const std::string&) override {}
  LocalTime Now() override { return {}; }
};

const char kCheckedPath[] = "C:\\CHECK\\SCRIPT.QLS";

}  // namespace

// The reader, the lexer and their context, set up once per checked file.
struct CheckMachine {
  CheckPlatform platform;
  SilentLog logBackend;
  DebugLog log{logBackend};
  CommandTable table;
  Interpreter ip{platform, log, table};
};

namespace {

// Lines that end in a CR or an LF alone: the interpreter's reader ends lines only at CR LF.
struct LineEnds {
  int lone = 0;
  int firstLine = 0;
  std::string normalised;  // every line end as CR LF
};

LineEnds ExamineLineEnds(const std::string& bytes) {
  LineEnds ends;
  int line = 1;
  for (size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
      ends.normalised += "\r\n";
      ++i;
    } else if (c == '\r' || c == '\n') {
      if (ends.lone++ == 0) ends.firstLine = line;
      ends.normalised += "\r\n";
    } else {
      ends.normalised += c;
      continue;
    }
    ++line;
  }
  return ends;
}

bool Tokenise(CheckMachine& m, const std::string& text, LineTokens& line, int& error) {
  error = TokeniseLine(m.ip, text);
  // A literal that only the marks make too long says nothing: the values are not known yet.
  // Read once more with the variables empty (their references then stand for nothing).
  if (error == ERR_STRING_CONCAT_TOO_LONG) {
    m.platform.markVariables = false;
    error = TokeniseLine(m.ip, text);
    m.platform.markVariables = true;
  }
  if (error != 0) return false;
  line.tokens = m.ip.lexer.tokens;
  line.text = m.ip.lexer.text;
  const size_t count = static_cast<size_t>(m.ip.lexer.count);
  line.texts.assign(count, std::string());
  line.numbers.assign(count, 0);
  for (size_t i = 0; i < count; ++i) {
    const int32_t t = line.tokens[i];
    if (t == TOK_LABEL || t == TOK_VARIABLE || t == TOK_STRING) line.texts[i] = m.ip.strings.Next();
    else if (t == TOK_NUMBER) line.numbers[i] = m.ip.numbers.Next();
  }
  return true;
}

std::string Plural(int n, const char* one, const char* many) { return DecimalText(n) + " " + (n == 1 ? one : many); }

}  // namespace

std::string ErrorText(int32_t code) {
  const char* text = BuiltInText(code);
  return text ? ErrorMessageCore(text) : std::string();
}

std::string KeywordName(int32_t token) {
  const char* text = KeywordText(token);
  return text ? Trim(text, 'R', " ") : std::string("?");
}

void ScanScript(const std::string& bytes, const std::function<void(const LineTokens&)>& each) {
  CheckMachine m;
  m.platform.bytes = ExamineLineEnds(bytes).normalised;
  if (m.ip.files.OpenScript(m.platform, m.log, "C:\\", kCheckedPath) != 0 && !m.ip.files.AnyOpen()) return;
  LineTokens line;
  while (m.ip.files.ReadNextLine() == 0) {
    int error = 0;
    if (Tokenise(m, m.ip.files.LineText(), line, error)) each(line);
  }
}

// ---------------------------------------------------------------------------------------------

ScriptChecker::ScriptChecker(std::string name, const SharedFacts& facts, const MediumIndex* medium, CheckResult& result)
    : name_(std::move(name)), facts_(facts), medium_(medium), result_(result), machine_(std::make_unique<CheckMachine>()) {}

void ScriptChecker::Report(Severity severity, int32_t code, const std::string& text) {
  if (!recording_.empty()) return ReportRule(severity, "deinstall-line", recording_ + text + " (" + ErrorText(code) + ")");
  result_.findings.push_back({name_, lineNo_, severity, code, DecimalText(ShownErrorNumber(code)), text});
}

void ScriptChecker::ReportRule(Severity severity, const std::string& id, const std::string& text) {
  const bool recorded = !recording_.empty() && id != "deinstall-line";
  result_.findings.push_back({name_, lineNo_, severity, 0, recorded ? "deinstall-line" : id, recorded ? recording_ + text : text});
}

void ScriptChecker::Check(std::string bytes) {
  const LineEnds ends = ExamineLineEnds(bytes);
  if (ends.lone > 0) {
    lineNo_ = ends.firstLine;
    ReportRule(Severity::Error, "line-ends",
               Plural(ends.lone, "line ends", "lines end") +
                   " in a CR or an LF alone (the first is this one): the interpreter ends lines only at CR LF "
                   "and reads such lines as one; save the script with CR LF line ends");
    bytes = ends.normalised;
  }
  CheckMachine& m = *machine_;
  m.platform.bytes = bytes;
  lineNo_ = 0;
  if (const int r = m.ip.files.OpenScript(m.platform, m.log, "C:\\", kCheckedPath)) {
    Report(Severity::Error, r, "the labels of this script take more than the interpreter's 65,535 bytes");
    if (!m.ip.files.AnyOpen()) return;
  }
  // Two lines with the same label: GOTO finds the first.
  const std::vector<LabelEntry>& labels = m.ip.files.Current().labels;
  for (size_t i = 1; i < labels.size(); ++i)
    for (size_t j = 0; j < i; ++j)
      if (labels[i].text == labels[j].text) {
        lineNo_ = labels[i].position.lineNo;
        ReportRule(Severity::Warning, "label-twice",
                   "the label " + labels[i].text + " stands on line " + DecimalText(labels[j].position.lineNo) +
                       " already; GOTO always goes there");
        break;
      }
  while (m.ip.files.ReadNextLine() == 0) {
    lineNo_ = static_cast<int>(m.ip.files.Current().lineNo);
    const std::string& text = m.ip.files.LineText();
    if (text.size() > static_cast<size_t>(kMaxLineLength)) {
      Report(Severity::Error, ERR_TEXT_TOO_LONG,
             "the line has " + DecimalText(static_cast<int64_t>(text.size())) +
                 " characters; the interpreter reads at most 300");
      continue;
    }
    LineTokens line;
    // The first error in an object definition ends the block there: the lines after it run
    // as ordinary statements.
    const size_t findings = result_.findings.size();
    if (!ReadTokens(text, line)) {
      definition_ = 0;
      continue;
    }
    if (definition_ == 0) {
      CheckLine(line);
      continue;
    }
    CheckDefinitionLine(line);
    for (size_t i = findings; i < result_.findings.size(); ++i)
      if (result_.findings[i].severity == Severity::Error) definition_ = 0;
  }
  EndOfFile();
}

bool ScriptChecker::ReadTokens(const std::string& text, LineTokens& line) {
  int error = 0;
  if (Tokenise(*machine_, text, line, error)) return true;
  if (error == 0) return false;
  static const std::map<int32_t, const char*> kWhy = {
      {ERR_INVALID_VARIABLE_NAME, "a variable reference is not closed with % on this line"},
      {ERR_INVALID_STRING, "a string is not closed with \" on this line"},
      {ERR_LABEL_TOO_LONG, "a label name has 20 or more characters"},
      {ERR_STRING_STACK_FULL, "the line holds more than 25 labels, variables and strings"},
      {ERR_NUMERIC_STACK_FULL, "the line holds more than 25 numbers (named constants count)"},
      {ERR_VARIABLE_NAME_TOO_LONG, "a variable name has 20 or more characters"},
      {ERR_TEXT_TOO_LONG, "a string is longer than 300 characters"},
      {ERR_STRING_CONCAT_TOO_LONG, "a string is longer than 300 characters"},
      {ERR_NUL_IN_LINE, "the line holds a NUL byte"},
  };
  const auto why = kWhy.find(error);
  Report(Severity::Error, error, why != kWhy.end() ? why->second : "the line cannot be read");
  return false;
}

void ScriptChecker::CheckLine(const LineTokens& line) {
  const int32_t first = line.At(0);
  switch (first) {
    case TOK_ELSE:
      if (std::none_of(blocks_.begin(), blocks_.end(), [](const Block& b) { return b.kind == TOK_IF; }))
        Report(Severity::Error, ERR_ELSE_WITHOUT_IF, "ELSE without an open IF ... THEN block");
      return;
    case TOK_ENDIF: CloseBlock(TOK_IF); return;
    case TOK_WEND: CloseBlock(TOK_WHILE); return;
    case TOK_CREATEBACKDROP:
    case TOK_CREATEDIALOG:
    case TOK_CREATECUECARD:
      // A creating command whose parameters are refused reads no definition block.
      if (!CheckParams(line, first, 1)) return;
      definition_ = first;
      definitionLine_ = lineNo_;
      return;
    default: CheckStatement(line, 0, false);
  }
}

void ScriptChecker::OpenBlock(int32_t kind) {
  const int depth = static_cast<int>(std::count_if(blocks_.begin(), blocks_.end(), [kind](const Block& b) { return b.kind == kind; }));
  if (depth >= kMaxBlockDepth) {
    Report(Severity::Error, kind == TOK_IF ? ERR_TOO_MANY_IFS : ERR_TOO_MANY_WHILES,
           std::string("a ninth ") + (kind == TOK_IF ? "IF ... THEN block" : "WHILE loop") + " inside the open ones");
    return;
  }
  blocks_.push_back({kind, lineNo_});
}

void ScriptChecker::CloseBlock(int32_t kind) {
  const auto open = std::find_if(blocks_.rbegin(), blocks_.rend(), [kind](const Block& b) { return b.kind == kind; });
  if (open == blocks_.rend()) {
    if (kind == TOK_IF) Report(Severity::Error, ERR_ENDIF_WITHOUT_IF, "ENDIF without an open IF ... THEN block");
    else Report(Severity::Error, ERR_WEND_WITHOUT_WHILE, "WEND without an open WHILE loop");
    return;
  }
  if (open != blocks_.rbegin()) {
    const Block& inner = blocks_.back();
    ReportRule(Severity::Warning, "blocks-cross",
               std::string(kind == TOK_IF ? "ENDIF closes the IF" : "WEND closes the WHILE") + " of line " +
                   DecimalText(open->line) + " while the " + (inner.kind == TOK_IF ? "IF" : "WHILE") + " of line " +
                   DecimalText(inner.line) + " inside it is still open");
  }
  blocks_.erase(std::next(open).base());
}

void ScriptChecker::EndOfFile() {
  if (definition_ != 0) {
    lineNo_ = definitionLine_;
    ReportRule(Severity::Warning, "definition-end",
               "the definition of " + KeywordName(definition_) + " has no ENDOBJECT( and runs to the end of the file");
  }
  for (const Block& block : blocks_) {
    lineNo_ = block.line;
    if (block.kind == TOK_IF)
      Report(Severity::Error, ERR_IF_WITHOUT_ENDIF, "this IF ... THEN block has no ENDIF before the end of the file");
    else
      Report(Severity::Error, ERR_WHILE_WITHOUT_WEND, "this WHILE loop has no WEND before the end of the file");
  }
}

void ScriptChecker::CheckDefinitionLine(const LineTokens& line) {
  const int32_t first = line.At(0);
  const bool backdrop = definition_ == TOK_CREATEBACKDROP;
  switch (first) {
    case 0: return;
    case TOK_ENDOBJECT: definition_ = 0; return;
    case TOK_CREATECONTROL: CheckControl(line, 1); return;
    case TOK_SETFOCUS:
      if (definition_ != TOK_CREATEDIALOG) {
        Report(Severity::Error, ERR_COMMAND_WRONG_FOR_OBJECT, "SETFOCUS( belongs to dialog definitions only");
        return;
      }
      CheckParams(line, first, 1);
      return;
    case TOK_CENTREDIALOG:
      if (backdrop) {
        Report(Severity::Error, ERR_COMMAND_WRONG_FOR_OBJECT, "a backdrop is not placed: CENTREDIALOG( has no place here");
        return;
      }
      CheckParams(line, first, 1);
      return;
    case TOK_ADDLISTITEM: CheckParams(line, first, 1); return;
    default:
      Report(Severity::Error, ERR_INVALID_DIALOG_COMMAND,
             "inside an object definition only CREATECONTROL(, SETFOCUS(, CENTREDIALOG(, ADDLISTITEM( and "
             "ENDOBJECT( may stand (the definition began on line " +
                 DecimalText(definitionLine_) + ")");
  }
}

void ScriptChecker::CheckLabel(const std::string& label) {
  const std::string wanted = ":" + label;
  const std::vector<LabelEntry>& labels = machine_->ip.files.Current().labels;
  for (const LabelEntry& entry : labels)
    if (entry.text == wanted) return;
  std::string hint;
  for (const LabelEntry& entry : labels) {
    if (EqualsNoCase(entry.text, wanted)) {
      hint = "; line " + DecimalText(entry.position.lineNo) + " has " + entry.text +
             ", but GOTO finds a label only when its line writes it in capitals";
      break;
    }
    if (StartsWith(entry.text, wanted)) {
      hint = "; line " + DecimalText(entry.position.lineNo) + " has " + entry.text +
             ": what follows a label without a blank is part of its name";
      break;
    }
  }
  Report(Severity::Error, ERR_LABEL_NOT_FOUND, "GOTO " + wanted + ": this script has no such label" + hint);
}

// ---------------------------------------------------------------------------------------------

namespace {

bool IsVariableMark(const std::string& literal, std::string& name) {
  if (literal.size() < 3 || literal.front() != kVarOpen || literal.back() != kVarClose) return false;
  name = literal.substr(1, literal.size() - 2);
  return name.find(kVarClose) == std::string::npos;
}

}  // namespace

void GatherFacts(const LineTokens& line, SharedFacts& facts) {
  for (int i = 0; i < kMaxTokens && line.At(i) != 0; ++i) {
    const int32_t t = line.At(i);
    if (t == TOK_SET && line.At(i + 1) == TOK_VARIABLE && line.At(i + 2) == '=') {
      const int32_t value = line.At(i + 3);
      std::string source;
      if (line.At(i + 4) == 0 && value == TOK_VARIABLE) source = UpperAscii(line.Text(i + 3));
      else if (line.At(i + 4) == 0 && value == TOK_STRING) IsVariableMark(line.Text(i + 3), source);
      facts.assignments[UpperAscii(line.Text(i + 1))].push_back(source);
      continue;
    }
    if (t == TOK_CHDIR) facts.changesDirectory = true;
    if ((t == TOK_CREATEBACKDROP || t == TOK_CREATEDIALOG || t == TOK_CREATECUECARD)) {
      if (line.At(i + 1) == TOK_STRING) facts.objectNames.insert(UpperAscii(line.Text(i + 1)));
      else facts.objectNamedByVariable = true;
    }
    const CommandParams& params = ParamsOf(t);
    if (t < kFirstKeyword || t == TOK_ADDCHAR || params.shape != CommandParams::Shape::Forms) continue;
    // Every variable a command stores a result in is given something else than a folder.
    const ParamForm& form = ChooseForm(params, line, i + 1);
    for (size_t n = 0; n < form.params.size(); ++n)
      if (form.params[n].kind == 'V' && ParamAt(line, i + 1, static_cast<int>(n) + 1) == TOK_VARIABLE)
        facts.assignments[UpperAscii(line.Text(i + 1 + 2 * static_cast<int>(n)))].push_back("");
  }
}

void SettleMediumVariables(SharedFacts& facts) {
  facts.mediumVariables = {"CURRENTDIRECTORY"};
  for (bool grew = true; grew;) {
    grew = false;
    for (const auto& [name, sources] : facts.assignments) {
      if (facts.mediumVariables.count(name)) continue;
      if (std::all_of(sources.begin(), sources.end(), [&](const std::string& s) { return facts.mediumVariables.count(s) > 0; })) {
        facts.mediumVariables.insert(name);
        grew = true;
      }
    }
  }
  // CHDIR( or a script of its own may change what the current directory is.
  if (facts.changesDirectory || facts.assignments.count("CURRENTDIRECTORY")) facts.mediumVariables.erase("CURRENTDIRECTORY");
}

bool MediumPathOf(const std::string& literal, const SharedFacts& facts, std::string& name) {
  std::string rest = literal;
  if (!rest.empty() && rest[0] == kVarOpen) {
    const size_t close = rest.find(kVarClose);
    if (close == std::string::npos || !facts.mediumVariables.count(UpperAscii(rest.substr(1, close - 1)))) return false;
    rest = rest.substr(close + 1);
    while (StartsWith(rest, "\\")) rest.erase(0, 1);
  } else if (facts.changesDirectory || rest.find(':') != std::string::npos || StartsWith(rest, "\\")) {
    return false;  // a path of its own, or relative to a directory the script may have changed
  }
  if (rest.empty() || rest.find(kVarOpen) != std::string::npos) return false;
  name = rest;
  return true;
}

void AddCalledNames(const LineTokens& line, std::vector<std::string>& names) {
  for (int i = 0; i < kMaxTokens && line.At(i) != 0; ++i)
    if (line.At(i) == TOK_CALL && line.At(i + 1) == TOK_STRING) names.push_back(line.Text(i + 1));
}

// ---------------------------------------------------------------------------------------------

bool CheckResult::HasErrors() const {
  return std::any_of(findings.begin(), findings.end(), [](const CheckFinding& f) { return f.severity == Severity::Error; });
}

std::string FormatFinding(const CheckFinding& f) {
  std::string out = f.file;
  if (f.line > 0) out += ":" + DecimalText(f.line);
  out += f.severity == Severity::Error ? ": error: " : ": warning: ";
  out += f.text;
  if (f.code != 0) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", ShownErrorNumber(f.code));
    out += std::string(f.severity == Severity::Error ? " (the interpreter stops here with error " : " (this can fail with error ") +
           number + ", " + ErrorText(f.code) + ")";
  }
  return out;
}

std::string FormatCopySpace(const CheckResult& result) {
  const uint64_t kilobytes = (result.copyBytes + 1023) / 1024;
  return "the copies from the medium write " + DecimalText(static_cast<int64_t>(result.copyBytes)) + " bytes (" +
         DecimalText(static_cast<int64_t>(kilobytes)) + " KB) in " + Plural(result.copies, "copy", "copies") +
         "; the free space the script asks for should cover them";
}

namespace {

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// The medium file that [called] (a CALL's literal) names: the interpreter adds ".SCR" to a
// name without any '.'.
const MediumFile* CalledFile(const std::string& called, const SharedFacts& facts, const MediumIndex& medium) {
  std::string name;
  if (!MediumPathOf(called, facts, name)) return nullptr;
  if (name.find('.') == std::string::npos) name += ".SCR";
  return medium.Find(name);
}

}  // namespace

CheckResult CheckScripts(const std::vector<ScriptToCheck>& scripts, const MediumIndex* medium) {
  CheckResult result;
  // Every script is known before any is checked: what the caller puts into a variable, the
  // called script uses.
  std::vector<ScriptToCheck> all = scripts;
  std::vector<std::vector<std::string>> calls;  // by script: the names it CALLs
  SharedFacts facts;
  std::set<std::string> known;
  for (const ScriptToCheck& s : all) known.insert(UpperAscii(s.name));
  for (size_t next = 0; next < all.size();) {
    for (; next < all.size(); ++next) {
      calls.emplace_back();
      ScanScript(all[next].bytes, [&](const LineTokens& line) {
        GatherFacts(line, facts);
        AddCalledNames(line, calls.back());
      });
    }
    SettleMediumVariables(facts);
    if (!medium) break;
    for (size_t i = 0; i < calls.size(); ++i)
      for (const std::string& called : calls[i])
        if (const MediumFile* file = CalledFile(called, facts, *medium))
          if (!file->hostPath.empty() && known.insert(UpperAscii(file->name)).second)
            all.push_back({file->name, ReadHostFile(file->hostPath)});
  }
  for (const ScriptToCheck& script : all) {
    ScriptChecker checker(script.name, facts, medium, result);
    checker.Check(script.bytes);
    result.scripts.push_back(script.name);
  }
  return result;
}
