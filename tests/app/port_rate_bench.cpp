// Points per second that Lumivane's port output reaches with the virtual device, for port
// delays 100, 500 and 10000: main.exe is driven from its form, the device's ring counter is
// read over a fixed time. Prints its figures; not a test.
#include <windows.h>

#include <cstdio>

#include "app/lumivane/resource_ids.h"
#include "app/portlib/port_ring.h"
#include "tests/app/app_test_support.h"

namespace {

constexpr DWORD kMeasureMs = 3000;

double MeasurePointsPerSecond(apptest::Lumivane& app, PortRing& ring, int delay) {
  windriver::MoveTrackbar(app.Control(IDC_SLIDER2), delay);
  windriver::PressButton(app.Control(IDC_COMMAND1));
  Sleep(300);
  const uint32_t before = ring.Written();
  const DWORD start = GetTickCount();
  Sleep(kMeasureMs);
  const uint32_t after = ring.Written();
  const DWORD elapsed = GetTickCount() - start;
  windriver::PressButton(app.Control(IDC_COMMAND1));
  windriver::WaitUntil([&] {
    const uint32_t now = ring.Written();
    Sleep(300);
    return ring.Written() == now;
  }, 20000);
  return (after - before) / 5.0 / (elapsed / 1000.0);
}

}  // namespace

int main() {
  apptest::WriteCaptureSilence(600);
  apptest::RecordingDevice device;
  apptest::Lumivane app;
  PortRing ring;
  if (!device.Start() || !ring.Open() || !app.Start() || !app.WaitForForm() ||
      !app.WaitForLabel1("71")) {
    std::fprintf(stderr, "could not start the device and main.exe\n");
    return 1;
  }
  std::printf("Port output under Wine with the virtual device (silence: 72 points a pass)\n");
  for (int delay : {100, 500, 10000})
    std::printf("  PortDelay %5d: %8.0f points/s\n", delay, MeasurePointsPerSecond(app, ring, delay));
  std::printf("  writes lost by the ring: %lu\n", static_cast<unsigned long>(ring.Dropped()));
  app.Close();
  device.StopAndRead();
  return 0;
}
