// The port-access library the application loads by name. Where the platform lets a program
// reach I/O ports itself (the Windows 95 family, 32-bit builds) a write goes to the port;
// everywhere else it goes to the virtual two-axis device through the shared port ring.
#include <windows.h>

#include <string>

#include "app/portlib/port_library_exports.h"
#include "app/portlib/port_ring.h"

namespace {

constexpr DWORD kAttachRetryMs = 500;    // how often a detached library looks for the device
constexpr DWORD kLivenessCheckMs = 500;  // how often an attached one checks that it still runs
constexpr DWORD kFullWaitMs = 200;       // how long a write waits for room before it is lost
constexpr DWORD kDeviceStartMs = 5000;
constexpr char kDeviceProgram[] = "xydevice.exe";

struct LibraryState {
  bool initialised = false;
  bool directPorts = false;
  PortRing ring;
  HANDLE writerLock = nullptr;  // held while attached: one writing program at a time
  DWORD lastAttachTry = 0;
  DWORD lastLivenessCheck = 0;
  bool congested = false;       // the ring stayed full: drop without waiting until it drains
  DWORD startedDeviceId = 0;    // the device that InstallWinIoDriver started, if any
  bool removed = false;         // RemoveWinIoDriver: no device is used until the next install
};

LibraryState gState;

bool DirectPortsAllowed() {
#if defined(__i386__)
  char choice[16] = "";
  if (GetEnvironmentVariableA("LUMIVANE_PORTS", choice, sizeof choice) &&
      lstrcmpiA(choice, "virtual") == 0)
    return false;
  // Wine may report the Windows 95 family, but the ports still belong to the host system: the
  // instruction would fault. Wine's ntdll says who it is; Windows 95 has no ntdll at all.
  HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  if (ntdll && GetProcAddress(ntdll, "wine_get_version")) return false;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
#else
  return false;  // no 64-bit system lets a program touch ports itself
#endif
}

void WriteDirect(uint16_t port, uint8_t value) {
#if defined(__i386__)
  __asm__ __volatile__("outb %0, %1" : : "a"(value), "Nd"(port));
#else
  (void)port;
  (void)value;
#endif
}

void Detach() {
  gState.ring.Close();
  if (gState.writerLock) {
    ReleaseMutex(gState.writerLock);
    CloseHandle(gState.writerLock);
  }
  gState.writerLock = nullptr;
  gState.congested = false;
}

bool TryAttach() {
  if (gState.ring.IsOpen()) return true;
  gState.lastAttachTry = GetTickCount();
  if (!gState.ring.Open()) return false;
  HANDLE lock = CreateMutexA(nullptr, FALSE, kPortWriterMutexName);
  const DWORD wait = lock ? WaitForSingleObject(lock, 0) : WAIT_FAILED;
  if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED) {
    if (lock) CloseHandle(lock);
    gState.ring.Close();
    return false;
  }
  gState.writerLock = lock;
  gState.lastLivenessCheck = GetTickCount();
  return true;
}

bool DeviceIsRunning() {
  HANDLE device = OpenProcess(SYNCHRONIZE, FALSE, gState.ring.DeviceProcessId());
  if (!device) return false;
  const bool running = WaitForSingleObject(device, 0) == WAIT_TIMEOUT;
  CloseHandle(device);
  return running;
}

// Keeps the attachment current: looks for a device now and then while detached, and lets
// go of the ring of a device that has ended.
bool EnsureAttached() {
  const DWORD now = GetTickCount();
  if (gState.removed) return false;
  if (!gState.ring.IsOpen()) return now - gState.lastAttachTry >= kAttachRetryMs && TryAttach();
  if (now - gState.lastLivenessCheck >= kLivenessCheckMs) {
    gState.lastLivenessCheck = now;
    if (!DeviceIsRunning()) {
      Detach();
      return false;
    }
  }
  return true;
}

void WriteVirtual(uint16_t port, uint8_t value) {
  if (!EnsureAttached()) return;
  const uint32_t entry = PackPortWrite(port, value);
  if (gState.ring.Push(entry)) {
    gState.congested = false;
    return;
  }
  const DWORD start = GetTickCount();
  while (!gState.congested && GetTickCount() - start < kFullWaitMs) {
    Sleep(1);
    if (gState.ring.Push(entry)) return;
  }
  gState.congested = true;
  gState.ring.CountDropped();
}

void WritePort(uint16_t port, uint8_t value) {
  if (gState.directPorts)
    WriteDirect(port, value);
  else
    WriteVirtual(port, value);
}

bool StartDevice(const char* folder) {
  std::string path = folder ? folder : "";
  if (!path.empty() && path.back() != '\\') path += '\\';
  std::string commandLine = "\"" + path + kDeviceProgram + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process))
    return false;
  CloseHandle(process.hThread);
  const DWORD start = GetTickCount();
  bool attached = false;
  while (!attached && GetTickCount() - start < kDeviceStartMs &&
         WaitForSingleObject(process.hProcess, 20) == WAIT_TIMEOUT)
    attached = TryAttach();
  CloseHandle(process.hProcess);
  if (attached) gState.startedDeviceId = process.dwProcessId;
  return attached;
}

BOOL CALLBACK CloseWindowOfProcess(HWND window, LPARAM processId) {
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == static_cast<DWORD>(processId)) PostMessageA(window, WM_CLOSE, 0, 0);
  return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI InitializeWinIo() {
  gState.initialised = true;
  gState.directPorts = DirectPortsAllowed();
  if (!gState.directPorts && !gState.removed) TryAttach();
  return TRUE;
}

BOOL WINAPI ShutdownWinIo() {
  Detach();
  gState.initialised = false;
  return TRUE;
}

// Writes the low [size] bytes of [value] to [port] and the ports above it, low byte first.
BOOL WINAPI SetPortVal(WORD port, DWORD value, BYTE size) {
  if (!gState.initialised || (size != 1 && size != 2 && size != 4)) return FALSE;
  for (BYTE i = 0; i < size; ++i)
    WritePort(static_cast<uint16_t>(port + i), static_cast<uint8_t>(value >> (8 * i)));
  return TRUE;
}

// With direct port access there is nothing to install. Otherwise "installing" means reaching
// the virtual device: the one already running, or xydevice.exe started from [folder].
BOOL WINAPI InstallWinIoDriver(const char* folder, BOOL) {
  gState.removed = false;
  if (DirectPortsAllowed()) return TRUE;
  if (TryAttach()) return TRUE;
  return StartDevice(folder);
}

// Lets go of the virtual device, and closes it when InstallWinIoDriver had started it.
BOOL WINAPI RemoveWinIoDriver() {
  Detach();
  gState.removed = true;
  if (gState.startedDeviceId) EnumWindows(CloseWindowOfProcess, gState.startedDeviceId);
  gState.startedDeviceId = 0;
  return TRUE;
}

}  // extern "C"
