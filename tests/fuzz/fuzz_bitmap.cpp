// Any bytes as a bitmap file through the checks the loader makes before it reads anything: when
// the file is accepted, every part the loader then reads (masks, colour table, pixels) lies
// within the file, and the packed image it builds holds them exactly.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "ui/dib_layout.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kBitmapFileHeaderSize + kBitmapInfoHeaderSize) return 0;
  DibLayout layout;
  if (!ReadDibLayout(data, data + kBitmapFileHeaderSize, kBitmapInfoHeaderSize, size, layout)) return 0;
  const auto within = [&](uint64_t at, uint64_t length) { return at <= size && length <= size - at; };
  if (!within(layout.masksOffset, layout.maskBytes) || !within(layout.colourTableOffset, uint64_t{layout.colourCount} * 4) ||
      !within(layout.bitsOffset, layout.imageSize))
    std::abort();
  if (layout.PackedBitsOffset() + uint64_t{layout.imageSize} != layout.PackedSize()) std::abort();
  std::vector<uint8_t> packed(layout.PackedSize());
  PackedInfoHeader(data + kBitmapFileHeaderSize, layout, packed.data());
  uint8_t* table = packed.data() + kBitmapInfoHeaderSize;
  if (layout.maskBytes) std::memcpy(table, data + layout.masksOffset, layout.maskBytes);
  if (layout.colourCount) std::memcpy(table + layout.maskBytes, data + layout.colourTableOffset, layout.colourCount * 4u);
  if (layout.imageSize) std::memcpy(packed.data() + layout.PackedBitsOffset(), data + layout.bitsOffset, layout.imageSize);
  return 0;
}
