#include <filesystem>
#include <fstream>

#include "support/text.h"
#include "tools/check/script_check.h"

namespace fs = std::filesystem;

namespace {

std::string IndexKey(std::string name) {
  ReplaceAll(name, "/", "\\", true);
  while (StartsWith(name, ".\\")) name.erase(0, 2);
  return UpperAscii(name);
}

// '*' any run of characters, '?' any one; without regard to case (both sides upper-cased).
bool WildcardMatch(const char* pattern, const char* name) {
  if (*pattern == '\0') return *name == '\0';
  if (*pattern == '*') return WildcardMatch(pattern + 1, name) || (*name != '\0' && WildcardMatch(pattern, name + 1));
  if (*name == '\0') return false;
  return (*pattern == '?' || *pattern == *name) && WildcardMatch(pattern + 1, name + 1);
}

}  // namespace

void MediumIndex::Add(const std::string& name, const std::string& hostPath, uint64_t size, uint64_t expandedSize) {
  std::string shown = name;
  ReplaceAll(shown, "/", "\\", true);
  files_[IndexKey(name)] = MediumFile{shown, hostPath, size, expandedSize};
}

const MediumFile* MediumIndex::Find(const std::string& name) const {
  const auto found = files_.find(IndexKey(name));
  return found == files_.end() ? nullptr : &found->second;
}

std::vector<const MediumFile*> MediumIndex::Match(const std::string& pattern) const {
  const std::string key = IndexKey(pattern);
  const size_t slash = key.rfind('\\');
  const std::string folder = slash == std::string::npos ? "" : key.substr(0, slash + 1);
  const std::string part = slash == std::string::npos ? key : key.substr(slash + 1);
  std::vector<const MediumFile*> found;
  for (const auto& [name, file] : files_) {
    if (name.compare(0, folder.size(), folder) != 0) continue;
    const std::string rest = name.substr(folder.size());
    if (rest.find('\\') == std::string::npos && !StartsWith(rest, ".") && WildcardMatch(part.c_str(), rest.c_str()))
      found.push_back(&file);
  }
  return found;
}

uint64_t ExpandedLength(const std::string& firstBytes, uint64_t size) {
  // The compressed format's header: "SZDD", four fixed bytes, mode 'A', the name's last
  // character, then the expanded length, four bytes, low byte first.
  if (firstBytes.size() < 14 || firstBytes.compare(0, 8, "SZDD\x88\xF0\x27\x33") != 0 || firstBytes[8] != 'A')
    return size;
  uint64_t length = 0;
  for (int i = 13; i >= 10; --i) length = length << 8 | static_cast<unsigned char>(firstBytes[static_cast<size_t>(i)]);
  return length;
}

MediumIndex MediumIndexOfFolder(const std::string& folder) {
  MediumIndex index;
  std::error_code failure;
  for (fs::recursive_directory_iterator it(folder, failure), end; !failure && it != end; it.increment(failure)) {
    if (!it->is_regular_file()) continue;
    const uint64_t size = it->file_size();
    std::string head(14, '\0');
    std::ifstream in(it->path(), std::ios::binary);
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    index.Add(fs::relative(it->path(), folder).generic_string(), it->path().string(), size, ExpandedLength(head, size));
  }
  return index;
}
