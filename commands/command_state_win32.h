// State that the Win32 command families keep for the whole run, reached through the
// interpreter's context.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <string>

#include "commands/deinstall_win32.h"

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

// One numbered file stream of OPEN(: the file, its name and the mode it was opened in (the
// mode stays remembered when opening failed).
struct FileStream {
  HANDLE handle = INVALID_HANDLE_VALUE;
  std::string name;
  int32_t mode = 0;

  bool IsOpen() const { return handle != INVALID_HANDLE_VALUE; }
  void Close() {
    if (IsOpen()) CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
  }
};

// The ten streams, numbered 1 to 10. Streams a script left open are closed at shut-down, right
// after the script files, so that what the script wrote is complete and its files released
// before a restart or the bootstrap's clean-up.
struct FileStreams {
  static constexpr int32_t kCount = 10;
  std::array<FileStream, kCount> slots;

  FileStreams() = default;
  FileStreams(const FileStreams&) = delete;
  FileStreams& operator=(const FileStreams&) = delete;
  // The stream numbered [number], or nullptr outside 1 to 10.
  FileStream* At(int32_t number) {
    return number >= 1 && number <= kCount ? &slots[static_cast<size_t>(number - 1)] : nullptr;
  }
  void CloseAll() {
    for (FileStream& stream : slots) stream.Close();
  }
  ~FileStreams() { CloseAll(); }
};

// The company and product whose owner key REGISTER( and UNREGISTER( use; set by
// SETSHAREDREGISTRY(, empty until then.
struct SharedOwner {
  std::string company;
  std::string product;
};

class ReplaceList;

struct CommandState {
  FileSearch search;
  FileStreams streams;
  SharedOwner sharedOwner;
  ReplaceList* replaceList = nullptr;
  // The interpreter's DDE client instance, made at start-up; 0 when there is none.
  DWORD ddeInstance = 0;
  // The group folder that MAKEGROUP( made last; MAKEICON( and DELETEICON( work in it.
  std::string currentGroupFolder;
  DeinstallFile deinstall;
};
