// Picture1: the plot of the path, a 256 x 256 area (one pixel per path unit, y growing
// downwards) kept in a memory bitmap so that it survives repainting.
#pragma once

#include <windows.h>

#include "app/core/tessil_path.h"

constexpr int kPictureSize = 256;
constexpr COLORREF kPictureBackColor = RGB(0, 0, 0);
constexpr COLORREF kPictureForeColor = RGB(0, 255, 0);

// Registers the window class of the picture area; call once before creating Picture1.
void RegisterPictureClass(HINSTANCE instance);
HWND CreatePicture(HWND parent, int id, int left, int top);

// Clears Picture1 and plots the points it is given at (x, 255 - y).
class PicturePlotter : public PathPlotter {
 public:
  explicit PicturePlotter(HWND picture);
  ~PicturePlotter() override;
  PicturePlotter(const PicturePlotter&) = delete;
  PicturePlotter& operator=(const PicturePlotter&) = delete;
  void Plot(int x, int y) override;

 private:
  HWND picture_;
  HDC dc_;
};
