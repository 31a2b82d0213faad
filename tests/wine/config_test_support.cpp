#include "tests/wine/config_test_support.h"

#include <aclapi.h>

#include "support/win32.h"
#include "tests/support/win_driver.h"

std::string FreshFolder(const std::string& name) {
  const std::string folder = ScratchFolder(name);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      SetFileAttributesA((folder + found.cFileName).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((folder + found.cFileName).c_str());
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return folder;
}

std::string RegValueText(HKEY root, const std::string& key, const std::string& name, DWORD* type) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return "<none>";
  char buffer[4096];
  DWORD size = sizeof buffer;
  const LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, type, reinterpret_cast<BYTE*>(buffer), &size);
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return "<none>";
  return std::string(buffer, size > 0 && buffer[size - 1] == '\0' ? size - 1 : size);
}

long RegValueNumber(HKEY root, const std::string& key, const std::string& name) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return -1;
  DWORD value = 0, size = sizeof value, type = 0;
  const LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
  RegCloseKey(handle);
  return status == ERROR_SUCCESS && type == REG_DWORD ? static_cast<long>(value) : -1;
}

bool RegKeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void SetRegText(HKEY root, const std::string& key, const std::string& name, const std::string& text, DWORD type) {
  HKEY handle;
  if (RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExA(handle, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(handle);
}

// Enumerating and deleting is all it asks, so keys that their users may only read go too.
void RemoveRegTree(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &handle) != ERROR_SUCCESS) return;
  char name[256];
  DWORD length = sizeof name;
  for (DWORD index = 0; RegEnumKeyExA(handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
       length = sizeof name) {
    RemoveRegTree(handle, name);
    if (RegKeyExists(handle, name)) ++index;  // could not go: pass over it
  }
  RegCloseKey(handle);
  RegDeleteKeyA(root, key.c_str());
}

std::string RegeditExport(const std::string& key) {
  const std::string file = ScratchFolder("regexport") + "export.reg";
  DeleteFileA(file.c_str());
  windriver::ChildProgram regedit;
  if (!regedit.Start("regedit.exe /E " + file + " \"" + key + "\"") || !regedit.WaitForExit(30000)) return "<failed>";
  const std::string bytes = ReadFileBytes(file);
  std::wstring wide(bytes.size() / 2, L'\0');
  for (size_t i = 0; i < wide.size(); ++i)
    wide[i] = static_cast<wchar_t>(static_cast<unsigned char>(bytes[2 * i]) | static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
  return Narrow(wide);
}

bool FillSmallVolume(DWORD spare) {
  ULARGE_INTEGER available{}, total{}, freeBytes{};
  if (!GetDiskFreeSpaceExA("S:\\", &available, &total, &freeBytes) || total.QuadPart > 4u << 20) return false;
  DeleteMatching("S:\\*");
  DWORD sectors = 0, bytes = 0, clusters = 0, all = 0;
  GetDiskFreeSpaceA("S:\\", &sectors, &bytes, &clusters, &all);
  const DWORD cluster = sectors * bytes;
  const DWORD keep = (spare + cluster - 1) / cluster;
  if (clusters <= keep) return false;
  WriteFileBytes("S:\\FILLER.BIN", std::string(size_t{clusters - keep} * cluster, 'f'));
  return true;
}

void MakeReadOnlyKey(const std::string& key) {
  RemoveRegTree(HKEY_CURRENT_USER, key);
  SetRegText(HKEY_CURRENT_USER, key, "Name", "stored");
  HKEY handle;
  RegOpenKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, KEY_ALL_ACCESS, &handle);
  const DWORD seven = 7;
  RegSetValueExA(handle, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&seven), sizeof seven);
  SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
  PSID everyone = nullptr;
  AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
  alignas(DWORD) char aclBytes[256];
  PACL acl = reinterpret_cast<PACL>(aclBytes);
  InitializeAcl(acl, sizeof aclBytes, ACL_REVISION);
  AddAccessAllowedAce(acl, ACL_REVISION, KEY_READ | DELETE, everyone);
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
  RegSetKeySecurity(handle, DACL_SECURITY_INFORMATION, &descriptor);
  RegCloseKey(handle);
  FreeSid(everyone);
}
