// SETUP.DAT from a readable text source. Portable.
//
// The source is UTF-8 text (plain ASCII is fine; a byte-order mark is skipped). Lines that
// begin with '#' and blank lines are ignored. "[N]" starts the texts of language index N
// (0 to 7); inside it "window = TEXT" is the working window's line and "folder = TEXT" the
// message for a folder that cannot be written ("#Folder#" stands for the folder). In a TEXT,
// "\n" is a line break. Example:
//
//   [0]
//   window = Setup is preparing the installation...
//   folder = Setup cannot write to the folder\n#Folder#
//   [3]
//   window = Setup bereitet die Installation vor...
//   folder = Setup kann nicht in den Ordner #Folder# schreiben.
//
// The file gets the 5-byte header, then one pair of CR LF lines per index from 0 to the highest
// index given. An index between them that the source leaves out gets the texts of index 0 (what
// the bootstrap shows for a language it does not know). Texts are converted to code page 1252;
// a character that it lacks, a window text over 199 or a folder message over 255 characters
// is an error.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

constexpr char kSetupDatHeader[] = "QSDAT";  // 5 bytes, skipped by the bootstrap

struct SetupDatResult {
  bool ok = false;
  std::vector<std::string> errors;  // "line N: message"
  std::vector<uint8_t> bytes;
};

SetupDatResult BuildSetupDat(std::string_view source);

// [utf8] in code page 1252; false (with [badAt] the byte offset) for invalid UTF-8 or a
// character that the code page lacks.
bool Utf8ToCp1252(std::string_view utf8, std::string& out, size_t& badAt);
