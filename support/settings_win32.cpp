#include <cstdio>
#include <cstring>
#include <vector>

#include "support/text.h"
#include "support/registry_win32.h"
#include "support/win32.h"

std::string LoadResourceText(UINT id) {
  char buffer[4100];
  const int length = LoadStringA(GetModuleHandleA(nullptr), id, buffer, sizeof buffer);
  return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string ProgramArguments() {
  const char* line = GetCommandLineA();
  if (*line == '"') {
    ++line;
    while (*line && *line != '"') ++line;
    if (*line == '"') ++line;
  } else {
    while (*line && *line != ' ' && *line != '\t') ++line;
  }
  return line;
}

std::string SettingsKey(const std::string& name) {
  constexpr UINT kRegistryKeyText = 215;
  std::string path = LoadResourceText(kRegistryKeyText);
  if (path.empty()) {
    char module[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, module, sizeof module);
    ShowMessageBox(nullptr,
                   std::string("Error: RegKey could not load IDS_REGISTRYKEY (") + module + "/" +
                       LoadResourceText(57344) + ") !",
                   LoadResourceText(57344), MB_OK);
    path = "Software";
  }
  return path + "\\" + name;
}

std::string ReadSetting(int rootCode, const std::string& subKey, const std::string& valueName,
                        const std::string& defaultValue) {
  std::string text;
  return ReadRegText(RegistryRoot(rootCode), subKey, valueName, KEY_READ, text) ? text : defaultValue;
}

int32_t ReadSettingNumber(int rootCode, const std::string& subKey, const std::string& valueName, int32_t defaultValue) {
  HKEY key;
  if (RegOpenKeyExA(RegistryRoot(rootCode), subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return defaultValue;
  DWORD type = 0;
  char data[64] = "";  // a number's text is short; a longer value is no number
  DWORD size = sizeof data - 1;
  const LONG status = RegQueryValueExA(key, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (status != ERROR_SUCCESS) return defaultValue;
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    DWORD value = 0;
    std::memcpy(&value, data, sizeof value);
    return static_cast<int32_t>(value);
  }
  if (type == REG_SZ || type == REG_EXPAND_SZ) return LeadingNumber(data);
  return defaultValue;
}

std::string WindowsDirectory() {
  char buffer[MAX_PATH] = "";
  GetWindowsDirectoryA(buffer, sizeof buffer);
  return buffer;
}

std::string SystemDirectory() {
  char buffer[MAX_PATH] = "";
  GetSystemDirectoryA(buffer, sizeof buffer);
  return buffer;
}

std::string TempDirectory() {
  return ReadSetting(3, SettingsKey("Install"), "TempPath", WindowsDirectory());
}

std::string MakeTempName(const std::string& directory) {
  const std::string folder = EnsureBackslash(directory);
  for (;;) {
    SYSTEMTIME now;
    GetSystemTime(&now);
    int second = now.wSecond;
    int hundredths = now.wMilliseconds;
    if (hundredths >= 100) {
      ++second;
      hundredths = 0;
    }
    char name[32];
    std::snprintf(name, sizeof name, "%02d%02d%02d%02d.TMP", now.wHour, now.wMinute, second, hundredths);
    const std::string path = folder + name;
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return path;
    Sleep(1);  // the same name comes back until the clock moves on
  }
}

std::string FreshTempName() { return MakeTempName(TempDirectory()); }

std::string ProgramIniFileName() {
  char module[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, module, sizeof module);
  std::string name = FileNamePart(module);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.resize(dot);
  return name + ".INI";
}
