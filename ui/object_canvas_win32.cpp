#include "ui/object_canvas_win32.h"

void ObjectCanvas::Release() {
  for (auto& slot : slots_) slot.reset();
  used_ = 0;
}

int LoadObjectItems(const UserObject&, HWND, ObjectCanvas& canvas) {
  canvas.Release();
  return 0;
}

void PaintObjectItems(HDC, HWND, const UserObject&, ObjectCanvas&) {}
