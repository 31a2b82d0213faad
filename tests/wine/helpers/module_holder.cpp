// Keeps a file in use until it is ended, so that tests can meet files that other programs hold:
// "qs_module_holder LIBRARY" keeps the library loaded; "qs_module_holder /open FILE" keeps the
// file open for reading, sharing reading only (it can be read, not written, renamed or deleted).
#include <windows.h>

#include <cstring>

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "/open") == 0) {
    if (CreateFileA(argv[2], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr) == INVALID_HANDLE_VALUE)
      return 1;
  } else if (argc < 2 || !LoadLibraryA(argv[1])) {
    return 1;
  }
  for (;;) Sleep(1000);
}
