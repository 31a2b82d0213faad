// The per-line value stacks that the lexer fills and the handlers read, and the store of the
// script's variables.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class DebugLog;

constexpr int kStackSlots = 25;

// Both stacks are read front to back: values come out in the order of their tokens.
class NumberStack {
 public:
  void Reset() { last_ = -1; next_ = 0; }
  int Push(int32_t value);  // 0, or 10008 when 25 values are held
  int32_t Next();           // 0 beyond the last value
  int Count() const { return last_ + 1; }
  // The value in [slot], read without moving on (the debugger shows a line's values before
  // the statement reads them); 0 beyond the last value.
  int32_t Peek(int slot) const { return slot >= 0 && slot <= last_ ? slots_[static_cast<size_t>(slot)] : 0; }

 private:
  std::array<int32_t, kStackSlots> slots_{};
  int last_ = -1;
  int next_ = 0;
};

class StringStack {
 public:
  void Reset() { last_ = -1; next_ = 0; }
  int Push(std::string text);  // 0, or 10007 when 25 texts are held
  std::string Next();          // empty beyond the last text
  int Count() const { return last_ + 1; }
  // The text in [slot], read without moving on; empty beyond the last text.
  std::string Peek(int slot) const { return slot >= 0 && slot <= last_ ? slots_[static_cast<size_t>(slot)] : std::string(); }

 private:
  std::array<std::string, kStackSlots> slots_{};
  int last_ = -1;
  int next_ = 0;
};

constexpr int kVariableSlots = 128;

// 128 named texts. Names are kept in upper case, every stored value is non-empty (storing the
// empty text removes a variable), and a name with no variable reads as the process
// environment variable of that name.
class VariableStore {
 public:
  using EnvironmentLookup = std::function<std::string(const std::string&)>;
  explicit VariableStore(EnvironmentLookup environment) : environment_(std::move(environment)) {}

  void Clear();
  int SetVariable(const std::string& name, const std::string& value);  // 0 or 10017
  int SetVariableNumber(const std::string& name, int64_t number);
  std::string GetVariable(const std::string& name) const;
  // The value the script stored under [name]; empty when it stored none (no environment).
  std::string StoredValue(const std::string& name) const;
  int32_t GetVariableNumber(const std::string& name) const;

  int Highest() const { return highest_; }
  const std::string& NameAt(int slot) const { return names_[static_cast<size_t>(slot)]; }
  const std::string& ValueAt(int slot) const { return values_[static_cast<size_t>(slot)]; }

  // Writes the banner and every variable to [log] (the command DUMPVARIABLES().
  void DumpVariables(DebugLog& log) const;

  // While [names] is given, the upper-case name of every variable stored is appended to it
  // (a dialog's answers are the variables it wrote); nullptr stops.
  void JournalWrites(std::vector<std::string>* names) { journal_ = names; }

 private:
  int Find(const std::string& upperName) const;

  EnvironmentLookup environment_;
  std::vector<std::string>* journal_ = nullptr;
  int highest_ = -1;
  std::array<std::string, kVariableSlots> names_{};
  std::array<std::string, kVariableSlots> values_{};
};
