#include "tests/app/app_test_support.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "app/lumivane/resource_ids.h"

namespace apptest {
namespace {

constexpr int kCaptureRate = 8000;

// The build gives Unix paths; Wine shows the Unix root as drive Z:.
std::string FromUnixPath(const char* unixPath) {
  std::string path = std::string("Z:") + unixPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

// ALSA_CONFIG_PATH names the live configuration; the build wrote the one with the capture
// file beside it.
void UseCaptureDevice() {
  CopyFileA(FromUnixPath(LUMIVANE_CAPTURE_CONFIG).c_str(),
            FromUnixPath(LUMIVANE_ALSA_CONFIG).c_str(), FALSE);
}

void WriteSamples(const std::vector<uint8_t>& samples) {
  UseCaptureDevice();
  std::ofstream out(FromUnixPath(LUMIVANE_CAPTURE_FILE), std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(samples.data()),
            static_cast<std::streamsize>(samples.size()));
}

std::string ExecutableBaseName() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string name = path;
  name = name.substr(name.find_last_of('\\') + 1);
  return name.substr(0, name.find_last_of('.'));
}

}  // namespace

void WriteCaptureSilence(double seconds) {
  WriteSamples(std::vector<uint8_t>(static_cast<size_t>(seconds * kCaptureRate), 128));
}

void WriteCaptureTones(const std::vector<double>& frequencies, double amplitude,
                       double toneSeconds, double silenceSeconds) {
  const double pi = std::acos(-1.0);
  const size_t toneSamples = static_cast<size_t>(toneSeconds * kCaptureRate);
  std::vector<uint8_t> samples(toneSamples + static_cast<size_t>(silenceSeconds * kCaptureRate),
                               128);
  const double each = 127.0 * amplitude / static_cast<double>(frequencies.size());
  for (size_t n = 0; n < toneSamples; ++n) {
    double value = 0;
    for (double f : frequencies) value += each * std::sin(2 * pi * f * static_cast<double>(n) / kCaptureRate);
    samples[n] = static_cast<uint8_t>(128 + std::lround(value));
  }
  WriteSamples(samples);
}

void UseNoCaptureDevice() {
  std::ofstream out(FromUnixPath(LUMIVANE_ALSA_CONFIG), std::ios::trunc);
  out << "# No PCM devices: the wave input finds no capture device.\n";
}

std::string BinaryDirectory() { return windriver::TestExecutableDirectory(); }

std::string ScratchDirectory() {
  const std::string root = BinaryDirectory() + "scratch\\";
  CreateDirectoryA(root.c_str(), nullptr);
  const std::string directory = root + ExecutableBaseName() + "\\";
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory;
}

std::string ScreenshotPath(const std::string& name) {
  const std::string directory = BinaryDirectory() + "screenshots\\";
  CreateDirectoryA(directory.c_str(), nullptr);
  return directory + name + ".bmp";
}

bool DecodePoints(const std::vector<PortWrite>& writes, std::vector<SentPoint>& points,
                  std::string& why) {
  points.clear();
  for (size_t i = 0; i + 5 <= writes.size(); i += 5) {
    const uint16_t base = writes[i].port;
    const uint16_t control = static_cast<uint16_t>(base + 2);
    const PortWrite expected[] = {{base, writes[i].value}, {control, 4},
                                  {base, writes[i + 2].value}, {control, 8}, {control, 0}};
    for (int step = 0; step < 5; ++step) {
      if (writes[i + static_cast<size_t>(step)] == expected[step]) continue;
      char text[96];
      std::snprintf(text, sizeof text, "write %zu: %04X %02X breaks the point pattern",
                    i + static_cast<size_t>(step), writes[i + static_cast<size_t>(step)].port,
                    writes[i + static_cast<size_t>(step)].value);
      why = text;
      return false;
    }
    points.push_back({base, writes[i].value, writes[i + 2].value});
  }
  if (writes.size() % 5 != 0) {
    why = "the stream ends inside a point";
    return false;
  }
  return true;
}

bool RecordingDevice::Start() {
  recordPath_ = ScratchDirectory() + "device.rec";
  DeleteFileA(recordPath_.c_str());
  const std::string commandLine =
      "\"" + BinaryDirectory() + "xydevice.exe\" /record:\"" + recordPath_ + "\"";
  if (!program_.Start(commandLine)) return false;
  window_ = windriver::WaitForWindow(program_.Id(), "LumivaneXyDevice", nullptr, 10000);
  return window_ != nullptr;
}

std::vector<PortWrite> RecordingDevice::StopAndRead() {
  PostMessageA(window_, WM_CLOSE, 0, 0);
  program_.WaitForExit(10000);
  std::vector<PortWrite> writes;
  std::ifstream in(recordPath_);
  unsigned port = 0;
  unsigned value = 0;
  std::string line;
  while (std::getline(in, line))
    if (std::sscanf(line.c_str(), "%x %x", &port, &value) == 2)
      writes.push_back({static_cast<uint16_t>(port), static_cast<uint8_t>(value)});
  return writes;
}

size_t RecordingDevice::RecordedCount() const {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(recordPath_.c_str(), GetFileExInfoStandard, &data)) return 0;
  return data.nFileSizeLow / 9;  // "PPPP VV\r\n"
}

bool RecordingDevice::WaitUntilQuiet(DWORD quietMs, DWORD timeoutMs) const {
  size_t last = RecordedCount();
  DWORD since = GetTickCount();
  return windriver::WaitUntil([&] {
    const size_t now = RecordedCount();
    if (now != last) {
      last = now;
      since = GetTickCount();
    }
    return GetTickCount() - since >= quietMs;
  }, timeoutMs);
}

bool Lumivane::Start(const std::vector<std::string>& environment, const std::string& folder) {
  const std::string directory = folder.empty() ? BinaryDirectory() : folder;
  return program_.Start("\"" + directory + "main.exe\"", directory, environment);
}

bool Lumivane::WaitForForm(DWORD timeoutMs) {
  form_ = windriver::WaitForWindow(program_.Id(), "LumivaneForm1", "Lumivane", timeoutMs);
  return form_ != nullptr;
}

bool Lumivane::WaitForLabel1(const std::string& text, DWORD timeoutMs) const {
  return windriver::WaitUntil(
      [&] { return windriver::WindowTextA(Control(IDC_LABEL1)) == text; }, timeoutMs);
}

void Lumivane::Close() {
  if (form_) PostMessageA(form_, WM_CLOSE, 0, 0);
  if (!program_.WaitForExit(10000)) program_.Terminate();
}

}  // namespace apptest
