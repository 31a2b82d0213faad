// Form1 in this process, driven through its controls as a user would (items selected, sliders
// moved, boxes clicked), with the effects read from the form's state: captions, items,
// tooltips and fonts, the port and rate choices, the delays and the scan timer.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>

#include "app/lumivane/form1.h"
#include "app/lumivane/resource_ids.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace windriver;

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  } while (GetTickCount() - start < ms);
}

// Pumps until [condition] holds; the form only acts while its messages run.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start >= timeoutMs) return false;
    PumpFor(10);
  }
  return true;
}

unsigned long TicksDuring(DWORD ms) {
  const unsigned long before = Form1State().scanTicks;
  PumpFor(ms);
  return Form1State().scanTicks - before;
}

class Form1Test : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    apptest::WriteCaptureSilence(600);
    form_ = CreateForm1(GetModuleHandleA(nullptr));
    PumpUntil([] { return Form1State().scanTicks > 0; }, 10000);
  }
  HWND Control(int id) { return GetDlgItem(form_, id); }
  static HWND form_;
};

HWND Form1Test::form_ = nullptr;

TEST_F(Form1Test, ShowsItsCaptionsItemsAndStartingValues) {
  EXPECT_EQ(WindowTextA(form_), "Lumivane");
  const std::map<int, std::string> captions = {
      {IDC_CHECK2, "Swap X->Y"}, {IDC_CHECK1, "Show Tessil"}, {IDC_COMBO2, "8KHz"},
      {IDC_COMMAND1, "Start/Stop"}, {IDC_COMBO1, "LPT 1"}, {IDC_LABEL6, "Frequency"},
      {IDC_LABEL5, "Port Delay"}, {IDC_LABEL4, "Port"}, {IDC_LABEL3, "Total Points"},
      {IDC_LABEL2, "ScanSpeed"}, {IDC_LABEL1, "71"}};
  for (const auto& [id, caption] : captions) EXPECT_EQ(WindowTextA(Control(id)), caption) << id;
  EXPECT_EQ(ItemTexts(Control(IDC_COMBO1)), (std::vector<std::wstring>{L"LPT 1", L"LPT 2"}));
  EXPECT_EQ(ItemTexts(Control(IDC_COMBO2)),
            (std::vector<std::wstring>{L"8KHz", L"11KHz", L"22KHz", L"32KHz"}));
  EXPECT_TRUE(IsChecked(Control(IDC_CHECK1)));
  EXPECT_FALSE(IsChecked(Control(IDC_CHECK2)));
  EXPECT_EQ(SendMessageA(Control(IDC_SLIDER2), TBM_GETRANGEMIN, 0, 0), 100);
  EXPECT_EQ(SendMessageA(Control(IDC_SLIDER2), TBM_GETRANGEMAX, 0, 0), 10000);
  EXPECT_EQ(TrackbarPosition(Control(IDC_SLIDER2)), 500);
  EXPECT_EQ(SendMessageA(Control(IDC_SLIDER1), TBM_GETRANGEMIN, 0, 0), 50);
  EXPECT_EQ(SendMessageA(Control(IDC_SLIDER1), TBM_GETRANGEMAX, 0, 0), 200);
  EXPECT_EQ(TrackbarPosition(Control(IDC_SLIDER1)), 100);

  const FormState& state = Form1State();
  EXPECT_EQ(state.sampleRate, 8000);
  EXPECT_EQ(state.output.portBase, 0x378);
  EXPECT_EQ(state.output.portDelay, 500);
  EXPECT_TRUE(state.showSpectrum);
  EXPECT_TRUE(state.output.xFirst);
  EXPECT_FALSE(state.output.outputRunning);
  EXPECT_EQ(state.path.totalPoints, 71);
  EXPECT_EQ(state.scanInterval, 100u);
  EXPECT_EQ(GetPriorityClass(GetCurrentProcess()), static_cast<DWORD>(REALTIME_PRIORITY_CLASS));
}

TEST_F(Form1Test, HasTheConfigAndAboutMenus) {
  HMENU bar = GetMenu(form_);
  ASSERT_EQ(GetMenuItemCount(bar), 2);
  char text[64];
  GetMenuStringA(bar, 0, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Config");
  GetMenuStringA(bar, 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "About");
  EXPECT_EQ(GetMenuItemID(bar, 1), static_cast<UINT>(IDM_ABOUT));
  HMENU config = GetSubMenu(bar, 0);
  GetMenuStringA(config, IDM_INSTALL, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Install IO Driver");
  GetMenuStringA(config, IDM_REMOVE, text, sizeof text, MF_BYCOMMAND);
  EXPECT_STREQ(text, "Remove IO Driver");
}

TEST_F(Form1Test, EveryControlHasItsTooltip) {
  const std::map<int, std::wstring> expected = {
      {IDC_CHECK2, L"Поменять X на Y"}, {IDC_CHECK1, L"Показывать спектр"},
      {IDC_COMBO2, L"Частота дискретизации"}, {IDC_SLIDER2, L"Скорость вывода в порт PPS"},
      {IDC_COMMAND1, L"Начать/Закончить вывод в порт"}, {IDC_COMBO1, L"Порт"},
      {IDC_SLIDER1, L"Период сканирования"}, {IDC_LABEL4, L"Порт"},
      {IDC_LABEL1, L"Точек в кадре"}};
  HWND tooltip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr);
  while (tooltip && GetWindow(tooltip, GW_OWNER) != form_)
    tooltip = FindWindowExA(nullptr, tooltip, TOOLTIPS_CLASSA, nullptr);
  ASSERT_NE(tooltip, nullptr);
  std::map<int, std::wstring> found;
  const LRESULT count = SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[128] = L"";
    TOOLINFOW tool = {};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.lpszText = text;
    SendMessageW(tooltip, TTM_ENUMTOOLSW, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&tool));
    HWND control = reinterpret_cast<HWND>(tool.uId);
    if (GetParent(control) == form_) found[GetDlgCtrlID(control)] = text;  // not the edit fields
  }
  EXPECT_EQ(found, expected);
}

TEST_F(Form1Test, ATooltipAppearsOverTheStartStopButton) {
  RECT button;
  GetWindowRect(Control(IDC_COMMAND1), &button);
  SetForegroundWindow(form_);
  SetCursorPos(button.left + 10, button.top + 10);
  HWND shown = nullptr;
  PumpUntil([&] {
    shown = nullptr;
    for (HWND tip : TopLevelWindows(GetCurrentProcessId(), TOOLTIPS_CLASSA, nullptr)) shown = tip;
    return shown != nullptr;
  }, 5000);
  ASSERT_NE(shown, nullptr);
  EXPECT_EQ(WindowTextW(shown), L"Начать/Закончить вывод в порт");
  SaveWindowBmp(nullptr, apptest::ScreenshotPath("form1_tooltip"));
  SetCursorPos(0, 700);
}

TEST_F(Form1Test, TheCheckBoxesAndTableLabelsUseArialNarrow) {
  for (int id : {IDC_CHECK1, IDC_CHECK2, IDC_LABEL6, IDC_LABEL5, IDC_LABEL3, IDC_LABEL2}) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(Control(id), WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    ASSERT_TRUE(GetObjectA(font, sizeof description, &description)) << id;
    EXPECT_STREQ(description.lfFaceName, "Arial Narrow") << id;
  }
}

TEST_F(Form1Test, ThePortFollowsTheChosenItemAndTypingGivesLpt2) {
  HWND combo = Control(IDC_COMBO1);
  ASSERT_TRUE(SelectItem(combo, 1));
  PumpFor(50);
  EXPECT_EQ(Form1State().output.portBase, 0x278);
  ASSERT_TRUE(SelectItem(combo, 0));
  PumpFor(50);
  EXPECT_EQ(Form1State().output.portBase, 0x378);
  ASSERT_TRUE(TypeComboText(combo, "LPT 1"));  // typed, so no item is selected
  PumpFor(50);
  EXPECT_EQ(Form1State().output.portBase, 0x278);
  SelectItem(combo, 0);
  PumpFor(50);
}

TEST_F(Form1Test, EachRateItemReopensTheDeviceAtItsRate) {
  HWND combo = Control(IDC_COMBO2);
  const int rates[] = {11025, 22050, 32000, 8000};
  const int items[] = {1, 2, 3, 0};
  for (int i = 0; i < 4; ++i) {
    ASSERT_TRUE(SelectItem(combo, items[i]));
    PumpFor(50);
    EXPECT_EQ(Form1State().sampleRate, rates[i]);
    // The device was opened again: blocks keep arriving.
    EXPECT_GT(TicksDuring(400), 1u) << rates[i];
  }
}

TEST_F(Form1Test, TheSlidersSetTheOutputDelayAndTheScanPeriod) {
  ASSERT_TRUE(MoveTrackbar(Control(IDC_SLIDER2), 2000));
  PumpFor(50);
  EXPECT_EQ(Form1State().output.portDelay, 2000);
  MoveTrackbar(Control(IDC_SLIDER2), 500);

  ASSERT_TRUE(MoveTrackbar(Control(IDC_SLIDER1), 50));
  PumpFor(100);
  EXPECT_EQ(Form1State().scanInterval, 50u);
  const unsigned long fast = TicksDuring(1000);
  EXPECT_GE(fast, 12u);  // every 50 ms: about 20
  ASSERT_TRUE(MoveTrackbar(Control(IDC_SLIDER1), 200));
  PumpFor(250);
  const unsigned long slow = TicksDuring(1000);
  EXPECT_LE(slow, 7u);  // every 200 ms: about 5
  EXPECT_GE(slow, 3u);
  MoveTrackbar(Control(IDC_SLIDER1), 100);
  PumpFor(50);
}

TEST_F(Form1Test, TheCheckBoxesToggleDrawingAndTheAxisOrder) {
  PressButton(Control(IDC_CHECK1));
  PumpFor(50);
  EXPECT_FALSE(IsChecked(Control(IDC_CHECK1)));
  EXPECT_FALSE(Form1State().showSpectrum);
  PressButton(Control(IDC_CHECK1));
  PressButton(Control(IDC_CHECK2));
  PumpFor(50);
  EXPECT_TRUE(Form1State().showSpectrum);
  EXPECT_FALSE(Form1State().output.xFirst);  // checked: y goes first
  PressButton(Control(IDC_CHECK2));
  PumpFor(50);
  EXPECT_TRUE(Form1State().output.xFirst);
}

}  // namespace
