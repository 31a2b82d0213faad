#include "ui/window_geometry.h"

std::vector<GradientBand> GradientBands(int clientBottom) {
  std::vector<GradientBand> bands;
  if (clientBottom < 0) return bands;
  const int height = clientBottom / 256 + 1;
  int blue = 255;
  for (int y = 0; y <= clientBottom; y += height, --blue) bands.push_back({y, y + height, ((blue % 256) + 256) % 256});
  return bands;
}

int GaugeFillEdge(int32_t position, int32_t maximum, int left, int right) {
  if (position == 0 || maximum == 0) return 0;
  if (position == maximum) return right;
  // 64 bits: a byte-mode maximum is a file length, and that times the width passes 2^31.
  return static_cast<int>(int64_t{position} * (right - left + 1) / maximum);
}

std::string GaugeLabel(int32_t position, int32_t maximum) {
  if (maximum == 0) return std::string();
  return std::to_string(int64_t{position} * 100 / maximum) + "%";
}

int GaugeLabelOffset(int low, int high, int extent) { return (high - extent - low) >> 1; }

void PlaceInFrame(const DialogPlacement& p, const PlacementFrame& f, int& x, int& y) {
  x = f.ownX;
  y = f.ownY;
  switch (p.horizontalMode) {
    case 0: x = p.fixedX == -1 ? f.ownX : p.fixedX; break;
    case 1: x = 20; break;
    case 2: x = f.mainRight - f.width - 21; break;
    case 3: x = (f.mainRight - f.width - 1) / 2; break;
    default: break;
  }
  switch (p.verticalMode) {
    case 0: y = p.fixedY == -1 ? f.ownY : p.fixedY; break;
    case 1: y = f.captionHeight + 20; break;
    case 2: y = f.mainBottom - f.height - 21; break;
    case 3: y = (f.mainBottom - f.height - 1) / 2; break;
    default: break;
  }
}

std::vector<std::string> MessageLines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return lines;
}

TextBlock CentredTextBlock(const std::vector<int>& widths, const std::vector<int>& heights, int clientRight,
                           int clientBottom) {
  TextBlock block{0, 0, 0, 0};
  for (int w : widths)
    if (w > block.width) block.width = w;
  for (int h : heights) block.height += h;
  block.top = (clientBottom - block.height) / 2;
  block.left = (clientRight - block.width) / 2;
  return block;
}
