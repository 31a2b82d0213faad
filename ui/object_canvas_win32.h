// The bitmaps and icon windows of the object a window shows, and the two operations through
// which the window loads and paints the object's own items (bitmaps, colour blocks, texts,
// icons). Backdrops and cue cards are laid out in pixels, dialogs in dialog units.
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include "ui/dib_image_win32.h"
#include "ui/user_objects.h"

struct Interpreter;

class ObjectCanvas {
 public:
  static constexpr int kSlots = 16;

  ObjectCanvas() = default;
  ObjectCanvas(const ObjectCanvas&) = delete;
  ObjectCanvas& operator=(const ObjectCanvas&) = delete;
  ~ObjectCanvas() { Release(); }

  // Frees every image and its palette, and destroys the icon windows made for the object.
  void Release();
  int Used() const { return used_; }
  // The image of the k-th bitmap, or nullptr when it could not be loaded.
  const DibImage* Image(int k) const { return k < used_ ? slots_[static_cast<size_t>(k)].get() : nullptr; }

 private:
  friend int LoadObjectItems(Interpreter&, const UserObject&, HWND, ObjectCanvas&);
  std::array<std::unique_ptr<DibImage>, kSlots> slots_;
  int used_ = 0;
  std::vector<HWND> icons_;
};

// Loads [object]'s bitmaps into [canvas] and, on backdrops and cue cards, creates its icon
// windows on [window]: 0, 10052 when a bitmap could not be read (its slot stays empty), 10058
// for more than 16 bitmaps. The first error ends the loading.
int LoadObjectItems(Interpreter& ip, const UserObject& object, HWND window, ObjectCanvas& canvas);

// What an icon window shows around its icon: asked for its brush (WM_CTLCOLORSTATIC), [parent]
// draws its own face ([paintFace], in its client coordinates) into the icon's [iconDc] at the
// icon's place, and gives no brush, so the icon is drawn over what lies behind it.
LRESULT PaintBehindIcon(HWND parent, HDC iconDc, HWND icon, const std::function<void(HDC)>& paintFace);

// Paints [object] into [dc] over [window]'s client area: a cue card's grey face and border,
// then every bitmap, colour block and text in definition order.
void PaintObject(Interpreter& ip, HDC dc, HWND window, const UserObject& object, const ObjectCanvas& canvas);
