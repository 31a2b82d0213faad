#include "ui/object_canvas_win32.h"

#include "engine/interpreter.h"
#include "engine/prompts.h"
#include "ui/language.h"
#include "ui/paint_helpers_win32.h"
#include "ui/window_geometry.h"

void ObjectCanvas::Release() {
  for (auto& slot : slots_) slot.reset();
  used_ = 0;
  for (HWND icon : icons_)
    if (IsWindow(icon)) DestroyWindow(icon);
  icons_.clear();
}

namespace {

// The icon named by [name] from the program's resources, as a static window of its own size.
HWND CreateIconWindow(HWND parent, const std::string& name, const ItemPosition& at) {
  return CreateWindowExA(0, "STATIC", name.c_str(), WS_CHILD | WS_VISIBLE | SS_ICON, at.x, at.y, 0, 0, parent, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

}  // namespace

int LoadObjectItems(Interpreter& ip, const UserObject& object, HWND window, ObjectCanvas& canvas) {
  canvas.Release();
  RECT client;
  GetClientRect(window, &client);
  for (const UserControl& control : object.controls) {
    if (control.type == ControlType::Bitmap) {
      if (canvas.used_ == ObjectCanvas::kSlots) return ERR_TOO_MANY_BITMAPS;
      auto& slot = canvas.slots_[static_cast<size_t>(canvas.used_++)];
      slot = LoadDibFile(ExpandTextMacros(ip, control.text),
                         [&ip] { AskMessage(ip, QuestionKind::Message, kFileNotFoundText, "", kFileNotFoundStyle); });
      if (!slot) return ERR_BITMAP_LOAD_FAILED;
    } else if (control.type == ControlType::Icon && object.kind != ObjectKind::Dialog) {
      const ItemPosition at = IconPosition(control.style, control.x, control.y, client.right, client.bottom);
      if (HWND icon = CreateIconWindow(window, ExpandTextMacros(ip, control.text), at)) canvas.icons_.push_back(icon);
    }
  }
  return 0;
}

LRESULT PaintBehindIcon(HWND parent, HDC iconDc, HWND icon, const std::function<void(HDC)>& paintFace) {
  RECT place;
  GetWindowRect(icon, &place);
  MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
  POINT origin;
  SetViewportOrgEx(iconDc, -place.left, -place.top, &origin);
  paintFace(iconDc);
  SetViewportOrgEx(iconDc, origin.x, origin.y, nullptr);
  return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
}

namespace {

// Dialog units of [window] (a dialog) as pixels; elsewhere the rectangle stays as it is.
RECT ToPixels(HWND window, bool dialog, RECT r) {
  if (dialog) MapDialogRect(window, &r);
  return r;
}

void PaintCueCardFace(HDC dc, const RECT& client, int32_t borderStyle) {
  HBRUSH grey = CreateSolidBrush(RGB(192, 192, 192));
  FillRect(dc, &client, grey);
  DeleteObject(grey);
  RECT r{client.left, client.top, client.right - 1, client.bottom - 1};
  switch (borderStyle) {
    case 1: DrawRings(dc, r, 1, RGB(0, 0, 0), RGB(0, 0, 0)); break;
    case 2:
      InflateRect(&r, -3, -3);
      DrawRings(dc, r, 2, RGB(64, 64, 64), RGB(255, 255, 255));
      break;
    case 3: DrawRings(dc, r, 5, RGB(64, 128, 128), RGB(255, 255, 255)); break;
    default: break;
  }
}

void PaintBitmap(HDC dc, HWND window, bool dialog, const RECT& client, const UserControl& control,
                 const DibImage& image) {
  const int w = image.Width(), h = image.Height() < 0 ? -image.Height() : image.Height();
  if (w <= 0 || h <= 0) return;
  const RECT source{0, 0, w, h};
  if (control.style & item_style::kTile) {
    for (int y = 0; y < client.bottom; y += h)
      for (int x = 0; x < client.right; x += w) DrawDib(dc, RECT{x, y, x + w, y + h}, image, source, image.Palette());
    return;
  }
  const RECT corner = ToPixels(window, dialog, RECT{control.x, control.y, control.x, control.y});
  if (control.style & item_style::kStretch) {
    DrawDib(dc, RECT{corner.left, corner.top, client.right, client.bottom}, image, source, image.Palette());
    return;
  }
  const ItemPosition at = AlignedItem(control.style, corner.left, corner.top, w, h, client.right, client.bottom, 2);
  DrawDib(dc, RECT{at.x, at.y, at.x + w, at.y + h}, image, source, image.Palette());
}

// The block covers the rectangle from (x, y) to (x + width - 1, y + height - 1), both corners
// included.
void PaintColourBlock(HDC dc, HWND window, bool dialog, const RECT& client, const UserControl& control) {
  RECT r;
  if (dialog) {
    r = ToPixels(window, true,
                 RECT{control.x, control.y, control.x + control.width - 1, control.y + control.height - 1});
  } else {
    const ItemPosition at =
        AlignedItem(control.style, control.x, control.y, control.width, control.height, client.right, client.bottom, 1);
    r = RECT{at.x, at.y, at.x + control.width - 1, at.y + control.height - 1};
  }
  const RECT fill{r.left, r.top, r.right + 1, r.bottom + 1};
  HBRUSH brush = CreateSolidBrush(ScriptColour(control.colour));
  FillRect(dc, &fill, brush);
  DeleteObject(brush);
}

void PaintText(Interpreter& ip, HDC dc, HWND window, bool dialog, const RECT& client, const UserControl& control) {
  if (control.text.empty()) return;
  HFONT font = CreateFontA(control.fontHeight, 0, 0, 0, (control.style & item_style::kBold) ? 600 : 400, FALSE, FALSE,
                           FALSE, ANSI_CHARSET, OUT_STRING_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                           VARIABLE_PITCH | FF_SWISS, control.fontName.c_str());
  HGDIOBJ oldFont = SelectObject(dc, font);
  const std::string text = ExpandTextMacros(ip, control.text);
  std::vector<int> widths, heights;
  for (const std::string& line : MessageLines(text)) {
    const SIZE size = TextLineSize(dc, line);
    widths.push_back(size.cx);
    heights.push_back(size.cy);
  }
  const TextBlockSize block = TextItemBlock(widths, heights, control.shadowOffset);
  const RECT corner = ToPixels(window, dialog, RECT{control.x, control.y, control.x, control.y});
  const ItemPosition at =
      AlignedItem(control.style, corner.left, corner.top, block.width, block.height, client.right, client.bottom, 1);
  RECT r{at.x, at.y, at.x + block.width, at.y + block.height};
  if (control.style & item_style::kFrame) {
    HBRUSH frame = CreateSolidBrush(ScriptColour(control.textColour));
    FrameRect(dc, &r, frame);
    DeleteObject(frame);
  }
  SetBkMode(dc, TRANSPARENT);
  const int length = static_cast<int>(text.size());
  if (control.shadowOffset != 0) {
    RECT shadow = r;
    OffsetRect(&shadow, control.shadowOffset, control.shadowOffset);
    SetTextColor(dc, ScriptColour(control.shadowColour));
    DrawTextA(dc, text.c_str(), length, &shadow, DT_LEFT | DT_EXPANDTABS);
  }
  SetTextColor(dc, ScriptColour(control.textColour));
  DrawTextA(dc, text.c_str(), length, &r, DT_LEFT | DT_EXPANDTABS);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

}  // namespace

void PaintObject(Interpreter& ip, HDC dc, HWND window, const UserObject& object, const ObjectCanvas& canvas) {
  if (!IsWindowVisible(window)) return;
  RECT client;
  GetClientRect(window, &client);
  if (object.kind == ObjectKind::CueCard) PaintCueCardFace(dc, client, object.borderStyle);
  const bool dialog = object.kind == ObjectKind::Dialog;
  int bitmap = 0;
  for (const UserControl& control : object.controls) {
    switch (control.type) {
      case ControlType::Bitmap:
        if (const DibImage* image = canvas.Image(bitmap++)) PaintBitmap(dc, window, dialog, client, control, *image);
        break;
      case ControlType::ColourBlock: PaintColourBlock(dc, window, dialog, client, control); break;
      case ControlType::Text: PaintText(ip, dc, window, dialog, client, control); break;
      default: break;
    }
  }
}
