// The wave input: one 256-byte buffer, handed to the device for each block and waited for
// while the window messages keep running.
#pragma once

#include <windows.h>

#include <mmsystem.h>

#include <array>
#include <cstdint>

#include "app/core/band_transform.h"

class SoundModule {
 public:
  // Opens the wave mapper for 8-bit mono capture at [sampleRate] samples per second; the
  // result is the device's code (MMSYSERR_NOERROR on success).
  MMRESULT Open(int sampleRate);
  void Start();
  // Resets, stops and closes the device; a capture waiting for it returns.
  void Close();
  bool IsOpen() const { return handle_ != nullptr; }

  // Fills [samples] with the next block. Returns at once, leaving the previous block, when
  // the device is closed or does not take the buffer.
  void CaptureBlock(std::array<uint8_t, kSamplesPerBlock>& samples);

 private:
  HWAVEIN handle_ = nullptr;
  WAVEHDR header_ = {};
};

// Dispatches every pending window message; a WM_QUIT among them ends the program.
void PumpMessages();
