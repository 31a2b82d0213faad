#include "engine/interpreter.h"

Interpreter::Interpreter(Platform& platform_, DebugLog& log_, const CommandTable& commands_)
    : platform(platform_),
      log(log_),
      commands(commands_),
      version(platform_.Version()),
      variables([&platform_](const std::string& name) { return platform_.Environment(name); }) {}
