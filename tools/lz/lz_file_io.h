// Whole-file reads and writes for the native tools.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lz {

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);
bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes);

}  // namespace lz
