// The port output loop with a recording port: the five writes per point, the passes, and the
// events that arrive between points (stop clicks, port and axis changes, a new path).
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "app/core/port_output.h"

namespace {

struct Write {
  uint16_t port;
  uint8_t value;
  bool operator==(const Write& other) const { return port == other.port && value == other.value; }
};

// Records the writes; the event handler of the n-th point (counted from 1) runs [onPoint].
class RecordingHost : public OutputHost {
 public:
  void SetPortByte(uint16_t port, uint8_t value) override { writes.push_back({port, value}); }
  void HandlePendingEvents() override {
    ++points;
    if (onPoint) onPoint(points);
  }
  std::vector<Write> writes;
  int points = 0;
  std::function<void(int)> onPoint;
};

// A path of [count] counted points (k, 100 + k) and the closing point (0, 0).
TessilPath NumberedPath(int count) {
  TessilPath path;
  for (int k = 0; k < count; ++k) {
    path.pointX[static_cast<size_t>(k)] = static_cast<int16_t>(k);
    path.pointY[static_cast<size_t>(k)] = static_cast<uint8_t>(100 + k);
  }
  path.totalPoints = static_cast<int16_t>(count);
  return path;
}

OutputSettings Running(bool xFirst) {
  OutputSettings settings;
  settings.portBase = kLpt1Base;
  settings.portDelay = 100;
  settings.xFirst = xFirst;
  settings.outputRunning = true;
  return settings;
}

// The first value of each point's data pair, in the order sent.
std::vector<int> FirstBytes(const std::vector<Write>& writes) {
  std::vector<int> values;
  for (size_t i = 0; i + 4 < writes.size(); i += 5) values.push_back(writes[i].value);
  return values;
}

TEST(PortOutput, EachPointIsFiveWritesWithTheAxisOrderChosen) {
  TessilPath path = NumberedPath(3);
  for (bool xFirst : {true, false}) {
    OutputSettings settings = Running(xFirst);
    RecordingHost host;
    SendPoint(settings, path, 2, host);
    const uint8_t first = xFirst ? 2 : 102;
    const uint8_t second = xFirst ? 102 : 2;
    const std::vector<Write> expected = {
        {0x378, first}, {0x37A, 4}, {0x378, second}, {0x37A, 8}, {0x37A, 0}};
    EXPECT_EQ(host.writes, expected) << "xFirst " << xFirst;
  }
}

TEST(PortOutput, APassSendsEveryCountedPointAndTheClosingSlot) {
  TessilPath path = NumberedPath(4);
  OutputSettings settings = Running(true);
  settings.outputRunning = false;  // one pass, as after a stop
  RecordingHost host;
  LptOut(settings, path, host);
  EXPECT_EQ(FirstBytes(host.writes), (std::vector<int>{0, 1, 2, 3, 0}));
  EXPECT_EQ(host.writes.back(), (Write{0x37A, 0}));
}

TEST(PortOutput, AnEmptyPathSendsSlotZeroEachPass) {
  TessilPath path;  // before the first scan tick
  OutputSettings settings = Running(true);
  RecordingHost host;
  host.onPoint = [&](int point) { if (point == 3) settings.outputRunning = false; };
  LptOut(settings, path, host);
  EXPECT_EQ(host.points, 3);
  EXPECT_EQ(host.writes.size(), 15u);
}

TEST(PortOutput, AStopClickRunsOneMoreFullPassThenFinishesTheInterruptedOne) {
  TessilPath path = NumberedPath(5);  // six slots per pass
  OutputSettings settings = Running(true);
  settings.outputRunning = false;
  RecordingHost host;
  // The click arrives after the 9th point: slot 2 of the second pass.
  host.onPoint = [&](int point) { if (point == 9) ToggleOutput(settings, path, host); };
  ToggleOutput(settings, path, host);  // the start click
  const std::vector<int> expected = {0, 1, 2, 3, 4, 0,   // first pass
                                     0, 1, 2,            // interrupted at slot 2
                                     0, 1, 2, 3, 4, 0,   // the stop click's own pass
                                     3, 4, 0};           // rest of the interrupted pass
  EXPECT_EQ(FirstBytes(host.writes), expected);
  EXPECT_FALSE(settings.outputRunning);
  EXPECT_EQ(host.writes.back(), (Write{0x37A, 0}));
}

TEST(PortOutput, ChangesBetweenPointsTakeEffectAtTheNextPoint) {
  TessilPath path = NumberedPath(3);
  OutputSettings settings = Running(true);
  RecordingHost host;
  host.onPoint = [&](int point) {
    if (point == 1) settings.portBase = kLpt2Base;
    if (point == 2) settings.xFirst = false;
    if (point == 3) settings.outputRunning = false;
  };
  LptOut(settings, path, host);
  ASSERT_EQ(host.writes.size(), 20u);
  EXPECT_EQ(host.writes[4], (Write{0x37A, 0}));
  EXPECT_EQ(host.writes[5], (Write{0x278, 1}));    // new port from the next byte on
  EXPECT_EQ(host.writes[6], (Write{0x27A, 4}));
  EXPECT_EQ(host.writes[10], (Write{0x278, 102}));  // y first from the third point on
  EXPECT_EQ(host.writes[12], (Write{0x278, 2}));
}

TEST(PortOutput, ThePointCountIsReadOncePerPass) {
  TessilPath path = NumberedPath(3);
  OutputSettings settings = Running(true);
  RecordingHost host;
  host.onPoint = [&](int point) {
    if (point == 1) {  // a rebuild between two points, in place as the scan tick does it
      path.totalPoints = 1;
      path.pointX[1] = 0;
      path.pointY[1] = 0;
    }
    if (point == 5) settings.outputRunning = false;
  };
  LptOut(settings, path, host);
  // The first pass still sends slots 0..3 (now slot 1 is the new closing point); the second
  // pass has two slots.
  EXPECT_EQ(host.points, 6);
  EXPECT_EQ(FirstBytes(host.writes), (std::vector<int>{0, 0, 2, 0, 0, 0}));
}

}  // namespace
