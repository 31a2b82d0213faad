#include <filesystem>
#include <system_error>

#include "tools/lz/lz_file_io.h"
#include "tools/lz/lz_format.h"
#include "tools/medium/medium.h"
#include "tools/medium/setup_dat.h"

namespace fs = std::filesystem;

namespace {

// The bytes that [entry] puts on the medium; false with [error] set when they cannot be made.
bool MakeContents(const MediumEntry& entry, std::vector<uint8_t>& contents, std::string& error) {
  std::vector<uint8_t> source;
  if (!lz::ReadWholeFile(entry.source, source) || fs::is_directory(entry.source)) {
    error = "cannot read " + entry.source;
    return false;
  }
  if (entry.kind == "texts") {
    const SetupDatResult dat = BuildSetupDat(std::string_view(reinterpret_cast<const char*>(source.data()), source.size()));
    if (!dat.ok) {
      for (const std::string& e : dat.errors) error += (error.empty() ? "" : "\n") + entry.source + ": " + e;
      return false;
    }
    contents = dat.bytes;
    return true;
  }
  if (entry.compressed && source.size() > 0xFFFFFFFFu) {
    error = entry.source + " is larger than the compressed format's 4 GB";
    return false;
  }
  contents = entry.compressed ? lz::Compress(source, entry.missingChar) : std::move(source);
  return true;
}

}  // namespace

MediumReport BuildMedium(const MediumDescription& description, const std::string& outputFolder) {
  MediumReport report;
  report.errors = description.errors;
  if (!report.ok()) return report;
  std::error_code failure;
  fs::create_directories(outputFolder, failure);
  if (failure) {
    report.errors.push_back("cannot make " + outputFolder + ": " + failure.message());
    return report;
  }
  for (const MediumEntry& entry : description.entries) {
    std::vector<uint8_t> contents;
    std::string error;
    if (!MakeContents(entry, contents, error)) {
      report.errors.push_back("line " + std::to_string(entry.line) + ": " + error);
      continue;
    }
    const fs::path target = fs::path(outputFolder) / fs::path(entry.target);
    fs::create_directories(target.parent_path(), failure);
    if (failure || !lz::WriteWholeFile(target.string(), contents)) {
      report.errors.push_back("line " + std::to_string(entry.line) + ": cannot write " + target.string());
      continue;
    }
    report.written.emplace_back(entry.target, contents.size());
  }
  return report;
}
