#include "tests/native/fake_platform.h"

#include "support/text.h"
#include "ui/text_table.h"

void FakePlatform::AddFile(const std::string& path, const std::string& bytes) { files[UpperAscii(path)] = bytes; }

std::string FakePlatform::Environment(const std::string& name) {
  const auto it = environment.find(name);
  return it == environment.end() ? std::string() : it->second;
}

std::string FakePlatform::ResourceText(int id) {
  const char* text = BuiltInText(id);
  return text ? text : "";
}

std::string FakePlatform::ReadRegistryString(int rootCode, const std::string& key, const std::string& value,
                                             const std::string& defaultValue) {
  const auto it = registry.find(std::to_string(rootCode) + "|" + UpperAscii(key) + "|" + UpperAscii(value));
  return it == registry.end() ? defaultValue : it->second;
}

int FakePlatform::ProfileInt(const std::string& section, const std::string& key, int defaultValue) {
  const auto it = profile.find(UpperAscii(section) + "|" + UpperAscii(key));
  return it == profile.end() ? defaultValue : LeadingNumber(it->second);
}

std::string FakePlatform::ProfileString(const std::string& section, const std::string& key,
                                        const std::string& defaultValue) {
  const auto it = profile.find(UpperAscii(section) + "|" + UpperAscii(key));
  return it == profile.end() ? defaultValue : it->second;
}

std::string FakePlatform::VolumeLabel(const std::string& drive) {
  const auto it = volumeLabels.find(UpperAscii(drive.empty() ? currentDirectory.substr(0, 1) : drive));
  return it == volumeLabels.end() ? std::string() : it->second;
}

std::unique_ptr<ScriptSource> FakePlatform::OpenScriptFile(const std::string& path) {
  const auto it = files.find(UpperAscii(path));
  if (it == files.end()) return nullptr;
  auto source = std::make_unique<ScriptSource>();
  source->bytes.assign(it->second.begin(), it->second.end());
  return source;
}

std::string FakePlatform::UpperText(const std::string& text) { return UpperAscii(text); }
std::string FakePlatform::LowerText(const std::string& text) { return LowerAscii(text); }

int FakePlatform::ShowMessage(const std::string& text, const std::string& title, unsigned style, int) {
  messages.push_back({text, title, style});
  if (answers.empty()) return defaultAnswer;
  const int answer = answers.front();
  answers.pop_front();
  return answer;
}
