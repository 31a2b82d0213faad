// Loads the library named on its command line and keeps it loaded until it is ended, so that
// tests can ask whether that file is in use.
#include <windows.h>

int main(int argc, char** argv) {
  if (argc < 2 || !LoadLibraryA(argv[1])) return 1;
  for (;;) Sleep(1000);
}
