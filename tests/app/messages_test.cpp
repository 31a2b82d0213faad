// The message boxes and the about box of Lumivane, as a user meets them: no capture device,
// installing the port driver with and without the device program, and the system
// information button with and without the tool registered.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/lumivane/resource_ids.h"
#include "tests/app/app_test_support.h"

namespace {

using namespace apptest;
using namespace windriver;

constexpr char kMsinfoKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr char kLocationKey[] = "SOFTWARE\\Microsoft\\Shared Tools Location";

HWND WaitForBox(DWORD processId, const char* title = nullptr) {
  return WaitForWindow(processId, "#32770", title, 10000);
}

void CopyProgram(const std::string& name, const std::string& folder, const std::string& as = "") {
  CopyFileA((BinaryDirectory() + name).c_str(), (folder + (as.empty() ? name : as)).c_str(), FALSE);
}

void SetMachineString(const char* key, const char* name, const std::string& value) {
  HKEY handle = nullptr;
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  // Stored with its terminating NUL, as installers do.
  RegSetValueExA(handle, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>(value.size() + 1));
  RegCloseKey(handle);
}

void RemoveSysInfoEntries() {
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMsinfoKey);
  HKEY handle = nullptr;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kLocationKey, 0, KEY_ALL_ACCESS, &handle) == ERROR_SUCCESS) {
    RegDeleteValueA(handle, "MSINFO");
    RegCloseKey(handle);
  }
}

class Messages : public ::testing::Test {
 protected:
  void SetUp() override { WriteCaptureSilence(600); }
  void TearDown() override { app_.Close(); }
  Lumivane app_;
};

TEST_F(Messages, WithoutACaptureDeviceTheLoadStopsAfterTheOpenFailureMessage) {
  RecordingDevice device;
  ASSERT_TRUE(device.Start());
  UseNoCaptureDevice();
  ASSERT_TRUE(app_.Start());
  HWND box = WaitForBox(app_.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowTextW(box), L"Ошибка в Lumivane");
  EXPECT_EQ(MessageBoxText(box),
            L"Невозможно открыть устройство ввода звука.\r\n"
            L"Возможно оно занято или используется другим приложением.");
  EXPECT_EQ(ButtonCaptions(box), std::vector<std::wstring>{L"OK"});
  SaveWindowBmp(box, ScreenshotPath("open_failure_message"));
  PressButton(FindControl(box, IDOK));
  ASSERT_TRUE(app_.WaitForForm());

  // The rest of the load did not run: no rates, no drawing, the port library not initialised.
  EXPECT_TRUE(ItemTexts(app_.Control(IDC_COMBO2)).empty());
  EXPECT_FALSE(IsChecked(app_.Control(IDC_CHECK1)));
  EXPECT_TRUE(app_.WaitForLabel1("71"));  // the scan timer runs on the silent empty block
  PressButton(app_.Control(IDC_COMMAND1));
  Sleep(800);
  PressButton(app_.Control(IDC_COMMAND1));
  EXPECT_TRUE(device.WaitUntilQuiet(300, 5000));
  EXPECT_TRUE(device.StopAndRead().empty());
}

TEST_F(Messages, InstallingTheDriverStartsTheDeviceAndRemovingItClosesIt) {
  ASSERT_TRUE(app_.Start());
  ASSERT_TRUE(app_.WaitForForm());
  PostCommand(app_.Form(), IDM_INSTALL);
  HWND box = WaitForBox(app_.Id(), "");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Драйвер порта успешно установлен");
  EXPECT_EQ(ButtonCaptions(box), std::vector<std::wstring>{L"OK"});
  HWND device = WaitForWindow(0, "LumivaneXyDevice", nullptr, 5000);
  EXPECT_NE(device, nullptr);
  SaveWindowBmp(nullptr, ScreenshotPath("driver_installed"));
  PressButton(FindControl(box, IDOK));
  ASSERT_TRUE(WaitForWindowGone(box, 5000));
  PostCommand(app_.Form(), IDM_REMOVE);
  EXPECT_TRUE(WaitForWindowGone(device, 5000));
  EXPECT_TRUE(TopLevelWindows(app_.Id(), "#32770", nullptr).empty());  // removing says nothing
}

TEST_F(Messages, InstallingTheDriverWithoutTheDeviceProgramReportsTheFailure) {
  const std::string folder = ScratchDirectory();
  CopyProgram("main.exe", folder);
  CopyProgram("WinIo.dll", folder);
  DeleteFileA((folder + "xydevice.exe").c_str());
  ASSERT_TRUE(app_.Start({}, folder));
  ASSERT_TRUE(app_.WaitForForm());
  PostCommand(app_.Form(), IDM_INSTALL);
  HWND box = WaitForBox(app_.Id(), "");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"Ошибка установки драйвера!");
  SaveWindowBmp(box, ScreenshotPath("driver_install_failed"));
  PressButton(FindControl(box, IDOK));
}

class AboutBox : public Messages {
 protected:
  void SetUp() override {
    Messages::SetUp();
    RemoveSysInfoEntries();
    ASSERT_TRUE(app_.Start());
    ASSERT_TRUE(app_.WaitForForm());
    PostCommand(app_.Form(), IDM_ABOUT);
    about_ = WaitForBox(app_.Id(), "About Lumivane");
    ASSERT_NE(about_, nullptr);
  }
  void TearDown() override {
    RemoveSysInfoEntries();
    Messages::TearDown();
  }
  // Presses "System Info..." and waits for the tool's window (the device program stands in
  // for it) to come up.
  bool SysInfoStartsTheTool() {
    PressButton(FindControl(about_, IDC_CMDSYSINFO));
    HWND tool = WaitForWindow(0, "LumivaneXyDevice", nullptr, 5000);
    if (tool) PostMessageA(tool, WM_CLOSE, 0, 0);
    return tool && WaitForWindowGone(tool, 5000);
  }
  HWND about_ = nullptr;
};

TEST_F(AboutBox, ShowsTitleAndVersionAndClosesWithOk) {
  EXPECT_EQ(WindowTextA(FindControl(about_, IDC_LBLTITLE)), "Lumivane");
  EXPECT_EQ(WindowTextA(FindControl(about_, IDC_LBLVERSION)), "Version 0.1");
  EXPECT_EQ(ButtonCaptions(about_), (std::vector<std::wstring>{L"OK", L"&System Info..."}));
  SaveWindowBmp(about_, ScreenshotPath("about_box"));
  PressButton(FindControl(about_, IDOK));
  EXPECT_TRUE(WaitForWindowGone(about_, 5000));
}

TEST_F(AboutBox, WithoutTheToolRegisteredSysInfoSaysItIsUnavailable) {
  PressButton(FindControl(about_, IDC_CMDSYSINFO));
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] {
    for (HWND window : TopLevelWindows(app_.Id(), "#32770", "Lumivane")) box = window;
    return box != nullptr;
  }, 5000));
  EXPECT_EQ(MessageBoxText(box), L"System Information Is Unavailable At This Time");
  EXPECT_EQ(ButtonCaptions(box), std::vector<std::wstring>{L"OK"});
  SaveWindowBmp(box, ScreenshotPath("sysinfo_unavailable"));
  PressButton(FindControl(box, IDOK));
  EXPECT_TRUE(WaitForWindowGone(box, 5000));
}

TEST_F(AboutBox, SysInfoStartsTheToolNamedByItsPathValue) {
  SetMachineString(kMsinfoKey, "PATH", BinaryDirectory() + "xydevice.exe");
  EXPECT_TRUE(SysInfoStartsTheTool());
}

TEST_F(AboutBox, SysInfoFindsTheToolInItsSharedToolsLocation) {
  const std::string folder = ScratchDirectory() + "msinfo";
  CreateDirectoryA(folder.c_str(), nullptr);
  CopyProgram("xydevice.exe", folder + "\\", "MSINFO32.EXE");
  SetMachineString(kLocationKey, "MSINFO", folder);
  EXPECT_TRUE(SysInfoStartsTheTool());
}

TEST_F(AboutBox, AToolPathThatCannotStartSaysItIsUnavailable) {
  SetMachineString(kMsinfoKey, "PATH", ScratchDirectory() + "missing.exe");
  PressButton(FindControl(about_, IDC_CMDSYSINFO));
  EXPECT_TRUE(WaitForWindow(app_.Id(), "#32770", "Lumivane", 5000) != nullptr);
}

}  // namespace
