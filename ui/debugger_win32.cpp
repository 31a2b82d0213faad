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
  ip.debugger.breakpointsRead = false;
  ip.files.SetDebuggerActive(!name.empty());
  ip.debugLineHook = name.empty() ? nullptr : DebugLineHook;
}

void ClearDebugger(Interpreter& ip) { SetDebugFile(ip, std::string()); }

int DebugLineHook(Interpreter& ip) {
  Interpreter::DebuggerState& debugger = ip.debugger;
  if (debugger.settingsFile.empty() || !ip.files.AnyOpen()) return 1;
  const ScriptLevel& level = ip.files.Current();
  if (DebugSettings(ip).HasBreakpoint(level.path, level.lineNo)) debugger.stepping = true;
  if (!debugger.stepping) return 1;
  const int result = RunDebugWindow(ip);
  if (result == DEBUG_CANCEL) {
    ip.outcome.cancelled = true;
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

std::string DebugSettings::Path() const {
  return file_.find_first_of("\\/") == std::string::npos ? EnsureBackslash(WindowsDirectory()) + file_ : file_;
}

bool DebugSettings::Writable() const {
  const DWORD attributes = GetFileAttributesA(Path().c_str());
  return attributes == INVALID_FILE_ATTRIBUTES || !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

void DebugSettings::ReadBreakpointsWhenChanged() {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  uint64_t size = 0, time = 0;
  if (GetFileAttributesExA(Path().c_str(), GetFileExInfoStandard, &data)) {
    size = static_cast<uint64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    time = static_cast<uint64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 | data.ftLastWriteTime.dwLowDateTime;
  }
  if (state_.breakpointsRead && size == state_.fileSize && time == state_.fileTime) return;
  // The section in a buffer that grows until the whole of it fits.
  std::string section(4096, '\0');
  for (;;) {
    const DWORD length = GetPrivateProfileSectionA(kBreakPoints, section.data(), static_cast<DWORD>(section.size()),
                                                   file_.c_str());
    if (length + 2 < section.size() || section.size() >= (64u << 20)) {
      section.resize(length);
      break;
    }
    section.assign(section.size() * 2, '\0');
  }
  state_.breakpoints = BreakpointKeys(section);
  state_.fileSize = size;
  state_.fileTime = time;
  state_.breakpointsRead = true;
}

bool DebugSettings::HasBreakpoint(const std::string& scriptPath, uint32_t lineNo) {
  ReadBreakpointsWhenChanged();
  return state_.breakpoints.count(UpperAscii(BreakpointKey(scriptPath, lineNo))) != 0;
}

bool DebugSettings::ToggleBreakpoint(const std::string& scriptPath, uint32_t lineNo) {
  if (!Writable()) return false;
  const std::string key = BreakpointKey(scriptPath, lineNo);
  const char* value = HasBreakpoint(scriptPath, lineNo) ? nullptr : "1";
  state_.breakpointsRead = false;
  return WritePrivateProfileStringA(kBreakPoints, key.c_str(), value, file_.c_str()) != FALSE;
}

bool DebugSettings::ClearBreakpoints() {
  if (!Writable()) return false;
  state_.breakpointsRead = false;
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
