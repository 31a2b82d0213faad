#include "bootstrap/core/window_template.h"

#include "support/dialog_template.h"

std::vector<uint8_t> WorkingWindowTemplate() {
  using namespace dialog_style;
  // Placed at 0,0: the window centres itself when it is initialised.
  return DialogTemplateBuilder(kPopup | kVisible | kCaption | kModalFrame, kWorkingWindowWidth, kWorkingWindowHeight,
                               AsciiText("Setup"), 8, AsciiText("MS Sans Serif"))
      .Bytes();
}
