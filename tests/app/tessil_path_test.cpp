// The path built from band levels: point counts, ramps, level steps, descent and the closing
// slot, and what the plotter is shown.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "app/core/tessil_path.h"

namespace {

using Levels = std::array<uint8_t, kBandCount + 1>;
using Point = std::pair<int, int>;

Levels AllBands(int level) {
  Levels levels{};
  for (int b = 1; b <= kBandCount; ++b) levels[static_cast<size_t>(b)] = static_cast<uint8_t>(level);
  return levels;
}

std::vector<Point> CountedPoints(const TessilPath& path) {
  std::vector<Point> points;
  for (int i = 0; i < path.totalPoints; ++i)
    points.emplace_back(path.pointX[static_cast<size_t>(i)], path.pointY[static_cast<size_t>(i)]);
  return points;
}

Point ClosingPoint(const TessilPath& path) {
  const size_t slot = static_cast<size_t>(path.totalPoints);
  return {path.pointX[slot], path.pointY[slot]};
}

class RecordingPlotter : public PathPlotter {
 public:
  void Plot(int x, int y) override { points.emplace_back(x, y); }
  std::vector<Point> points;
};

TEST(TessilPath, SilenceIsAFlatLineAtOneWithAOnePointDescent) {
  TessilPath path;
  BuildTessilPath(AllBands(1), path, nullptr);
  EXPECT_EQ(path.totalPoints, 71);
  std::vector<Point> expected;
  for (int b = 0; b < kBandCount; ++b) {
    expected.emplace_back(25 * b, 1);
    for (int x = 25 * b; x <= 25 * b + 25; x += 5) expected.emplace_back(x, 1);
  }
  expected.emplace_back(250, 1);
  EXPECT_EQ(CountedPoints(path), expected);
  EXPECT_EQ(ClosingPoint(path), Point(0, 0));
}

TEST(TessilPath, StepsOfExactlyFiveCountAsLevel) {
  Levels levels{};
  for (int b = 1; b <= kBandCount; ++b) levels[static_cast<size_t>(b)] = static_cast<uint8_t>(5 * b);
  TessilPath path;
  BuildTessilPath(levels, path, nullptr);
  // Seven points per band, then the descent 50, 45, ..., 0.
  EXPECT_EQ(path.totalPoints, 70 + 11);
  const std::vector<Point> points = CountedPoints(path);
  EXPECT_EQ(points[0], Point(0, 5));
  EXPECT_EQ(points[7], Point(25, 10));
  EXPECT_EQ(points[70], Point(250, 50));
  EXPECT_EQ(points[80], Point(250, 0));
}

TEST(TessilPath, RampsRiseAndFallInStepsOfFiveFromThePreviousLevel) {
  Levels levels = AllBands(20);
  levels[1] = 6;    // from 0: 0, 5 (the ramp stops below the level), then level 6
  levels[2] = 22;   // from 6: 6, 11, 16, 21
  levels[3] = 3;    // from 22: 22, 17, 12, 7
  TessilPath path;
  BuildTessilPath(levels, path, nullptr);
  const std::vector<Point> points = CountedPoints(path);
  const std::vector<Point> firstBand = {{0, 0}, {0, 5}, {0, 6}, {5, 6}, {10, 6},
                                        {15, 6}, {20, 6}, {25, 6}};
  EXPECT_EQ(std::vector<Point>(points.begin(), points.begin() + 8), firstBand);
  const std::vector<Point> secondRamp = {{25, 6}, {25, 11}, {25, 16}, {25, 21}, {25, 22}};
  EXPECT_EQ(std::vector<Point>(points.begin() + 8, points.begin() + 13), secondRamp);
  const std::vector<Point> thirdRamp = {{50, 22}, {50, 17}, {50, 12}, {50, 7}, {50, 3}};
  EXPECT_EQ(std::vector<Point>(points.begin() + 18, points.begin() + 23), thirdRamp);
}

TEST(TessilPath, TheLongestPathFitsAndEndsAtTheOrigin) {
  Levels levels{};
  for (int b = 1; b <= kBandCount; ++b) levels[static_cast<size_t>(b)] = b % 2 ? 255 : 0;
  levels[10] = 255;
  TessilPath path;
  BuildTessilPath(levels, path, nullptr);
  EXPECT_LE(path.totalPoints, 632);
  EXPECT_EQ(ClosingPoint(path), Point(0, 0));
  // The descent from 255 at x = 250 ends at 0.
  EXPECT_EQ(CountedPoints(path).back(), Point(250, 0));
}

TEST(TessilPath, ThePlotterSeesEveryPointAndTheWholeReturnLine) {
  RecordingPlotter plotter;
  TessilPath path;
  BuildTessilPath(AllBands(100), path, &plotter);
  const std::vector<Point> counted = CountedPoints(path);
  ASSERT_EQ(plotter.points.size(), counted.size() + 51);
  EXPECT_EQ(std::vector<Point>(plotter.points.begin(), plotter.points.begin() +
                                   static_cast<long>(counted.size())), counted);
  for (int i = 0; i <= 50; ++i)
    EXPECT_EQ(plotter.points[counted.size() + static_cast<size_t>(i)], Point(250 - 5 * i, 0));
}

TEST(TessilPath, ARebuildOverwritesSlotBySlotAndKeepsTheRest) {
  TessilPath path;
  BuildTessilPath(AllBands(200), path, nullptr);
  const int longCount = path.totalPoints;
  BuildTessilPath(AllBands(1), path, nullptr);
  EXPECT_EQ(path.totalPoints, 71);
  EXPECT_EQ(ClosingPoint(path), Point(0, 0));
  // Slots beyond the new closing point still hold the old path.
  EXPECT_EQ(path.pointX[static_cast<size_t>(longCount) - 1], 250);
}

}  // namespace
