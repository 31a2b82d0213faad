#include "app/lumivane/form1.h"

#include <commctrl.h>

#include <string>

#include "app/lumivane/about_box.h"
#include "app/lumivane/picture.h"
#include "app/lumivane/port_library.h"
#include "app/lumivane/resource_ids.h"
#include "app/lumivane/sound_module.h"
#include "app/lumivane/texts.h"

namespace {

constexpr wchar_t kForm1Class[] = L"LumivaneForm1";
constexpr UINT_PTR kTimer1 = 1;
constexpr int kInitialSampleRate = 8000;

struct Form1 : OutputHost {
  HWND window = nullptr;
  Form1Controls controls = {};
  FormState state;
  SoundModule sound;
  PortLibrary port;
  bool tickRunning = false;
  bool captureWaiting = false;
  int deferredClicks = 0;

  void SetPortByte(uint16_t portAddress, uint8_t value) override {
    port.SetPortByte(portAddress, value);
  }
  void HandlePendingEvents() override { PumpMessages(); }
};

Form1 gForm;

std::string ProgramFolder() {
  char path[MAX_PATH] = "";
  GetModuleFileNameA(nullptr, path, sizeof path);
  std::string folder = path;
  return folder.substr(0, folder.find_last_of('\\'));
}

void ShowOpenFailure() {
  std::wstring title = kOpenFailureTitlePrefix;
  for (const char* c = kAppTitle; *c; ++c) title += static_cast<wchar_t>(*c);
  MessageBoxW(gForm.window, kOpenFailureText, title.c_str(), MB_ICONERROR);
}

// Opens and starts the wave input at the current sample rate; false after the message.
bool OpenSoundDevice() {
  if (gForm.sound.Open(gForm.state.sampleRate) != MMSYSERR_NOERROR) {
    ShowOpenFailure();
    return false;
  }
  gForm.sound.Start();
  return true;
}

void SetProcessPriority(DWORD priorityClass) {
  HANDLE process = OpenProcess(PROCESS_SET_INFORMATION, FALSE, GetCurrentProcessId());
  if (!process) return;
  SetPriorityClass(process, priorityClass);  // not checked: the program runs either way
  CloseHandle(process);
}

void ShowTotalPoints() {
  SetWindowTextA(gForm.controls.label1, std::to_string(gForm.state.path.totalPoints).c_str());
}

void DrawTessil() {
  PicturePlotter plotter(gForm.controls.picture1);
  BuildTessilPath(gForm.state.block.bandLevel, gForm.state.path, &plotter);
  ShowTotalPoints();
}

void DrawTessil1() {
  BuildTessilPath(gForm.state.block.bandLevel, gForm.state.path, nullptr);
  ShowTotalPoints();
}

void OnCheck1Click() { gForm.state.showSpectrum = !gForm.state.showSpectrum; }
void OnCheck2Click() { gForm.state.output.xFirst = !gForm.state.output.xFirst; }

void OnCommand1Click() {
  // Running the output loop inside a tick's capture wait would hold that tick (and so every
  // later one) until the output stops; the click waits for the tick instead.
  if (gForm.captureWaiting) {
    ++gForm.deferredClicks;
    return;
  }
  ToggleOutput(gForm.state.output, gForm.state.path, gForm);
}

void OnTimer1Tick() {
  if (gForm.tickRunning) return;  // the previous tick still waits for its block
  gForm.tickRunning = true;
  gForm.captureWaiting = true;
  gForm.sound.CaptureBlock(gForm.state.block.sampleBuffer);
  gForm.captureWaiting = false;
  ComputeSpectrum(gForm.state.block);
  if (gForm.state.showSpectrum)
    DrawTessil();
  else
    DrawTessil1();
  ++gForm.state.scanTicks;
  gForm.tickRunning = false;
  while (gForm.deferredClicks > 0) {
    --gForm.deferredClicks;
    OnCommand1Click();
  }
}

void OnCombo1Change(bool typed) {
  const LRESULT item = typed ? CB_ERR : SendMessageA(gForm.controls.combo1, CB_GETCURSEL, 0, 0);
  gForm.state.output.portBase = item == 0 ? kLpt1Base : kLpt2Base;
}

void OnCombo2Click() {
  static const int kRates[] = {8000, 11025, 22050};
  const LRESULT item = SendMessageA(gForm.controls.combo2, CB_GETCURSEL, 0, 0);
  gForm.state.sampleRate = item >= 0 && item < 3 ? kRates[item] : 32000;
  gForm.sound.Close();
  OpenSoundDevice();
}

void OnSliderChange(HWND slider) {
  const int value = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
  if (slider == gForm.controls.slider1) {
    gForm.state.scanInterval = static_cast<UINT>(value);
    SetTimer(gForm.window, kTimer1, gForm.state.scanInterval, nullptr);
  } else if (slider == gForm.controls.slider2) {
    gForm.state.output.portDelay = static_cast<int16_t>(value);
  }
}

void OnInstallDriver() {
  if (gForm.port.InstallDriver(ProgramFolder()))
    MessageBoxW(gForm.window, kDriverInstalled, L"", MB_ICONINFORMATION);
  else
    MessageBoxW(gForm.window, kDriverInstallFailed, L"", MB_ICONERROR);
}

void LoadForm1() {
  FormState& state = gForm.state;
  state.output.portDelay = 500;
  for (const char* item : {"LPT 1", "LPT 2"})
    SendMessageA(gForm.controls.combo1, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  state.output.portBase = kLpt1Base;
  SetProcessPriority(REALTIME_PRIORITY_CLASS);
  state.sampleRate = kInitialSampleRate;
  if (!OpenSoundDevice()) return;  // the rest of the load is skipped
  gForm.port.Initialize();
  for (const char* item : {"8KHz", "11KHz", "22KHz", "32KHz"})
    SendMessageA(gForm.controls.combo2, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
  SendMessageA(gForm.controls.check1, BM_SETCHECK, BST_CHECKED, 0);
  OnCheck1Click();  // checking the box raises its click
  state.showSpectrum = true;
  state.output.xFirst = true;  // Check2 stays unchecked: unchecked means x first
}

[[noreturn]] void UnloadForm1() {
  gForm.sound.Close();
  gForm.port.Shutdown();
  ExitProcess(0);  // at once, also from inside a running output loop
}

void OnCommand(WORD id, WORD code) {
  switch (id) {
    case IDC_CHECK1: if (code == BN_CLICKED) OnCheck1Click(); break;
    case IDC_CHECK2: if (code == BN_CLICKED) OnCheck2Click(); break;
    case IDC_COMMAND1: if (code == BN_CLICKED) OnCommand1Click(); break;
    case IDC_COMBO1:
      if (code == CBN_SELCHANGE || code == CBN_EDITCHANGE) OnCombo1Change(code == CBN_EDITCHANGE);
      break;
    case IDC_COMBO2: if (code == CBN_SELCHANGE) OnCombo2Click(); break;
    case IDM_INSTALL: OnInstallDriver(); break;
    case IDM_REMOVE: gForm.port.RemoveDriver(); break;
    case IDM_ABOUT: ShowAboutBox(gForm.window); break;
    default: break;
  }
}

LRESULT CALLBACK Form1Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      OnCommand(LOWORD(wParam), HIWORD(wParam));
      return 0;
    case WM_HSCROLL:
      if (lParam) OnSliderChange(reinterpret_cast<HWND>(lParam));
      return 0;
    case WM_TIMER:
      if (wParam == kTimer1) OnTimer1Tick();
      return 0;
    case WM_CLOSE:
      UnloadForm1();
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

void RegisterForm1Class(HINSTANCE instance) {
  WNDCLASSW type = {};
  type.lpfnWndProc = Form1Proc;
  type.hInstance = instance;
  type.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_LUMIVANE));
  type.hCursor = LoadCursor(nullptr, IDC_ARROW);
  type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  type.lpszMenuName = MAKEINTRESOURCEW(IDR_FORM1_MENU);
  type.lpszClassName = kForm1Class;
  RegisterClassW(&type);
}

}  // namespace

HWND CreateForm1(HINSTANCE instance) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_BAR_CLASSES};
  InitCommonControlsEx(&classes);
  RegisterForm1Class(instance);
  RegisterPictureClass(instance);
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  RECT frame = {0, 0, 540, 276};
  AdjustWindowRect(&frame, style, TRUE);
  gForm.window = CreateWindowExW(0, kForm1Class, L"Lumivane", style, 40, 40,
                                 frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                 nullptr, instance, nullptr);
  CreateForm1Controls(gForm.window, gForm.controls);
  LoadForm1();
  SetTimer(gForm.window, kTimer1, gForm.state.scanInterval, nullptr);
  ShowWindow(gForm.window, SW_SHOWNORMAL);
  UpdateWindow(gForm.window);
  return gForm.window;
}

const FormState& Form1State() { return gForm.state; }

int RunLumivane(HINSTANCE instance) {
  CreateForm1(instance);
  for (;;) {
    PumpMessages();
    WaitMessage();
  }
}
