// qs-scramble: turns a script into the scrambled form the interpreter reads (two marker bytes,
// then every line scrambled with its line ends left plain), and back with --unscramble.
//   qs-scramble [--unscramble] INPUT OUTPUT
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "engine/script_files.h"

namespace {

bool ReadAll(const char* path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

bool WriteAll(const char* path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

const std::string kMarker("\x00\x40", 2);

}  // namespace

int main(int argc, char** argv) {
  const bool unscramble = argc == 4 && std::strcmp(argv[1], "--unscramble") == 0;
  if (argc != (unscramble ? 4 : 3)) {
    std::fprintf(stderr, "usage: qs-scramble [--unscramble] INPUT OUTPUT\n");
    return 2;
  }
  const char* input = argv[argc - 2];
  const char* output = argv[argc - 1];
  std::string bytes;
  if (!ReadAll(input, bytes)) {
    std::fprintf(stderr, "qs-scramble: cannot read %s\n", input);
    return 1;
  }
  if (unscramble) {
    if (bytes.compare(0, 2, kMarker) != 0) {
      std::fprintf(stderr, "qs-scramble: %s is not a scrambled script\n", input);
      return 1;
    }
    bytes.erase(0, 2);
    ScrambleLine(bytes);
  } else {
    if (bytes.compare(0, 2, kMarker) == 0) {
      std::fprintf(stderr, "qs-scramble: %s is scrambled already\n", input);
      return 1;
    }
    // A NUL byte would come back as a tab: scripts are text, so refuse rather than change it.
    if (bytes.find('\0') != std::string::npos) {
      std::fprintf(stderr, "qs-scramble: %s holds a NUL byte, which the scrambled form cannot keep\n", input);
      return 1;
    }
    ScrambleLine(bytes);
    bytes.insert(0, kMarker);
  }
  if (!WriteAll(output, bytes)) {
    std::fprintf(stderr, "qs-scramble: cannot write %s\n", output);
    return 1;
  }
  return 0;
}
