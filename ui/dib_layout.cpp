#include "ui/dib_layout.h"

#include <cstring>

namespace {

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t Dword(const uint8_t* p) { return Word(p) | static_cast<uint32_t>(Word(p + 2)) << 16; }
void PutDword(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

bool KnownInfoSize(uint32_t size) { return size == 40 || size == 52 || size == 56 || size == 108 || size == 124; }

bool FitsCompression(uint32_t compression, uint16_t bits) {
  switch (compression) {
    case 0: return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case 1: return bits == 8;
    case 2: return bits == 4;
    case 3: return bits == 16 || bits == 32;
    default: return false;  // JPEG and PNG payloads are not drawn
  }
}

// The colour count: the header's, or the full table of a palette bitmap. Bitmaps of 16 bits
// and more have no table unless the header asks for one.
bool ColourCount(uint32_t used, uint16_t bits, uint32_t& count) {
  if (bits <= 8) {
    const uint32_t full = 1u << bits;
    count = used == 0 ? full : used;
    return count <= full;
  }
  count = used;
  return true;
}

}  // namespace

bool ReadDibLayout(const uint8_t* fileHeader, const uint8_t* info, uint32_t infoBytes, uint64_t fileSize,
                   DibLayout& layout) {
  layout = DibLayout();
  if (fileHeader[0] != 'B' || fileHeader[1] != 'M' || infoBytes < kBitmapInfoHeaderSize) return false;
  layout.infoSize = Dword(info);
  if (!KnownInfoSize(layout.infoSize) || kBitmapFileHeaderSize + uint64_t{layout.infoSize} > fileSize) return false;
  layout.width = static_cast<int32_t>(Dword(info + 4));
  layout.height = static_cast<int32_t>(Dword(info + 8));
  layout.bitCount = Word(info + 14);
  layout.compression = Dword(info + 16);
  if (layout.width <= 0 || layout.height == 0 || layout.height == INT32_MIN) return false;
  if (!FitsCompression(layout.compression, layout.bitCount)) return false;
  if (!ColourCount(Dword(info + 32), layout.bitCount, layout.colourCount)) return false;

  const uint64_t rows = static_cast<uint64_t>(layout.height < 0 ? -int64_t{layout.height} : layout.height);
  const uint64_t rowBytes = (uint64_t{layout.bitCount} * static_cast<uint64_t>(layout.width) + 31) / 32 * 4;
  const uint64_t needed = rowBytes * rows;
  const uint32_t stated = Dword(info + 20);
  const bool compressed = layout.compression == 1 || layout.compression == 2;
  // Run-length data has no computable size; plain rows must all be there, or drawing them
  // would read past the image.
  if (compressed ? stated == 0 : (stated != 0 && stated < needed)) return false;
  const uint64_t imageSize = stated != 0 ? stated : needed;

  layout.maskBytes = layout.compression == 3 ? 12 : 0;
  // The masks follow the 40-byte header, inside the later, larger headers as well.
  layout.masksOffset = kBitmapFileHeaderSize + kBitmapInfoHeaderSize;
  const uint64_t tableOffset =
      kBitmapFileHeaderSize + uint64_t{layout.infoSize} + (layout.infoSize == 40 ? layout.maskBytes : 0);
  const uint64_t tableEnd = tableOffset + uint64_t{layout.colourCount} * 4;
  const uint32_t bitsField = Dword(fileHeader + 10);
  const uint64_t bitsOffset = bitsField != 0 ? bitsField : tableEnd;
  if (tableEnd > fileSize || bitsOffset < tableEnd || bitsOffset + imageSize > fileSize) return false;
  if (kBitmapInfoHeaderSize + layout.maskBytes + tableEnd - tableOffset + imageSize > 0x7FFFFFFF) return false;

  layout.colourTableOffset = static_cast<uint32_t>(tableOffset);
  layout.bitsOffset = static_cast<uint32_t>(bitsOffset);
  layout.imageSize = static_cast<uint32_t>(imageSize);
  return true;
}

void PackedInfoHeader(const uint8_t* info, const DibLayout& layout, uint8_t* out) {
  std::memcpy(out, info, kBitmapInfoHeaderSize);
  PutDword(out, kBitmapInfoHeaderSize);
  PutDword(out + 20, layout.imageSize);
  PutDword(out + 32, layout.colourCount);
}
