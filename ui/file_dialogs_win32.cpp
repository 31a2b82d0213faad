// OPENFILE and SAVEAS: the system's open and save dialogs, set up from CAPTION, FILTERS, DEFEXT
// and FILENAME; the chosen file's full path goes to FILENAME.
#include <windows.h>
#include <commdlg.h>

#include <vector>

#include "engine/interpreter.h"
#include "support/late_bound_win32.h"
#include "ui/installer_windows_win32.h"
#include "ui/standard_dialogs_win32.h"

namespace {

// Room for the longest path the dialogs give back, and for a long FILENAME to start with.
constexpr size_t kFileBuffer = 1024;

}  // namespace

void RunFileDialog(Interpreter& ip, bool save, int32_t& closingId) {
  const FileDialogSetup setup =
      FileDialogChoices(save, PageVariable(ip, "CAPTION"), PageVariable(ip, "FILTERS", false),
                        PageVariable(ip, "DEFEXT", false), PageVariable(ip, "FILENAME", false));
  std::vector<char> file(kFileBuffer, '\0');
  setup.initialName.copy(file.data(), kFileBuffer - 1);
  OPENFILENAMEA request{};
  // The size that every Windows since 95 knows.
  request.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
  request.hwndOwner = ip.windows ? ip.windows->MainHandle() : nullptr;
  request.lpstrFilter = setup.filter.c_str();
  request.nFilterIndex = 1;
  request.lpstrFile = file.data();
  request.nMaxFile = static_cast<DWORD>(file.size());
  request.lpstrTitle = setup.title.c_str();
  request.lpstrDefExt = setup.defaultExtension.c_str();
  request.Flags = save ? OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN
                       : OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOREADONLYRETURN;
  const BOOL chosen = save ? late_bound::GetSaveFileNameA(&request) : late_bound::GetOpenFileNameA(&request);
  closingId = chosen ? IDOK : IDCANCEL;
  if (chosen) ip.variables.SetVariable("FILENAME", file.data());
}
