#include "tests/support/win_driver.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <map>

namespace windriver {
namespace {

constexpr DWORD kPollMs = 15;
// A window that does not answer a message within this time is treated as hung.
constexpr UINT kSendTimeoutMs = 3000;

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kSendTimeoutMs,
                           &result))
    return -1;
  return static_cast<LRESULT>(result);
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The test's environment with [overrides] applied, as a block for CreateProcessA. Names are
// compared without case, as Windows does.
std::string BuildEnvironmentBlock(const std::vector<std::string>& overrides) {
  std::map<std::string, std::string> byName;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
    const char* equals = std::strchr(entry + 1, '=');  // names like "=C:" start with '='
    if (!equals) continue;
    byName[UpperCase(std::string(entry, equals))] = entry;
  }
  FreeEnvironmentStringsA(strings);
  for (const std::string& entry : overrides) {
    const size_t equals = entry.find('=', 1);
    if (equals != std::string::npos) byName[UpperCase(entry.substr(0, equals))] = entry;
  }
  std::string block;
  for (const auto& [name, entry] : byName) block += entry + '\0';
  return block + '\0';
}

struct WindowQuery {
  DWORD processId;
  const char* className;
  const char* title;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto* query = reinterpret_cast<WindowQuery*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (query->processId && owner != query->processId) return TRUE;
  if (!IsWindowVisible(window)) return TRUE;
  if (query->className && ClassNameOf(window) != query->className) return TRUE;
  if (query->title && WindowTextA(window) != query->title) return TRUE;
  query->found.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  auto* controls = reinterpret_cast<std::vector<ControlInfo>*>(param);
  controls->push_back({window, GetDlgCtrlID(window), ClassNameOf(window), WindowTextW(window),
                       GetWindowLongA(window, GWL_STYLE)});
  return TRUE;
}

void NotifyParent(HWND control, WORD code) {
  PostMessageA(GetAncestor(control, GA_PARENT), WM_COMMAND,
               MAKEWPARAM(GetDlgCtrlID(control), code), reinterpret_cast<LPARAM>(control));
}

bool IsListBox(HWND box) { return ClassNameOf(box) == "ListBox"; }

size_t RowStride(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

}  // namespace

std::string TestExecutableDirectory() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string directory = path;
  return directory.substr(0, directory.find_last_of('\\') + 1);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (condition()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(kPollMs);
  }
}

ChildProgram::~ChildProgram() {
  if (!process_) return;
  if (IsRunning()) Terminate();
  CloseHandle(process_);
}

bool SetImmutable(const std::string& windowsPath, bool on) {
  using UnixName = char*(CDECL*)(const wchar_t*);
  const auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  if (!unixName) return false;
  const std::wstring wide(windowsPath.begin(), windowsPath.end());
  char* path = unixName(wide.c_str());
  if (!path) return false;
  const std::string command = std::string("/usr/bin/chattr ") + (on ? "+i" : "-i") + " \"" + path + "\"";
  HeapFree(GetProcessHeap(), 0, path);
  // A host program started this way gives no handle to wait on: its effect is awaited instead
  // (an immutable file cannot be opened for writing).
  ChildProgram chattr;
  if (!chattr.Start(command)) return false;
  return WaitUntil(
      [&] {
        HANDLE file = CreateFileA(windowsPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
        return (file == INVALID_HANDLE_VALUE) == on;
      },
      5000);
}

bool ChildProgram::Start(const std::string& commandLine, const std::string& currentDirectory,
                         const std::vector<std::string>& environment) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string line = commandLine;
  std::string block = BuildEnvironmentBlock(environment);
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, block.data(),
                      currentDirectory.empty() ? nullptr : currentDirectory.c_str(), &startup,
                      &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  id_ = info.dwProcessId;
  return true;
}

bool ChildProgram::WaitForExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_, timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

bool ChildProgram::IsRunning() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

void ChildProgram::Terminate() {
  if (!process_) return;
  TerminateProcess(process_, 1);
  WaitForSingleObject(process_, 5000);
}

std::vector<HWND> TopLevelWindows(DWORD processId, const char* className, const char* title) {
  WindowQuery query{processId, className, title, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&query));
  return query.found;
}

HWND WaitForWindow(DWORD processId, const char* className, const char* title, DWORD timeoutMs) {
  HWND window = nullptr;
  WaitUntil([&] {
    const std::vector<HWND> found = TopLevelWindows(processId, className, title);
    window = found.empty() ? nullptr : found.front();
    return window != nullptr;
  }, timeoutMs);
  return window;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs) {
  return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::vector<ControlInfo> ChildControls(HWND parent) {
  std::vector<ControlInfo> controls;
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&controls));
  return controls;
}

HWND FindControl(HWND parent, int id) { return GetDlgItem(parent, id); }

HWND FindControlByText(HWND parent, const char* className, const std::wstring& text) {
  for (const ControlInfo& control : ChildControls(parent)) {
    if (className && control.className != className) continue;
    if (control.text == text) return control.handle;
  }
  return nullptr;
}

std::wstring WindowTextW(HWND window) {
  wchar_t text[1024] = L"";
  const LRESULT length = SendWithTimeout(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return length > 0 ? std::wstring(text, static_cast<size_t>(length)) : std::wstring();
}

std::string WindowTextA(HWND window) {
  const std::wstring wide = WindowTextW(window);
  if (wide.empty()) return std::string();
  std::string text(wide.size() * 2 + 1, '\0');
  const int length = WideCharToMultiByte(CP_ACP, 0, wide.c_str(), static_cast<int>(wide.size()),
                                         text.data(), static_cast<int>(text.size()), nullptr,
                                         nullptr);
  text.resize(length > 0 ? static_cast<size_t>(length) : 0);
  return text;
}

std::string ClassNameOf(HWND window) {
  char name[256] = "";
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::wstring MessageBoxText(HWND box) {
  for (const ControlInfo& control : ChildControls(box)) {
    if (control.className != "Static" || control.text.empty()) continue;
    if ((control.style & SS_TYPEMASK) == SS_ICON) continue;
    return control.text;
  }
  return std::wstring();
}

std::vector<std::wstring> ButtonCaptions(HWND dialog) {
  std::vector<std::wstring> captions;
  for (const ControlInfo& control : ChildControls(dialog))
    if (control.className == "Button" && IsWindowVisible(control.handle))
      captions.push_back(control.text);
  return captions;
}

void PressButton(HWND button) { PostMessageA(button, BM_CLICK, 0, 0); }

void PostCommand(HWND parent, int id) {
  PostMessageA(parent, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

bool SelectItem(HWND box, int index) {
  const UINT message = IsListBox(box) ? LB_SETCURSEL : CB_SETCURSEL;
  if (SendWithTimeout(box, message, static_cast<WPARAM>(index), 0) != index) return false;
  NotifyParent(box, IsListBox(box) ? LBN_SELCHANGE : CBN_SELCHANGE);
  return true;
}

int SelectedItem(HWND box) {
  return static_cast<int>(SendWithTimeout(box, IsListBox(box) ? LB_GETCURSEL : CB_GETCURSEL, 0, 0));
}

std::vector<std::wstring> ItemTexts(HWND box) {
  const bool list = IsListBox(box);
  const LRESULT count = SendWithTimeout(box, list ? LB_GETCOUNT : CB_GETCOUNT, 0, 0);
  std::vector<std::wstring> texts;
  for (LRESULT i = 0; i < count; ++i) {
    // Sized by the item's own length: items may be longer than any fixed buffer.
    const LRESULT size = SendWithTimeout(box, list ? LB_GETTEXTLEN : CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(size > 0 ? size : 0) + 1, L'\0');
    const LRESULT length = SendWithTimeout(box, list ? LB_GETTEXT : CB_GETLBTEXT,
                                           static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(length > 0 && length < static_cast<LRESULT>(text.size()) ? static_cast<size_t>(length) : 0);
    texts.push_back(text);
  }
  return texts;
}

bool TypeComboText(HWND combo, const std::string& text) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(combo, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                           SMTO_ABORTIFHUNG, kSendTimeoutMs, &result))
    return false;
  NotifyParent(combo, CBN_EDITCHANGE);
  return true;
}

bool MoveTrackbar(HWND trackbar, int position) {
  if (SendWithTimeout(trackbar, TBM_SETPOS, TRUE, position) < 0) return false;
  const UINT message = (GetWindowLongA(trackbar, GWL_STYLE) & TBS_VERT) ? WM_VSCROLL : WM_HSCROLL;
  HWND parent = GetAncestor(trackbar, GA_PARENT);
  const LPARAM from = reinterpret_cast<LPARAM>(trackbar);
  PostMessageA(parent, message, MAKEWPARAM(TB_THUMBPOSITION, position), from);
  PostMessageA(parent, message, MAKEWPARAM(TB_ENDTRACK, 0), from);
  return true;
}

int TrackbarPosition(HWND trackbar) {
  return static_cast<int>(SendWithTimeout(trackbar, TBM_GETPOS, 0, 0));
}

bool IsChecked(HWND checkBox) {
  return SendWithTimeout(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

COLORREF Picture::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width || y >= height) return CLR_INVALID;
  const uint8_t* p = &bgr[(static_cast<size_t>(y) * static_cast<size_t>(width) +
                           static_cast<size_t>(x)) * 3];
  return RGB(p[2], p[1], p[0]);
}

bool CaptureScreenRect(const RECT& rect, Picture& picture) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (width <= 0 || height <= 0) return false;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
  SelectObject(memory, old);

  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down rows
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<uint8_t> rows(RowStride(width) * static_cast<size_t>(height));
  const int copied = GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), rows.data(), &info,
                               DIB_RGB_COLORS);
  DeleteObject(bitmap);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  if (copied != height) return false;

  picture.width = width;
  picture.height = height;
  picture.bgr.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
  for (int y = 0; y < height; ++y)
    std::memcpy(&picture.bgr[static_cast<size_t>(y) * static_cast<size_t>(width) * 3],
                &rows[static_cast<size_t>(y) * RowStride(width)], static_cast<size_t>(width) * 3);
  return true;
}

bool CaptureClientArea(HWND window, Picture& picture) {
  RECT client;
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  return CaptureScreenRect(client, picture);
}

bool CaptureWindow(HWND window, Picture& picture) {
  RECT rect;
  if (!GetWindowRect(window, &rect)) return false;
  rect.left = std::max<LONG>(rect.left, 0);
  rect.top = std::max<LONG>(rect.top, 0);
  rect.right = std::min<LONG>(rect.right, GetSystemMetrics(SM_CXSCREEN));
  rect.bottom = std::min<LONG>(rect.bottom, GetSystemMetrics(SM_CYSCREEN));
  return CaptureScreenRect(rect, picture);
}

bool CaptureScreen(Picture& picture) {
  const RECT rect = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return CaptureScreenRect(rect, picture);
}

bool SaveBmp(const Picture& picture, const std::string& path) {
  const size_t stride = RowStride(picture.width);
  const size_t imageSize = stride * static_cast<size_t>(picture.height);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = static_cast<DWORD>(file.bfOffBits + imageSize);
  header.biSize = sizeof header;
  header.biWidth = picture.width;
  header.biHeight = picture.height;  // bottom-up, the form every viewer reads
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biSizeImage = static_cast<DWORD>(imageSize);
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  std::vector<char> row(stride, 0);
  for (int y = picture.height - 1; y >= 0; --y) {
    std::memcpy(row.data(), &picture.bgr[static_cast<size_t>(y) * static_cast<size_t>(picture.width) * 3],
                static_cast<size_t>(picture.width) * 3);
    out.write(row.data(), static_cast<std::streamsize>(stride));
  }
  return static_cast<bool>(out);
}

bool LoadBmp(const std::string& path, Picture& picture) {
  std::ifstream in(path, std::ios::binary);
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER header = {};
  in.read(reinterpret_cast<char*>(&file), sizeof file);
  in.read(reinterpret_cast<char*>(&header), sizeof header);
  if (!in || file.bfType != 0x4D42 || header.biBitCount != 24 || header.biCompression != BI_RGB)
    return false;
  const bool bottomUp = header.biHeight > 0;
  picture.width = header.biWidth;
  picture.height = bottomUp ? header.biHeight : -header.biHeight;
  const size_t stride = RowStride(picture.width);
  const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
  picture.bgr.assign(rowBytes * static_cast<size_t>(picture.height), 0);
  in.seekg(file.bfOffBits);
  std::vector<char> row(stride);
  for (int i = 0; i < picture.height; ++i) {
    if (!in.read(row.data(), static_cast<std::streamsize>(stride))) return false;
    const int y = bottomUp ? picture.height - 1 - i : i;
    std::memcpy(&picture.bgr[static_cast<size_t>(y) * rowBytes], row.data(), rowBytes);
  }
  return true;
}

bool SaveWindowBmp(HWND window, const std::string& path) {
  Picture picture;
  const bool captured = window ? CaptureWindow(window, picture) : CaptureScreen(picture);
  return captured && SaveBmp(picture, path);
}

}  // namespace windriver
