#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "support/text.h"
#include "tools/check/script_check.h"
#include "tools/lz/lz_file_io.h"
#include "tools/lz/lz_format.h"
#include "tools/medium/medium.h"
#include "tools/medium/setup_dat.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

std::string AsText(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }
std::vector<uint8_t> AsBytes(const std::string& text) { return std::vector<uint8_t>(text.begin(), text.end()); }

bool ReadSource(const std::string& path, std::vector<uint8_t>& bytes) {
  return !fs::is_directory(path) && lz::ReadWholeFile(path, bytes);
}

// Every line end that is a CR or an LF alone becomes CR LF; [converted] counts them.
std::string WithCrLf(const std::string& text, int& converted) {
  std::string out;
  converted = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      out += "\r\n";
      ++i;
    } else if (text[i] == '\r' || text[i] == '\n') {
      out += "\r\n";
      ++converted;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool MakeContents(const MediumEntry& entry, const MediumDescription& description, const fs::path& signingFolder,
                  std::vector<uint8_t>& contents, std::string& error);

// The medium's files as the checker sees them: the names, their lengths and what the copy
// engine expands them to, from the sources before anything is built.
MediumIndex IndexOfDescription(const MediumDescription& description) {
  MediumIndex index;
  for (const MediumEntry& entry : description.entries) {
    std::error_code failure;
    const uint64_t size = fs::file_size(entry.source, failure);
    if (failure) continue;
    std::string head(14, '\0');
    std::ifstream in(entry.source, std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    index.Add(entry.target, entry.source, size, entry.compressed ? size : ExpandedLength(head, size));
  }
  return index;
}

// Before anything is built: every source is there, the texts are sound, the scripts get CR LF
// line ends and are checked. [prepared] receives the bytes of the scripts and the texts.
void Prepare(const MediumDescription& description, std::map<size_t, std::vector<uint8_t>>& prepared, MediumReport& report) {
  std::vector<ScriptToCheck> toCheck;
  std::map<std::string, std::string> sourceOf;  // name on the medium -> the source as described
  for (size_t i = 0; i < description.entries.size(); ++i) {
    const MediumEntry& entry = description.entries[i];
    std::error_code failure;
    if (!fs::is_regular_file(entry.source, failure)) {
      report.errors.push_back("line " + std::to_string(entry.line) + ": cannot read " + entry.source);
      continue;
    }
    std::vector<uint8_t> bytes;
    if (entry.kind == "texts") {
      std::string error;
      if (MakeContents(entry, description, fs::path(), bytes, error)) prepared[i] = bytes;
      else report.errors.push_back("line " + std::to_string(entry.line) + ": " + error);
      continue;
    }
    if (!IsScriptEntry(entry)) continue;
    if (!ReadSource(entry.source, bytes)) {
      report.errors.push_back("line " + std::to_string(entry.line) + ": cannot read " + entry.source);
      continue;
    }
    int converted = 0;
    const std::string script = WithCrLf(AsText(bytes), converted);
    prepared[i] = AsBytes(script);
    if (converted > 0)
      report.notices.push_back(entry.source + ": " + std::to_string(converted) +
                               " line ends were a CR or an LF alone; the medium gets them as CR LF");
    std::string name = entry.target;
    ReplaceAll(name, "/", "\\", true);
    toCheck.push_back({name, script});
    sourceOf[name] = entry.source;
  }
  if (toCheck.empty() || !report.ok()) return;
  const MediumIndex index = IndexOfDescription(description);
  const CheckResult result = CheckScripts(toCheck, &index);
  for (CheckFinding finding : result.findings) {
    if (sourceOf.count(finding.file)) finding.file = sourceOf[finding.file];
    (finding.severity == Severity::Error ? report.errors : report.notices).push_back(FormatFinding(finding));
  }
  if (result.copies > 0) report.notices.push_back(FormatCopySpace(result));
}

bool IsSignedKind(const MediumEntry& entry) {
  return entry.kind == "setup" || entry.kind == "interpreter" || entry.kind == "deinstaller";
}

// The bytes that [entry] puts on the medium; false with [error] set when they cannot be made.
bool MakeContents(const MediumEntry& entry, const MediumDescription& description, const fs::path& signingFolder,
                  std::vector<uint8_t>& contents, std::string& error) {
  std::vector<uint8_t> source;
  if (!ReadSource(entry.source, source)) {
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
  // Programs are signed as they are, before they are compressed.
  if (!description.signing.empty() && (IsSignedKind(entry) || IsProgramImage(source))) {
    if (!IsProgramImage(source)) {
      error = entry.source + " is no Windows program, so it cannot be signed";
      return false;
    }
    const std::string in = (signingFolder / (std::to_string(entry.line) + ".in")).string();
    const std::string out = (signingFolder / (std::to_string(entry.line) + ".signed")).string();
    if (!lz::WriteWholeFile(in, source) || !SignProgram(description.signing[0], in, out, error) ||
        !lz::ReadWholeFile(out, source)) {
      if (error.empty()) error = "cannot sign " + entry.source;
      return false;
    }
  }
  if (entry.compressed && source.size() > 0xFFFFFFFFu) {
    error = entry.source + " is larger than the compressed format's 4 GB";
    return false;
  }
  contents = entry.compressed ? lz::Compress(source, entry.missingChar) : std::move(source);
  return true;
}

// A folder qs-medium may replace: empty, or a medium built before (SETUP.EXE and TALVEN.EX_).
bool MayReplace(const fs::path& folder) {
  bool setup = false, interpreter = false, empty = true;
  std::error_code failure;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder, failure)) {
    empty = false;
    const std::string name = UpperAscii(entry.path().filename().string());
    setup = setup || name == "SETUP.EXE";
    interpreter = interpreter || name == "TALVEN.EX_";
  }
  return !failure && (empty || (setup && interpreter));
}

// Moves the complete medium [staging] to [output], replacing what stood there.
bool MoveIntoPlace(const fs::path& staging, const fs::path& output, std::string& error) {
  std::error_code failure;
  if (!fs::exists(output)) {
    fs::rename(staging, output, failure);
  } else if (!fs::is_directory(output) || !MayReplace(output)) {
    error = output.string() + " holds other files than a medium; qs-medium replaces only an empty folder or a medium";
    return false;
  } else {
    const fs::path old = output.string() + ".old-" + std::to_string(::getpid());
    fs::rename(output, old, failure);
    if (!failure) {
      fs::rename(staging, output, failure);
      std::error_code ignored;
      if (failure) fs::rename(old, output, ignored);
      else fs::remove_all(old, ignored);
    }
  }
  if (failure) error = "cannot move the medium to " + output.string() + ": " + failure.message();
  return !failure;
}

}  // namespace

bool IsProgramImage(const std::vector<uint8_t>& bytes) {
  if (bytes.size() < 0x40 || bytes[0] != 'M' || bytes[1] != 'Z') return false;
  const size_t pe = bytes[0x3C] | bytes[0x3D] << 8 | bytes[0x3E] << 16 | static_cast<size_t>(bytes[0x3F]) << 24;
  return pe + 4 <= bytes.size() && bytes[pe] == 'P' && bytes[pe + 1] == 'E' && bytes[pe + 2] == 0 && bytes[pe + 3] == 0;
}

bool SignProgram(const SigningEntry& signing, const std::string& in, const std::string& out, std::string& error) {
  std::vector<std::string> args = {"osslsigncode", "sign", "-certs", signing.certificate, "-key", signing.key};
  if (!signing.passwordFile.empty()) args.insert(args.end(), {"-readpass", signing.passwordFile});
  args.insert(args.end(), {"-h", "sha256", "-in", in, "-out", out});
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  const std::string log = out + ".log";
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_adddup2(&actions, 1, 2);
  pid_t pid = 0;
  const int started = posix_spawnp(&pid, "osslsigncode", &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (started != 0) {
    error = "osslsigncode cannot be started (it comes with the Debian package osslsigncode)";
    return false;
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
  std::ifstream said(log);
  std::ostringstream text;
  text << said.rdbuf();
  error = "osslsigncode could not sign " + in + ": " + Trim(text.str(), 'R', "\n");
  return false;
}

MediumReport BuildMedium(const MediumDescription& description, const std::string& outputFolder) {
  MediumReport report;
  report.errors = description.errors;
  if (!report.ok()) return report;
  std::map<size_t, std::vector<uint8_t>> prepared;
  Prepare(description, prepared, report);
  if (!report.ok()) return report;

  fs::path output = fs::absolute(outputFolder).lexically_normal();
  if (output.filename().empty()) output = output.parent_path();
  const std::string tag = "." + output.filename().string() + "-" + std::to_string(::getpid());
  const fs::path staging = output.parent_path() / (tag + ".partial");
  const fs::path signingFolder = output.parent_path() / (tag + ".signing");
  std::error_code failure;
  fs::remove_all(staging, failure);
  fs::create_directories(staging, failure);
  if (!failure && !description.signing.empty()) fs::create_directories(signingFolder, failure);
  if (failure) {
    report.errors.push_back("cannot make " + staging.string() + ": " + failure.message());
    return report;
  }
  for (size_t i = 0; i < description.entries.size(); ++i) {
    const MediumEntry& entry = description.entries[i];
    std::vector<uint8_t> contents;
    std::string error;
    if (prepared.count(i)) contents = prepared[i];
    else if (!MakeContents(entry, description, signingFolder, contents, error)) {
      report.errors.push_back("line " + std::to_string(entry.line) + ": " + error);
      continue;
    }
    const fs::path target = staging / fs::path(entry.target);
    fs::create_directories(target.parent_path(), failure);
    if (failure || !lz::WriteWholeFile(target.string(), contents)) {
      report.errors.push_back("line " + std::to_string(entry.line) + ": cannot write " + target.string());
      continue;
    }
    report.written.emplace_back(entry.target, contents.size());
  }
  std::string error;
  if (report.ok() && !MoveIntoPlace(staging, output, error)) report.errors.push_back(error);
  std::error_code ignored;
  fs::remove_all(staging, ignored);
  fs::remove_all(signingFolder, ignored);
  if (!report.ok()) report.written.clear();
  return report;
}
