#include "support/late_bound_win32.h"

namespace {

// The entry point [name] of [library], loaded on the first call; nullptr when either is missing.
// The library stays loaded for the rest of the process, as an imported one would.
template <typename Function>
Function Bind(const char* library, const char* name) {
  HMODULE module = LoadLibraryA(library);
  if (!module) return nullptr;
  // Through the generic function type: a cast between two function types is what GetProcAddress
  // is for, and this one says so.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

using FileDialog = BOOL(WINAPI*)(OPENFILENAMEA*);
using PlaySoundFunction = BOOL(WINAPI*)(LPCSTR, UINT);
using LoadTypeLibFunction = HRESULT(WINAPI*)(LPCOLESTR, REGKIND, ITypeLib**);
using RegisterTypeLibFunction = HRESULT(WINAPI*)(ITypeLib*, LPOLESTR, LPOLESTR);

const char kDialogs[] = "comdlg32.dll";
const char kMultimedia[] = "winmm.dll";
const char kAutomation[] = "oleaut32.dll";

}  // namespace

namespace late_bound {

BOOL GetOpenFileNameA(OPENFILENAMEA* request) {
  static const FileDialog open = Bind<FileDialog>(kDialogs, "GetOpenFileNameA");
  return open ? open(request) : FALSE;
}

BOOL GetSaveFileNameA(OPENFILENAMEA* request) {
  static const FileDialog save = Bind<FileDialog>(kDialogs, "GetSaveFileNameA");
  return save ? save(request) : FALSE;
}

BOOL sndPlaySoundA(const char* sound, UINT flags) {
  static const PlaySoundFunction play = Bind<PlaySoundFunction>(kMultimedia, "sndPlaySoundA");
  return play ? play(sound, flags) : FALSE;
}

void StopSound() {
  // A process that never loaded the library has never played a sound through it.
  if (GetModuleHandleA(kMultimedia)) sndPlaySoundA(nullptr, 0);
}

HRESULT LoadTypeLibEx(const wchar_t* file, REGKIND kind, ITypeLib** library) {
  static const LoadTypeLibFunction load = Bind<LoadTypeLibFunction>(kAutomation, "LoadTypeLibEx");
  return load ? load(file, kind, library) : E_FAIL;
}

HRESULT RegisterTypeLib(ITypeLib* library, wchar_t* fullPath, wchar_t* helpDirectory) {
  static const RegisterTypeLibFunction registerLibrary =
      Bind<RegisterTypeLibFunction>(kAutomation, "RegisterTypeLib");
  return registerLibrary ? registerLibrary(library, fullPath, helpDirectory) : E_FAIL;
}

}  // namespace late_bound
