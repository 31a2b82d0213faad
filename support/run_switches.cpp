#include "support/run_switches.h"

#include "support/text.h"

namespace {

enum class Switch { None, Record, Answers, Log, Timeout };

constexpr struct {
  const char* prefix;
  Switch kind;
} kSwitches[] = {{"/RECORD:", Switch::Record}, {"/ANSWERS:", Switch::Answers}, {"/LOG:", Switch::Log},
                 {"/TIMEOUT:", Switch::Timeout}};

// The switch [word] is, and in [value] what follows its colon.
Switch SwitchOf(std::string_view word, std::string& value) {
  const std::string upper = UpperAscii(word);
  for (const auto& entry : kSwitches) {
    if (!StartsWith(upper, entry.prefix)) continue;
    value = std::string(word.substr(std::string_view(entry.prefix).size()));
    return entry.kind;
  }
  return Switch::None;
}

// Seconds as a positive whole number of at most 30 days (a limit in milliseconds still fits 32
// bits); anything else sets no limit.
uint32_t TimeoutSeconds(const std::string& value) {
  if (value.empty() || value.size() > 8 || value.find_first_not_of("0123456789") != std::string::npos) return 0;
  const uint32_t seconds = static_cast<uint32_t>(std::stoul(value));
  return seconds <= 30u * 24 * 3600 ? seconds : 0;
}

bool IsAbsolutePath(const std::string& path) {
  return (path.size() >= 2 && path[1] == ':') || (!path.empty() && (path[0] == '\\' || path[0] == '/'));
}

}  // namespace

const char* VerdictText(int verdict) {
  switch (verdict) {
    case VERDICT_SUCCESS: return "success";
    case VERDICT_ENDED_BY_SCRIPT: return "ended by the script";
    case VERDICT_SCRIPT_ERROR: return "script error";
    case VERDICT_CANCELLED: return "cancelled";
    case VERDICT_TIMED_OUT: return "timed out";
    case VERDICT_RESTART_NEEDED: return "restart needed";
    default: return "unknown";
  }
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> words(1);
  bool quoted = false;
  for (char c : commandLine) {
    if (c == '"') quoted = !quoted;
    else if (c == ' ' && !quoted) words.emplace_back();
    else words.back().push_back(c);
  }
  return words;
}

bool IsSilent(std::string_view arguments) {
  return arguments.find("/s") != std::string_view::npos || arguments.find("-s") != std::string_view::npos;
}

bool IsRunSwitch(std::string_view word) {
  std::string value;
  return SwitchOf(word, value) != Switch::None;
}

RunSwitches TakeRunSwitches(std::vector<std::string>& words, size_t first) {
  RunSwitches switches;
  std::vector<std::string> kept;
  std::string rest;
  for (size_t i = 0; i < words.size(); ++i) {
    std::string value;
    const Switch kind = i >= first ? SwitchOf(words[i], value) : Switch::None;
    switch (kind) {
      case Switch::Record: switches.record = true; switches.recordFile = value; break;
      case Switch::Answers: switches.replay = true; switches.answersFile = value; break;
      case Switch::Log: switches.log = true; switches.logFile = value; break;
      case Switch::Timeout: switches.timeout = true; switches.timeoutSeconds = TimeoutSeconds(value); break;
      case Switch::None:
        if (i >= first) rest += words[i] + " ";
        kept.push_back(std::move(words[i]));
        break;
    }
  }
  words = std::move(kept);
  if (words.empty()) words.emplace_back();
  switches.silent = IsSilent(rest);
  return switches;
}

std::string WithAbsoluteSwitchPaths(const std::string& arguments, const std::string& baseDirectory) {
  std::string out;
  size_t wordStart = 0;
  std::string word;
  bool quoted = false;
  const auto endWord = [&](size_t end) {
    std::string value;
    const Switch kind = SwitchOf(word, value);
    const bool rewrite = kind != Switch::None && kind != Switch::Timeout && !value.empty() && !IsAbsolutePath(value);
    if (rewrite)
      out += word.substr(0, word.size() - value.size()) + "\"" + EnsureBackslash(baseDirectory) + value + "\"";
    else
      out += arguments.substr(wordStart, end - wordStart);
    word.clear();
  };
  for (size_t i = 0; i < arguments.size(); ++i) {
    const char c = arguments[i];
    if (c == '"') {
      quoted = !quoted;
    } else if (c == ' ' && !quoted) {
      endWord(i);
      out += ' ';
      wordStart = i + 1;
    } else {
      word.push_back(c);
    }
  }
  endWord(arguments.size());
  return out;
}
