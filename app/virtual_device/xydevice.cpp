// The virtual two-axis device: emulates the device's latches on a parallel port, fed by the
// port library through the shared port ring, and draws the points it latches the way an
// oscilloscope in XY mode would, with a fading trace. It can record every port write it
// receives to a text file ("PPPP VV" in hexadecimal, one write per line) for tests.
//
//   xydevice.exe [/port:378] [/record:FILE]
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/portlib/port_ring.h"
#include "app/virtual_device/xy_latches.h"

namespace {

constexpr char kWindowClass[] = "LumivaneXyDevice";
constexpr char kWindowTitle[] = "Lumivane XY Device";
constexpr int kTraceSize = 256;
constexpr int kViewSize = 384;  // the trace, scaled to the window
constexpr int kStatusHeight = 24;
constexpr UINT_PTR kFrameTimer = 1;
constexpr UINT kFrameMs = 40;
constexpr size_t kDrainBatch = 4096;

struct DeviceOptions {
  uint16_t portBase = 0x378;
  std::string recordPath;
};

// Appends each write as a line of text; written through at once so a reader sees it.
class Recorder {
 public:
  bool Open(const std::string& path) {
    file_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    return file_ != INVALID_HANDLE_VALUE;
  }
  void Append(const uint32_t* entries, size_t count) {
    if (file_ == INVALID_HANDLE_VALUE || count == 0) return;
    text_.resize(count * 9 + 1);
    char* out = &text_[0];
    for (size_t i = 0; i < count; ++i)
      out += std::snprintf(out, 10, "%04X %02X\r\n", PortOf(entries[i]), ValueOf(entries[i]));
    DWORD written = 0;
    WriteFile(file_, text_.data(), static_cast<DWORD>(out - text_.data()), &written, nullptr);
  }
  ~Recorder() {
    if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  }

 private:
  HANDLE file_ = INVALID_HANDLE_VALUE;
  std::string text_;
};

// The screen: a glow value per position that each latched point lights and each frame fades.
struct Trace {
  std::vector<uint32_t> pixels = std::vector<uint32_t>(kTraceSize * kTraceSize, 0);
  std::vector<uint8_t> glow = std::vector<uint8_t>(kTraceSize * kTraceSize, 0);
  void Plot(uint8_t x, uint8_t y) { glow[static_cast<size_t>((255 - y) * kTraceSize + x)] = 255; }
  void Fade() {
    for (size_t i = 0; i < glow.size(); ++i) {
      glow[i] = static_cast<uint8_t>(glow[i] - glow[i] / 6 - (glow[i] ? 1 : 0));
      pixels[i] = static_cast<uint32_t>(glow[i]) << 8 | static_cast<uint32_t>(glow[i] / 4) << 16;
    }
  }
};

struct Device {
  DeviceOptions options;
  PortRing ring;
  XyLatches latches{0x378};
  Recorder recorder;
  Trace trace;
  unsigned long long writes = 0;
  unsigned long long points = 0;
};

Device* gDevice = nullptr;

DeviceOptions ParseOptions(int argc, char** argv) {
  DeviceOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.compare(0, 6, "/port:") == 0)
      options.portBase = static_cast<uint16_t>(std::strtoul(arg.c_str() + 6, nullptr, 16));
    else if (arg.compare(0, 8, "/record:") == 0)
      options.recordPath = arg.substr(8);
  }
  return options;
}

void DrainRing(Device& device) {
  uint32_t batch[kDrainBatch];
  size_t count;
  while ((count = device.ring.Drain(batch, kDrainBatch)) > 0) {
    device.recorder.Append(batch, count);
    for (size_t i = 0; i < count; ++i) {
      if (!device.latches.Write(PortOf(batch[i]), ValueOf(batch[i]))) continue;
      device.trace.Plot(device.latches.First(), device.latches.Second());
      ++device.points;
    }
    device.writes += count;
  }
}

void Paint(HWND window, Device& device) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kTraceSize;
  info.bmiHeader.biHeight = -kTraceSize;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  StretchDIBits(dc, 0, 0, kViewSize, kViewSize, 0, 0, kTraceSize, kTraceSize,
                device.trace.pixels.data(), &info, DIB_RGB_COLORS, SRCCOPY);
  char status[160];
  std::snprintf(status, sizeof status, "Port %03X   points %llu   writes %llu   lost %lu     ",
                device.latches.PortBase(), device.points, device.writes,
                static_cast<unsigned long>(device.ring.Dropped()));
  TextOutA(dc, 4, kViewSize + 4, status, static_cast<int>(std::strlen(status)));
  EndPaint(window, &paint);
}

LRESULT CALLBACK DeviceWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER:
      gDevice->trace.Fade();
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_PAINT:
      Paint(window, *gDevice);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

HWND CreateDeviceWindow(HINSTANCE instance) {
  WNDCLASSA type = {};
  type.lpfnWndProc = DeviceWindowProc;
  type.hInstance = instance;
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  type.lpszClassName = kWindowClass;
  RegisterClassA(&type);
  RECT frame = {0, 0, kViewSize, kViewSize + kStatusHeight};
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  AdjustWindowRect(&frame, style, FALSE);
  return CreateWindowA(kWindowClass, kWindowTitle, style | WS_VISIBLE, 600, 40,
                       frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                       instance, nullptr);
}

// Drains the ring between messages; a short wait keeps the ring far from full at any rate
// the library can write.
int RunDevice(Device& device) {
  for (;;) {
    DrainRing(device);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (message.message == WM_QUIT) {
        DrainRing(device);
        return static_cast<int>(message.wParam);
      }
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  static Device device;
  gDevice = &device;
  device.options = ParseOptions(__argc, __argv);
  device.latches = XyLatches(device.options.portBase);
  if (!device.ring.CreateAsDevice()) {
    MessageBoxA(nullptr, "Another virtual XY device is already running.", kWindowTitle,
                MB_ICONERROR);
    return 2;
  }
  if (!device.options.recordPath.empty() && !device.recorder.Open(device.options.recordPath)) {
    MessageBoxA(nullptr, ("Cannot write " + device.options.recordPath).c_str(), kWindowTitle,
                MB_ICONERROR);
    return 3;
  }
  HWND window = CreateDeviceWindow(instance);
  SetTimer(window, kFrameTimer, kFrameMs, nullptr);
  return RunDevice(device);
}
