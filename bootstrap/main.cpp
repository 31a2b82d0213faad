// The bootstrap's main flow. Everything runs before a message loop would start; the program
// ends when the interpreter has ended: with the interpreter's exit code (its verdict) or the
// result that kept the interpreter from running when a switch of unattended runs was given,
// else with 0.
#include <vector>

#include "bootstrap/bootstrap.h"
#include "bootstrap/core/launch.h"
#include "support/text.h"

namespace {

constexpr size_t kSetupDatReadLimit = 1 << 20;  // far more than eight pairs of lines need

std::string ReadSmallFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::string();
  std::string bytes(kSetupDatReadLimit, '\0');
  DWORD got = 0;
  if (!ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr)) got = 0;
  CloseHandle(file);
  bytes.resize(got);
  return bytes;
}

SetupTexts LoadSetupTexts(Bootstrap& run) {
  char language[64] = "";
  GetProfileStringA("intl", "sLanguage", "ENA", language, sizeof language);
  const int index = BootstrapLanguageIndex(language);
  run.log.LogText("Setup: language '" + std::string(language) + "', index " + DecimalText(index) + "\r\n");
  return ReadSetupTexts(ReadSmallFile("SETUP.DAT"), index);
}

// An empty file can be made (and removed again) in [folder].
bool CanWriteIn(const std::string& folder) {
  const std::string probe = folder + "SETUP.TST";
  HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  DeleteFileA(probe.c_str());
  return true;
}

std::string CurrentDirectory() {
  char buffer[MAX_PATH] = "";
  GetCurrentDirectoryA(sizeof buffer, buffer);
  return buffer;
}

std::string FullPath(const std::string& path) {
  char buffer[MAX_PATH] = "";
  const DWORD length = GetFullPathNameA(path.c_str(), sizeof buffer, buffer, nullptr);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : path;
}

// Steps that install the programs and the script, then start the interpreter. Stops at the first
// failure; [failing] names the source of the failing step for its message.
int InstallAndRun(Bootstrap& run, std::string& failing, std::string& commandLine) {
  if (FileExists("MORPAX.EX_")) {
    failing = "MORPAX.EX_";
    if (const int result = UpdateFile(run, failing, run.programFolder + "MORPAX.EXE")) return result;
  }
  failing = "TALVEN.EX_";
  const std::string interpreter = run.programFolder + "TALVEN.EXE";
  if (!FileExists(failing) && !FileExists(interpreter)) return BOOT_INTERPRETER_MISSING;
  if (const int result = UpdateFile(run, failing, interpreter)) return result;

  failing = "SETUP.QLS";
  if (const int result = ExpandFile(run, failing, run.temporaryFolder + failing)) return result;
  if (FileExists("VARNOLD.PIF")) {
    failing = "VARNOLD.PIF";
    if (const int result = ExpandFile(run, failing, run.temporaryFolder + failing)) return result;
  }

  const std::string source = CurrentDirectory();
  SetCurrentDirectoryA(run.temporaryFolder.c_str());
  commandLine = InterpreterCommandLine(run.programFolder, run.temporaryFolder, source, run.arguments);
  return RunInterpreter(run, commandLine);
}

void RunBootstrap(Bootstrap& run) {
  run.logBackend.AttachSettings(ProgramIniFileName(), LoadResourceText(kTitleText));
  run.arguments = ArgumentsOf(GetCommandLineA());
  std::vector<std::string> words = SplitCommandLine(run.arguments);
  run.switches = TakeRunSwitches(words, 0);
  run.silent = run.switches.Any() ? run.switches.silent : IsSilent(run.arguments);
  run.unattended = run.switches.Unattended();
  run.logBackend.SetQuiet(run.unattended);
  // The switches' files are named from where SETUP.EXE was started; the interpreter starts in
  // another folder.
  if (run.switches.Any()) run.arguments = WithAbsoluteSwitchPaths(run.arguments, CurrentDirectory());
  if (run.switches.log) {
    // Each run's log is its own: one that fails before the interpreter starts leaves only its
    // own lines (the interpreter begins the file anew too).
    run.switches.logFile = FullPath(run.switches.logFile);
    MakeEmptyFile(run.switches.logFile);
  }

  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, sizeof module);
  run.sourceFolder = SourceFolderOf(module);
  SetCurrentDirectoryA(CurrentDirectoryForm(run.sourceFolder).c_str());

  const std::string windows = WindowsDirectory();
  run.temporaryFolder = WorkFolder(windows, "TEMP");
  run.programFolder = WorkFolder(windows, "KVLSOFT");
  CreateDirectoryA(run.temporaryFolder.c_str(), nullptr);  // failures show in the write test
  CreateDirectoryA(run.programFolder.c_str(), nullptr);
  run.log.LogText("Setup: source '" + run.sourceFolder + "', temporary '" + run.temporaryFolder +
                  "', program '" + run.programFolder + "', arguments '" + run.arguments + "'\r\n");

  run.texts = LoadSetupTexts(run);
  CreateWorkingWindow(run);

  const std::string unwritable = !CanWriteIn(run.temporaryFolder) ? run.temporaryFolder
                                 : !CanWriteIn(run.programFolder) ? run.programFolder
                                                                  : std::string();
  if (!unwritable.empty()) {
    // Shown in silent mode too: without these folders nothing can be installed.
    run.log.LogText("Setup: cannot write in '" + unwritable + "'\r\n");
    ReportMessage(run, FolderMessage(run.texts.folderMessage, unwritable), MB_OK, true);
    run.exitCode = BOOT_FOLDER_UNWRITABLE;
    CloseWorkingWindow(run);
    return;
  }

  std::string failing, commandLine;
  if (const int result = InstallAndRun(run, failing, commandLine)) ReportResult(run, result, failing, commandLine);
  DeleteFileA((run.temporaryFolder + "SETUP.QLS").c_str());
  DeleteFileA((run.temporaryFolder + "VARNOLD.PIF").c_str());
  CloseWorkingWindow(run);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  static Bootstrap run;  // static: the window procedure holds its address for the whole run
  RunBootstrap(run);
  // Without the switches of unattended runs the program ends with 0 as it always did.
  return run.switches.Any() ? run.exitCode : 0;
}
