// The distribution medium: what goes on it, read from a description file, and the folder built
// from that. Portable (std::filesystem).
//
// A description has one entry per line: a kind, a source path and, for payload files, the name
// on the medium. Blank lines and lines that begin with '#' are ignored; a field that holds blanks
// is written between double quotes. Source paths are relative to the description's folder;
// ${NAME} is replaced by the value given with "-D NAME=VALUE".
//
//   setup        PATH          SETUP.EXE, copied as it is                  (required)
//   interpreter  PATH          TALVEN.EX_, the interpreter compressed      (required)
//   deinstaller  PATH          MORPAX.EX_, the de-installer compressed     (optional)
//   script       PATH          SETUP.QLS, copied as it is                  (required)
//   pif          PATH          VARNOLD.PIF, copied as it is                (optional)
//   texts        PATH          SETUP.DAT, built from a text source (tools/medium/setup_dat.h)
//   file         PATH [NAME]   a payload file copied as it is (NAME: its source's name)
//   compress     PATH [NAME]   a payload file compressed (NAME: MAIN.EXE -> MAIN.EX_)
//
// NAME may hold folders ("DATA/FONTS/A.FON", "\" works too); the builder makes them. Names
// are unique without regard to case, as on the medium's file system. The builder writes the
// listed files and removes nothing else from the output folder.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

struct MediumEntry {
  std::string kind;
  std::string source;  // the path as resolved
  std::string target;  // the name on the medium, folders separated by '/'
  bool compressed = false;
  char missingChar = 0;  // for the compressed file's header
  int line = 0;
};

struct MediumDescription {
  std::vector<MediumEntry> entries;
  std::vector<std::string> errors;  // "line N: message"
};

MediumDescription ParseMediumDescription(std::string_view text, const std::string& baseDirectory,
                                         const std::map<std::string, std::string>& variables);

struct MediumReport {
  std::vector<std::string> errors;
  std::vector<std::pair<std::string, uint64_t>> written;  // name on the medium, bytes
  bool ok() const { return errors.empty(); }
};

MediumReport BuildMedium(const MediumDescription& description, const std::string& outputFolder);
