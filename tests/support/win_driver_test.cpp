// The driver's own checks: environment and exit codes of started programs, the notifications
// that its control helpers send, and screen capture with its BMP files.
#include "tests/support/win_driver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace windriver;

constexpr int kButtonId = 11;
constexpr int kComboId = 12;
constexpr int kTrackbarId = 13;

std::vector<WPARAM> gCommands;
std::vector<WPARAM> gScrolls;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) gCommands.push_back(wParam);
  if (message == WM_HSCROLL) gScrolls.push_back(wParam);
  if (message == WM_ERASEBKGND) {
    RECT rect;
    GetClientRect(window, &rect);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(reinterpret_cast<HDC>(wParam), &rect, red);
    DeleteObject(red);
    return 1;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void Pump() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class DriverWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    InitCommonControls();
    WNDCLASSA type = {};
    type.lpfnWndProc = RecordingProc;
    type.hInstance = GetModuleHandleA(nullptr);
    type.lpszClassName = "DriverTestWindow";
    RegisterClassA(&type);
    window_ = CreateWindowExA(WS_EX_TOPMOST, "DriverTestWindow", "Driver test",
                              WS_POPUP | WS_VISIBLE, 10, 10, 300, 200, nullptr, nullptr,
                              type.hInstance, nullptr);
    button_ = Child("Button", "Press me", BS_PUSHBUTTON, kButtonId, 0);
    combo_ = Child("ComboBox", "", CBS_DROPDOWN, kComboId, 40);
    trackbar_ = Child(TRACKBAR_CLASSA, "", 0, kTrackbarId, 80);
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("first"));
    SendMessageA(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("second"));
    SendMessageA(trackbar_, TBM_SETRANGE, TRUE, MAKELPARAM(0, 50));
    UpdateWindow(window_);
    Pump();
    gCommands.clear();
    gScrolls.clear();
  }
  void TearDown() override { DestroyWindow(window_); }

  HWND Child(const char* type, const char* text, DWORD style, int id, int top) {
    return CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, 150, top, 120, 30,
                           window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                           nullptr);
  }

  HWND window_ = nullptr;
  HWND button_ = nullptr;
  HWND combo_ = nullptr;
  HWND trackbar_ = nullptr;
};

TEST(ChildProgram, PassesTheEnvironmentAndReportsTheExitCode) {
  ChildProgram child;
  ASSERT_TRUE(child.Start("cmd.exe /c if \"%QS_DRIVER_PROBE%\"==\"yes\" (exit 7) else (exit 3)",
                          "", {"QS_DRIVER_PROBE=yes"}));
  DWORD code = 0;
  ASSERT_TRUE(child.WaitForExit(20000, &code));
  EXPECT_EQ(code, 7u);
}

TEST_F(DriverWindow, FindsWindowsAndReadsControls) {
  EXPECT_EQ(WaitForWindow(GetCurrentProcessId(), "DriverTestWindow", "Driver test", 1000),
            window_);
  EXPECT_EQ(FindControlByText(window_, "Button", L"Press me"), button_);
  EXPECT_EQ(FindControl(window_, kComboId), combo_);
  EXPECT_EQ(ItemTexts(combo_), (std::vector<std::wstring>{L"first", L"second"}));
  EXPECT_EQ(ChildControls(window_).size(), 4u);  // the combo box's edit field counts too
}

TEST_F(DriverWindow, ControlHelpersNotifyTheParentAsAClickWould) {
  PressButton(button_);
  ASSERT_TRUE(SelectItem(combo_, 1));
  ASSERT_TRUE(MoveTrackbar(trackbar_, 30));
  Pump();
  EXPECT_EQ(SelectedItem(combo_), 1);
  EXPECT_EQ(TrackbarPosition(trackbar_), 30);
  const std::vector<WPARAM> expected = {MAKEWPARAM(kButtonId, BN_CLICKED),
                                        MAKEWPARAM(kComboId, CBN_SELCHANGE)};
  EXPECT_EQ(gCommands, expected);
  ASSERT_FALSE(gScrolls.empty());
  EXPECT_EQ(gScrolls.front(), MAKEWPARAM(TB_THUMBPOSITION, 30));
}

TEST_F(DriverWindow, CapturesTheScreenAndRoundTripsBmpFiles) {
  Picture shot;
  ASSERT_TRUE(CaptureWindow(window_, shot));
  EXPECT_EQ(shot.width, 300);
  EXPECT_EQ(shot.Pixel(5, 5), RGB(255, 0, 0));
  const std::string path = TestExecutableDirectory() + "win_driver_capture.bmp";
  ASSERT_TRUE(SaveBmp(shot, path));
  Picture loaded;
  ASSERT_TRUE(LoadBmp(path, loaded));
  EXPECT_EQ(loaded.width, shot.width);
  EXPECT_EQ(loaded.height, shot.height);
  EXPECT_EQ(loaded.bgr, shot.bgr);
}

}  // namespace
