#include "ui/installer_templates.h"

std::vector<uint8_t> CopyGaugeTemplate(const CopyGaugeTexts& texts) {
  using namespace dialog_style;
  DialogTemplateBuilder b(kVisible | kCaption | kModalFrame, 222, 144, u"", 8, u"MS Sans Serif");
  const uint32_t child = kChild | kVisible;
  // File names may hold "&": the lines show them as they are, cut at the right edge.
  const uint32_t line = child | kStaticLeftNoWordWrap | kStaticNoPrefix;
  b.Add({child | kGroupBox, 0, 6, 3, 209, 111, GAUGE_GROUP, DIALOG_BUTTON, u""});
  b.Add({line, 0, 15, 17, 187, 8, GAUGE_STATUS, DIALOG_STATIC, u""});
  b.Add({child | kStaticLeft, 0, 15, 31, 57, 8, GAUGE_SOURCE_LABEL, DIALOG_STATIC, texts.sourceLabel});
  b.Add({line, 0, 15, 40, 192, 8, GAUGE_SOURCE, DIALOG_STATIC, u""});
  b.Add({child | kStaticLeft, 0, 15, 55, 58, 8, GAUGE_DESTINATION_LABEL, DIALOG_STATIC, texts.destinationLabel});
  b.Add({line, 0, 15, 64, 192, 8, GAUGE_DESTINATION, DIALOG_STATIC, u""});
  b.Add({kChild | kBorder, 0, 13, 86, 181, 16, GAUGE_BAR_PLACE, DIALOG_STATIC, u""});
  b.Add({child | kTabStop | kPushButton, 0, 89, 124, 45, 14, GAUGE_CANCEL, DIALOG_BUTTON, texts.cancel});
  return b.Bytes();
}

std::vector<uint8_t> WaitMessageTemplate() {
  using namespace dialog_style;
  DialogTemplateBuilder b(kPopup | kVisible | kCaption, 290, 55, u"", 8, u"MS Sans Serif");
  b.Add({kChild | kStaticLeft, 0, 0, 0, 290, 55, 0xFFFF, DIALOG_STATIC, u""});
  return b.Bytes();
}
