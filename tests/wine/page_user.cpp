#include "tests/wine/page_user.h"

#include <gtest/gtest.h>

#include <thread>

#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"

namespace {

BOOL CALLBACK PaintChild(HWND child, LPARAM) {
  UpdateWindow(child);
  return TRUE;
}

}  // namespace

HWND WaitForDialog(const char* title, HWND besides, DWORD timeoutMs) {
  HWND found = nullptr;
  windriver::WaitUntil(
      [&] {
        for (HWND window : windriver::TopLevelWindows(GetCurrentProcessId(), "#32770", title))
          if (window != besides) found = window;
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

int WithUser(InProcessRun& run, const std::string& line, const std::function<void(HWND page)>& act,
             const char* title) {
  std::thread person([&] {
    HWND page = WaitForDialog(title);
    if (!page) {
      ADD_FAILURE() << "no page for " << line;
      return;
    }
    act(page);
    if (!windriver::WaitForWindowGone(page, 10000)) {
      ADD_FAILURE() << "the page of " << line << " stayed open";
      while (IsWindow(page)) {
        // Whatever is open over it first (a message box, the browser), then the page.
        for (HWND window : windriver::TopLevelWindows(GetCurrentProcessId(), "#32770", nullptr))
          PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        windriver::WaitForWindowGone(page, 1000);
      }
    }
  });
  const int result = run.Line(line);
  person.join();
  return result;
}

void KeepPicture(HWND window, const std::string& name) {
  // Taken once the window is active, so that its title bar shows as a user sees it.
  windriver::WaitUntil([&] { return GetForegroundWindow() == window; }, 3000);
  UpdateWindow(window);
  EnumChildWindows(window, PaintChild, 0);
  const std::string folder = ArtefactFolder() + "dialogs\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  const size_t slash = name.find('\\');
  if (slash != std::string::npos) CreateDirectoryA((folder + name.substr(0, slash)).c_str(), nullptr);
  EXPECT_TRUE(windriver::SaveWindowBmp(window, folder + name + ".bmp")) << name;
}

void TypeInto(HWND edit, const std::string& text) {
  SendMessageA(edit, EM_SETSEL, 0, -1);
  SendMessageA(edit, WM_CHAR, VK_BACK, 0);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<WPARAM>(static_cast<unsigned char>(c)), 0);
}

void PressKey(HWND page, UINT virtualKey) {
  PostMessageA(page, WM_KEYDOWN, virtualKey, 0);
  PostMessageA(page, WM_KEYUP, virtualKey, 0xC0000000);
}

void PressCloseBox(HWND page) { PostMessageA(page, WM_SYSCOMMAND, SC_CLOSE, 0); }

std::string ControlText(HWND page, int id) { return windriver::WindowTextA(windriver::FindControl(page, id)); }
