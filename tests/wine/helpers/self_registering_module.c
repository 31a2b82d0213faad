/* A module that registers itself: DllRegisterServer records its own path in the registry,
   DllUnregisterServer removes the key again. */
#include <windows.h>

static HMODULE self;
static const char kKey[] = "Software\\QuillsetTest\\SelfRegistration";

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}

HRESULT WINAPI DllRegisterServer(void) {
  char path[MAX_PATH];
  HKEY key;
  DWORD length = GetModuleFileNameA(self, path, sizeof path);
  if (RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, NULL, 0, KEY_SET_VALUE, NULL, &key, NULL) != ERROR_SUCCESS)
    return E_FAIL;
  RegSetValueExA(key, "Module", 0, REG_SZ, (const BYTE*)path, length + 1);
  RegCloseKey(key);
  return S_OK;
}

HRESULT WINAPI DllUnregisterServer(void) {
  return RegDeleteKeyA(HKEY_CURRENT_USER, kKey) == ERROR_SUCCESS ? S_OK : S_FALSE;
}
