// The bitmaps of the object a window shows, and the two operations through which the window
// loads and paints the object's own items (bitmaps, texts, icons). The items themselves come
// with the object definitions; until an object has any, loading finds none and painting draws
// nothing over the background.
#pragma once

#include <windows.h>

#include <array>
#include <memory>

#include "ui/dib_image_win32.h"
#include "ui/user_objects.h"

class ObjectCanvas {
 public:
  static constexpr int kSlots = 16;

  // Frees every image and its palette.
  void Release();
  int Used() const { return used_; }
  std::array<std::unique_ptr<DibImage>, kSlots>& Slots() { return slots_; }
  void SetUsed(int used) { used_ = used; }

 private:
  std::array<std::unique_ptr<DibImage>, kSlots> slots_;
  int used_ = 0;
};

// Loads [object]'s bitmaps into [canvas] and creates its icon windows on [window]: 0, 10052
// when a bitmap could not be read (its slot stays empty), 10058 for more than 16 bitmaps.
int LoadObjectItems(const UserObject& object, HWND window, ObjectCanvas& canvas);
// Paints [object]'s items over the background already drawn in [dc].
void PaintObjectItems(HDC dc, HWND window, const UserObject& object, ObjectCanvas& canvas);
