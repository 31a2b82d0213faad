// Drives real programs and their windows from a Wine test, the way a user would: start a
// program, wait for its windows, read and press their controls, and capture what is on screen.
// Every wait polls with a timeout; nothing here sleeps blindly.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace windriver {

// The folder of the running test executable, with a trailing backslash. Programs under test
// are built into the same folder.
std::string TestExecutableDirectory();

// Polls [condition] every few milliseconds until it holds or [timeoutMs] has passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs);

// Sets or clears the immutable flag of the file [windowsPath] with the host's chattr (Wine starts
// host programs too), so that nobody, not even its owner, can change, rename or delete it.
// False where that cannot be done (not under Wine, not root, a file system without the flag).
bool SetImmutable(const std::string& windowsPath, bool on);

// A started program. The destructor ends it when it is still running, so a failing test
// never leaves a program behind.
class ChildProgram {
 public:
  ChildProgram() = default;
  ~ChildProgram();
  ChildProgram(const ChildProgram&) = delete;
  ChildProgram& operator=(const ChildProgram&) = delete;

  // Starts [commandLine] in [currentDirectory] ("" = the test's own). [environment] holds
  // "NAME=value" entries that are added to (or replace those of) the test's environment.
  bool Start(const std::string& commandLine, const std::string& currentDirectory = "",
             const std::vector<std::string>& environment = {});
  // True when the program ended within [timeoutMs]; its exit code goes to [exitCode].
  bool WaitForExit(DWORD timeoutMs, DWORD* exitCode = nullptr);
  bool IsRunning() const;
  void Terminate();
  DWORD Id() const { return id_; }
  HANDLE Handle() const { return process_; }

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
};

// Visible top-level windows of process [processId] (0 = any process) whose class and title
// match; nullptr matches anything.
std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title);
// Polls for the first such window to appear; nullptr after [timeoutMs].
HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs);
// Polls until [window] is gone or hidden.
bool WaitForWindowGone(HWND window, DWORD timeoutMs);

struct ControlInfo {
  HWND handle;
  int id;
  std::string className;
  std::wstring text;
  LONG style;
};

// Every descendant control of [parent], in creation order.
std::vector<ControlInfo> ChildControls(HWND parent);
// The control of [parent] with id [id]; nullptr when missing.
HWND FindControl(HWND parent, int id);
// The first control of [parent] of class [className] (nullptr = any) showing [text].
HWND FindControlByText(HWND parent, const char* className, const std::wstring& text);

// Window texts, read through the window's own WM_GETTEXT (so they work across processes).
std::wstring WindowTextW(HWND window);
std::string WindowTextA(HWND window);
std::string ClassNameOf(HWND window);

// The message text of a message box (its static text that is not the icon) and the
// captions of its buttons.
std::wstring MessageBoxText(HWND box);
std::vector<std::wstring> ButtonCaptions(HWND dialog);

// Presses a button or toggles a check box as a mouse click would (BM_CLICK, posted so that a
// handler that runs a long loop or a modal box does not block the test).
void PressButton(HWND button);
// Sends [parent] the WM_COMMAND that a click on control [id] or a menu entry [id] would send.
void PostCommand(HWND parent, int id);
// Selects item [index] of a combo or list box and tells its parent, as a click would.
bool SelectItem(HWND box, int index);
int SelectedItem(HWND box);
std::vector<std::wstring> ItemTexts(HWND box);
// Types [text] into a combo box's edit field and reports the change to its parent.
bool TypeComboText(HWND combo, const std::string& text);
// Moves a track bar's thumb to [position] and reports it to the parent as a drag would.
bool MoveTrackbar(HWND trackbar, int position);
int TrackbarPosition(HWND trackbar);
bool IsChecked(HWND checkBox);

// A 24-bit picture, rows top to bottom, pixels as blue, green, red.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bgr;
  COLORREF Pixel(int x, int y) const;
};

// Copies a screen rectangle (a window's, or the whole screen) into [picture].
bool CaptureScreenRect(const RECT& rect, Picture& picture);
bool CaptureWindow(HWND window, Picture& picture);
// Only [window]'s client area, as it stands on the screen.
bool CaptureClientArea(HWND window, Picture& picture);
bool CaptureScreen(Picture& picture);
bool SaveBmp(const Picture& picture, const std::string& path);
bool LoadBmp(const std::string& path, Picture& picture);
// Captures [window] (nullptr = the screen) straight into a BMP file.
bool SaveWindowBmp(HWND window, const std::string& path);

}  // namespace windriver
