// The de-install script that an installation records for the de-installer: nine sections of
// script lines, each opened by a marker comment. The rules that need no machine: which
// sections an earlier file hands on to a new installation, which lines are not added twice,
// and the text the file is written as.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

struct Interpreter;

constexpr int kDeinstallSectionCount = 9;

// Sections in file order.
enum DeinstallSection : int {
  SECTION_STARTUP, SECTION_PREDEINSTALL, SECTION_UNPROTECT, SECTION_OLEUNREGISTER, SECTION_FILES,
  SECTION_PMGROUP, SECTION_USERSCRIPT, SECTION_DIRECTORIES, SECTION_CLEANUP,
};

struct DeinstallSectionRule {
  const char* marker;  // "$FILES$"
  bool carriedOver;    // an earlier file's lines stay for the new installation
  bool repeats;        // a line is added again even when the section begins with it already
};
extern const std::array<DeinstallSectionRule, kDeinstallSectionCount> kDeinstallSections;

// The longest line the reader returns in one piece; a longer one goes on as the next line.
constexpr size_t kMaxDeinstallLine = 65535;
// The header's text id; the markers' lines follow it, one id per section.
constexpr int kDeinstallHeaderText = 1201;

// The section whose marker text stands anywhere in [line] (exact case, the first in file order
// wins), or -1.
int SectionMarkedIn(std::string_view line);
// The section that a name given to ADDDEINSTALL( selects: the first whose marker the name begins
// with, ignoring case ("$files$ of the viewer" selects the files section), or -1.
int SectionNamed(std::string_view name);

using DeinstallLines = std::array<std::vector<std::string>, kDeinstallSectionCount>;

// The lines of a de-install script's text by section, as the file holds them: cut at CR LF
// (a lone LF stays in the line), at most kMaxDeinstallLine bytes, blanks removed at both ends,
// empty lines skipped, the marker lines left out. Lines before the first marker (the header's
// comments) go to [preamble].
struct DeinstallText {
  std::vector<std::string> preamble;
  DeinstallLines sections;
  bool hasMarkers = false;
};
DeinstallText ReadDeinstallText(std::string_view text);

// The sections of a de-install script in memory, from OPENDEINSTALL( to CLOSEDEINSTALL().
class DeinstallScript {
 public:
  // Starts from an earlier file's text: the lines of the carried-over sections stay, the rest go.
  void Load(std::string_view text);
  // Adds [line] (blanks removed at both ends) to the section [sectionName] selects, unless the
  // section does not take repeats and one of its lines begins with it (ignoring case).
  // 0, or 10072 when the name selects no section.
  int Add(std::string_view sectionName, std::string_view line);
  // The file's text: the header with "%Application%" replaced by the variable APPLICATION,
  // then every section's marker line and its lines, each line ended by CR LF.
  std::string Render(Interpreter& ip) const;

  const std::vector<std::string>& Lines(int section) const { return sections_[static_cast<size_t>(section)]; }
  void Clear();

 private:
  DeinstallLines sections_;
};

