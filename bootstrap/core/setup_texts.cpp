#include "bootstrap/core/setup_texts.h"

#include <algorithm>

#include "support/text.h"

namespace {

// One CR LF line from [position] on, cut at [limit]; false at the end of the file.
bool NextLine(std::string_view file, size_t& position, size_t limit, std::string& line) {
  if (position >= file.size()) return false;
  const size_t end = file.find("\r\n", position);
  const size_t stop = end == std::string_view::npos ? file.size() : end;
  line = std::string(file.substr(position, std::min(stop - position, limit)));
  position = end == std::string_view::npos ? file.size() : end + 2;
  return true;
}

}  // namespace

int BootstrapLanguageIndex(std::string_view sLanguage) {
  static const char* const kLists[kBootstrapLanguages] = {
      "",
      "*ENC*ENU*",
      "*FRB*FRC*FRA*FRL*FRM*FRS*",
      "*DEA*DEU*DEC*DEL*DES*",
      "*ITA*ITS*",
      "*ESS*ESB*ESL*ESO*ESC*ESD*ESF*ESE*ESG*ESH*ESM*ESI*ESA*ESZ*ESR*ESU*ESN*ESP*ESY*ESV*",
      "*NLB*NLD*",
      "*PTB*PTG*",
  };
  const std::string key = "*" + UpperAscii(sLanguage.substr(0, 3)) + "*";
  int index = 0;
  for (int i = 1; i < kBootstrapLanguages; ++i)
    if (std::string_view(kLists[i]).find(key) != std::string_view::npos) index = i;
  return index;
}

SetupTexts ReadSetupTexts(std::string_view file, int languageIndex) {
  SetupTexts texts;
  if (languageIndex < 0 || languageIndex >= kBootstrapLanguages) languageIndex = 0;
  size_t position = kSetupDatHeaderSize;
  for (int pair = 0; pair <= languageIndex; ++pair) {
    std::string windowText, folderMessage;
    if (!NextLine(file, position, kWindowTextLimit, windowText)) break;
    NextLine(file, position, kFolderMessageLimit, folderMessage);  // missing: empty
    texts.windowText = windowText;
    texts.folderMessage = folderMessage;
  }
  return texts;
}
