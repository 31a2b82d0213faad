#include "app/core/tessil_path.h"

namespace {

class PathWriter {
 public:
  PathWriter(TessilPath& path, PathPlotter* plotter) : path_(path), plotter_(plotter) {}

  void Add(int x, int y) {
    Write(x, y);
    ++count_;
  }
  // Stores the point in the next slot without counting it.
  void Write(int x, int y) {
    path_.pointX[static_cast<size_t>(count_)] = static_cast<int16_t>(x);
    path_.pointY[static_cast<size_t>(count_)] = static_cast<uint8_t>(y);
    if (plotter_) plotter_->Plot(x, y);
  }
  int Count() const { return count_; }

 private:
  TessilPath& path_;
  PathPlotter* plotter_;
  int count_ = 0;
};

void AddRamp(PathWriter& writer, int x, int from, int to) {
  if (to - from > kPathStep) {
    for (int y = from; y <= to; y += kPathStep) writer.Add(x, y);
  } else if (from - to > kPathStep) {
    for (int y = from; y >= to; y -= kPathStep) writer.Add(x, y);
  } else {
    writer.Add(x, to);  // a step of at most 5 counts as level
  }
}

}  // namespace

void BuildTessilPath(const std::array<uint8_t, kBandCount + 1>& bandLevel, TessilPath& path,
                     PathPlotter* plotter) {
  PathWriter writer(path, plotter);
  int x0 = 0;
  int previous = 0;
  for (int b = 1; b <= kBandCount; ++b) {
    const int level = bandLevel[static_cast<size_t>(b)];
    AddRamp(writer, x0, previous, level);
    for (int x = x0; x <= x0 + kBandWidth; x += kPathStep) writer.Add(x, level);
    x0 += kBandWidth;
    previous = level;
  }
  for (int y = previous; y >= 0; y -= kPathStep) writer.Add(x0, y);
  for (int x = x0; x >= 0; x -= kPathStep) writer.Write(x, 0);
  path.totalPoints = static_cast<int16_t>(writer.Count());
}
