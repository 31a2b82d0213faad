// The parameter column of the keyword table, read into forms: what each command reads, in
// the notation described at the top of keywords.def. The script checker and the language
// reference both read it from here.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class ParamPresence {
  Required,
  Optional,  // [K]: absent at the end of the line or a ')', otherwise of its kind
  IfKind,    // ?K: read when it is of its kind, otherwise passed over
};

struct ParamRule {
  char kind = 'S';  // S text, N number, n number literal, V variable, L label
  ParamPresence presence = ParamPresence::Required;
  int32_t error = 0;  // the code a wrong kind is refused with
};

struct ParamForm {
  std::vector<ParamRule> params;
  bool endsWithParen = false;  // applies only when a ')' follows its last parameter
  size_t RequiredCount() const;
};

struct CommandParams {
  enum class Shape { NotACommand, OwnForm, Forms } shape = Shape::Forms;
  bool conditional = false;  // the checks are made only on some systems or in some states
  std::vector<ParamForm> forms;  // one empty form for a command without parameters
};

// Reads a params text; false with [error] set for text outside the notation.
bool ParseCommandParams(const std::string& text, CommandParams& out, std::string& error);

// True when [token] is what a parameter of [kind] accepts.
bool TokenFitsKind(int32_t token, char kind);
// The code with which a wrong kind is refused by default.
int32_t DefaultKindError(char kind);
