// The classic LZ-compressed file format that the Windows LZ expansion functions (LZOpenFileA,
// LZRead) read: a 14-byte "SZDD" header, then groups of one flag byte and eight items. A set
// flag bit is one literal byte; a clear bit is a two-byte pair naming a position in a 4096-byte
// window (first filled with spaces, writing from position 4080) and a length of 3 to 18.
// Portable: no Windows headers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lz {

constexpr size_t kHeaderSize = 14;
constexpr size_t kWindowSize = 4096;
constexpr size_t kWindowStart = kWindowSize - 16;
constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 18;

// [data] in the compressed format. [missingChar] is the header's byte for the last character of
// the original name that the compressed name replaced by '_' (0 when none was replaced).
std::vector<uint8_t> Compress(const uint8_t* data, size_t size, char missingChar = 0);
inline std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, char missingChar = 0) {
  return Compress(data.data(), data.size(), missingChar);
}

struct ExpandResult {
  bool ok = false;
  std::string error;          // why [ok] is false
  char missingChar = 0;       // the header's last-character byte
  std::vector<uint8_t> data;  // the expanded bytes (as far as they could be read)
};

// Expands a file in the compressed format. A file whose header is not "SZDD" mode 'A', or
// whose data ends before the length the header gives, is refused with [error] set.
ExpandResult Expand(const uint8_t* bytes, size_t size);
inline ExpandResult Expand(const std::vector<uint8_t>& bytes) { return Expand(bytes.data(), bytes.size()); }

bool IsCompressed(const uint8_t* bytes, size_t size);

struct CompressedName {
  std::string name;      // the name the compressed file gets
  char missingChar = 0;  // for the header
};

// The conventional name of the compressed form of [fileName] (the part after the last slash or
// backslash is what counts): a three-letter extension loses its last letter to '_'
// ("TALVEN.EXE" -> "TALVEN.EX_", header byte 'E'); a shorter extension gets '_' appended
// ("A.B" -> "A.B_"); a name without extension gets "._" ("README" -> "README._").
CompressedName CompressedNameOf(std::string_view fileName);

}  // namespace lz
