#include "ui/debugger_win32.h"

#include "engine/interpreter.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/debugger_view.h"

namespace {

constexpr char kBreakPoints[] = "BreakPoints";
constexpr char kWindow[] = "Window";

}  // namespace

void SetDebugFile(Interpreter& ip, const std::string& name) {
  ip.debugger.settingsFile = name;
  ip.debugger.stepping = true;
  ip.files.SetDebuggerActive(!name.empty());
  ip.debugLineHook = name.empty() ? nullptr : DebugLineHook;
}

void ClearDebugger(Interpreter& ip) { SetDebugFile(ip, std::string()); }

int DebugLineHook(Interpreter& ip) {
  Interpreter::DebuggerState& debugger = ip.debugger;
  if (debugger.settingsFile.empty() || !ip.files.AnyOpen()) return 1;
  const ScriptLevel& level = ip.files.Current();
  if (DebugSettings(debugger.settingsFile).HasBreakpoint(level.path, level.lineNo)) debugger.stepping = true;
  if (!debugger.stepping) return 1;
  const int result = RunDebugWindow(ip);
  if (result == DEBUG_CANCEL) {
    ip.files.CloseAll();
  } else if (result == DEBUG_RUN) {
    debugger.stepping = false;
  } else if (result != DEBUG_STEP) {
    // No window could be shown: the line runs, and the next one tries again.
    if (ip.log.Enabled()) ip.log.LogText("Debug window could not be opened\r\n");
    return 1;
  }
  return result;
}

bool DebugSettings::HasBreakpoint(const std::string& scriptPath, uint32_t lineNo) const {
  return GetPrivateProfileIntA(kBreakPoints, BreakpointKey(scriptPath, lineNo).c_str(), 0, file_.c_str()) != 0;
}

bool DebugSettings::Writable() const {
  // Where the profile functions keep it: a name without a folder in the Windows directory.
  const std::string path =
      file_.find_first_of("\\/") == std::string::npos ? EnsureBackslash(WindowsDirectory()) + file_ : file_;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

bool DebugSettings::ToggleBreakpoint(const std::string& scriptPath, uint32_t lineNo) {
  if (!Writable()) return false;
  const std::string key = BreakpointKey(scriptPath, lineNo);
  const char* value = HasBreakpoint(scriptPath, lineNo) ? nullptr : "1";
  return WritePrivateProfileStringA(kBreakPoints, key.c_str(), value, file_.c_str()) != FALSE;
}

bool DebugSettings::ClearBreakpoints() {
  if (!Writable()) return false;
  return WritePrivateProfileStringA(kBreakPoints, nullptr, nullptr, file_.c_str()) != FALSE;
}

RECT DebugSettings::WindowRect(const RECT& fallback) const {
  const char* file = file_.c_str();
  RECT rect;
  rect.top = static_cast<LONG>(GetPrivateProfileIntA(kWindow, "Top", fallback.top, file));
  rect.left = static_cast<LONG>(GetPrivateProfileIntA(kWindow, "Left", fallback.left, file));
  rect.bottom = static_cast<LONG>(GetPrivateProfileIntA(kWindow, "Bottom", fallback.bottom, file));
  rect.right = static_cast<LONG>(GetPrivateProfileIntA(kWindow, "Right", fallback.right, file));
  return rect;
}

void DebugSettings::SaveWindowRect(const RECT& rect) {
  if (!Writable()) return;
  const std::pair<const char*, LONG> sides[] = {
      {"Top", rect.top}, {"Left", rect.left}, {"Bottom", rect.bottom}, {"Right", rect.right}};
  for (const auto& [key, value] : sides)
    WritePrivateProfileStringA(kWindow, key, std::to_string(value).c_str(), file_.c_str());
}
