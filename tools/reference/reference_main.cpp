// qs-reference [--write | --check] PROJECT_FOLDER
// Makes the script writers' language reference, docs/script-reference.md, from the entries
// written by hand in docs/reference/*.md and the facts the code holds: the keyword table with
// what each command reads, the error texts, the language texts and the medium's fixed files.
// --check (the default) fails when a command has no entry (or an entry no syntax line or
// example), an entry names no command, or the reference in docs/ differs from what the sources
// make; --write writes it.
//
// In the hand-written files: "# Title" opens a family; "## KEYWORD" (the keyword as the table
// writes it, without a trailing blank) opens its entry, whose first line is its syntax in
// backticks; any other "## " heading is a section of prose, and "### " one inside it.
// {E:10019} becomes the error as the user sees it; {constants}, {errors}, {captions},
// {languages}, {medium-files} and {verdicts} become tables.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "engine/errors.h"
#include "engine/keyword_params.h"
#include "engine/tokens.h"
#include "support/run_switches.h"
#include "support/text.h"
#include "tools/medium/medium.h"
#include "ui/language.h"
#include "ui/text_table.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::string> problems;

// Every script error, in code order, as errors.def lists them.
constexpr int32_t kErrorCodes[] = {
#define SCRIPT_ERROR(code, name, text) code,
#include "resources/texts/errors.def"
#undef SCRIPT_ERROR
};

bool IsErrorCode(int32_t code) { return std::find(std::begin(kErrorCodes), std::end(kErrorCodes), code) != std::end(kErrorCodes); }

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The heading's anchor as Markdown viewers make it: lower case, blanks to '-', other marks dropped.
std::string Anchor(const std::string& heading) {
  std::string anchor;
  for (char c : heading) {
    if (isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_') anchor += AsciiLower(c);
    else if (c == ' ') anchor += '-';
  }
  return anchor;
}

std::string ShortErrorText(int32_t code) { return BuiltInText(code) ? ErrorMessageCore(BuiltInText(code)) : ""; }

std::string ErrorMention(int32_t code) {
  char number[8];
  std::snprintf(number, sizeof number, "%02d", ShownErrorNumber(code));
  return std::string("error ") + number + " \"" + ShortErrorText(code) + "\"";
}

std::string KindWord(const ParamRule& rule) {
  switch (rule.kind) {
    case 'S': return "text";
    case 'N': return "number";
    case 'n': return "number (written out)";
    case 'V': return "variable";
    default: return "label";
  }
}

// What a command reads, in words, and the errors its wrong kinds give.
std::string ParamsLine(const Keyword& k) {
  CommandParams params;
  std::string error;
  if (!ParseCommandParams(k.params, params, error)) {
    problems.push_back(k.text + std::string(": ") + error);
    return "";
  }
  if (params.shape != CommandParams::Shape::Forms) return "";
  std::vector<std::string> forms;
  std::set<int32_t> errors;
  for (const ParamForm& form : params.forms) {
    std::string words;
    for (const ParamRule& rule : form.params) {
      const bool optional = rule.presence != ParamPresence::Required;
      words += std::string(words.empty() ? "" : optional ? " " : ", ") + (optional ? (words.empty() ? "[" : "[, ") : "") +
               KindWord(rule) + (optional ? "]" : "");
      errors.insert(rule.error);
    }
    forms.push_back(words.empty() ? "none" : words);
  }
  std::string line = "*Reads:* ";
  for (size_t i = 0; i < forms.size(); ++i) line += (i ? " — or: " : "") + forms[i];
  if (!errors.empty()) {
    line += ". *A wrong kind:* ";
    bool first = true;
    for (int32_t code : errors) line += (first ? "" : ", ") + ErrorMention(code), first = false;
    if (params.conditional) line += " (checked only on some systems or while the copy gauge is open)";
  }
  return line + ".";
}

std::string ConstantsTable() {
  std::string out = "| Constant | Value |\n|---|---|\n";
  for (const Keyword* k = KeywordsBegin(); k != KeywordsEnd(); ++k)
    if (k->isConstant) out += std::string("| `") + k->text + "` | " + DecimalText(k->value) + " |\n";
  return out;
}

std::string ErrorsTable() {
  std::string out = "| Error | Message |\n|---|---|\n";
  for (int32_t code : kErrorCodes) {
    char number[8];
    std::snprintf(number, sizeof number, "%02d", ShownErrorNumber(code));
    out += std::string("| ") + number + " | " + ShortErrorText(code) + " |\n";
  }
  return out;
}

// The language texts are code page 1252 bytes; the reference is UTF-8.
std::string Utf8(const char* text) {
  std::string out;
  for (const char* p = text ? text : ""; *p; ++p) {
    const unsigned char c = static_cast<unsigned char>(*p);
    if (c < 0x80) out += static_cast<char>(c);
    else if (c == 0x80) out += "\xE2\x82\xAC";  // the euro sign
    else out += std::string{static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
  }
  return out;
}

std::string CaptionsTable() {
  std::string out = "| Macro | UK English | German |\n|---|---|---|\n";
  for (const CaptionMacro* m = CaptionMacrosBegin(); m != CaptionMacrosEnd(); ++m) {
    const char* uk = BuiltInText(m->baseId);
    const char* de = BuiltInText(m->baseId + 3);
    out += std::string("| `") + m->macro + "` | " + Utf8(uk) + " | " + Utf8(de ? de : uk) + " |\n";
  }
  return out;
}

std::string LanguagesTable() {
  std::string out = "| Index | SETLANGUAGE( takes | GETLANGUAGE( stores |\n|---|---|---|\n";
  for (int i = 0; i < kLanguageCount; ++i)
    out += "| " + DecimalText(i) + " | " + LanguageCommandName(i) + " | " + LanguageStoredName(i) + " |\n";
  return out;
}

std::string MediumFilesTable() {
  std::string out = "| Entry | File on the medium | Needed |\n|---|---|---|\n";
  for (const FixedMediumKind& k : FixedMediumKinds())
    out += std::string("| `") + k.kind + "` | " + k.target + (k.compressed ? " (compressed)" : "") + " | " +
           (k.required ? "yes" : "no") + " |\n";
  return out;
}

std::string VerdictsTable() {
  std::string out = "| Exit code | Verdict |\n|---|---|\n";
  for (int v = VERDICT_SUCCESS; v <= VERDICT_RESTART_NEEDED; ++v)
    out += "| " + DecimalText(v) + " | " + VerdictText(v) + " |\n";
  return out;
}

// Replaces {E:code} and the table markers in one line of prose.
std::string Substitute(const std::string& line, const std::string& where) {
  static const std::map<std::string, std::string (*)()> kTables = {
      {"{constants}", ConstantsTable}, {"{errors}", ErrorsTable},         {"{captions}", CaptionsTable},
      {"{languages}", LanguagesTable}, {"{medium-files}", MediumFilesTable}, {"{verdicts}", VerdictsTable},
  };
  if (const auto table = kTables.find(Trim(line, 'B', " ")); table != kTables.end()) return table->second();
  std::string out;
  for (size_t i = 0; i < line.size();) {
    if (line.compare(i, 3, "{E:") == 0) {
      const size_t close = line.find('}', i);
      const int32_t code = close == std::string::npos ? 0 : LeadingNumber(line.substr(i + 3, close - i - 3));
      if (!IsErrorCode(code)) {
        problems.push_back(where + ": no error " + line.substr(i, close == std::string::npos ? 3 : close - i + 1));
        return line;
      }
      out += ErrorMention(code);
      i = close + 1;
    } else {
      out += line[i++];
    }
  }
  if (out.find('{') != std::string::npos && out.find('}') != std::string::npos && out.find("{E:") == std::string::npos &&
      out.find('`') == std::string::npos)
    problems.push_back(where + ": unknown marker in \"" + line + "\"");
  return out;
}

struct Entry {
  const Keyword* keyword;
  std::vector<std::string> lines;
};

struct Family {
  std::string title;
  std::vector<std::string> intro;
  std::vector<Entry> entries;
};

const Keyword* FindKeyword(const std::string& heading) {
  for (const Keyword* k = KeywordsBegin(); k != KeywordsEnd(); ++k)
    if (!k->isConstant && Trim(k->text, 'R', " ") == heading) return k;
  return nullptr;
}

bool IsCommand(const Keyword& k) { return !k.isConstant && std::string(k.params) != "-"; }

Family ReadFamily(const fs::path& path) {
  Family family;
  std::istringstream text(ReadText(path));
  std::vector<std::string>* into = &family.intro;
  int lineNo = 0;
  for (std::string line; std::getline(text, line);) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::string where = path.filename().string() + ":" + DecimalText(lineNo);
    if (StartsWith(line, "# ")) {
      family.title = line.substr(2);
      continue;
    }
    if (StartsWith(line, "## ")) {
      const std::string heading = line.substr(3);
      const bool shouted = std::none_of(heading.begin(), heading.end(), [](char c) { return c >= 'a' && c <= 'z'; });
      if (const Keyword* k = FindKeyword(heading)) {
        family.entries.push_back({k, {}});
        into = &family.entries.back().lines;
        continue;
      }
      if (shouted) problems.push_back(where + ": \"" + heading + "\" is no keyword");
    }
    into->push_back(line);
  }
  if (family.title.empty()) problems.push_back(path.filename().string() + ": no \"# \" title");
  return family;
}

std::string Render(const std::vector<Family>& families) {
  std::string out =
      "<!-- Made by qs-reference from docs/reference/*.md and the keyword, error and language tables of the code.\n"
      "     Edit those and run: build/native/bin/qs-reference --write . -->\n\n"
      "# Script language reference\n\n";
  out += "## Contents\n\n";
  for (const Family& f : families) {
    out += "- [" + f.title + "](#" + Anchor(f.title) + ")";
    for (size_t i = 0; i < f.entries.size(); ++i) {
      const std::string name = Trim(f.entries[i].keyword->text, 'R', " ");
      out += std::string(i == 0 ? ": " : ", ") + "[" + name + "](#" + Anchor(name) + ")";
    }
    out += "\n";
  }
  for (const Family& f : families) {
    out += "\n## " + f.title + "\n";
    for (const std::string& line : f.intro)
      out += (StartsWith(line, "##") ? "#" + line : Substitute(line, f.title)) + "\n";
    for (const Entry& e : f.entries) {
      out += "### " + Trim(e.keyword->text, 'R', " ") + "\n";
      bool syntaxSeen = false;
      for (const std::string& line : e.lines) {
        if (StartsWith(line, "##")) {
          out += "#" + line + "\n";
          continue;
        }
        out += Substitute(line, e.keyword->text) + "\n";
        if (!syntaxSeen && StartsWith(line, "`")) {
          syntaxSeen = true;
          if (const std::string params = ParamsLine(*e.keyword); !params.empty()) out += "\n" + params + "\n";
        }
      }
      if (!syntaxSeen) problems.push_back(std::string(e.keyword->text) + ": the entry does not begin with its syntax in backticks");
      if (std::none_of(e.lines.begin(), e.lines.end(), [](const std::string& l) { return StartsWith(l, "```"); }))
        problems.push_back(std::string(e.keyword->text) + ": the entry has no example");
    }
  }
  // One blank line between blocks, none at the end.
  while (out.find("\n\n\n") != std::string::npos) ReplaceAll(out, "\n\n\n", "\n\n", true);
  while (EndsWith(out, "\n\n")) out.pop_back();
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  bool write = false;
  std::string root;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--write") write = true;
    else if (arg == "--check") write = false;
    else root = arg;
  }
  if (root.empty()) {
    std::fprintf(stderr, "usage: qs-reference [--write | --check] PROJECT_FOLDER\n");
    return 2;
  }
  std::vector<fs::path> sources;
  for (const auto& entry : fs::directory_iterator(fs::path(root) / "docs" / "reference"))
    if (entry.path().extension() == ".md") sources.push_back(entry.path());
  std::sort(sources.begin(), sources.end());
  std::vector<Family> families;
  std::map<std::string, int> entries;
  for (const fs::path& path : sources) {
    families.push_back(ReadFamily(path));
    for (const Entry& e : families.back().entries) ++entries[e.keyword->text];
  }
  for (const Keyword* k = KeywordsBegin(); k != KeywordsEnd(); ++k) {
    if (!IsCommand(*k)) continue;
    const int count = entries[k->text];
    if (count == 0) problems.push_back(Trim(k->text, 'R', " ") + " has no entry in docs/reference");
    if (count > 1) problems.push_back(Trim(k->text, 'R', " ") + " has " + DecimalText(count) + " entries");
  }
  for (const auto& [text, count] : entries)
    if (const Keyword* k = FindKeyword(Trim(text, 'R', " ")); k && !IsCommand(*k))
      problems.push_back(text + " is no command; it is described with the command it belongs to");
  const std::string reference = Render(families) + "\n";
  const fs::path target = fs::path(root) / "docs" / "script-reference.md";
  if (problems.empty() && write) {
    std::ofstream(target, std::ios::binary) << reference;
  } else if (problems.empty() && ReadText(target) != reference) {
    problems.push_back(target.string() + " is not what docs/reference makes: run qs-reference --write " + root);
  }
  for (const std::string& p : problems) std::fprintf(stderr, "qs-reference: %s\n", p.c_str());
  return problems.empty() ? 0 : 1;
}
