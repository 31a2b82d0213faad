#include "commands/replace_list_win32.h"

#include "support/win32.h"

bool ReplaceList::Create() {
  path_ = FreshTempName();
  HANDLE file = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                            nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

void ReplaceList::Discard() {
  if (!path_.empty()) DeleteFileA(path_.c_str());
  path_.clear();
}
