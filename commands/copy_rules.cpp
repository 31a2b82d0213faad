#include "commands/copy_rules.h"

#include <cstdio>
#include <utility>

#include "engine/executor.h"
#include "support/debug_log.h"
#include "support/text.h"

namespace {

constexpr size_t kMaxCurrentDirectory = 256;

// The position after the line's end token, so that nothing beyond it is read as a parameter.
bool PastEnd(const TokenLine& line, int index) {
  for (int i = line.cursor; i < index; ++i)
    if (line.At(i) == TOK_END) return true;
  return false;
}

}  // namespace

int ReadOptionalNumbers(Interpreter& ip, TokenLine& line, int index, int firstParamNo, int32_t* values, int count) {
  for (int n = 0; n < count; ++n) {
    const int at = index + 2 * n;
    if (PastEnd(line, at) || line.At(at) == TOK_END) return 0;
    line.paramNo = firstParamNo + n;
    if (line.At(at) != TOK_NUMBER) return ERR_INVALID_NUMERIC_PARAMETER;
    values[n] = NumberParam(ip, line, at);
  }
  return 0;
}

int ReadCopyRequest(Interpreter& ip, TokenLine& line, bool listForm, CopyRequest& request) {
  request = CopyRequest();
  const int c = line.cursor;
  if (line.At(c + 1) == ')') {
    request.blockForm = true;
    if (int r = CheckNumber(line, c, 1)) return r;
    request.total = NumberParam(ip, line, c);
    return CurrentError(ip);
  }
  const int strings = listForm ? 3 : 2;
  std::string* const texts[] = {&request.source, &request.target, &request.description};
  for (int n = 0; n < strings; ++n) {
    if (int r = CheckString(line, c + 2 * n, n + 1)) return r;
    *texts[n] = StringParam(ip, line, c + 2 * n, true);
  }
  int32_t options[3] = {1, 0, 0};
  if (int r = ReadOptionalNumbers(ip, line, c + 2 * strings, strings + 1, options, 3)) return r;
  request.expand = options[0];
  request.append = options[1];
  request.move = options[2];
  return 0;
}

std::string CopySourceDirectory(const std::string& source, const std::string& currentDirectory) {
  const std::string directory = DirectoryPart(source);
  return EnsureBackslash(directory.empty() ? currentDirectory.substr(0, kMaxCurrentDirectory) : directory);
}

std::string CopyTargetName(const std::string& target) {
  return target.find('.') == std::string::npos ? EnsureBackslash(target) : target;
}

std::string BackupName(const std::string& path, const std::function<bool(const std::string&)>& fileExists) {
  const size_t dot = path.rfind('.');
  const std::string stem = dot == std::string::npos ? path : path.substr(0, dot);
  for (unsigned number = 1;; ++number) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, ".%03u", number);
    const std::string name = stem + suffix;
    if (!fileExists(name)) return name;
  }
}

OverwriteStep DecideOverwrite(DebugLog& log, const OverwriteFile& existing, const OverwriteFile& newer,
                              int versionOrder, int32_t mode, const std::function<bool()>& existingWritable) {
  bool same = false;
  bool older = false;
  if (existing.hasVersion && newer.hasVersion) {
    log.LogText("Both files have version info, using VER.DLL\r\n");
    same = versionOrder == 0;
    older = versionOrder < 0;
  } else {
    log.LogText("Comparing via date/times\r\nExisting Date/Time: " + std::to_string(existing.timeValue) +
                "\r\nNew Date/Time:      " + std::to_string(newer.timeValue) + "\r\n");
    same = existing.timeValue == newer.timeValue;
    older = newer.timeValue < existing.timeValue;
  }
  if (same) {
    log.LogText("Both files same - don't copy\r\n");
    return OverwriteStep::Keep;
  }
  bool ask = false;
  if (mode == 0) {
    log.LogText("Always ask\r\n");
    ask = true;
  } else if (older) {
    log.LogText("New file is older\r\n");
    if (mode == 2) return OverwriteStep::Keep;
    ask = true;
  }
  if (!existingWritable()) {
    log.LogText("File is read only or already open - cannot overwrite\r\n");
    return OverwriteStep::Keep;
  }
  return ask ? OverwriteStep::Ask : OverwriteStep::Replace;
}

std::string OverwritePrompt(DebugLog& log, const std::string& message, const std::string& defaultText,
                            int languageIndex, const OverwriteFile& existing, const OverwriteFile& newer) {
  const bool usOrder = languageIndex == 1;
  log.LogText(usOrder ? "1\r\n" : "3\r\n");
  const std::string dateTemplate = usOrder ? "MM/DD/YY" : "DD/MM/YY";
  const std::string oldDate = FormatDateTime(dateTemplate, existing.written);
  log.LogText(usOrder ? "2\r\n" : "4\r\n");
  const std::string newDate = FormatDateTime(dateTemplate, newer.written);
  log.LogText("5\r\n");
  const std::string oldTime = FormatDateTime("HH:XXA", existing.written);
  log.LogText("6\r\n");
  const std::string newTime = FormatDateTime("HH:XXA", newer.written);
  log.LogText("7\r\n");
  // The text grows as it needs: long paths do not cut the question short.
  std::string text = message.empty() ? defaultText : message;
  log.LogText(message.empty() ? "8\r\n" : "9\r\n");
  log.LogText("10\r\n");
  ReplaceAll(text, "|", "\n", true);
  const std::pair<const char*, std::string> fields[] = {
      {"$OLDFILE$", existing.name},
      {"$NEWFILE$", newer.name},
      {"$OLDDATE$", oldDate},
      {"$NEWDATE$", newDate},
      {"$OLDTIME$", oldTime},
      {"$NEWTIME$", newTime},
      {"$OLDSIZE$", std::to_string(existing.size)},
      {"$NEWSIZE$", std::to_string(newer.size)},
      {"$OLDVER$", existing.versionText},
      {"$NEWVER$", newer.versionText},
  };
  for (const auto& [placeholder, value] : fields) ReplaceAll(text, placeholder, value, true);
  return text;
}
