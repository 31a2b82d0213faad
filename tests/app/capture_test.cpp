// Capture end to end: a known sound fed to Wine's wave input through the ALSA file recipe,
// the spectrum's bands read back from the points that reach the virtual device.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

#include "app/lumivane/resource_ids.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace apptest;
using namespace windriver;

// Three tones at the centres of frequency bins 27, 30 and 33 of a 256-sample block at 8000
// samples/s. Their components sit at indexes 54..67, inside band 3 (indexes 51..76) and away
// from its edges, so band 3 lights up whatever the phase of a block; at least one of the six
// components is positive in practically every block.
const std::vector<double> kBand3Tones = {27 * 31.25, 30 * 31.25, 33 * 31.25};

// The level of each band, as often as the device saw it: the path's level points across band
// b are the only points with x = 25 (b - 1) + 5.
using BandLevels = std::array<std::vector<int>, 11>;

BandLevels LevelsSeen(const std::vector<SentPoint>& points) {
  BandLevels levels;
  for (const SentPoint& point : points)
    if (point.first % 25 == 5) levels[static_cast<size_t>(point.first / 25 + 1)].push_back(point.second);
  return levels;
}

double ShareAtLeast(const std::vector<int>& values, int threshold) {
  if (values.empty()) return 0;
  const auto count = std::count_if(values.begin(), values.end(), [&](int v) { return v >= threshold; });
  return static_cast<double>(count) / static_cast<double>(values.size());
}

class Capture : public ::testing::Test {
 protected:
  void StartWithTones(double toneSeconds) {
    WriteCaptureTones(kBand3Tones, 0.6, toneSeconds, 600);
    ASSERT_TRUE(device_.Start());
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitForForm());
  }
  void TearDown() override { app_.Close(); }

  // Sends the path until the device has received the writes of at least 40 passes (a pass with
  // a tone has up to about 150 points of five writes each) and returns the points it received.
  // A count, not a time: on a loaded machine a second holds far fewer passes.
  std::vector<SentPoint> OutputPasses(const std::string& screenshot) {
    PressButton(app_.Control(IDC_COMMAND1));
    EXPECT_TRUE(WaitUntil([&] { return device_.RecordedCount() >= 40 * 150 * 5; }, 60000));
    SaveWindowBmp(device_.Window(), ScreenshotPath("xydevice_" + screenshot));
    PressButton(app_.Control(IDC_COMMAND1));
    EXPECT_TRUE(device_.WaitUntilQuiet(500, 20000));
    std::vector<SentPoint> points;
    std::string why;
    EXPECT_TRUE(DecodePoints(device_.StopAndRead(), points, why)) << why;
    return points;
  }

  RecordingDevice device_;
  Lumivane app_;
};

TEST_F(Capture, AToneInBandThreeLightsBandThreeOnly) {
  StartWithTones(120);
  Sleep(1000);
  SaveWindowBmp(app_.Form(), ScreenshotPath("form1_band3_tone"));
  const BandLevels levels = LevelsSeen(OutputPasses("band3_tone"));
  ASSERT_GE(levels[3].size(), 20u);
  EXPECT_GE(ShareAtLeast(levels[3], 150), 0.9);
  for (size_t band = 1; band <= 10; ++band) {
    if (band == 3) continue;
    ASSERT_FALSE(levels[band].empty()) << band;
    EXPECT_EQ(ShareAtLeast(levels[band], 100), 0.0) << "band " << band;
  }
}

TEST_F(Capture, AtFourTimesTheRateTheSameTonesFallIntoTheFirstBand) {
  StartWithTones(120);
  ASSERT_TRUE(SelectItem(app_.Control(IDC_COMBO2), 3));  // 32KHz: the tones at bins 7..8
  Sleep(800);
  const BandLevels levels = LevelsSeen(OutputPasses("band3_tone_at_32khz"));
  EXPECT_GE(ShareAtLeast(levels[1], 150), 0.9);
  EXPECT_EQ(ShareAtLeast(levels[3], 100), 0.0);
}

// Picture1's client area starts inside its 2-pixel edge; path y grows upwards.
bool LitAtOrAbove(const Picture& picture, int x, int level) {
  for (int y = 255; y >= level; --y)
    if (picture.Pixel(2 + x, 2 + 255 - y) == RGB(0, 255, 0)) return true;
  return false;
}

TEST_F(Capture, WithTheDrawingOffThePictureKeepsTheLastPlotWhileThePathChanges) {
  // A second of tones, then silence. Wine takes from the file only what the program's blocks
  // use, plus what it buffers: the tones last a few seconds.
  StartWithTones(1);
  HWND picture = app_.Control(IDC_PICTURE1);
  Picture shot;
  ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(picture, shot) && LitAtOrAbove(shot, 60, 150); },
                        10000));
  PressButton(app_.Control(IDC_CHECK1));
  ASSERT_TRUE(app_.WaitForLabel1("71", 20000));  // the path of the silence
  ASSERT_TRUE(CaptureWindow(picture, shot));
  SaveBmp(shot, ScreenshotPath("picture1_kept_while_hidden"));
  EXPECT_TRUE(LitAtOrAbove(shot, 60, 150));
  PressButton(app_.Control(IDC_CHECK1));
  ASSERT_TRUE(WaitUntil([&] { return CaptureWindow(picture, shot) && !LitAtOrAbove(shot, 60, 2); },
                        5000));
  EXPECT_TRUE(LitAtOrAbove(shot, 60, 1));  // the flat line at level 1
}

}  // namespace
