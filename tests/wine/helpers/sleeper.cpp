// A program for WINEXEC( to start: "sleeper MILLISECONDS EXITCODE [FILE]" waits, writes FILE
// (the time it ended, in ticks) and ends with EXITCODE.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 3) return 1;
  Sleep(static_cast<DWORD>(std::atoi(argv[1])));
  if (argc > 3) {
    if (FILE* f = std::fopen(argv[3], "w")) {
      std::fprintf(f, "%lu", static_cast<unsigned long>(GetTickCount()));
      std::fclose(f);
    }
  }
  return std::atoi(argv[2]);
}
