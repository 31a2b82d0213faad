// Form1's controls: positions, captions, fonts and tooltips. The layout is a column of
// settings beside the 256-unit picture area.
#include "app/lumivane/form1.h"

#include <commctrl.h>

#include "app/lumivane/picture.h"
#include "app/lumivane/resource_ids.h"
#include "app/lumivane/texts.h"

namespace {

constexpr int kColumnLeft = 284;
constexpr int kFieldLeft = 380;
constexpr int kFieldWidth = 150;

struct Place {
  int left, top, width, height;
};

HWND Create(HWND form, const char* type, const char* text, DWORD style, int id, Place place) {
  return CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, place.left, place.top,
                         place.width, place.height, form,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(form, GWLP_HINSTANCE)),
                         nullptr);
}

HFONT PointFont(HWND form, const char* face, int points) {
  HDC dc = GetDC(form);
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(form, dc);
  return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, face);
}

void SetFont(HWND control, HFONT font) {
  SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// The tooltip shows for [control]; a combo box's edit field gets the same tip, since the
// mouse over it reaches the field and not the box.
void AddTip(HWND tooltip, HWND form, HWND control, const wchar_t* text) {
  TOOLINFOW tool = {};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;  // understood by every version of the control
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = form;
  tool.uId = reinterpret_cast<UINT_PTR>(control);
  tool.lpszText = const_cast<wchar_t*>(text);
  SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  HWND edit = FindWindowExA(control, nullptr, "Edit", nullptr);
  if (edit) AddTip(tooltip, form, edit, text);
}

// Page Up and Page Down (and clicks beside the thumb) move by 100; ticks mark tenths of the
// range.
HWND CreateSlider(HWND form, int id, Place place, int low, int high, int value) {
  HWND slider = Create(form, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_AUTOTICKS | WS_TABSTOP, id,
                       place);
  SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(low, high));
  SendMessageA(slider, TBM_SETPAGESIZE, 0, 100);
  SendMessageA(slider, TBM_SETTICFREQ, static_cast<WPARAM>((high - low) / 10), 0);
  SendMessageA(slider, TBM_SETPOS, TRUE, value);
  return slider;
}

void CreateLabels(HWND form, Form1Controls& c) {
  const DWORD label = SS_LEFT | SS_NOTIFY;
  c.label6 = Create(form, "Static", "Frequency", label, IDC_LABEL6, {kColumnLeft, 12, 90, 18});
  c.label4 = Create(form, "Static", "Port", label, IDC_LABEL4, {kColumnLeft, 44, 90, 18});
  c.label5 = Create(form, "Static", "Port Delay", label, IDC_LABEL5, {kColumnLeft, 78, 90, 18});
  c.label2 = Create(form, "Static", "ScanSpeed", label, IDC_LABEL2, {kColumnLeft, 114, 90, 18});
  c.label3 = Create(form, "Static", "Total Points", label, IDC_LABEL3, {kColumnLeft, 148, 90, 18});
  c.label1 = Create(form, "Static", "Label1", label, IDC_LABEL1, {kFieldLeft, 148, 80, 18});
}

void CreateFields(HWND form, Form1Controls& c) {
  const DWORD combo = CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP;
  c.combo2 = Create(form, "ComboBox", "", combo, IDC_COMBO2, {kFieldLeft, 8, kFieldWidth, 160});
  SetWindowTextA(c.combo2, "8KHz");
  c.combo1 = Create(form, "ComboBox", "", combo, IDC_COMBO1, {kFieldLeft, 40, kFieldWidth, 120});
  SetWindowTextA(c.combo1, "LPT 1");
  c.slider2 = CreateSlider(form, IDC_SLIDER2, {kFieldLeft - 6, 72, kFieldWidth + 12, 30}, 100,
                           10000, 500);
  c.slider1 = CreateSlider(form, IDC_SLIDER1, {kFieldLeft - 6, 108, kFieldWidth + 12, 30}, 50,
                           200, 100);
  const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
  c.check1 = Create(form, "Button", "Show Tessil", check, IDC_CHECK1, {kColumnLeft, 180, 110, 20});
  c.check2 = Create(form, "Button", "Swap X->Y", check, IDC_CHECK2, {kFieldLeft + 20, 180, 110, 20});
  c.command1 = Create(form, "Button", "Start/Stop", BS_PUSHBUTTON | WS_TABSTOP, IDC_COMMAND1,
                      {kColumnLeft, 216, 246, 34});
}

void SetFonts(HWND form, const Form1Controls& c) {
  HFONT standard = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  for (HWND control : {c.combo1, c.combo2, c.command1, c.label1, c.label4}) SetFont(control, standard);
  HFONT narrow = PointFont(form, "Arial Narrow", 10);  // lives as long as the form
  for (HWND control : {c.check1, c.check2, c.label6, c.label5, c.label3, c.label2})
    SetFont(control, narrow);
}

void CreateTooltips(HWND form, Form1Controls& c) {
  c.tooltip = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, form,
                              nullptr, nullptr, nullptr);
  AddTip(c.tooltip, form, c.check2, kTipSwap);
  AddTip(c.tooltip, form, c.check1, kTipShowTessil);
  AddTip(c.tooltip, form, c.combo2, kTipFrequency);
  AddTip(c.tooltip, form, c.slider2, kTipPortDelay);
  AddTip(c.tooltip, form, c.command1, kTipStartStop);
  AddTip(c.tooltip, form, c.combo1, kTipPort);
  AddTip(c.tooltip, form, c.slider1, kTipScanPeriod);
  AddTip(c.tooltip, form, c.label4, kTipPort);
  AddTip(c.tooltip, form, c.label1, kTipTotalPoints);
}

}  // namespace

void CreateForm1Controls(HWND form, Form1Controls& controls) {
  controls.picture1 = CreatePicture(form, IDC_PICTURE1, 8, 8);
  CreateLabels(form, controls);
  CreateFields(form, controls);
  SetFonts(form, controls);
  CreateTooltips(form, controls);
}
