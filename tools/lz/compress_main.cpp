// qs-compress INPUT [OUTPUT]: writes INPUT in the LZ-compressed format that the Windows LZ
// expansion functions read. Without OUTPUT the result goes beside INPUT under the conventional
// compressed name (TALVEN.EXE -> TALVEN.EX_). The header keeps the replaced last letter.
#include <cstdio>

#include "tools/lz/lz_file_io.h"
#include "tools/lz/lz_format.h"

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: qs-compress INPUT [OUTPUT]\n");
    return 2;
  }
  const std::string input = argv[1];
  const lz::CompressedName name = lz::CompressedNameOf(input);
  std::string output;
  if (argc == 3) {
    output = argv[2];
  } else {
    const size_t slash = input.find_last_of("/\\");
    output = (slash == std::string::npos ? std::string() : input.substr(0, slash + 1)) + name.name;
  }
  std::vector<uint8_t> data;
  if (!lz::ReadWholeFile(input, data)) {
    std::fprintf(stderr, "qs-compress: cannot read %s\n", input.c_str());
    return 1;
  }
  if (data.size() > 0xFFFFFFFFu) {
    std::fprintf(stderr, "qs-compress: %s is larger than the format's 4 GB limit\n", input.c_str());
    return 1;
  }
  if (!lz::WriteWholeFile(output, lz::Compress(data, name.missingChar))) {
    std::fprintf(stderr, "qs-compress: cannot write %s\n", output.c_str());
    return 1;
  }
  return 0;
}
