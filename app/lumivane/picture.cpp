#include "app/lumivane/picture.h"

namespace {

constexpr char kPictureClass[] = "LumivanePicture";

// The one picture's memory bitmap, made with the window and kept until the program ends.
HDC gPictureDc = nullptr;

void CreateBackingBitmap(HWND picture) {
  HDC screen = GetDC(picture);
  gPictureDc = CreateCompatibleDC(screen);
  SelectObject(gPictureDc, CreateCompatibleBitmap(screen, kPictureSize, kPictureSize));
  ReleaseDC(picture, screen);
  RECT all = {0, 0, kPictureSize, kPictureSize};
  HBRUSH back = CreateSolidBrush(kPictureBackColor);
  FillRect(gPictureDc, &all, back);
  DeleteObject(back);
}

LRESULT CALLBACK PictureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateBackingBitmap(window);
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      BitBlt(dc, 0, 0, kPictureSize, kPictureSize, gPictureDc, 0, 0, SRCCOPY);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

}  // namespace

void RegisterPictureClass(HINSTANCE instance) {
  WNDCLASSA type = {};
  type.lpfnWndProc = PictureProc;
  type.hInstance = instance;
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.lpszClassName = kPictureClass;
  RegisterClassA(&type);
}

HWND CreatePicture(HWND parent, int id, int left, int top) {
  return CreateWindowExA(WS_EX_CLIENTEDGE, kPictureClass, "", WS_CHILD | WS_VISIBLE, left, top,
                         kPictureSize + 2 * GetSystemMetrics(SM_CXEDGE),
                         kPictureSize + 2 * GetSystemMetrics(SM_CYEDGE), parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE)),
                         nullptr);
}

PicturePlotter::PicturePlotter(HWND picture) : picture_(picture), dc_(gPictureDc) {
  RECT all = {0, 0, kPictureSize, kPictureSize};
  HBRUSH back = CreateSolidBrush(kPictureBackColor);
  FillRect(dc_, &all, back);
  DeleteObject(back);
}

PicturePlotter::~PicturePlotter() { InvalidateRect(picture_, nullptr, FALSE); }

void PicturePlotter::Plot(int x, int y) { SetPixelV(dc_, x, 255 - y, kPictureForeColor); }
