// The variables the interpreter sets before the first line runs.
#include "engine/lexer.h"
#include "engine/main_loop.h"
#include "support/text.h"

namespace {

constexpr int kLocalMachine = 3;
const char* const kCurrentVersionKey = "Software\\Microsoft\\Windows\\CurrentVersion";

// The text up to and including its last backslash (the text itself when it has none).
std::string CutAfterLastBackslash(const std::string& text) {
  const size_t slash = text.rfind('\\');
  return slash == std::string::npos ? text : text.substr(0, slash + 1);
}

void SetUserFolders(Interpreter& ip) {
  const std::string desktop = ip.platform.DesktopFolder();
  ip.log.LogText("Profile Dir: " + desktop + "\r\n");
  VariableStore& v = ip.variables;
  if (IsWin95(ip.version)) {
    const std::string folder = CutAfterLastBackslash(desktop);
    v.SetVariable("ALLUSERS", folder);
    v.SetVariable("CURRENTUSER", folder);
    return;
  }
  const std::string user = CutAfterLastBackslash(desktop);
  v.SetVariable("CURRENTUSER", user);
  const std::string parent = user.size() > 1 ? CutAfterLastBackslash(user.substr(0, user.size() - 1)) : user;
  v.SetVariable("ALLUSERS", parent + "All Users\\");
}

}  // namespace

std::string DaoDirectory(Interpreter& ip) {
  std::string path = ip.platform.ReadRegistryString(kLocalMachine, "SOFTWARE\\Microsoft\\Shared Tools\\DAO", "Path", "");
  if (!path.empty()) {
    const size_t slash = path.rfind('\\');
    if (slash != std::string::npos) path.resize(slash > 2 ? slash : slash + 1);
    return path;
  }
  const int version = WindowsVersion(ip.version);
  if (version == 395 || version >= 400) {
    const std::string common =
        ip.platform.ReadRegistryString(kLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "CommonFilesDir", "");
    if (!common.empty()) return EnsureBackslash(common) + "Microsoft Shared\\DAO";
  }
  return EnsureBackslash(UpperAscii(ip.platform.WindowsDirectory())) + "MSAPPS\\DAO";
}

void InitVariables(Interpreter& ip) {
  Platform& p = ip.platform;
  VariableStore& v = ip.variables;
  v.Clear();
  v.SetVariable("ERROR", "0");
  v.SetVariable("CAPTION", "Setup");
  v.SetVariable("WINDOWSDIRECTORY", EnsureBackslash(p.WindowsDirectory()));
  const std::string current = EnsureBackslash(p.CurrentDirectory());
  v.SetVariable("CURRENTDIRECTORY", current);
  v.SetVariable("CURRENTDRIVE", current.substr(0, 2));

  // On the NT family both SYSTEM and SYSTEM32 exist: SYSTEMDIRECTORY names the 16-bit one.
  const std::string system = EnsureBackslash(UpperAscii(p.SystemDirectory()));
  std::string system16 = system;
  ReplaceAll(system16, "\\SYSTEM32\\", "\\SYSTEM\\", true);
  if (!p.FileExists(system16 + "*.*")) system16 = system;
  v.SetVariable("SYSTEMDIRECTORY", system16);
  v.SetVariable("SYSTEM32DIRECTORY", system);

  const bool registryFolders = WindowsVersion(ip.version) >= 395;
  const std::string systemDrive = system.substr(0, 2);
  v.SetVariable("COMMONFILES", registryFolders
                                   ? EnsureBackslash(p.ReadRegistryString(kLocalMachine, kCurrentVersionKey, "CommonFilesDir", ""))
                                   : systemDrive + "\\Common Files\\");
  std::string programFiles;
  if (registryFolders)
    programFiles = EnsureBackslash(p.ReadRegistryString(kLocalMachine, kCurrentVersionKey, "ProgramFilesDir", ""));
  else
    programFiles = systemDrive + (p.ProfileInt("Intl", "iCountry", 61) == 49 ? "\\Programme\\" : "\\Program Files\\");
  v.SetVariable("PROGRAMFILES", programFiles);
  v.SetVariable("PROGRAMFILE", p.ProgramPath());
  v.SetVariable("DAOPATH", EnsureBackslash(DaoDirectory(ip)));
  SetUserFolders(ip);
}
