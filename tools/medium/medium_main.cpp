// qs-medium [-D NAME=VALUE]... DESCRIPTION OUTPUT_FOLDER
// Builds a distribution medium folder from a description file (format: tools/medium/medium.h
// and the README) and lists what it wrote. The scripts are checked first; the output folder
// changes only when the whole medium could be built. Exit code 0 on success, 1 when the
// description, a script or a file is wrong, 2 for a wrong command line.
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>

#include "tools/lz/lz_file_io.h"
#include "tools/medium/medium.h"

namespace {

int Usage() {
  std::fprintf(stderr, "usage: qs-medium [-D NAME=VALUE]... DESCRIPTION OUTPUT_FOLDER\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::map<std::string, std::string> variables;
  std::vector<std::string> positional;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "-D" || (arg.size() > 2 && arg.compare(0, 2, "-D") == 0)) {
      std::string definition = arg == "-D" ? (i + 1 < argc ? argv[++i] : "") : arg.substr(2);
      const size_t equals = definition.find('=');
      if (equals == std::string::npos || equals == 0) return Usage();
      variables[definition.substr(0, equals)] = definition.substr(equals + 1);
    } else {
      positional.push_back(arg);
    }
  }
  if (positional.size() != 2) return Usage();
  std::vector<uint8_t> text;
  if (!lz::ReadWholeFile(positional[0], text)) {
    std::fprintf(stderr, "qs-medium: cannot read %s\n", positional[0].c_str());
    return 1;
  }
  const std::string base = std::filesystem::absolute(positional[0]).parent_path().string();
  const MediumDescription description = ParseMediumDescription(
      std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), base, variables);
  const MediumReport report = BuildMedium(description, positional[1]);
  for (const std::string& notice : report.notices) std::fprintf(stderr, "qs-medium: %s\n", notice.c_str());
  for (const std::string& error : report.errors) {
    // The description's own faults name its line; the checker's name the script's.
    if (error.compare(0, 5, "line ") == 0 || error.compare(0, 4, "the ") == 0)
      std::fprintf(stderr, "%s: %s\n", positional[0].c_str(), error.c_str());
    else
      std::fprintf(stderr, "%s\n", error.c_str());
  }
  if (!report.ok()) {
    std::fprintf(stderr, "qs-medium: nothing was built; %s is as it was\n", positional[1].c_str());
    return 1;
  }
  for (const auto& [name, size] : report.written)
    std::printf("%10llu  %s\n", static_cast<unsigned long long>(size), name.c_str());
  return 0;
}
