#include "engine/script_files.h"

#include <algorithm>
#include <cstdio>

#include "engine/errors.h"
#include "support/debug_log.h"
#include "support/text.h"
#include "support/text_lines.h"

namespace {
constexpr unsigned char kScrambledBlank = static_cast<unsigned char>(9 - ' ');
constexpr unsigned char kScrambledColon = static_cast<unsigned char>(9 - ':');
}  // namespace

char ScrambledByte(char plain) {
  const unsigned char b = static_cast<unsigned char>(plain);
  if (b == 9 || b == 10 || b == 13 || b == 0xFC || b == 0xFF) return plain;
  return static_cast<char>(static_cast<unsigned char>(9 - b));
}

void ScrambleLine(std::string& line) {
  for (char& c : line) c = ScrambledByte(c);
}

int ScriptFileStack::OpenScript(Platform& platform, DebugLog& log, const std::string& currentDirectory,
                                const std::string& name) {
  if (debuggerActive_ && current_ < 0) lineTable_.clear();
  if (current_ + 1 >= kMaxScriptLevels) return ERR_TOO_MANY_SCRIPT_FILES;

  std::string path = name;
  if (path.find('\\') == std::string::npos && path.find(':') == std::string::npos)
    path = EnsureBackslash(currentDirectory) + path;
  if (path.find('.') == std::string::npos) path += ".SCR";

  std::unique_ptr<ScriptSource> source = platform.OpenScriptFile(path);
  if (!source) return ERR_SCRIPT_NOT_FOUND;

  ScriptLevel& level = levels_[static_cast<size_t>(++current_)];
  level = ScriptLevel();
  level.source = std::move(source);
  level.path = path;
  if (current_ > 0) {
    level.firstRecord = levels_[static_cast<size_t>(current_ - 1)].lastRecord + 1;
    level.lastRecord = level.firstRecord - 1;
  }
  const std::vector<char>& bytes = level.source->bytes;
  level.encoded = bytes.size() >= 2 && bytes[0] == 0x00 && bytes[1] == 0x40;
  level.dataStart = level.encoded ? 2 : 0;

  int result = 0;
  BuildLabelIndex(level, result);
  if (result == 0) Rewind();
  DumpFileObjects(log);
  return result;
}

void ScriptFileStack::BuildLabelIndex(ScriptLevel& level, int& result) {
  const std::vector<char>& bytes = level.source->bytes;
  if (debuggerActive_) lineTable_.resize(static_cast<size_t>(level.firstRecord));
  int32_t lineNo = 0;
  bool lineStart = true;
  for (size_t at = level.dataStart; at < bytes.size();) {
    const TextLineSpan span = ScanTextLine(bytes.data() + at, bytes.size() - at, kMaxReadLine);
    const int32_t offset = static_cast<int32_t>(at);
    ++lineNo;
    if (debuggerActive_) {
      ++level.lastRecord;
      lineTable_.push_back(offset);
    }
    std::string_view line(bytes.data() + at, span.length);
    at += span.consumed;
    // A line longer than the reader takes comes in pieces; a colon at the start of a later
    // piece is in the middle of the line, not a label.
    const bool pieceOfLongerLine = !lineStart;
    lineStart = span.consumed != span.length || span.length < kMaxReadLine;
    if (pieceOfLongerLine) continue;
    // Indentation by blanks (plain or scrambled) is skipped in any file; a tab is not.
    while (!line.empty() && (line[0] == ' ' || static_cast<unsigned char>(line[0]) == kScrambledBlank))
      line.remove_prefix(1);
    if (line.empty() || (line[0] != ':' && static_cast<unsigned char>(line[0]) != kScrambledColon)) continue;
    std::string text(line);
    if (level.encoded) ScrambleLine(text);
    if (const size_t blank = text.find(' '); blank != std::string::npos) text.resize(blank);
    if (const size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    if (level.labelsUsed + text.size() + 9 > kLabelIndexBytes) {
      result = ERR_LABEL_STACK_FULL;
      return;
    }
    level.labelsUsed += text.size() + 9;
    level.labels.push_back({std::move(text), {offset, lineNo}});
  }
}

int ScriptFileStack::ReadNextLine() {
  if (current_ < 0) return ERR_END_OF_FILE;
  ScriptLevel& level = Current();
  const std::vector<char>& bytes = level.source->bytes;
  if (level.readOffset >= bytes.size()) return ERR_END_OF_FILE;
  const TextLineSpan span = ScanTextLine(bytes.data() + level.readOffset, bytes.size() - level.readOffset, kMaxReadLine);
  lastLinePos_ = static_cast<int32_t>(level.readOffset);
  lineText_.assign(bytes.data() + level.readOffset, span.length);
  level.readOffset += span.consumed;
  ++level.lineNo;
  if (level.encoded) ScrambleLine(lineText_);
  return 0;
}

void ScriptFileStack::CloseScript() {
  if (current_ < 0) return;
  ScriptLevel& level = Current();
  level.source.reset();
  level.labels.clear();
  level.labels.shrink_to_fit();
  --current_;
}

void ScriptFileStack::CloseAll() {
  while (current_ >= 0) CloseScript();
  lineTable_.clear();
}

int ScriptFileStack::GotoLabel(const std::string& text) {
  if (current_ < 0) return ERR_LABEL_NOT_FOUND;
  for (const LabelEntry& entry : Current().labels) {
    if (entry.text == text) {
      SeekTo(entry.position);
      return 0;
    }
  }
  return ERR_LABEL_NOT_FOUND;
}

PositionRecord ScriptFileStack::CurrentPosition() const {
  return {lastLinePos_, current_ >= 0 ? static_cast<int32_t>(Current().lineNo) : 0};
}

void ScriptFileStack::SeekTo(const PositionRecord& record) {
  if (current_ < 0) return;
  ScriptLevel& level = Current();
  const size_t size = level.source->bytes.size();
  level.readOffset = record.offset < 0 ? 0 : std::min(static_cast<size_t>(record.offset), size);
  level.lineNo = static_cast<uint32_t>(record.lineNo - 1);
}

void ScriptFileStack::Rewind() {
  if (current_ < 0) return;
  ScriptLevel& level = Current();
  level.readOffset = level.dataStart;
  level.lineNo = 0;
  lineText_.clear();
}

void ScriptFileStack::SeekToLine(uint32_t n) {
  Rewind();
  while (current_ >= 0 && Current().lineNo < n && ReadNextLine() == 0) {
  }
}

std::string ScriptFileStack::LineTextForDebugger(uint32_t n) const {
  if (current_ < 0 || n == 0) return std::string();
  const ScriptLevel& level = Current();
  const size_t entry = static_cast<size_t>(level.firstRecord) + n - 1;
  if (entry >= lineTable_.size() || static_cast<int32_t>(entry) > level.lastRecord) return std::string();
  const std::vector<char>& bytes = level.source->bytes;
  const size_t at = static_cast<size_t>(lineTable_[entry]);
  const TextLineSpan span = ScanTextLine(bytes.data() + at, bytes.size() - at, kMaxReadLine);
  std::string line(bytes.data() + at, span.length);
  if (level.encoded) ScrambleLine(line);
  char number[16];
  std::snprintf(number, sizeof number, "%04lu  ", static_cast<unsigned long>(n));
  return number + line;
}

uint32_t ScriptFileStack::DebuggerLineCount() const {
  if (current_ < 0) return 0;
  const ScriptLevel& level = Current();
  return level.lastRecord < level.firstRecord ? 0 : static_cast<uint32_t>(level.lastRecord - level.firstRecord + 1);
}

void ScriptFileStack::DumpFileObjects(DebugLog& log) const {
  if (!log.Enabled()) return;
  log.LogText("\n*** File Object Dump ***\n\n");
  char text[400];
  for (int i = 0; i <= current_; ++i) {
    const ScriptLevel& level = levels_[static_cast<size_t>(i)];
    std::snprintf(text, sizeof text, "File %d  LineNo %lu  LabEnd %ld\n", i, static_cast<unsigned long>(level.lineNo),
                  static_cast<long>(level.labelsUsed));
    log.LogText(text);
    int number = 0;
    for (const LabelEntry& entry : level.labels) {
      std::snprintf(text, sizeof text, "    %d: Label '%.300s'  LineNo %ld  FilePos %ld\n", ++number, entry.text.c_str(),
                    static_cast<long>(entry.position.lineNo), static_cast<long>(entry.position.offset));
      log.LogText(text);
    }
  }
  log.LogText("Done\n\n");
}
