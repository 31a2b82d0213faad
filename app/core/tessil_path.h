// The outline that the two-axis device draws: from the ten band levels, a path of points
// with 8-bit coordinates, walking left to right across the bands and back along the bottom.
// Portable: no platform headers, no allocation.
#pragma once

#include <array>
#include <cstdint>

#include "app/core/band_transform.h"

constexpr int kPathSlots = 1101;
constexpr int kBandWidth = 25;  // x units per band; the path spans x = 0..250
constexpr int kPathStep = 5;

struct TessilPath {
  std::array<int16_t, kPathSlots> pointX{};  // 0..250
  std::array<uint8_t, kPathSlots> pointY{};
  // The number of counted points. The slot at this index holds the closing point (0, 0),
  // which the output sends as well.
  int16_t totalPoints = 0;
};

// Receives every point as it is added to the path or written into the closing slot, in
// path coordinates (y grows upwards).
class PathPlotter {
 public:
  virtual ~PathPlotter() = default;
  virtual void Plot(int x, int y) = 0;

};

// Builds [path] from bandLevel[1..10]. Per band: a ramp in steps of 5 from the previous
// level when the level differs by more than 5, else the single point at the new level; then
// six level points across the band. Then the descent to 0 at x = 250 and the return line
// along the bottom, written into the closing slot. [plotter] may be null.
void BuildTessilPath(const std::array<uint8_t, kBandCount + 1>& bandLevel, TessilPath& path,
                     PathPlotter* plotter);
