#include "tests/native/script_harness.h"

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
