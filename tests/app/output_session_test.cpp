// Lumivane and the virtual device as separate programs, the output driven from the form as a
// user would: the byte stream for the known path of silence, with and without "Swap X->Y",
// a stop click in the middle of a pass, a port change, and closing the window mid-output.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/lumivane/resource_ids.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace apptest;
using windriver::MoveTrackbar;
using windriver::PressButton;
using windriver::SaveWindowBmp;
using windriver::SelectItem;

struct XY {
  int x, y;
};

// The path of silence, written out: every band at level 1, seven points a band, the one-point
// descent, and the closing point (0, 0).
std::vector<XY> SilencePath() {
  std::vector<XY> path;
  for (int band = 0; band < 10; ++band) {
    path.push_back({25 * band, 1});
    for (int x = 25 * band; x <= 25 * band + 25; x += 5) path.push_back({x, 1});
  }
  path.push_back({250, 1});
  path.push_back({0, 0});
  return path;
}

bool Matches(const SentPoint& sent, const XY& point, bool xFirst) {
  return xFirst ? sent.first == point.x && sent.second == point.y
                : sent.first == point.y && sent.second == point.x;
}

class OutputSession : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteCaptureSilence(600);
    ASSERT_TRUE(device_.Start());
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitForForm());
    ASSERT_TRUE(app_.WaitForLabel1("71"));
  }
  void TearDown() override { app_.Close(); }

  // Waits for [points] more points than the device has recorded now. A click posted before
  // the wait has taken effect by then: the form handles its events after every point.
  void WaitForMorePoints(size_t points) {
    const size_t target = device_.RecordedCount() + 5 * points;
    ASSERT_TRUE(windriver::WaitUntil([&] { return device_.RecordedCount() >= target; }, 20000))
        << "only " << device_.RecordedCount() << " writes";
  }
  void ClickStartStop() { PressButton(app_.Control(IDC_COMMAND1)); }

  // Ends the output and returns the points sent, checking that every point kept the five-write
  // pattern and that the stream ended with the control register at 0.
  std::vector<SentPoint> StopAndCollect() {
    EXPECT_TRUE(device_.WaitUntilQuiet(500, 20000));
    const std::vector<PortWrite> writes = device_.StopAndRead();
    std::vector<SentPoint> points;
    std::string why;
    EXPECT_TRUE(DecodePoints(writes, points, why)) << why;
    if (!writes.empty()) {
      EXPECT_EQ(writes.back().value, 0);
    }
    return points;
  }

  RecordingDevice device_;
  Lumivane app_;
  const std::vector<XY> path_ = SilencePath();
};

// After the swap the pairs arrive y first; after the stop click the loop runs one more whole
// pass from slot 0, then finishes the pass it was in, and ends.
TEST_F(OutputSession, SendsTheKnownPathSwapsOnAPointAndStopsAfterOneMoreFullPass) {
  MoveTrackbar(app_.Control(IDC_SLIDER2), 10000);
  ClickStartStop();
  WaitForMorePoints(2 * path_.size());
  PressButton(app_.Control(IDC_CHECK2));
  WaitForMorePoints(2 * path_.size());
  SaveWindowBmp(device_.Window(), ScreenshotPath("xydevice_silence_path"));
  const size_t pointsBeforeStop = device_.RecordedCount() / 5;
  ClickStartStop();
  const std::vector<SentPoint> sent = StopAndCollect();
  const size_t n = path_.size();
  ASSERT_GE(sent.size(), pointsBeforeStop + n);

  size_t swapAt = 0;
  while (swapAt < sent.size() && Matches(sent[swapAt], path_[swapAt % n], true)) ++swapAt;
  ASSERT_GE(swapAt, 2 * n);
  ASSERT_LT(swapAt, pointsBeforeStop);

  // Where the stop click's own pass starts: the only place at which the stream reads as whole
  // passes with one extra pass put in.
  auto fitsStopAt = [&](size_t start) {
    for (size_t j = 0; j < sent.size(); ++j) {
      const size_t slot = j < start ? j % n : j < start + n ? j - start : (j - n) % n;
      if (!Matches(sent[j], path_[slot], j < swapAt)) return false;
    }
    return (sent.size() - n) % n == 0;
  };
  size_t fits = 0;
  for (size_t start = pointsBeforeStop; start + n <= sent.size(); ++start)
    if (fitsStopAt(start)) ++fits;
  EXPECT_EQ(fits, 1u) << sent.size() << " points, swap at " << swapAt;
  for (const SentPoint& point : sent) EXPECT_EQ(point.base, 0x378);
}

TEST_F(OutputSession, APortChangeMovesTheNextPointToTheOtherAddress) {
  MoveTrackbar(app_.Control(IDC_SLIDER2), 10000);
  ClickStartStop();
  WaitForMorePoints(path_.size());
  ASSERT_TRUE(SelectItem(app_.Control(IDC_COMBO1), 1));
  WaitForMorePoints(2 * path_.size());
  ASSERT_TRUE(SelectItem(app_.Control(IDC_COMBO1), 0));
  WaitForMorePoints(2 * path_.size());
  ClickStartStop();
  const std::vector<SentPoint> sent = StopAndCollect();
  // Every point went whole to one address (StopAndCollect checks the pattern), and the
  // address changed exactly where the port was chosen.
  std::vector<uint16_t> runs;
  for (const SentPoint& point : sent)
    if (runs.empty() || runs.back() != point.base) runs.push_back(point.base);
  EXPECT_EQ(runs, (std::vector<uint16_t>{0x378, 0x278, 0x378}));
  for (size_t j = 0; j < path_.size(); ++j)
    ASSERT_TRUE(Matches(sent[j], path_[j % path_.size()], true)) << "point " << j;
}

TEST_F(OutputSession, ClosingTheWindowDuringOutputEndsAtOnceAfterAWholePoint) {
  ClickStartStop();
  WaitForMorePoints(3 * path_.size());
  PostMessageA(app_.Form(), WM_CLOSE, 0, 0);
  DWORD code = 1;
  EXPECT_TRUE(app_.Program().WaitForExit(5000, &code));
  EXPECT_EQ(code, 0u);
  const std::vector<SentPoint> sent = StopAndCollect();
  EXPECT_GE(sent.size(), 3 * path_.size());
}

}  // namespace
