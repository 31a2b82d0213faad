#include "engine/values.h"

#include "engine/errors.h"
#include "support/debug_log.h"
#include "support/text.h"

int NumberStack::Push(int32_t value) {
  if (last_ + 1 >= kStackSlots) return ERR_NUMERIC_STACK_FULL;
  slots_[static_cast<size_t>(++last_)] = value;
  return 0;
}

int32_t NumberStack::Next() {
  if (next_ > last_) return 0;
  return slots_[static_cast<size_t>(next_++)];
}

int StringStack::Push(std::string text) {
  if (last_ + 1 >= kStackSlots) return ERR_STRING_STACK_FULL;
  slots_[static_cast<size_t>(++last_)] = std::move(text);
  return 0;
}

std::string StringStack::Next() {
  if (next_ > last_) return std::string();
  return slots_[static_cast<size_t>(next_++)];
}

void VariableStore::Clear() {
  highest_ = -1;
  for (auto& n : names_) n.clear();
  for (auto& v : values_) v.clear();
}

int VariableStore::Find(const std::string& upperName) const {
  for (int slot = 0; slot <= highest_; ++slot)
    if (names_[static_cast<size_t>(slot)] == upperName) return slot;
  return -1;
}

int VariableStore::SetVariable(const std::string& name, const std::string& value) {
  const std::string upper = UpperAscii(name);
  if (journal_ && !upper.empty()) journal_->push_back(upper);
  const int slot = Find(upper);
  if (slot >= 0) {
    if (!value.empty()) {
      values_[static_cast<size_t>(slot)] = value;
      return 0;
    }
    names_[static_cast<size_t>(slot)].clear();
    values_[static_cast<size_t>(slot)].clear();
    while (highest_ >= 0 && names_[static_cast<size_t>(highest_)].empty()) --highest_;
    return 0;
  }
  if (value.empty() || upper.empty()) return 0;
  for (int free = 0; free < kVariableSlots; ++free) {
    if (!names_[static_cast<size_t>(free)].empty()) continue;
    names_[static_cast<size_t>(free)] = upper;
    values_[static_cast<size_t>(free)] = value;
    if (free > highest_) highest_ = free;
    return 0;
  }
  return ERR_OUT_OF_VARIABLE_SPACE;
}

int VariableStore::SetVariableNumber(const std::string& name, int64_t number) {
  return SetVariable(name, DecimalText(number));
}

std::string VariableStore::GetVariable(const std::string& name) const {
  const std::string upper = UpperAscii(name);
  const int slot = Find(upper);
  if (slot >= 0) return values_[static_cast<size_t>(slot)];
  return environment_ ? environment_(upper) : std::string();
}

std::string VariableStore::StoredValue(const std::string& name) const {
  const int slot = Find(UpperAscii(name));
  return slot >= 0 ? values_[static_cast<size_t>(slot)] : std::string();
}

int32_t VariableStore::GetVariableNumber(const std::string& name) const { return LeadingNumber(GetVariable(name)); }

void VariableStore::DumpVariables(DebugLog& log) const {
  log.LogText("\n*** Variables Dump ***\n\n");
  for (int slot = 0; slot <= highest_; ++slot) {
    const size_t s = static_cast<size_t>(slot);
    if (names_[s].empty()) continue;
    log.LogText(names_[s]);
    log.LogText("=");
    log.LogText(values_[s]);
    log.LogText("\n");
  }
}
