#include "engine/keyword_params.h"

#include "engine/errors.h"
#include "engine/tokens.h"

size_t ParamForm::RequiredCount() const {
  size_t count = 0;
  for (const ParamRule& p : params)
    if (p.presence == ParamPresence::Required) ++count;
  return count;
}

bool TokenFitsKind(int32_t token, char kind) {
  switch (kind) {
    case 'S': return token == TOK_STRING || token == TOK_VARIABLE;
    case 'N': return token == TOK_NUMBER || token == TOK_VARIABLE;
    case 'n': return token == TOK_NUMBER;
    case 'V': return token == TOK_VARIABLE;
    case 'L': return token == TOK_LABEL;
    default: return false;
  }
}

int32_t DefaultKindError(char kind) {
  switch (kind) {
    case 'S': return ERR_INVALID_STRING_PARAMETER;
    case 'N':
    case 'n': return ERR_INVALID_NUMERIC_PARAMETER;
    case 'V': return ERR_MISSING_VARIABLE_NAME;
    default: return ERR_INVALID_LABEL;
  }
}

namespace {

bool ParseParam(const std::string& text, ParamRule& rule) {
  std::string body = text;
  if (body.size() >= 2 && body.front() == '[' && body.back() == ']') {
    rule.presence = ParamPresence::Optional;
    body = body.substr(1, body.size() - 2);
  } else if (!body.empty() && body.front() == '?') {
    rule.presence = ParamPresence::IfKind;
    body = body.substr(1);
  }
  if (body.empty() || std::string("SNnVL").find(body[0]) == std::string::npos) return false;
  rule.kind = body[0];
  rule.error = DefaultKindError(rule.kind);
  if (body.size() == 1) return true;
  if (body[1] != '/' || body.size() < 3) return false;
  rule.error = 0;
  for (size_t i = 2; i < body.size(); ++i) {
    if (body[i] < '0' || body[i] > '9') return false;
    rule.error = rule.error * 10 + (body[i] - '0');
  }
  return true;
}

bool ParseForm(std::string text, ParamForm& form) {
  if (!text.empty() && text.back() == ')') {
    form.endsWithParen = true;
    text.pop_back();
  }
  for (size_t start = 0; !text.empty() && start <= text.size();) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    ParamRule rule;
    if (!ParseParam(text.substr(start, comma - start), rule)) return false;
    form.params.push_back(rule);
    start = comma + 1;
  }
  return true;
}

}  // namespace

bool ParseCommandParams(const std::string& text, CommandParams& out, std::string& error) {
  out = CommandParams();
  if (text == "-" || text == "*") {
    out.shape = text == "-" ? CommandParams::Shape::NotACommand : CommandParams::Shape::OwnForm;
    return true;
  }
  std::string rest = text;
  if (!rest.empty() && rest[0] == '~') {
    out.conditional = true;
    rest.erase(0, 1);
  }
  for (size_t start = 0; start <= rest.size();) {
    size_t bar = rest.find('|', start);
    if (bar == std::string::npos) bar = rest.size();
    ParamForm form;
    if (!ParseForm(rest.substr(start, bar - start), form)) {
      error = "'" + text + "' is not in the notation of keywords.def";
      return false;
    }
    out.forms.push_back(form);
    start = bar + 1;
  }
  return true;
}
