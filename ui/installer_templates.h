// The dialog templates of the installer's own windows: the copy gauge and the wait message.
// Portable, so that their bytes are checked without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/dialog_template.h"

// The copy gauge: 222 x 144 dialog units, "MS Sans Serif" 8, its group frame, status line,
// source and destination labels and lines, the hidden bar placeholder 53 and the Cancel button.
struct CopyGaugeTexts {
  std::u16string sourceLabel;       // language text 14100
  std::u16string destinationLabel;  // language text 14110
  std::u16string cancel;            // language text 14010
};
std::vector<uint8_t> CopyGaugeTemplate(const CopyGaugeTexts& texts);

// The wait message window: 290 x 55 dialog units, one invisible static control, no buttons.
std::vector<uint8_t> WaitMessageTemplate();

// Control ids of the copy gauge.
enum CopyGaugeControl : int {
  GAUGE_GROUP = 100, GAUGE_STATUS = 207, GAUGE_SOURCE_LABEL = 208, GAUGE_SOURCE = 205,
  GAUGE_DESTINATION_LABEL = 209, GAUGE_DESTINATION = 206, GAUGE_BAR_PLACE = 53, GAUGE_CANCEL = 2,
};
