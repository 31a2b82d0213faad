// The script debugger's window apart from the drawing: its template, where its controls go at
// every size, what its command list shows, the breakpoint keys of its settings file, and the
// Set Next move. Portable, so that it is checked without Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

struct Interpreter;

enum DebugWindowControl : int {
  DEBUG_GROUP = 100, DEBUG_SCRIPT_LABEL = 200, DEBUG_COMMAND_LABEL = 201, DEBUG_SCRIPT_LIST = 252,
  DEBUG_COMMAND_LIST = 253, DEBUG_STEP = 17, DEBUG_RUN = 18, DEBUG_SET_NEXT = 19, DEBUG_BREAK_POINT = 20,
  DEBUG_CLEAR_ALL = 21, DEBUG_CANCEL = 2,
};

// The debugger's texts (resources/texts/debugger.def).
enum DebuggerText : int {
  TEXT_DEBUG_SCRIPT = 300, TEXT_DEBUG_COMMANDS = 301, TEXT_DEBUG_STEP = 302, TEXT_DEBUG_RUN = 303,
  TEXT_DEBUG_SET_NEXT = 304, TEXT_DEBUG_BREAK_POINT = 305, TEXT_DEBUG_CLEAR_ALL = 306, TEXT_DEBUG_CANCEL = 307,
  TEXT_DEBUG_TITLE = 308, TEXT_DEBUG_PARAMETERS = 309, TEXT_DEBUG_VARIABLES = 310, TEXT_DEBUG_NOT_WRITABLE = 311,
};

// The "Debug" window: 258 x 190 dialog units, "MS Sans Serif" 8, sizing border; the texts come
// from [text] by id.
std::vector<uint8_t> DebugWindowTemplate(const std::function<std::string(int)>& text);

struct LayoutRect {
  int left, top, right, bottom;
};
struct ControlPlace {
  int id;
  LayoutRect rect;
};
// Where every control goes in a client area of [width] x [height] pixels: the two lists share
// what the frame, labels and buttons leave.
std::vector<ControlPlace> DebugWindowLayout(int width, int height);
// The smallest client area that shows all six buttons and a few lines of each list.
constexpr int kDebugMinClientWidth = 546;
constexpr int kDebugMinClientHeight = 200;

// A window rectangle [wanted] made at least [minWidth] x [minHeight] and moved (and, when it
// is larger, cut) into [screen], so that a saved place from another screen, or an absurd one,
// still gives a window the user can reach.
LayoutRect FitWindowRect(LayoutRect wanted, int minWidth, int minHeight, const LayoutRect& screen);

// The command list: "Parameters", one entry per value of the statement about to run (read
// from the value stacks without taking them off), "Variables", and every variable.
std::vector<std::string> CommandListEntries(const Interpreter& ip, const std::function<std::string(int)>& text);
// A value as one list line shows it: control characters as ^ and their three-digit code (as a
// script would write them), and at most 1,000 characters followed by "...".
std::string ShownValue(const std::string& value);

// The settings file's key of a breakpoint: "file:line".
std::string BreakpointKey(const std::string& scriptPath, uint32_t lineNo);
// The breakpoints of a "BreakPoints" section as the profile functions hand it over ("key=value"
// entries, each ended by a NUL): the upper-cased keys whose value reads as a number other than 0.
// Where a key comes twice, the first one counts, as it does for the profile functions.
std::set<std::string> BreakpointKeys(const std::string& section);

// Makes line [lineNo] of the current script file the statement about to run. Returns 0, or
// the code of a line that does not tokenise: it is recorded as the last error and the
// statement is left empty, so that the half-read line never runs.
int SetNextLine(Interpreter& ip, uint32_t lineNo);
