// The distribution medium: what goes on it, read from a description file, and the folder built
// from that. Portable (std::filesystem). The README's section "Medium descriptions" tells
// script writers the format; in short:
//
// One entry per line: a kind, a source path and, for payload files, the name on the medium.
// Blank lines and lines that begin with '#' are ignored; a field that holds blanks is written
// between double quotes. Source paths are relative to the description's folder; ${NAME} is
// replaced by the value given with "-D NAME=VALUE", and a relative value at the start of a
// path counts from the current directory.
//
//   setup        PATH          SETUP.EXE, copied as it is                  (required)
//   interpreter  PATH          TALVEN.EX_, the interpreter compressed      (required)
//   deinstaller  PATH          MORPAX.EX_, the de-installer compressed     (optional)
//   script       PATH          SETUP.QLS, copied as it is                  (required)
//   pif          PATH          VARNOLD.PIF, copied as it is                (optional)
//   texts        PATH          SETUP.DAT, built from a text source (tools/medium/setup_dat.h)
//   file         PATH [NAME]   a payload file copied as it is (NAME: its source's name)
//   compress     PATH [NAME]   a payload file compressed (NAME: MAIN.EXE -> MAIN.EX_)
//   sign         CERT KEY [PASSWORD_FILE]   sign the programs before they are compressed
//
// NAME may hold folders ("DATA/FONTS/A.FON", "\" works too); the builder makes them. Names
// are unique without regard to case, as on the medium's file system. Scripts (the script entry
// and payload files named *.QLS or *.SCR) get CR LF line ends and are checked (qs-check)
// before anything is built; the medium is built in a folder beside the output folder and
// takes its place only when complete.
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

// The certificate and key that sign the programs (PEM files, as osslsigncode reads them).
struct SigningEntry {
  std::string certificate;
  std::string key;
  std::string passwordFile;  // empty for a key without a password
  int line = 0;
};

struct MediumDescription {
  std::vector<MediumEntry> entries;
  std::vector<SigningEntry> signing;  // at most one
  std::vector<std::string> errors;    // "line N: message"
};

// The kinds whose file has a fixed name on the medium (setup, interpreter, ...).
struct FixedMediumKind {
  const char* kind;
  const char* target;
  bool compressed;
  char missingChar;
  bool required;
};
const std::vector<FixedMediumKind>& FixedMediumKinds();

// True for the entries whose files are installation scripts.
bool IsScriptEntry(const MediumEntry& entry);

MediumDescription ParseMediumDescription(std::string_view text, const std::string& baseDirectory,
                                         const std::map<std::string, std::string>& variables);

struct MediumReport {
  std::vector<std::string> errors;
  std::vector<std::string> notices;  // line ends converted, the checker's warnings, the copies' space
  std::vector<std::pair<std::string, uint64_t>> written;  // name on the medium, bytes
  bool ok() const { return errors.empty(); }
};

// Checks the scripts, then builds the medium beside [outputFolder] and moves it there. An
// existing output folder is replaced only when it is empty or holds an earlier medium.
MediumReport BuildMedium(const MediumDescription& description, const std::string& outputFolder);

// Signs the program [in] into [out] with osslsigncode; false with [error] set.
bool SignProgram(const SigningEntry& signing, const std::string& in, const std::string& out, std::string& error);
// True for the bytes of a Windows program or library (an MZ header that leads to "PE\0\0").
bool IsProgramImage(const std::vector<uint8_t>& bytes);
