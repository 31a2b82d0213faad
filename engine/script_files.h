// The stack of open script files: the main script and the files that CALL has entered, each
// with its read position, line number, label index and open IF and WHILE blocks.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/platform.h"

constexpr int kMaxScriptLevels = 6;
constexpr int kMaxBlockDepth = 8;
constexpr size_t kLabelIndexBytes = 65535;
constexpr size_t kMaxReadLine = 65534;  // the longest line the reader returns in one piece

struct PositionRecord {
  int32_t offset = 0;  // byte offset of the line's start
  int32_t lineNo = 0;  // 1-based line number
};

struct LabelEntry {
  std::string text;  // as written in the line, from the colon up to the first blank
  PositionRecord position;
};

struct ScriptLevel {
  std::unique_ptr<ScriptSource> source;
  std::string path;
  uint32_t lineNo = 0;
  bool encoded = false;
  size_t dataStart = 0;  // 2 after the marker bytes of a scrambled file
  size_t readOffset = 0;
  std::vector<LabelEntry> labels;
  size_t labelsUsed = 0;  // bytes the entries take in the index: text, NUL, 8 bytes of position
  int ifDepth = 0;
  std::array<PositionRecord, kMaxBlockDepth> ifStack{};
  int whileDepth = 0;
  std::array<PositionRecord, kMaxBlockDepth> whileStack{};
  int32_t firstRecord = 0;
  int32_t lastRecord = -1;
};

class DebugLog;

class ScriptFileStack {
 public:
  int OpenScript(Platform& platform, DebugLog& log, const std::string& currentDirectory, const std::string& name);
  int ReadNextLine();  // 0, or 10027 at the end of the current file or with none open
  void CloseScript();
  void CloseAll();
  int GotoLabel(const std::string& text);  // 0 or 10004
  PositionRecord CurrentPosition() const;
  void SeekTo(const PositionRecord& record);
  void Rewind();
  void SeekToLine(uint32_t n);
  std::string LineTextForDebugger(uint32_t n) const;
  void DumpFileObjects(DebugLog& log) const;

  bool AnyOpen() const { return current_ >= 0; }
  int Depth() const { return current_ + 1; }
  ScriptLevel& Current() { return levels_[static_cast<size_t>(current_)]; }
  const ScriptLevel& Current() const { return levels_[static_cast<size_t>(current_)]; }
  ScriptLevel& Level(int i) { return levels_[static_cast<size_t>(i)]; }
  const std::string& LineText() const { return lineText_; }

  // The debugger's table of line offsets, kept in memory while the debugger is active.
  void SetDebuggerActive(bool active) { debuggerActive_ = active; }
  // How many lines of the current file the debugger's table holds.
  uint32_t DebuggerLineCount() const;

 private:
  void BuildLabelIndex(ScriptLevel& level, int& result);

  std::array<ScriptLevel, kMaxScriptLevels> levels_{};
  int current_ = -1;
  int32_t lastLinePos_ = 0;
  std::string lineText_;
  bool debuggerActive_ = false;
  std::vector<int32_t> lineTable_;
};

// Scrambles or unscrambles a line in place: every byte b but tab, LF, CR, 0xFC and 0xFF
// becomes (9 - b) modulo 256. The operation is its own inverse.
void ScrambleLine(std::string& line);
char ScrambledByte(char plain);
