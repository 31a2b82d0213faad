// The cue card: a small panel of the script's own on the backdrop, a child of the main window
// that stays while the script runs on. It holds the object's name and looks the object up at
// every paint, so that SETCONTROLTEXT( shows at once. Object names are compared without
// regard to case here as everywhere else.
#include "engine/errors.h"
#include "engine/interpreter.h"
#include "support/text.h"
#include "support/win32.h"
#include "ui/installer_windows_win32.h"

namespace {

const char* const kCueCardClass = "QuillsetCueCard";

void RegisterCueCardClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSA existing;
  if (GetClassInfoA(instance, kCueCardClass, &existing)) return;
  WNDCLASSA c{};
  c.lpfnWndProc = procedure;
  c.hInstance = instance;
  c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
  c.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
  c.lpszClassName = kCueCardClass;
  RegisterClassA(&c);
}

}  // namespace

LRESULT CALLBACK InstallerWindows::CueCardProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE)
    SetWindowLongPtrA(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
  auto* self = reinterpret_cast<InstallerWindows*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (message == WM_PAINT && self) {
    self->PaintCueCard(window);
    return 0;
  }
  if (message == WM_CTLCOLORSTATIC && self && self->ip_) {  // the card's icons
    return PaintBehindIcon(window, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam), [self, window](HDC dc) {
      const UserObject* object = self->ip_->objects.Find(self->cueName_);
      if (object && object->kind == ObjectKind::CueCard) PaintObject(*self->ip_, dc, window, *object, self->cueCanvas_);
    });
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void InstallerWindows::PaintCueCard(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  const UserObject* object = ip_ ? ip_->objects.Find(cueName_) : nullptr;
  if (object && object->kind == ObjectKind::CueCard) PaintObject(*ip_, dc, window, *object, cueCanvas_);
  EndPaint(window, &paint);
}

int InstallerWindows::ShowCueCard(const std::string& name) {
  if (name.empty()) {
    CloseCueCard();
    return 0;
  }
  if (cue_ && EqualsNoCase(cueName_, name)) return 0;
  const UserObject* object = ip_ ? ip_->objects.Find(name) : nullptr;
  if (!object) return ERR_OBJECT_NOT_FOUND;
  if (object->kind != ObjectKind::CueCard) return ERR_NOT_A_CUECARD;
  CloseCueCard();
  const HINSTANCE instance = GetModuleHandleA(nullptr);
  RegisterCueCardClass(instance, CueCardProcedure);
  // The rectangle runs from (x, y) to (x + width - 1, y + height - 1), both included.
  cue_ = CreateWindowExA(0, kCueCardClass, "", WS_CHILD | WS_CLIPSIBLINGS, object->x, object->y, object->width,
                         object->height, main_.Handle(), nullptr, instance, this);
  if (!cue_) return 0;
  cueName_ = name;
  if (int r = LoadObjectItems(*ip_, *object, cue_, cueCanvas_)) ReportScriptError(*ip_, r);
  // Placed on the screen by the object's modes; a child window moves in its parent's client
  // coordinates.
  RECT frame;
  GetWindowRect(cue_, &frame);
  const ItemPosition at =
      PlaceOnScreen(object->horizontalMode, object->verticalMode, frame.left, frame.top, frame.right - frame.left,
                    frame.bottom - frame.top, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  POINT corner{at.x, at.y};
  ScreenToClient(main_.Handle(), &corner);
  SetWindowPos(cue_, HWND_TOP, corner.x, corner.y, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(cue_, SW_SHOWNA);
  UpdateWindow(cue_);
  return 0;
}

void InstallerWindows::CloseCueCard() {
  if (!cue_) return;
  HWND cue = cue_;
  cue_ = nullptr;
  cueName_.clear();
  cueCanvas_.Release();
  DestroyWindow(cue);
  ::PumpMessages();
}

void InstallerWindows::RepaintObject(const std::string& name) {
  if (cue_ && EqualsNoCase(cueName_, name)) InvalidateRect(cue_, nullptr, TRUE);
  if (!main_.BackdropName().empty() && EqualsNoCase(main_.BackdropName(), name))
    InvalidateRect(main_.Handle(), nullptr, TRUE);
}

void InstallerWindows::ForgetObject(const std::string& name) {
  if (cue_ && EqualsNoCase(cueName_, name)) CloseCueCard();
  if (!main_.BackdropName().empty() && EqualsNoCase(main_.BackdropName(), name)) main_.HideBackdrop();
}

void InstallerWindows::DestroyUserObjects() {
  CloseCueCard();
  if (!main_.BackdropName().empty()) main_.HideBackdrop();
  if (ip_) ip_->objects.Clear();
}
