// The percentage bar of the copy gauge: a child window of its own class with a maximum and a
// position, drawn as a done part and a remaining part with the percentage XOR-ed over both.
#pragma once

#include <windows.h>

#include <cstdint>

struct GaugeBarStyle {
  bool sunkenFrame = false;
  int frameWidth = 1;
  COLORREF done = RGB(0, 0, 255);
  COLORREF remaining = RGB(255, 255, 255);
};

// A handle on one bar window. The bar's state lives with its window and goes with it.
class GaugeBar {
 public:
  GaugeBar() = default;
  explicit GaugeBar(HWND window) : window_(window) {}

  // Creates the bar as child [id] of [parent] over [rect] (client coordinates).
  static GaugeBar Create(HWND parent, const RECT& rect, int id, const GaugeBarStyle& style);

  HWND Handle() const { return window_; }
  int32_t Maximum() const;
  int32_t Position() const;
  // Both repaint at once when what the bar shows changes; the position never passes the maximum.
  void SetMaximum(int32_t maximum);
  void SetPosition(int32_t position);
  // As SetPosition, but within a few milliseconds of the last repaint the bar is only marked for
  // repainting, which the next message drain does: a copy's steps come faster than the eye.
  void SetPositionPaced(int32_t position);

 private:
  HWND window_ = nullptr;
};

// Draws a bar of that state into [dc] over [client], as the window paints itself.
void PaintGaugeBar(HDC dc, const RECT& client, int32_t position, int32_t maximum, const GaugeBarStyle& style,
                   HFONT font);
