// qs-expand INPUT OUTPUT: expands a file in the LZ-compressed format; a file that is not
// compressed is refused (the Windows functions would copy it unchanged).
#include <cstdio>

#include "tools/lz/lz_file_io.h"
#include "tools/lz/lz_format.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qs-expand INPUT OUTPUT\n");
    return 2;
  }
  std::vector<uint8_t> bytes;
  if (!lz::ReadWholeFile(argv[1], bytes)) {
    std::fprintf(stderr, "qs-expand: cannot read %s\n", argv[1]);
    return 1;
  }
  const lz::ExpandResult result = lz::Expand(bytes);
  if (!result.ok) {
    std::fprintf(stderr, "qs-expand: %s: %s\n", argv[1], result.error.c_str());
    return 1;
  }
  if (!lz::WriteWholeFile(argv[2], result.data)) {
    std::fprintf(stderr, "qs-expand: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
