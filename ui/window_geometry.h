// The arithmetic of the installer's windows, apart from the drawing: the backdrop's gradient
// bands, the gauge's fill edge and label, where dialogs are placed, and how the wait message's
// lines form a block. Portable, so that it is checked without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One band of the backdrop gradient: rows [top, bottom) in blue level [blue].
struct GradientBand {
  int top;
  int bottom;
  int blue;
};
// The bands that cover a client area [clientBottom] pixels high: each (bottom / 256) + 1 rows
// high, the first pure blue (255) and each next one a step darker.
std::vector<GradientBand> GradientBands(int clientBottom);

// The gauge bar's fill edge in client coordinates: 0 for an empty bar, [right] for a full one,
// else position * (right - left + 1) / maximum.
int GaugeFillEdge(int32_t position, int32_t maximum, int left, int right);
// The bar's label ("50%"), empty when the maximum is 0.
std::string GaugeLabel(int32_t position, int32_t maximum);
// Where the label goes inside the bar's inner rectangle: (right - width - left) / 2 and
// (bottom - height - top) / 2, halved by arithmetic shift.
int GaugeLabelOffset(int low, int high, int extent);

// Where standard dialogs and the copy gauge appear: fixed coordinates (-1 unset) and a mode per
// direction: 0 fixed (or the dialog's own place), 1 near edge, 2 far edge, 3 centred.
struct DialogPlacement {
  int32_t fixedX = -1;
  int32_t fixedY = -1;
  int32_t horizontalMode = 3;
  int32_t verticalMode = 3;
};
struct PlacementFrame {
  int ownX, ownY;          // the dialog's present top-left corner
  int width, height;       // the dialog's window size
  int mainRight, mainBottom;  // the main window's window rectangle
  int captionHeight;       // the system's caption height
};
// The dialog's new top-left corner; a mode outside 0..3 keeps that coordinate.
void PlaceInFrame(const DialogPlacement& placement, const PlacementFrame& frame, int& x, int& y);

// The wait message's lines (split at line feeds; a trailing line feed ends an empty last line).
std::vector<std::string> MessageLines(const std::string& text);
struct TextBlock {
  int left, top, width, height;
};
// The block that holds lines of the given sizes, centred in a client area; empty lines are
// measured as "W" by the caller.
TextBlock CentredTextBlock(const std::vector<int>& lineWidths, const std::vector<int>& lineHeights, int clientRight,
                           int clientBottom);
