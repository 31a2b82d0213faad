// The bootstrap's two texts in the user's language, read from SETUP.DAT. Portable.
#pragma once

#include <string>
#include <string_view>

constexpr size_t kWindowTextLimit = 199;     // the working window's line
constexpr size_t kFolderMessageLimit = 255;  // the message for a folder that cannot be written
constexpr size_t kSetupDatHeaderSize = 5;
constexpr int kBootstrapLanguages = 8;       // indexes 0..7; every other language reads as 0

struct SetupTexts {
  std::string windowText;
  std::string folderMessage;  // "#Folder#" stands for the folder's path
};

// The language index from the first three letters of the user's "sLanguage" setting: the last
// of the lists for indexes 1..7 that holds them wins; none gives 0.
int BootstrapLanguageIndex(std::string_view sLanguage);

// The texts of [languageIndex] from the bytes of SETUP.DAT: after the 5-byte header, one pair of
// CR LF lines per index (window text, folder message) from index 0 on. Pairs are read up to the
// index, and the last pair that could be read is kept, so pair 0 also serves languages that the
// file has no pair for; a file without any pair gives empty texts. A line longer than its limit
// is cut at the limit and the rest of it skipped, so the pairs after it stay in step.
SetupTexts ReadSetupTexts(std::string_view file, int languageIndex);
