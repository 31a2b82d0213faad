// Any bytes as a medium description (and, after the first NUL byte, as the text source of
// SETUP.DAT that such a description names): parsed without a crash; every entry the parser
// accepts has a name within the medium, and a SETUP.DAT that builds reads back within limits.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "bootstrap/core/setup_texts.h"
#include "tools/medium/medium.h"
#include "tools/medium/setup_dat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string input(reinterpret_cast<const char*>(data), size);
  const size_t split = input.find('\0');
  const MediumDescription description =
      ParseMediumDescription(input.substr(0, split), "/medium/source", {{"BUILD", "/build/win32"}, {"EMPTY", ""}});
  for (const MediumEntry& entry : description.entries) {
    if (entry.target.find(':') != std::string::npos || entry.target.find('\\') != std::string::npos) std::abort();
    for (size_t start = 0;;) {
      const size_t slash = entry.target.find('/', start);
      const std::string part = entry.target.substr(start, slash == std::string::npos ? slash : slash - start);
      if (part.empty() || part == "." || part == "..") std::abort();  // would leave the medium's folder
      if (slash == std::string::npos) break;
      start = slash + 1;
    }
  }
  if (split == std::string::npos) return 0;
  const SetupDatResult dat = BuildSetupDat(std::string_view(input).substr(split + 1));
  if (!dat.ok) return 0;
  const std::string_view bytes(reinterpret_cast<const char*>(dat.bytes.data()), dat.bytes.size());
  if (bytes.substr(0, kSetupDatHeaderSize) != std::string_view(kSetupDatHeader, kSetupDatHeaderSize)) std::abort();
  for (int index = 0; index < kBootstrapLanguages; ++index) {
    const SetupTexts texts = ReadSetupTexts(bytes, index);
    if (texts.windowText.size() > kWindowTextLimit || texts.folderMessage.size() > kFolderMessageLimit) std::abort();
  }
  return 0;
}
