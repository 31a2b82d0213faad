/* A module whose registration entry points go wrong: DllRegisterServer reports failure,
   DllUnregisterServer writes through a null pointer. */
#include <windows.h>

HRESULT WINAPI DllRegisterServer(void) { return E_FAIL; }

HRESULT WINAPI DllUnregisterServer(void) {
  volatile int* nowhere = NULL;
  *nowhere = 1;
  return S_OK;
}
