// Lumistart: a splash window shown for a moment, then Lumivane ("\main.exe" in the
// launcher's own folder) is started and the launcher ends without waiting for it.
#include <windows.h>

#include <commctrl.h>

#include <string>

namespace {

constexpr char kFormClass[] = "LumistartForm1";
constexpr char kFormTitle[] = "Lumistart";
constexpr UINT_PTR kTimer1 = 1;
constexpr UINT kSplashMs = 1500;
constexpr int kFormWidth = 360;
constexpr int kFormHeight = 200;

HFONT BoldFont(HWND window, int points) {
  HDC dc = GetDC(window);
  const int height = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  ReleaseDC(window, dc);
  return CreateFontA(height, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                     OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                     DEFAULT_PITCH | FF_SWISS, "MS Sans Serif");
}

HWND Create(HWND form, const char* type, const char* text, DWORD style, int id, int left, int top,
            int width, int height) {
  return CreateWindowExA(0, type, text, WS_CHILD | WS_VISIBLE | style, left, top, width, height,
                         form, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr,
                         nullptr);
}

void CreateControls(HWND form) {
  HWND label1 = Create(form, "Static", "LUMIVANE", SS_CENTER, 1, 10, 24, kFormWidth - 20, 36);
  HWND label2 = Create(form, "Static", "Loading...", SS_CENTER, 2, 10, 70, kFormWidth - 20, 24);
  HWND label3 = Create(form, "Static", "Spectrum outlines for a two-axis device", SS_CENTER, 3,
                       10, 104, kFormWidth - 20, 18);
  SendMessageA(label1, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont(form, 18)), FALSE);
  SendMessageA(label2, WM_SETFONT, reinterpret_cast<WPARAM>(BoldFont(form, 12)), FALSE);
  SendMessageA(label3, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
               FALSE);
  // The two track bars are decoration: range 0..10, no behaviour.
  for (int i = 0; i < 2; ++i) {
    HWND slider = Create(form, TRACKBAR_CLASSA, "", TBS_HORZ | TBS_NOTICKS, 4 + i,
                         20 + i * 170, 140, 150, 26);
    SendMessageA(slider, TBM_SETRANGE, FALSE, MAKELPARAM(0, 10));
  }
}

std::string MainProgramPath() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\')) + "\\main.exe";
}

bool StartMainProgram(const std::string& path) {
  std::string commandLine = "\"" + path + "\"";
  const std::string folder = path.substr(0, path.find_last_of('\\'));
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                      folder.c_str(), &startup, &process))
    return false;
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

void OnTimer1Tick(HWND form) {
  KillTimer(form, kTimer1);
  ShowWindow(form, SW_HIDE);  // hidden before the application's window can appear
  const std::string path = MainProgramPath();
  if (!StartMainProgram(path))
    MessageBoxA(nullptr, ("Lumivane could not be started:\r\n" + path).c_str(), kFormTitle,
                MB_ICONERROR);
  ExitProcess(0);
}

LRESULT CALLBACK FormProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimer1) {
    OnTimer1Tick(window);
    return 0;
  }
  if (message == WM_DESTROY) PostQuitMessage(0);
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  WNDCLASSA type = {};
  type.lpfnWndProc = FormProc;
  type.hInstance = instance;
  type.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
  type.hCursor = LoadCursor(nullptr, IDC_APPSTARTING);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszClassName = kFormClass;
  RegisterClassA(&type);
  const int left = (GetSystemMetrics(SM_CXSCREEN) - kFormWidth) / 2;
  const int top = (GetSystemMetrics(SM_CYSCREEN) - kFormHeight) / 2;
  HWND form = CreateWindowExA(WS_EX_TOOLWINDOW, kFormClass, kFormTitle, WS_POPUP | WS_BORDER,
                              left, top, kFormWidth, kFormHeight, nullptr, nullptr, instance,
                              nullptr);
  CreateControls(form);
  ShowWindow(form, SW_SHOWNORMAL);
  SetTimer(form, kTimer1, kSplashMs, nullptr);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return 0;
}
