// The channel between the port library and the virtual two-axis device: a ring of port writes
// in named shared memory. One writer (the library of one program, holding the writer mutex)
// and one reader (the device program, whose process id is in the header).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

constexpr char kPortRingName[] = "LumivaneVirtualPortRing";
constexpr char kPortWriterMutexName[] = "LumivaneVirtualPortWriter";
constexpr uint32_t kPortRingMagic = 0x5250564C;  // "LVPR"
constexpr uint32_t kPortRingCapacity = 1u << 16;  // entries; a power of two

// Counters only grow (and wrap at 2^32); their difference is the number of entries held.
struct PortRingHeader {
  uint32_t magic;
  uint32_t capacity;
  volatile LONG deviceProcessId;
  volatile LONG written;  // advanced by the writer after the entry is stored
  volatile LONG read;     // advanced by the reader after the entry is taken
  volatile LONG dropped;  // writes the library gave up on because the ring stayed full
};

// One write: port in the low 16 bits, value in bits 16..23.
inline uint32_t PackPortWrite(uint16_t port, uint8_t value) {
  return static_cast<uint32_t>(port) | static_cast<uint32_t>(value) << 16;
}
inline uint16_t PortOf(uint32_t entry) { return static_cast<uint16_t>(entry & 0xFFFF); }
inline uint8_t ValueOf(uint32_t entry) { return static_cast<uint8_t>(entry >> 16); }

class PortRing {
 public:
  PortRing() = default;
  ~PortRing() { Close(); }
  PortRing(const PortRing&) = delete;
  PortRing& operator=(const PortRing&) = delete;

  // The device's side: makes the ring, or takes over one whose device has ended (a library
  // may still hold it open). False when another device is running.
  bool CreateAsDevice();
  // The library's side: opens the ring of a running device.
  bool Open();
  void Close();
  bool IsOpen() const { return header_ != nullptr; }

  // False, storing nothing, when the ring is full.
  bool Push(uint32_t entry);
  // Takes up to [max] entries into [out]; returns how many.
  size_t Drain(uint32_t* out, size_t max);

  DWORD DeviceProcessId() const;
  uint32_t Written() const;
  uint32_t Dropped() const;
  void CountDropped();

 private:
  HANDLE mapping_ = nullptr;
  PortRingHeader* header_ = nullptr;
  uint32_t* entries_ = nullptr;
};
