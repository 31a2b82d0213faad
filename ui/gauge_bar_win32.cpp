#include "ui/gauge_bar_win32.h"

#include <string>

#include "ui/paint_helpers_win32.h"
#include "ui/window_geometry.h"

namespace {

const char* const kClassName = "QuillsetGaugeBar";

struct BarState {
  GaugeBarStyle style;
  int32_t maximum = 0;
  int32_t position = 0;
  HFONT font = nullptr;
  int clientRight = 0;  // kept from WM_SIZE: asking for the rectangle per step costs a server call
  // What the window showed when it was last drawn: a step that changes neither is not drawn.
  int shownEdge = -1;
  std::string shownLabel;
  DWORD lastPaint = 0;
  bool paintPending = false;  // marked for repainting, not yet painted
};

constexpr DWORD kPaceMs = 15;

BarState* StateOf(HWND window) {
  return window ? reinterpret_cast<BarState*>(GetWindowLongPtrA(window, GWLP_USERDATA)) : nullptr;
}

COLORREF Inverse(COLORREF c) { return RGB(255 - GetRValue(c), 255 - GetGValue(c), 255 - GetBValue(c)); }

// The label goes through a black bitmap in the inverse of the done colour, combined by XOR:
// white over the done part, the remaining colour XOR the inverse over the rest.
void DrawLabel(HDC dc, const RECT& r, const std::string& label, COLORREF done, HFONT font) {
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ oldFont = SelectObject(memory, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  SIZE size{};
  GetTextExtentPoint32A(memory, label.c_str(), static_cast<int>(label.size()), &size);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, size.cx, size.cy);
  HGDIOBJ oldBitmap = SelectObject(memory, bitmap);
  RECT all{0, 0, size.cx, size.cy};
  FillRect(memory, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  SetBkColor(memory, RGB(0, 0, 0));
  SetTextColor(memory, Inverse(done));
  TextOutA(memory, 0, 0, label.c_str(), static_cast<int>(label.size()));
  BitBlt(dc, GaugeLabelOffset(r.left, r.right, size.cx), GaugeLabelOffset(r.top, r.bottom, size.cy), size.cx, size.cy,
         memory, 0, 0, SRCINVERT);
  SelectObject(memory, oldBitmap);
  SelectObject(memory, oldFont);
  DeleteObject(bitmap);
  DeleteDC(memory);
}

void Paint(HWND window, BarState& s) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  PaintGaugeBar(dc, client, s.position, s.maximum, s.style, s.font);
  EndPaint(window, &paint);
}

// Repaints when the edge or the label would change: at once, or with [paced] perhaps at the
// next message drain.
void Refresh(HWND window, BarState& s, bool paced = false) {
  const int edge = GaugeFillEdge(s.position, s.maximum, 0, s.clientRight);
  std::string label = GaugeLabel(s.position, s.maximum);
  const bool changed = edge != s.shownEdge || label != s.shownLabel;
  if (!changed && (paced || !s.paintPending)) return;
  if (changed) {
    s.shownEdge = edge;
    s.shownLabel = std::move(label);
    InvalidateRect(window, nullptr, FALSE);
  }
  const DWORD now = GetTickCount();
  if (paced && now - s.lastPaint < kPaceMs) {
    s.paintPending = true;
    return;
  }
  s.lastPaint = now;
  UpdateWindow(window);
}

LRESULT CALLBACK BarProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  BarState* s = StateOf(window);
  switch (message) {
    case WM_NCCREATE: {
      const auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      auto* state = new BarState;
      state->style = *static_cast<const GaugeBarStyle*>(create->lpCreateParams);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
      break;
    }
    case WM_NCDESTROY:
      delete s;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    case WM_SIZE:
      if (s) s->clientRight = LOWORD(lParam);
      break;
    case WM_SETFONT:
      if (s) s->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // the paint covers every pixel
    case WM_PAINT:
      if (s) {
        s->paintPending = false;
        Paint(window, *s);
        return 0;
      }
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterBarClass(HINSTANCE instance) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kClassName, &existing)) return;
  WNDCLASSA c{};
  c.style = CS_HREDRAW | CS_VREDRAW;
  c.lpfnWndProc = BarProcedure;
  c.hInstance = instance;
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  c.lpszClassName = kClassName;
  RegisterClassA(&c);
}

}  // namespace

void PaintGaugeBar(HDC dc, const RECT& client, int32_t position, int32_t maximum, const GaugeBarStyle& style,
                   HFONT font) {
  RECT r = client;
  const int edge = GaugeFillEdge(position, maximum, r.left, r.right);
  if (style.sunkenFrame) DrawRings(dc, r, style.frameWidth, RGB(128, 128, 128), RGB(255, 255, 255));
  // The columns left of the edge in the done colour, the others in the remaining colour.
  const int split = edge < r.left ? r.left : edge > r.right ? r.right : edge;
  HBRUSH done = CreateSolidBrush(style.done);
  HBRUSH remaining = CreateSolidBrush(style.remaining);
  const RECT donePart{r.left, r.top, split, r.bottom};
  const RECT restPart{split, r.top, r.right, r.bottom};
  FillRect(dc, &donePart, done);
  FillRect(dc, &restPart, remaining);
  DeleteObject(done);
  DeleteObject(remaining);
  const std::string label = GaugeLabel(position, maximum);
  if (!label.empty()) DrawLabel(dc, r, label, style.done, font);
}

GaugeBar GaugeBar::Create(HWND parent, const RECT& rect, int id, const GaugeBarStyle& style) {
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterBarClass(instance);
  GaugeBarStyle copy = style;
  HWND window = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                                rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                instance, &copy);
  return GaugeBar(window);
}

int32_t GaugeBar::Maximum() const {
  const BarState* s = StateOf(window_);
  return s ? s->maximum : 0;
}

int32_t GaugeBar::Position() const {
  const BarState* s = StateOf(window_);
  return s ? s->position : 0;
}

void GaugeBar::SetMaximum(int32_t maximum) {
  BarState* s = StateOf(window_);
  if (!s) return;
  s->maximum = maximum;
  if (maximum < s->position) s->position = maximum;
  Refresh(window_, *s);
}

void GaugeBar::SetPosition(int32_t position) {
  BarState* s = StateOf(window_);
  if (!s) return;
  s->position = position < s->maximum ? position : s->maximum;
  Refresh(window_, *s);
}

void GaugeBar::SetPositionPaced(int32_t position) {
  BarState* s = StateOf(window_);
  if (!s) return;
  s->position = position < s->maximum ? position : s->maximum;
  Refresh(window_, *s, true);
}
