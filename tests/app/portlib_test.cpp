// The port library as a program sees it: loaded by name, its five functions, and the way it
// finds, follows and lets go of the virtual device.
#include <windows.h>

#include <gtest/gtest.h>

#include "tests/app/app_test_support.h"

namespace {

using apptest::PortWrite;
using apptest::RecordingDevice;

struct PortLibraryCalls {
  HMODULE module = nullptr;
  BOOL(WINAPI* initialize)() = nullptr;
  BOOL(WINAPI* shutdown)() = nullptr;
  BOOL(WINAPI* setPortVal)(WORD, DWORD, BYTE) = nullptr;
  BOOL(WINAPI* install)(const char*, BOOL) = nullptr;
  BOOL(WINAPI* remove)() = nullptr;
};

template <typename Call>
void Bind(HMODULE module, const char* name, Call& call) {
  call = reinterpret_cast<Call>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

PortLibraryCalls& Library() {
  static PortLibraryCalls calls;
  if (!calls.module) {
    calls.module = LoadLibraryA("WinIo.dll");
    Bind(calls.module, "InitializeWinIo", calls.initialize);
    Bind(calls.module, "ShutdownWinIo", calls.shutdown);
    Bind(calls.module, "SetPortVal", calls.setPortVal);
    Bind(calls.module, "InstallWinIoDriver", calls.install);
    Bind(calls.module, "RemoveWinIoDriver", calls.remove);
  }
  return calls;
}

// Writes [value] to [port] until the device has recorded [count] writes: the library may
// need a moment to find a device that started after it.
bool WriteUntilRecorded(const RecordingDevice& device, WORD port, BYTE value, size_t count) {
  return windriver::WaitUntil([&] {
    Library().setPortVal(port, value, 1);
    return device.RecordedCount() >= count;
  }, 5000);
}

HWND DeviceWindowOfAnyProcess() {
  const std::vector<HWND> windows = windriver::TopLevelWindows(0, "LumivaneXyDevice", nullptr);
  return windows.empty() ? nullptr : windows.front();
}

class PortLibrary : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_NE(Library().module, nullptr); }
  void TearDown() override { Library().shutdown(); }
};

TEST_F(PortLibrary, ExportsTheFiveFunctionsByTheirPlainNames) {
  EXPECT_NE(Library().initialize, nullptr);
  EXPECT_NE(Library().shutdown, nullptr);
  EXPECT_NE(Library().setPortVal, nullptr);
  EXPECT_NE(Library().install, nullptr);
  EXPECT_NE(Library().remove, nullptr);
}

TEST_F(PortLibrary, WritesNothingBeforeItIsInitialised) {
  RecordingDevice device;
  ASSERT_TRUE(device.Start());
  EXPECT_FALSE(Library().setPortVal(0x378, 1, 1));
  ASSERT_TRUE(Library().initialize());
  EXPECT_TRUE(Library().setPortVal(0x378, 0x41, 1));
  EXPECT_TRUE(Library().setPortVal(0x37A, 0x1204, 2));  // low byte first, then the port above
  EXPECT_FALSE(Library().setPortVal(0x378, 1, 3));
  const std::vector<PortWrite> expected = {{0x378, 0x41}, {0x37A, 0x04}, {0x37B, 0x12}};
  EXPECT_EQ(device.StopAndRead(), expected);
}

TEST_F(PortLibrary, WithoutADeviceWritesAreLostAtOnce) {
  ASSERT_TRUE(Library().initialize());
  const DWORD start = GetTickCount();
  for (int i = 0; i < 20000; ++i) Library().setPortVal(0x378, static_cast<DWORD>(i), 1);
  EXPECT_LT(GetTickCount() - start, 2000u);
}

TEST_F(PortLibrary, FindsADeviceStartedLaterAndFollowsOneThatReplacesIt) {
  ASSERT_TRUE(Library().initialize());
  {
    RecordingDevice first;
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(WriteUntilRecorded(first, 0x378, 1, 1));
    first.StopAndRead();
  }
  // The library still holds the ended device's ring; the new device takes it over.
  RecordingDevice second;
  ASSERT_TRUE(second.Start());
  ASSERT_TRUE(WriteUntilRecorded(second, 0x278, 2, 1));
  for (BYTE v = 10; v < 20; ++v) Library().setPortVal(0x278, v, 1);
  const std::vector<PortWrite> writes = second.StopAndRead();
  ASSERT_GE(writes.size(), 11u);
  for (size_t i = writes.size() - 10; i < writes.size(); ++i)
    EXPECT_EQ(writes[i], (PortWrite{0x278, static_cast<uint8_t>(10 + i - (writes.size() - 10))}));
}

TEST_F(PortLibrary, RemoveLetsGoOfTheDeviceAndInstallReachesItAgain) {
  RecordingDevice device;
  ASSERT_TRUE(device.Start());
  ASSERT_TRUE(Library().initialize());
  ASSERT_TRUE(Library().setPortVal(0x378, 1, 1));
  Library().remove();
  for (int i = 0; i < 50; ++i) Library().setPortVal(0x378, 2, 1);
  Sleep(700);  // past the library's retry interval: it must still keep away
  Library().setPortVal(0x378, 3, 1);
  EXPECT_TRUE(Library().install(apptest::BinaryDirectory().c_str(), FALSE));
  Library().setPortVal(0x378, 4, 1);
  const std::vector<PortWrite> expected = {{0x378, 1}, {0x378, 4}};
  EXPECT_EQ(device.StopAndRead(), expected);
}

TEST_F(PortLibrary, InstallStartsTheDeviceFromTheFolderAndRemoveClosesIt) {
  ASSERT_EQ(DeviceWindowOfAnyProcess(), nullptr);
  ASSERT_TRUE(Library().install(apptest::BinaryDirectory().c_str(), FALSE));
  HWND device = windriver::WaitForWindow(0, "LumivaneXyDevice", nullptr, 5000);
  ASSERT_NE(device, nullptr);
  Library().remove();
  EXPECT_TRUE(windriver::WaitUntil([] { return DeviceWindowOfAnyProcess() == nullptr; }, 5000));
  // Once the device program has ended, its ring is gone too.
  EXPECT_TRUE(windriver::WaitUntil([] {
    HANDLE ring = OpenFileMappingA(FILE_MAP_READ, FALSE, "LumivaneVirtualPortRing");
    if (ring) CloseHandle(ring);
    return ring == nullptr;
  }, 5000));
  EXPECT_FALSE(Library().install(apptest::ScratchDirectory().c_str(), FALSE));  // no device there
}

// The library as a program that Wine presents as Windows 95 sees it: the writes still reach the
// virtual device (the processor's port instruction would fault under Wine).
TEST(PortLibraryOnWindows95, WritesReachTheVirtualDevice) {
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  const std::string copy = apptest::BinaryDirectory() + "PORTLB95.EXE";
  ASSERT_TRUE(CopyFileA(self, copy.c_str(), FALSE));
  HKEY key;
  ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\PORTLB95.EXE", &key), ERROR_SUCCESS);
  RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win95"), 6);
  RegCloseKey(key);
  windriver::ChildProgram child;
  ASSERT_TRUE(child.Start("\"" + copy + "\" --gtest_filter=PortLibrary.WritesNothingBeforeItIsInitialised"));
  DWORD exitCode = 1;
  ASSERT_TRUE(child.WaitForExit(30000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Wine\\AppDefaults\\PORTLB95.EXE");
  DeleteFileA(copy.c_str());
}

}  // namespace
