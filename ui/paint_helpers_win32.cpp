#include "ui/paint_helpers_win32.h"

void DrawRings(HDC dc, RECT& r, int count, COLORREF topLeft, COLORREF bottomRight) {
  HPEN dark = CreatePen(PS_SOLID, 1, topLeft);
  HPEN light = CreatePen(PS_SOLID, 1, bottomRight);
  HGDIOBJ old = SelectObject(dc, dark);
  for (int ring = 0; ring < count; ++ring) {
    const int l = r.left + ring, t = r.top + ring, rt = r.right - 1 - ring, b = r.bottom - 1 - ring;
    SelectObject(dc, dark);
    MoveToEx(dc, l, b, nullptr);
    LineTo(dc, l, t);
    LineTo(dc, rt + 1, t);
    SelectObject(dc, light);
    MoveToEx(dc, rt, t + 1, nullptr);
    LineTo(dc, rt, b);
    LineTo(dc, l, b);
  }
  SelectObject(dc, old);
  DeleteObject(dark);
  DeleteObject(light);
  InflateRect(&r, -count, -count);
}

SIZE TextLineSize(HDC dc, const std::string& line) {
  const std::string measured = line.empty() ? "W" : line;
  RECT r{0, 0, 0, 0};
  DrawTextA(dc, measured.c_str(), static_cast<int>(measured.size()), &r,
            DT_CALCRECT | DT_EXPANDTABS | DT_SINGLELINE);
  return SIZE{r.right - r.left, r.bottom - r.top};
}
