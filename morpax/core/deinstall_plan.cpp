#include "morpax/core/deinstall_plan.h"

#include <algorithm>

#include "engine/executor.h"
#include "engine/main_loop.h"
#include "support/text.h"

namespace {

constexpr unsigned Bit(int section) { return 1u << section; }
constexpr unsigned kStartup = Bit(SECTION_STARTUP);
// The sections that take every removal command.
constexpr unsigned kAnyRemoval = Bit(SECTION_PREDEINSTALL) | Bit(SECTION_USERSCRIPT) | Bit(SECTION_CLEANUP);

// What a subject parameter must be.
enum class Subject { None, File, Directory, Key, Name, Shortcut, IniFile };

// The form of a line a section takes: its keyword, its parameters ('S' a string, 'N' a number
// written as such, 'V' a variable, 'E' a string that must be empty), the parameter that names
// what goes, and the sections.
struct LineForm {
  int32_t command;
  const char* params;  // nullptr: any (SET)
  int subjectParam;
  Subject subject;
  unsigned sections;
};

const LineForm kForms[] = {
    {TOK_SET, nullptr, 0, Subject::None, kStartup},
    {TOK_SETLANGUAGE, "S", 0, Subject::None, kStartup},
    {TOK_SETSHAREDREGISTRY, "SSS", 0, Subject::None, kStartup},
    {TOK_SETFILEATTR, "SNNNN", 1, Subject::File, Bit(SECTION_UNPROTECT) | kAnyRemoval},
    {TOK_DLLSELFUNREGISTER, "S", 1, Subject::File, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_UNREGISTERTYPELIB, "S", 0, Subject::None, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_UNREGISTERFONT, "S", 0, Subject::None, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_UNINSTALLSERVICE, "S", 0, Subject::None, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_ODBCREMOVEDRIVER, "SV", 0, Subject::None, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_ODBCREMOVETRANSLATOR, "SV", 0, Subject::None, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_ODBCREMOVEDRIVERMANAGER, "V", 0, Subject::None, Bit(SECTION_OLEUNREGISTER) | kAnyRemoval},
    {TOK_DELETE, "S", 1, Subject::File, Bit(SECTION_FILES) | kAnyRemoval},
    {TOK_UNREGISTER, "S", 1, Subject::File, Bit(SECTION_FILES) | kAnyRemoval},
    {TOK_UNREGISTERSHARED, "SSS", 1, Subject::File, Bit(SECTION_FILES) | kAnyRemoval},
    {TOK_DELETEGROUP, "S", 1, Subject::Name, Bit(SECTION_PMGROUP) | kAnyRemoval},
    {TOK_DELETESHORTCUT, "SSS", 2, Subject::Shortcut, Bit(SECTION_PMGROUP) | kAnyRemoval},
    {TOK_RMDIR, "S", 1, Subject::Directory, Bit(SECTION_DIRECTORIES) | kAnyRemoval},
    {TOK_REGDELETESETTING, "NSS", 2, Subject::Key, kAnyRemoval},
    {TOK_DELMULTIPROFILESTRING, "SSSS", 4, Subject::IniFile, kAnyRemoval},
    // With an empty value these delete the entry; any other value would write one.
    {TOK_WRITEPRIVATEPROFILESTRING, "SSES", 4, Subject::IniFile, kAnyRemoval},
    {TOK_WRITEPROFILESTRING, "SSES", 4, Subject::IniFile, kAnyRemoval},
};

const LineForm* FormOf(int32_t command) {
  for (const LineForm& form : kForms)
    if (form.command == command) return &form;
  return nullptr;
}

// "C:\..." or "\\server\share\...", without wildcards.
bool IsCompletePath(const std::string& path) {
  if (path.find_first_of("*?") != std::string::npos) return false;
  const bool drive = path.size() >= 3 && path[1] == ':' && path[2] == '\\' &&
                     ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
  const bool share = path.size() > 2 && path[0] == '\\' && path[1] == '\\' && path[2] != '\\';
  return drive || share;
}

bool HasParentStep(const std::string& path) {
  const std::string wrapped = "\\" + path + "\\";
  return wrapped.find("\\..\\") != std::string::npos || wrapped.find("/../") != std::string::npos ||
         wrapped.find("\\../") != std::string::npos || wrapped.find("/..\\") != std::string::npos;
}

// A group or a shortcut title names one entry of its folder.
bool IsPlainName(const std::string& name) {
  const std::string trimmed = Trim(name, 'B', " ");
  return !trimmed.empty() && trimmed != "." && trimmed != ".." && name.find_first_of("\\/:") == std::string::npos;
}

// A key tree goes only when it lies at least two steps below its root ("SOFTWARE\Product"),
// never a top key such as "SOFTWARE" that other software shares.
bool IsRemovableKey(const std::string& key, const std::string& valueName) {
  const std::string trimmed = Trim(key, 'B', "\\");
  if (trimmed.empty()) return false;
  if (!valueName.empty()) return true;
  const size_t step = trimmed.find('\\');
  return step != std::string::npos && step + 1 < trimmed.size() && trimmed.find("\\\\") == std::string::npos;
}

DeinstallRefusal CheckSubject(const LineForm& form, const std::vector<std::string>& values, DeinstallStep& step) {
  if (form.subjectParam == 0) return REFUSED_NONE;
  const std::string& subject = values[static_cast<size_t>(form.subjectParam - 1)];
  switch (form.subject) {
    case Subject::File:
    case Subject::Directory:
      if (!IsCompletePath(subject)) return REFUSED_PATH;
      if (form.subject == Subject::Directory && Trim(subject, 'R', "\\").size() <= 2) return REFUSED_PATH;  // a root
      step.subject = subject;
      return REFUSED_NONE;
    case Subject::IniFile:
      // A name without a folder is the Windows directory's, as the INI commands take it.
      return subject.find_first_of("*?") == std::string::npos && !subject.empty() ? REFUSED_NONE : REFUSED_PATH;
    case Subject::Key:
      return IsRemovableKey(subject, values[2]) ? REFUSED_NONE : REFUSED_KEY;
    case Subject::Name:
      return IsPlainName(subject) ? REFUSED_NONE : REFUSED_NAME;
    case Subject::Shortcut:  // user, folder, title
      return !HasParentStep(subject) && IsPlainName(values[2]) ? REFUSED_NONE : REFUSED_NAME;
    case Subject::None:
      break;
  }
  return REFUSED_NONE;
}

// Reads the parameters of [form] from the tokenised line: their kinds, their number (the line
// ends after the last), and their values (a variable's name for 'V').
DeinstallRefusal ReadParameters(Interpreter& ip, const LineForm& form, std::vector<std::string>& values) {
  TokenLine line;
  line.tokens = ip.lexer.tokens;
  line.cursor = 1;
  const std::string params = form.params;
  for (size_t i = 0; i < params.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    if (i > 0 && line.At(line.cursor + 2 * static_cast<int>(i) - 1) != ',') return REFUSED_PARAMETERS;
    std::string value;
    int32_t number = 0;
    int r = 0;
    switch (params[i]) {
      case 'N': r = ReadLiteralNumberParam(ip, line, n, number); break;
      case 'V': r = ReadVariableParam(ip, line, n, value); break;
      default:
        r = ReadStringParam(ip, line, n, value);
        if (params[i] == 'E' && !value.empty()) r = ERR_INVALID_STRING_PARAMETER;
    }
    if (r != 0) return REFUSED_PARAMETERS;
    values.push_back(value);
  }
  const int end = line.cursor + (params.empty() ? 0 : 2 * static_cast<int>(params.size()) - 1);
  return line.At(end) == ')' && line.At(end + 1) == TOK_END ? REFUSED_NONE : REFUSED_PARAMETERS;
}

}  // namespace

DeinstallRefusal CheckDeinstallLine(Interpreter& ip, int section, const std::string& line, DeinstallStep& step) {
  step = DeinstallStep{};
  step.section = section;
  step.line = line;
  if (TokeniseLine(ip, line) != 0) return REFUSED_UNREADABLE;
  step.command = ip.lexer.tokens[0];
  if (step.command == TOK_END) return REFUSED_NONE;  // a comment
  const LineForm* form = FormOf(step.command);
  if (!form || section < 0 || (form->sections & Bit(section)) == 0) return REFUSED_COMMAND;
  if (!ip.commands.byToken[static_cast<size_t>(step.command)]) return REFUSED_NOT_AVAILABLE;
  if (!form->params) return REFUSED_NONE;
  std::vector<std::string> values;
  if (DeinstallRefusal r = ReadParameters(ip, *form, values)) return r;
  return CheckSubject(*form, values, step);
}

DeinstallVerdict PlanStartup(Interpreter& ip, const DeinstallText& text, std::vector<DeinstallStep>& steps) {
  steps.clear();
  if (!text.hasMarkers) return {REFUSED_NOT_A_SCRIPT, ""};
  DeinstallStep step;
  for (const std::string& line : text.preamble)
    if (DeinstallRefusal r = CheckDeinstallLine(ip, -1, line, step)) return {r, line};
  for (const std::string& line : text.sections[SECTION_STARTUP]) {
    if (DeinstallRefusal r = CheckDeinstallLine(ip, SECTION_STARTUP, line, step)) return {r, line};
    if (step.command != TOK_END) steps.push_back(step);
  }
  return {};
}

DeinstallVerdict PlanRemoval(Interpreter& ip, const DeinstallText& text, std::vector<DeinstallStep>& steps) {
  steps.clear();
  DeinstallStep step;
  for (int section = SECTION_PREDEINSTALL; section < kDeinstallSectionCount; ++section) {
    const size_t first = steps.size();
    for (const std::string& line : text.sections[static_cast<size_t>(section)]) {
      if (DeinstallRefusal r = CheckDeinstallLine(ip, section, line, step)) return {r, line};
      if (step.command != TOK_END) steps.push_back(step);
    }
    // A directory's path is longer than its parent's: the longest go first.
    if (section == SECTION_DIRECTORIES)
      std::stable_sort(steps.begin() + static_cast<std::ptrdiff_t>(first), steps.end(),
                       [](const DeinstallStep& a, const DeinstallStep& b) {
                         return Trim(a.subject, 'R', "\\").size() > Trim(b.subject, 'R', "\\").size();
                       });
  }
  return {};
}

std::string HeaderApplication(const DeinstallText& text) {
  if (text.preamble.size() < 2 || !StartsWith(text.preamble[1], "//")) return std::string();
  return Trim(text.preamble[1].substr(2), 'B', " ");
}

DeinstallerOptions ParseDeinstallerCommandLine(const std::string& arguments) {
  DeinstallerOptions options;
  for (const std::string& word : SplitCommandLine(arguments)) {
    if (EqualsNoCase(word, "/S") || EqualsNoCase(word, "-S")) options.silent = true;
    else if (options.scriptPath.empty() && !word.empty()) options.scriptPath = word;
  }
  return options;
}
