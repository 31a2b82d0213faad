#include <cstring>

#include "tools/lz/lz_format.h"

namespace lz {
namespace {

constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};

uint32_t ReadLength(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

}  // namespace

bool IsCompressed(const uint8_t* bytes, size_t size) {
  return size >= kHeaderSize && std::memcmp(bytes, kMagic, sizeof kMagic) == 0 && bytes[8] == 'A';
}

ExpandResult Expand(const uint8_t* bytes, size_t size) {
  ExpandResult result;
  if (!IsCompressed(bytes, size)) {
    result.error = "not a compressed file (no SZDD header of mode A)";
    return result;
  }
  result.missingChar = static_cast<char>(bytes[9]);
  const uint32_t length = ReadLength(bytes + 10);
  result.data.reserve(length);

  uint8_t window[kWindowSize];
  std::memset(window, ' ', sizeof window);
  size_t write = kWindowStart;
  size_t in = kHeaderSize;
  auto put = [&](uint8_t byte) {
    result.data.push_back(byte);
    window[write] = byte;
    write = (write + 1) & (kWindowSize - 1);
  };
  while (result.data.size() < length && in < size) {
    const uint8_t flags = bytes[in++];
    for (int bit = 0; bit < 8 && result.data.size() < length; ++bit) {
      if (flags & (1u << bit)) {
        if (in >= size) break;
        put(bytes[in++]);
        continue;
      }
      if (in + 2 > size) {
        in = size;
        break;
      }
      size_t position = bytes[in] | (static_cast<size_t>(bytes[in + 1] & 0xF0) << 4);
      const size_t count = (bytes[in + 1] & 0x0F) + kMinMatch;
      in += 2;
      // Byte by byte: a pair may name bytes that it is writing itself.
      for (size_t k = 0; k < count && result.data.size() < length; ++k) {
        put(window[position]);
        position = (position + 1) & (kWindowSize - 1);
      }
    }
  }
  if (result.data.size() < length) {
    result.error = "the compressed data ends before the length its header gives";
    return result;
  }
  result.ok = true;
  return result;
}

}  // namespace lz
