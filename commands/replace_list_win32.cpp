#include "commands/replace_list_win32.h"

#include "support/win32.h"

bool ReplaceList::Create() {
  Discard();
  path_ = FreshTempName();
  file_ = CreateFileA(path_.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                      nullptr);
  return file_ != INVALID_HANDLE_VALUE;
}

void ReplaceList::Discard() {
  if (file_ != INVALID_HANDLE_VALUE) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
  if (!path_.empty()) DeleteFileA(path_.c_str());
  path_.clear();
}

bool ReplaceList::Append(const ReplacePair& pair) {
  if (file_ == INVALID_HANDLE_VALUE) return false;
  SetFilePointer(file_, 0, nullptr, FILE_END);
  return WriteTextLine(file_, pair.staged) && WriteTextLine(file_, pair.target);
}

std::vector<ReplacePair> ReplaceList::Pairs() {
  std::vector<ReplacePair> pairs;
  if (file_ == INVALID_HANDLE_VALUE) return pairs;
  SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
  std::string staged(MAX_PATH * 2, '\0'), target(MAX_PATH * 2, '\0');
  const int size = static_cast<int>(staged.size());
  while (ReadTextLine(file_, staged.data(), size) && ReadTextLine(file_, target.data(), size))
    pairs.push_back({staged.c_str(), target.c_str()});
  return pairs;
}

void ReplaceList::Clear() {
  if (file_ == INVALID_HANDLE_VALUE) return;
  SetFilePointer(file_, 0, nullptr, FILE_BEGIN);
  SetEndOfFile(file_);
}
