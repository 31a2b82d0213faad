#include "app/lumivane/port_library.h"

namespace {

template <typename Call>
Call Resolve(HMODULE library, const char* name) {
  // Through void*: function pointer types differ, the exports' real types are known here.
  return reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

bool PortLibrary::Load() {
  if (tried_) return setPortVal_ != nullptr;
  tried_ = true;
  HMODULE library = LoadLibraryA("WinIo.dll");
  if (!library) return false;
  initialize_ = Resolve<VoidCall>(library, "InitializeWinIo");
  shutdown_ = Resolve<VoidCall>(library, "ShutdownWinIo");
  setPortVal_ = Resolve<SetPortValCall>(library, "SetPortVal");
  install_ = Resolve<InstallCall>(library, "InstallWinIoDriver");
  remove_ = Resolve<VoidCall>(library, "RemoveWinIoDriver");
  return setPortVal_ != nullptr;
}

void PortLibrary::Initialize() {
  if (Load() && initialize_) initialize_();
}

void PortLibrary::Shutdown() {
  if (shutdown_) shutdown_();  // nothing to shut down when it was never loaded
}

void PortLibrary::SetPortByte(uint16_t port, uint8_t value) {
  if (Load()) setPortVal_(port, value, 1);
}

bool PortLibrary::InstallDriver(const std::string& folder) {
  return Load() && install_ && install_(folder.c_str(), FALSE);
}

void PortLibrary::RemoveDriver() {
  if (Load() && remove_) remove_();
}
