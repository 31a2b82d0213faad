// The script checker: reads installation scripts with the interpreter's own reader and lexer
// and reports, by file and line, what the interpreter would refuse when it runs them, and
// what can be seen to go wrong on the medium, before the medium ships. Portable.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// A file of the distribution medium.
struct MediumFile {
  std::string name;            // on the medium, folders separated by '\'
  std::string hostPath;        // where its bytes are now; empty when they cannot be read
  uint64_t size = 0;           // its length on the medium
  uint64_t expandedSize = 0;   // its length once the copy engine has expanded it
};

// The files of a medium, found by name without regard to case ('/' and '\' alike).
class MediumIndex {
 public:
  void Add(const std::string& name, const std::string& hostPath, uint64_t size, uint64_t expandedSize);
  const MediumFile* Find(const std::string& name) const;
  // The files in the folder of [pattern] whose names match its last part ('*' and '?').
  std::vector<const MediumFile*> Match(const std::string& pattern) const;
  bool Empty() const { return files_.empty(); }

 private:
  std::map<std::string, MediumFile> files_;  // by upper-cased name
};

// Every file of a medium folder; a compressed file counts with its expanded length.
MediumIndex MediumIndexOfFolder(const std::string& folder);
// The expanded length that a compressed file's header gives, or [size] for a plain file.
uint64_t ExpandedLength(const std::string& firstBytes, uint64_t size);

enum class Severity { Error, Warning };

struct CheckFinding {
  std::string file;
  int line = 0;  // 0: the file as a whole
  Severity severity = Severity::Error;
  int32_t code = 0;  // the interpreter's error for the line; 0 for the checker's own findings
  std::string id;    // the error number as the interpreter shows it ("20"), or the rule's name
  std::string text;
};

struct ScriptToCheck {
  std::string name;   // as it is reported
  std::string bytes;  // the file as it stands
};

struct CheckResult {
  std::vector<CheckFinding> findings;
  std::vector<std::string> scripts;  // every script checked, CALLed ones included
  int copies = 0;                    // copy lines whose sources were found on the medium
  uint64_t copyBytes = 0;            // what those copies write, expanded
  bool HasErrors() const;
};

// Checks [scripts]; with a [medium], also that the files they CALL and copy are on it, and the
// scripts CALLed from it.
CheckResult CheckScripts(const std::vector<ScriptToCheck>& scripts, const MediumIndex* medium);

// "FILE:LINE: error: TEXT", with the interpreter's message where the line would fail.
std::string FormatFinding(const CheckFinding& finding);
// The space the copies need, as a line for people.
std::string FormatCopySpace(const CheckResult& result);
