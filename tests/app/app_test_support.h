// What the Wine tests of Lumivane share: the sound that the capture reads, the virtual device
// that records the port writes, a running Lumivane, and the decoding of the port writes into
// points.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/win_driver.h"

namespace apptest {

// The capture reads the file that this test's ALSA configuration names (written before a
// program opens the device; the device reads it from the start at every open). Both also
// bring back the configuration with the capture device.
void WriteCaptureSilence(double seconds);
// Sine tones of [frequencies] (Hz at 8000 samples/s), together [amplitude] of full scale,
// for [toneSeconds], followed by [silenceSeconds] of silence.
void WriteCaptureTones(const std::vector<double>& frequencies, double amplitude,
                       double toneSeconds, double silenceSeconds);

// Makes the programs started next find no capture device at all.
void UseNoCaptureDevice();

std::string BinaryDirectory();                  // where the programs are, with a backslash
std::string ScratchDirectory();                 // a folder of this test's own, emptied once
std::string ScreenshotPath(const std::string& name);  // under the build tree

struct PortWrite {
  uint16_t port;
  uint8_t value;
  bool operator==(const PortWrite& other) const {
    return port == other.port && value == other.value;
  }
};

struct SentPoint {
  uint16_t base;   // the data register the point went to
  uint8_t first;   // the byte latched on control bit 2
  uint8_t second;  // the byte latched on control bit 3
  bool operator==(const SentPoint& other) const {
    return base == other.base && first == other.first && second == other.second;
  }
};

// Splits a stream into points of five writes each (data, control 4, data, control 8,
// control 0); false, with [why], at the first write that breaks the pattern.
bool DecodePoints(const std::vector<PortWrite>& writes, std::vector<SentPoint>& points,
                  std::string& why);

// The virtual device, recording every write it receives into a file of this test.
class RecordingDevice {
 public:
  bool Start();
  // Closes the device (it takes what is left in the ring first) and reads the record.
  std::vector<PortWrite> StopAndRead();
  // The number of writes recorded so far.
  size_t RecordedCount() const;
  // Polls until the record has stopped growing for [quietMs].
  bool WaitUntilQuiet(DWORD quietMs, DWORD timeoutMs) const;
  HWND Window() const { return window_; }

 private:
  windriver::ChildProgram program_;
  std::string recordPath_;
  HWND window_ = nullptr;
};

// A running main.exe, started from [folder] ("" = the build's bin folder).
class Lumivane {
 public:
  bool Start(const std::vector<std::string>& environment = {}, const std::string& folder = "");
  // Waits for Form1; false when a message box or nothing showed instead.
  bool WaitForForm(DWORD timeoutMs = 15000);
  HWND Form() const { return form_; }
  HWND Control(int id) const { return GetDlgItem(form_, id); }
  DWORD Id() const { return program_.Id(); }
  windriver::ChildProgram& Program() { return program_; }
  // Waits for Label1 to show [text] (the point count of the latest path).
  bool WaitForLabel1(const std::string& text, DWORD timeoutMs = 10000) const;
  void Close();

 private:
  windriver::ChildProgram program_;
  HWND form_ = nullptr;
};

}  // namespace apptest
