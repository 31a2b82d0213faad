// The two-axis device's input stage: two 8-bit latches on a parallel port. Each takes the
// byte on the data lines when its control line rises (bit 2 the first latch, bit 3 the
// second), like an edge-triggered register; a point is complete when the second is loaded.
// Portable: no platform headers.
#pragma once

#include <cstdint>

class XyLatches {
 public:
  explicit XyLatches(uint16_t portBase) : portBase_(portBase) {}

  // Applies one port write; true when it loaded the second latch.
  bool Write(uint16_t port, uint8_t value) {
    if (port == portBase_) {
      data_ = value;
      return false;
    }
    if (port != portBase_ + 2) return false;  // not this device's port
    const uint8_t rising = static_cast<uint8_t>(value & ~control_);
    control_ = value;
    if (rising & kFirstLine) first_ = data_;
    if (rising & kSecondLine) second_ = data_;
    return (rising & kSecondLine) != 0;
  }

  uint8_t First() const { return first_; }
  uint8_t Second() const { return second_; }
  uint16_t PortBase() const { return portBase_; }

 private:
  static constexpr uint8_t kFirstLine = 4;
  static constexpr uint8_t kSecondLine = 8;
  uint16_t portBase_;
  uint8_t data_ = 0;
  uint8_t control_ = 0;
  uint8_t first_ = 0;
  uint8_t second_ = 0;
};
