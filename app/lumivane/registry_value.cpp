#include "app/lumivane/registry_value.h"

#include <cstdio>

namespace {

constexpr DWORD kValueBufferSize = 1024;

// The NUL rule: with s the size the registry reports, a NUL at position s (counted from 1)
// is dropped, so values stored with and without their terminator read the same.
size_t KeptLength(const char* data, DWORD size) {
  if (size == 0) return 0;
  return data[size - 1] == '\0' ? size - 1 : size;
}

// Each kept byte as two hexadecimal digits, last byte first.
std::string HexOfBytes(const char* data, size_t length) {
  std::string text = "&h";
  for (size_t i = length; i > 0; --i) {
    char digits[3];
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(data[i - 1]));
    text += digits;
  }
  return text;
}

}  // namespace

bool GetKeyValue(HKEY root, const std::string& keyName, const std::string& valueName,
                 std::string& value) {
  HKEY key = nullptr;
  // Reading needs only read access: asking for all access fails for users without
  // administrator rights although the value can be read.
  if (RegOpenKeyExA(root, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
    value.clear();
    return false;
  }
  char data[kValueBufferSize];
  DWORD size = sizeof data;
  DWORD type = 0;
  const LONG result = RegQueryValueExA(key, valueName.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(data), &size);
  if (result != ERROR_SUCCESS) {
    RegCloseKey(key);
    value.clear();
    return false;
  }
  const size_t length = KeptLength(data, size);
  if (type == REG_SZ) value.assign(data, length);
  if (type == REG_DWORD) value = HexOfBytes(data, length);
  RegCloseKey(key);
  return true;
}

std::string FindSysInfoPath() {
  std::string path;
  if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH", path))
    return path;
  std::string folder;
  if (GetKeyValue(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO",
                  folder)) {
    const std::string candidate = folder + "\\MSINFO32.EXE";
    if (GetFileAttributesA(candidate.c_str()) != INVALID_FILE_ATTRIBUTES) return candidate;
  }
  return std::string();
}
