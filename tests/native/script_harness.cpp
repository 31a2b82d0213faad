#include "tests/native/script_harness.h"

#include <algorithm>
#include <fstream>

#include "support/text.h"

ScriptRun::ScriptRun() { logBackend.enabled = true; }

int ScriptRun::Run(const std::string& script) {
  platform.AddFile(platform.currentDirectory + "\\TEST.QLS", script);
  return RunFile();
}

int ScriptRun::RunFile(const std::string& name) {
  ip.version = platform.Version();
  StartupOptions options;
  options.scriptName = name;
  if (int r = OpenMainScript(ip, options)) return r;
  BeginRun(ip, options);
  RunMainLoop(ip);
  ip.files.CloseAll();
  return 0;
}

std::string Lines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\r\n";
  return text;
}

ScriptFixture ReadScriptFixture(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::string line, fileName, fileText;
  ScriptFixture fixture;
  bool inFile = false;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (StartsWith(line, "//> file ")) {
      inFile = true;
      fileName = line.substr(9);
      fileText.clear();
      continue;
    }
    if (inFile && line == "//> end") {
      fixture.files[fileName] = fileText;
      inFile = false;
      continue;
    }
    if (inFile) {
      fileText += line + "\r\n";
      continue;
    }
    if (StartsWith(line, "//> ")) fixture.directives.push_back(line.substr(4));
    fixture.mainScript += line + "\r\n";
  }
  return fixture;
}

std::vector<std::filesystem::path> ScriptFixtures(const std::string& folder) {
  std::vector<std::filesystem::path> paths;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    if (entry.path().extension() == ".qls") paths.push_back(entry.path());
  std::sort(paths.begin(), paths.end());
  return paths;
}
