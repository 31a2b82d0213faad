#include "engine/main_loop.h"
#include "support/text.h"

StartupOptions ParseCommandLine(const std::string& commandLine, bool setupWindowOpen, bool debugSetting) {
  StartupOptions options;
  const std::string trimmed = Trim(commandLine, 'B', " ");
  if (trimmed.empty()) {
    if (debugSetting) options.debugFile = "SETUP.DDB";
    return options;
  }
  std::vector<std::string> words = SplitCommandLine(trimmed);
  // The switches go first, wherever they stand after the script name: the words keep their
  // places for everything else as if the switches had not been there.
  options.switches = TakeRunSwitches(words, 1);
  auto word = [&words](size_t n) { return n <= words.size() ? words[n - 1] : std::string(); };
  options.scriptName = word(1);

  size_t firstParameter = 2;
  if (StartsWith(word(2), "/DIR:") || setupWindowOpen) {
    options.directory = StartsWith(word(2), "/DIR:") ? word(2).substr(5) : word(2);
    firstParameter = 3;
  }

  std::string debug = debugSetting ? "/DEBUG:SETUP.DDB" : "";
  for (size_t n = 1; n <= 3; ++n)
    if (StartsWith(word(n), "/DEBUG")) debug = word(n);
  if (!debug.empty()) options.debugFile = debug.size() > 7 ? debug.substr(7) : "SETUP.DDB";

  // Every word from the first parameter on, the /DEBUG word excepted, and words past the
  // fourth too, so that none is lost.
  for (size_t n = firstParameter; n <= words.size(); ++n)
    if (!StartsWith(words[n - 1], "/DEBUG")) options.parameters += words[n - 1] + " ";
  options.parameters = Trim(options.parameters, 'R', " ");
  options.switches.silent = IsSilent(options.parameters);

  if (!options.directory.empty()) {
    options.directory = UpperAscii(options.directory);
    if (options.directory.size() > 3 && options.directory.back() == '\\') options.directory.pop_back();
  }
  return options;
}
