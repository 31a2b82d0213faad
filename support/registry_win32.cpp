#include "support/registry_win32.h"

namespace {

constexpr REGSAM kReadWriteAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;

int WriteRegValue(int rootCode, const std::string& key, const std::string& valueName, DWORD type, const BYTE* data,
                  DWORD size) {
  HKEY handle;
  if (RegCreateKeyExA(RegistryRoot(rootCode), key.c_str(), 0, nullptr, 0, kReadWriteAccess, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return 1;
  RegSetValueExA(handle, valueName.c_str(), 0, type, data, size);
  RegCloseKey(handle);
  return 0;
}

// The value read whole, whatever its length, and cut afterwards at [maxLength]: a fixed buffer
// would leave a longer value unread.
bool QueryStringValue(HKEY key, const std::string& valueName, std::string& text, size_t maxLength = kMaxRegString,
                      DWORD* type = nullptr) {
  DWORD size = 0;
  LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, type, nullptr, &size);
  std::string bytes(size, '\0');
  if (status == ERROR_SUCCESS && size > 0)
    status = RegQueryValueExA(key, valueName.c_str(), nullptr, type, reinterpret_cast<BYTE*>(&bytes[0]), &size);
  if (status != ERROR_SUCCESS) return false;
  bytes.resize(size);
  text = bytes.substr(0, bytes.find('\0'));
  if (text.size() > maxLength) text.resize(maxLength);
  return true;
}

}  // namespace

HKEY RegistryRoot(int rootCode) {
  switch (rootCode) {
    case 2: return HKEY_CURRENT_USER;
    case 3: return HKEY_LOCAL_MACHINE;
    case 4: return HKEY_USERS;
    case 5: return HKEY_PERFORMANCE_DATA;
    case 6: return HKEY_CURRENT_CONFIG;
    case 7: return HKEY_DYN_DATA;
    default: return HKEY_CLASSES_ROOT;
  }
}

const char* RegistryRootName(int rootCode) {
  switch (rootCode) {
    case 2: return "HKEY_CURRENT_USER";
    case 3: return "HKEY_LOCAL_MACHINE";
    case 4: return "HKEY_USERS";
    case 5: return "HKEY_PERFORMANCE_DATA";
    case 6: return "HKEY_CURRENT_CONFIG";
    case 7: return "HKEY_DYN_DATA";
    default: return "HKEY_CLASSES_ROOT";
  }
}

int WriteRegString(int rootCode, const std::string& key, const std::string& valueName, const std::string& text,
                   DWORD type) {
  return WriteRegValue(rootCode, key, valueName, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
}

int WriteRegNumber(int rootCode, const std::string& key, const std::string& valueName, int32_t number) {
  const DWORD value = static_cast<DWORD>(number);
  return WriteRegValue(rootCode, key, valueName, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
}

bool ReadRegText(HKEY root, const std::string& key, const std::string& valueName, REGSAM access, std::string& text) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, access, &handle) != ERROR_SUCCESS) return false;
  const bool found = QueryStringValue(handle, valueName, text);
  RegCloseKey(handle);
  return found;
}

std::string ReadRegString(int rootCode, const std::string& key, const std::string& valueName,
                          const std::string& defaultValue, bool* keyOpened) {
  HKEY handle;
  const bool opened = RegOpenKeyExA(RegistryRoot(rootCode), key.c_str(), 0, kReadWriteAccess, &handle) == ERROR_SUCCESS;
  if (keyOpened) *keyOpened = opened;
  if (!opened) return defaultValue;
  std::string text;
  const bool found = QueryStringValue(handle, valueName, text);
  RegCloseKey(handle);
  return found ? text : defaultValue;
}

std::string ReadRegLongString(int rootCode, const std::string& key, const std::string& valueName,
                              const std::string& defaultValue, DWORD* type) {
  if (type) *type = REG_SZ;
  HKEY handle;
  if (RegOpenKeyExA(RegistryRoot(rootCode), key.c_str(), 0, kReadWriteAccess, &handle) != ERROR_SUCCESS)
    return defaultValue;
  std::string text;
  DWORD found = REG_SZ;
  const bool ok = QueryStringValue(handle, valueName, text, std::string::npos, &found);
  RegCloseKey(handle);
  if (!ok) return defaultValue;
  if (type) *type = found;
  return text;
}

int32_t ReadRegNumber(int rootCode, const std::string& key, const std::string& valueName, int32_t defaultValue) {
  HKEY handle;
  if (RegOpenKeyExA(RegistryRoot(rootCode), key.c_str(), 0, kReadWriteAccess, &handle) != ERROR_SUCCESS)
    return defaultValue;
  DWORD value = 0;
  DWORD size = sizeof value;
  const LONG status =
      RegQueryValueExA(handle, valueName.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS && size == sizeof value ? static_cast<int32_t>(value) : defaultValue;
}

int DeleteRegEntry(int rootCode, const std::string& key, const std::string& valueName) {
  if (valueName.empty()) {
    DeleteRegTree(RegistryRoot(rootCode), key);
    return 0;
  }
  HKEY handle;
  if (RegOpenKeyExA(RegistryRoot(rootCode), key.c_str(), 0, KEY_ALL_ACCESS, &handle) != ERROR_SUCCESS) return 1;
  RegDeleteValueA(handle, valueName.c_str());
  RegCloseKey(handle);
  return 0;
}

LONG DeleteRegTree(HKEY parent, const std::string& key) {
  if (key.empty()) return ERROR_BADKEY;
  HKEY handle;
  LONG status = RegOpenKeyExA(parent, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | DELETE, &handle);
  if (status != ERROR_SUCCESS) return status;
  char subKey[256];
  for (;;) {
    DWORD length = sizeof subKey;
    status = RegEnumKeyExA(handle, 0, subKey, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status == ERROR_SUCCESS) status = DeleteRegTree(handle, subKey);
    if (status != ERROR_SUCCESS) {
      RegCloseKey(handle);
      return status;
    }
  }
  RegCloseKey(handle);
  return RegDeleteKeyA(parent, key.c_str());
}
