// Where the parts of a bitmap file lie, read from its headers and checked against the file's
// size before anything is allocated or read. Portable.
#pragma once

#include <cstdint>

constexpr uint32_t kBitmapFileHeaderSize = 14;
constexpr uint32_t kBitmapInfoHeaderSize = 40;  // what the packed image in memory carries

struct DibLayout {
  uint32_t infoSize = 0;       // the file's information header: 40, 52, 56, 108 or 124 bytes
  int32_t width = 0;
  int32_t height = 0;          // negative: rows top to bottom
  uint16_t bitCount = 0;
  uint32_t compression = 0;    // 0 plain, 1 RLE8, 2 RLE4, 3 bit fields
  uint32_t colourCount = 0;    // entries of the colour table
  uint32_t maskBytes = 0;      // 12 for bit fields: the three colour masks before the table
  uint32_t masksOffset = 0;    // file offsets of the masks, the colour table and the pixels
  uint32_t colourTableOffset = 0;
  uint32_t bitsOffset = 0;
  uint32_t imageSize = 0;      // bytes of pixel data

  // Bytes of the packed image: the 40-byte header, the masks, the colour table and the pixels.
  uint32_t PackedSize() const { return kBitmapInfoHeaderSize + maskBytes + colourCount * 4 + imageSize; }
  uint32_t PackedBitsOffset() const { return kBitmapInfoHeaderSize + maskBytes + colourCount * 4; }
};

// Reads the 14-byte file header [fileHeader] and the information header [info] ([infoBytes]
// of it available, at least 40) of a file of [fileSize] bytes. False for a file that is not a
// bitmap this program draws, or whose sizes, bit count, colour count or offsets do not fit
// the file.
bool ReadDibLayout(const uint8_t* fileHeader, const uint8_t* info, uint32_t infoBytes, uint64_t fileSize,
                   DibLayout& layout);

// The 40-byte information header of the packed image for [layout], taken from the file's [info].
void PackedInfoHeader(const uint8_t* info, const DibLayout& layout, uint8_t* out);
