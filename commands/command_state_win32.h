// State that the Win32 command families keep for the whole run, reached through the
// interpreter's context.
#pragma once

#include <windows.h>

#include <string>

// The one directory search of FINDFIRST( and FINDNEXT(, shared by every script of the run.
struct FileSearch {
  std::string directory;  // the pattern's directory part, with a backslash
  HANDLE handle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAA entry{};

  void Close() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
    handle = INVALID_HANDLE_VALUE;
  }
  ~FileSearch() { Close(); }
};

class ReplaceList;

struct CommandState {
  FileSearch search;
  ReplaceList* replaceList = nullptr;
};
