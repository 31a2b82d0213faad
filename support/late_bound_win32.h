// System functions that few runs need, bound when first called instead of imported. A program
// that imports the common dialogs, the multimedia library and OLE automation loads them (and
// what they load in turn: the common controls, the print spooler, the audio codecs) at every
// start, whether the script opens a file dialog, plays a sound or registers a type library or
// not; under Wine that made every start of the interpreter about 50 ms longer.
//
// Each function behaves as the system function of the same name; when its library or entry
// point cannot be found it fails as that function fails (FALSE, or an error HRESULT).
#pragma once

#include <windows.h>
#include <commdlg.h>
#include <oleauto.h>

namespace late_bound {

BOOL GetOpenFileNameA(OPENFILENAMEA* request);
BOOL GetSaveFileNameA(OPENFILENAMEA* request);

BOOL sndPlaySoundA(const char* sound, UINT flags);
// Stops a sound that sndPlaySoundA started; does nothing (and loads nothing) when no sound
// was ever played in this process.
void StopSound();

HRESULT LoadTypeLibEx(const wchar_t* file, REGKIND kind, ITypeLib** library);
HRESULT RegisterTypeLib(ITypeLib* library, wchar_t* fullPath, wchar_t* helpDirectory);

}  // namespace late_bound
