#include "app/core/port_output.h"

namespace {

// The pause between points is a plain count; volatile keeps the compiler from removing it.
void CountDelay(int16_t rounds) {
  for (volatile int d = 0; d <= rounds; d = d + 1) {
  }
}

}  // namespace

void SendPoint(const OutputSettings& settings, const TessilPath& path, int k, OutputHost& host) {
  const uint8_t x = static_cast<uint8_t>(path.pointX[static_cast<size_t>(k)]);
  const uint8_t y = path.pointY[static_cast<size_t>(k)];
  host.SetPortByte(settings.portBase, settings.xFirst ? x : y);
  host.SetPortByte(static_cast<uint16_t>(settings.portBase + 2), kLatchFirst);
  host.SetPortByte(settings.portBase, settings.xFirst ? y : x);
  host.SetPortByte(static_cast<uint16_t>(settings.portBase + 2), kLatchSecond);
  host.SetPortByte(static_cast<uint16_t>(settings.portBase + 2), 0);
}

void LptOut(OutputSettings& settings, const TessilPath& path, OutputHost& host) {
  do {
    const int last = path.totalPoints;
    for (int k = 0; k <= last; ++k) {
      SendPoint(settings, path, k, host);
      CountDelay(settings.portDelay);
      host.HandlePendingEvents();
    }
  } while (settings.outputRunning);
}

void ToggleOutput(OutputSettings& settings, const TessilPath& path, OutputHost& host) {
  settings.outputRunning = !settings.outputRunning;
  LptOut(settings, path, host);
}
