// Any bytes as SETUP.DAT, read for every language index the bootstrap knows (and the ones it
// does not): the texts keep their limits, and the folder message takes a folder safely. The
// first bytes also serve as the user's language setting.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bootstrap/core/launch.h"
#include "bootstrap/core/setup_texts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const int language = BootstrapLanguageIndex(file.substr(0, 8));
  if (language < 0 || language >= kBootstrapLanguages) std::abort();
  for (int index = -1; index <= kBootstrapLanguages; ++index) {
    const SetupTexts texts = ReadSetupTexts(file, index);
    if (texts.windowText.size() > kWindowTextLimit || texts.folderMessage.size() > kFolderMessageLimit) std::abort();
    FolderMessage(texts.folderMessage, "C:\\WINDOWS\\KVLSOFT\\");
  }
  return 0;
}
