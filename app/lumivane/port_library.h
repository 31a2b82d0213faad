// The application's side of the port-access library WinIo.dll, loaded by name on first use.
// When the library is missing every call does nothing and the driver cannot be installed.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class PortLibrary {
 public:
  void Initialize();
  void Shutdown();
  void SetPortByte(uint16_t port, uint8_t value);
  bool InstallDriver(const std::string& folder);
  void RemoveDriver();

 private:
  bool Load();

  using VoidCall = BOOL(WINAPI*)();
  using SetPortValCall = BOOL(WINAPI*)(WORD port, DWORD value, BYTE size);
  using InstallCall = BOOL(WINAPI*)(const char* path, BOOL flag);

  bool tried_ = false;
  VoidCall initialize_ = nullptr;
  VoidCall shutdown_ = nullptr;
  SetPortValCall setPortVal_ = nullptr;
  InstallCall install_ = nullptr;
  VoidCall remove_ = nullptr;
};
