#include "app/portlib/port_ring.h"

namespace {

constexpr DWORD kRingBytes = sizeof(PortRingHeader) + kPortRingCapacity * sizeof(uint32_t);

// A full barrier read: the writer's entry is visible before the index that announces it.
uint32_t LoadIndex(volatile LONG& index) {
  return static_cast<uint32_t>(InterlockedCompareExchange(&index, 0, 0));
}

void StoreIndex(volatile LONG& index, uint32_t value) {
  InterlockedExchange(&index, static_cast<LONG>(value));
}

bool ProcessIsAlive(DWORD processId) {
  if (processId == 0) return false;
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
  if (!process) return false;
  const bool alive = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return alive;
}

}  // namespace

bool PortRing::CreateAsDevice() {
  Close();
  mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, kRingBytes,
                                kPortRingName);
  if (!mapping_) return false;
  const bool existed = GetLastError() == ERROR_ALREADY_EXISTS;
  void* view = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kRingBytes);
  if (!view) {
    Close();
    return false;
  }
  header_ = static_cast<PortRingHeader*>(view);
  entries_ = reinterpret_cast<uint32_t*>(header_ + 1);
  if (existed && header_->magic == kPortRingMagic &&
      ProcessIsAlive(static_cast<DWORD>(header_->deviceProcessId))) {
    Close();
    return false;
  }
  if (!existed || header_->magic != kPortRingMagic) {
    header_->capacity = kPortRingCapacity;
    header_->magic = kPortRingMagic;
  }
  // Taking over: what the ended device left unread is dropped, the counters go on.
  StoreIndex(header_->read, LoadIndex(header_->written));
  StoreIndex(header_->deviceProcessId, GetCurrentProcessId());
  return true;
}

bool PortRing::Open() {
  Close();
  mapping_ = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, kPortRingName);
  if (!mapping_) return false;
  void* view = MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, kRingBytes);
  header_ = static_cast<PortRingHeader*>(view);
  if (!header_ || header_->magic != kPortRingMagic || header_->capacity != kPortRingCapacity) {
    Close();
    return false;
  }
  entries_ = reinterpret_cast<uint32_t*>(header_ + 1);
  return true;
}

void PortRing::Close() {
  if (header_) UnmapViewOfFile(header_);
  if (mapping_) CloseHandle(mapping_);
  header_ = nullptr;
  entries_ = nullptr;
  mapping_ = nullptr;
}

bool PortRing::Push(uint32_t entry) {
  const uint32_t written = static_cast<uint32_t>(header_->written);  // only this side writes it
  if (written - LoadIndex(header_->read) >= kPortRingCapacity) return false;
  entries_[written & (kPortRingCapacity - 1)] = entry;
  StoreIndex(header_->written, written + 1);
  return true;
}

size_t PortRing::Drain(uint32_t* out, size_t max) {
  const uint32_t read = static_cast<uint32_t>(header_->read);  // only this side writes it
  const uint32_t available = LoadIndex(header_->written) - read;
  const uint32_t count = available < max ? available : static_cast<uint32_t>(max);
  for (uint32_t i = 0; i < count; ++i) out[i] = entries_[(read + i) & (kPortRingCapacity - 1)];
  StoreIndex(header_->read, read + count);
  return count;
}

DWORD PortRing::DeviceProcessId() const {
  return header_ ? static_cast<DWORD>(header_->deviceProcessId) : 0;
}

uint32_t PortRing::Written() const { return header_ ? LoadIndex(header_->written) : 0; }

uint32_t PortRing::Dropped() const { return header_ ? LoadIndex(header_->dropped) : 0; }

void PortRing::CountDropped() {
  if (header_) InterlockedIncrement(&header_->dropped);
}
