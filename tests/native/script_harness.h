// Runs a script through the portable engine on a FakePlatform, as the interpreter would after
// its start-up: the main script is C:\SETUP\TEST.QLS.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "engine/executor.h"
#include "engine/main_loop.h"
#include "tests/native/fake_platform.h"

class ScriptRun {
 public:
  ScriptRun();
  // Adds the main script (lines joined with CR LF) and runs it; returns OpenMainScript's code.
  int Run(const std::string& script);
  // Runs the main script that is already in the platform's files.
  int RunFile(const std::string& name = "TEST.QLS");

  std::string Var(const std::string& name) const { return ip.variables.GetVariable(name); }
  const std::string& Log() const { return logBackend.text; }

  FakePlatform platform;
  MemoryLogBackend logBackend;
  DebugLog log{logBackend};
  CommandTable table = PortableCommandTable();
  Interpreter ip{platform, log, table};
};

// Joins lines with CR LF, each line ended.
std::string Lines(std::initializer_list<const char*> lines);

// A script fixture of tests/scripts: the main script (lines joined with CR LF) with its "//>"
// directives, and the further files of its "//> file NAME" ... "//> end" blocks.
struct ScriptFixture {
  std::string mainScript;
  std::vector<std::string> directives;  // each without its "//> "
  std::map<std::string, std::string> files;
};
ScriptFixture ReadScriptFixture(const std::filesystem::path& path);
// The fixtures (*.qls) of [folder], sorted.
std::vector<std::filesystem::path> ScriptFixtures(const std::string& folder);
