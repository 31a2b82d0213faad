// The output loop that streams the path to the two-axis device on a parallel port, point by
// point, five byte writes per point, until the output is switched off at the end of a pass.
// Portable: the port and the event handling are reached through OutputHost.
#pragma once

#include <cstdint>

#include "app/core/tessil_path.h"

constexpr uint16_t kLpt1Base = 0x378;
constexpr uint16_t kLpt2Base = 0x278;
constexpr uint8_t kLatchFirst = 4;   // control bit 2 loads the first latch
constexpr uint8_t kLatchSecond = 8;  // control bit 3 loads the second

// The settings that event handlers change while the loop runs; the loop reads them at every
// write, so a change takes effect at the next point.
struct OutputSettings {
  uint16_t portBase = 0;       // data register; the control register is at portBase + 2
  int16_t portDelay = 0;       // empty counting rounds between two points, less one
  bool xFirst = false;         // x goes to the first latch
  bool outputRunning = false;
};

class OutputHost {
 public:
  virtual ~OutputHost() = default;
  virtual void SetPortByte(uint16_t port, uint8_t value) = 0;
  // Runs every pending event (clicks, slider moves, timer ticks); may re-enter LptOut.
  virtual void HandlePendingEvents() = 0;

};

// Writes point [k] of [path]: data, control 4, data, control 8, control 0.
void SendPoint(const OutputSettings& settings, const TessilPath& path, int k, OutputHost& host);

// Sends passes over the path (slots 0..totalPoints, totalPoints read once per pass) until
// outputRunning is false after a pass. A stop click handled inside the loop runs one more
// full pass of its own before the interrupted pass finishes.
void LptOut(OutputSettings& settings, const TessilPath& path, OutputHost& host);

// The Start/Stop button: toggles outputRunning, then runs LptOut. A click while the loop runs
// arrives inside HandlePendingEvents and so nests in the running loop.
void ToggleOutput(OutputSettings& settings, const TessilPath& path, OutputHost& host);
