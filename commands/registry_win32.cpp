#include "commands/registry_win32.h"

#include "support/win32.h"

int WriteRegString(int rootCode, const std::string& key, const std::string& valueName, const std::string& text) {
  HKEY handle;
  if (RegCreateKeyExA(RegistryRoot(rootCode), key.c_str(), 0, nullptr, 0, KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE,
                      nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return 1;
  RegSetValueExA(handle, valueName.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
  return 0;
}
