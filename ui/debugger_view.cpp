#include "ui/debugger_view.h"

#include <algorithm>
#include <cstdio>

#include "engine/interpreter.h"
#include "engine/tokens.h"
#include "support/dialog_template.h"
#include "support/text.h"

std::vector<uint8_t> DebugWindowTemplate(const std::function<std::string(int)>& text) {
  using namespace dialog_style;
  auto t = [&text](int id) { return AsciiText(text(id)); };
  DialogTemplateBuilder b(kPopup | kCaption | kSysMenu | kThickFrame, 258, 190, u"Debug", 8, u"MS Sans Serif");
  const uint32_t child = kChild | kVisible;
  const uint32_t list = child | kBorder | kVScroll | kHScroll | kTabStop | kListNotify | kListNoIntegralHeight;
  const uint32_t button = child | kTabStop;
  b.Add({child | kGroupBox, 0, 7, 7, 242, 156, DEBUG_GROUP, DIALOG_BUTTON, u""});
  b.Add({child | kStaticLeft, 0, 12, 14, 43, 9, DEBUG_SCRIPT_LABEL, DIALOG_STATIC, t(TEXT_DEBUG_SCRIPT)});
  // Owner-drawn with no data of its own: the list only knows how many lines there are, so a
  // script of any length opens at once; each visible line is read when it is drawn.
  b.Add({list | kListOwnerDrawFixed | kListNoData, 0, 12, 24, 232, 59, DEBUG_SCRIPT_LIST, DIALOG_LISTBOX, u""});
  b.Add({child | kStaticLeft, 0, 12, 88, 75, 9, DEBUG_COMMAND_LABEL, DIALOG_STATIC, t(TEXT_DEBUG_COMMANDS)});
  b.Add({list, 0, 12, 99, 232, 59, DEBUG_COMMAND_LIST, DIALOG_LISTBOX, u""});
  // Step is the default button: Enter steps.
  b.Add({button | kDefPushButton, 0, 7, 170, 45, 14, DEBUG_STEP, DIALOG_BUTTON, t(TEXT_DEBUG_STEP)});
  b.Add({button, 0, 56, 170, 45, 14, DEBUG_RUN, DIALOG_BUTTON, t(TEXT_DEBUG_RUN)});
  b.Add({button, 0, 105, 170, 45, 14, DEBUG_SET_NEXT, DIALOG_BUTTON, t(TEXT_DEBUG_SET_NEXT)});
  b.Add({button, 0, 154, 170, 45, 14, DEBUG_BREAK_POINT, DIALOG_BUTTON, t(TEXT_DEBUG_BREAK_POINT)});
  b.Add({button, 0, 203, 170, 45, 14, DEBUG_CLEAR_ALL, DIALOG_BUTTON, t(TEXT_DEBUG_CLEAR_ALL)});
  b.Add({button, 0, 252, 170, 45, 14, DEBUG_CANCEL, DIALOG_BUTTON, t(TEXT_DEBUG_CANCEL)});
  return b.Bytes();
}

std::vector<ControlPlace> DebugWindowLayout(int width, int height) {
  const int a = (height - 112) / 2;
  std::vector<ControlPlace> places = {
      {DEBUG_GROUP, {8, 8, width - 8, height - 45}},
      {DEBUG_SCRIPT_LABEL, {16, 20, 250, 36}},
      {DEBUG_SCRIPT_LIST, {16, 36, width - 16, a + 36}},
      {DEBUG_COMMAND_LABEL, {16, a + 44, 250, a + 60}},
      {DEBUG_COMMAND_LIST, {16, a + 60, width - 16, 2 * a + 60}},
  };
  const int buttons[] = {DEBUG_STEP, DEBUG_RUN, DEBUG_SET_NEXT, DEBUG_BREAK_POINT, DEBUG_CLEAR_ALL, DEBUG_CANCEL};
  int x = 8;
  for (int id : buttons) {
    places.push_back({id, {x, height - 35, x + 80, height - 10}});
    x += 90;
  }
  return places;
}

LayoutRect FitWindowRect(LayoutRect wanted, int minWidth, int minHeight, const LayoutRect& screen) {
  // Saved numbers may be anything: work in 64 bits so that no difference wraps.
  auto fit = [](int64_t low, int64_t high, int64_t minimum, int64_t screenLow, int64_t screenHigh, int& outLow,
                int& outHigh) {
    const int64_t room = std::max<int64_t>(screenHigh - screenLow, 0);
    const int64_t size = std::min(std::max(high - low, minimum), room);
    const int64_t start = std::clamp(low, screenLow, screenHigh - size);
    outLow = static_cast<int>(start);
    outHigh = static_cast<int>(start + size);
  };
  LayoutRect r{};
  fit(wanted.left, wanted.right, minWidth, screen.left, screen.right, r.left, r.right);
  fit(wanted.top, wanted.bottom, minHeight, screen.top, screen.bottom, r.top, r.bottom);
  return r;
}

std::string ShownValue(const std::string& value) {
  constexpr size_t kShownCharacters = 1000;
  std::string shown;
  for (char c : value) {
    if (shown.size() >= kShownCharacters) return shown + "...";
    shown += ShowControlCharacters(std::string_view(&c, 1));
  }
  return shown;
}

std::vector<std::string> CommandListEntries(const Interpreter& ip, const std::function<std::string(int)>& text) {
  std::vector<std::string> entries{text(TEXT_DEBUG_PARAMETERS)};
  // The stacks hold the line's values in token order; a label takes a text but shows nothing.
  int nextString = 0, nextNumber = 0;
  for (int32_t token : ip.lexer.tokens) {
    if (token == TOK_END) break;
    if (token == TOK_LABEL) {
      ++nextString;
    } else if (token == TOK_VARIABLE) {
      const std::string name = ip.strings.Peek(nextString++);
      entries.push_back("  " + name + " = '" + ShownValue(ip.variables.GetVariable(name)) + "'");
    } else if (token == TOK_STRING) {
      entries.push_back("  '" + ShownValue(ip.strings.Peek(nextString++)) + "'");
    } else if (token == TOK_NUMBER) {
      entries.push_back("  " + DecimalText(ip.numbers.Peek(nextNumber++)));
    }
  }
  entries.push_back(text(TEXT_DEBUG_VARIABLES));
  for (int slot = 0; slot <= ip.variables.Highest(); ++slot) {
    const std::string& name = ip.variables.NameAt(slot);
    if (!name.empty()) entries.push_back("  " + name + " = '" + ShownValue(ip.variables.ValueAt(slot)) + "'");
  }
  return entries;
}

std::string BreakpointKey(const std::string& scriptPath, uint32_t lineNo) {
  return scriptPath + ":" + std::to_string(lineNo);
}

std::set<std::string> BreakpointKeys(const std::string& section) {
  std::set<std::string> keys, seen;
  for (size_t at = 0; at < section.size();) {
    size_t end = section.find('\0', at);
    if (end == std::string::npos) end = section.size();
    const std::string_view entry(section.data() + at, end - at);
    at = end + 1;
    const size_t equals = entry.find('=');
    if (equals == std::string_view::npos) continue;
    const std::string key = UpperAscii(Trim(entry.substr(0, equals), 'B', " "));
    if (!seen.insert(key).second) continue;
    if (LeadingNumber(entry.substr(equals + 1)) != 0) keys.insert(key);
  }
  return keys;
}

int SetNextLine(Interpreter& ip, uint32_t lineNo) {
  ip.files.SeekToLine(lineNo);
  const int result = TokeniseLine(ip, ip.files.LineText());
  if (result != 0) {
    SetCurrentError(ip, result);
    ip.lexer.tokens.fill(TOK_END);
    ip.numbers.Reset();
    ip.strings.Reset();
  }
  return result;
}
