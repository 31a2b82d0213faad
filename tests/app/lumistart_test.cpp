// The launcher: its splash, hidden after a moment and before Lumivane's window shows, which
// it starts from its own folder before it ends at once; and what it says when it cannot.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"

namespace {

using namespace apptest;
using namespace windriver;

HWND FormOfAnyLumivane() {
  const std::vector<HWND> forms = TopLevelWindows(0, "LumivaneForm1", nullptr);
  return forms.empty() ? nullptr : forms.front();
}

TEST(Lumistart, ShowsItsSplashThenHidesAndStartsMainExe) {
  WriteCaptureSilence(600);
  ChildProgram launcher;
  const DWORD start = GetTickCount();
  ASSERT_TRUE(launcher.Start("\"" + BinaryDirectory() + "Lumistart.exe\"", ScratchDirectory()));
  HWND splash = WaitForWindow(launcher.Id(), "LumistartForm1", nullptr, 10000);
  ASSERT_NE(splash, nullptr);
  EXPECT_NE(FindControlByText(splash, "Static", L"LUMIVANE"), nullptr);
  EXPECT_NE(FindControlByText(splash, "Static", L"Loading..."), nullptr);
  SaveWindowBmp(splash, ScreenshotPath("lumistart_splash"));

  // Watch both windows: the splash must be gone before the form is first seen.
  HWND form = nullptr;
  bool splashGoneFirst = false;
  ASSERT_TRUE(WaitUntil([&] {
    form = FormOfAnyLumivane();
    if (form) splashGoneFirst = !IsWindow(splash) || !IsWindowVisible(splash);
    return form != nullptr;
  }, 15000));
  const DWORD elapsed = GetTickCount() - start;
  EXPECT_TRUE(splashGoneFirst);
  EXPECT_GE(elapsed, 1400u);
  EXPECT_TRUE(launcher.WaitForExit(3000));  // it ends without waiting for the application
  DWORD mainId = 0;
  GetWindowThreadProcessId(form, &mainId);
  EXPECT_NE(mainId, launcher.Id());
  HANDLE main = OpenProcess(SYNCHRONIZE, FALSE, mainId);
  PostMessageA(form, WM_CLOSE, 0, 0);
  EXPECT_EQ(WaitForSingleObject(main, 5000), WAIT_OBJECT_0);
  CloseHandle(main);
}

TEST(Lumistart, SaysSoWhenMainExeCannotBeStarted) {
  const std::string folder = ScratchDirectory() + "alone\\";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyFileA((BinaryDirectory() + "Lumistart.exe").c_str(), (folder + "Lumistart.exe").c_str(), FALSE);
  ChildProgram launcher;
  ASSERT_TRUE(launcher.Start("\"" + folder + "Lumistart.exe\"", folder));
  HWND box = WaitForWindow(launcher.Id(), "#32770", "Lumistart", 10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Lumivane could not be started:\r\n" +
                                     std::wstring(folder.begin(), folder.end()) + L"main.exe");
  PressButton(FindControl(box, IDOK));
  EXPECT_TRUE(launcher.WaitForExit(5000));
}

}  // namespace
