#include "bootstrap/core/program_image.h"

namespace {

constexpr size_t kNewHeaderPointer = 0x3C;  // in the MS-DOS header: where the "PE" header is
constexpr size_t kFileHeaderSize = 20;      // after the 4-byte signature
constexpr size_t kSectionHeaderSize = 40;

bool ReadLittle(std::string_view bytes, uint64_t at, size_t size, uint32_t& value) {
  if (at > bytes.size() || bytes.size() - at < size) return false;
  value = 0;
  for (size_t i = size; i-- > 0;) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return true;
}

}  // namespace

bool IsCompleteProgramImage(std::string_view head, uint64_t fileSize) {
  if (head.size() > fileSize || head.substr(0, 2) != "MZ") return false;
  uint32_t peAt = 0, sections = 0, optionalSize = 0, headersSize = 0;
  if (!ReadLittle(head, kNewHeaderPointer, 4, peAt)) return false;
  if (peAt > head.size() || head.substr(peAt, 4) != std::string_view("PE\0\0", 4)) return false;
  const uint64_t fileHeader = uint64_t{peAt} + 4;
  if (!ReadLittle(head, fileHeader + 2, 2, sections) || !ReadLittle(head, fileHeader + 16, 2, optionalSize)) return false;
  const uint64_t optionalHeader = fileHeader + kFileHeaderSize;
  if (optionalSize < 64 || !ReadLittle(head, optionalHeader + 60, 4, headersSize) || headersSize > fileSize)
    return false;
  const uint64_t table = optionalHeader + optionalSize;
  for (uint32_t i = 0; i < sections; ++i) {
    uint32_t rawSize = 0, rawAt = 0;
    const uint64_t section = table + uint64_t{i} * kSectionHeaderSize;
    if (!ReadLittle(head, section + 16, 4, rawSize) || !ReadLittle(head, section + 20, 4, rawAt)) return false;
    if (rawSize != 0 && uint64_t{rawAt} + rawSize > fileSize) return false;
  }
  return sections > 0;
}
