// TALVEN.EXE's start-up and shut-down as they meet the machine: the debug log settings, the
// bootstrap's window, the replacement queue's file and the data-access record.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/text.h"
#include "tests/wine/talven_harness.h"

namespace {

std::vector<int> setupCommands;

LRESULT CALLBACK FakeSetupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) setupCommands.push_back(LOWORD(wParam));
  return DefWindowProcA(window, message, wParam, lParam);
}

// A top-level window titled "Setup" in the test's own process, as the bootstrap shows one.
HWND CreateFakeSetupWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = FakeSetupProcedure;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QsFakeSetup";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "QsFakeSetup", "Setup", WS_POPUP | WS_CAPTION | WS_VISIBLE, 10, 10, 200, 100, nullptr,
                         nullptr, GetModuleHandleA(nullptr), nullptr);
}

std::vector<std::string> FilesIn(const std::string& pattern) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(pattern.c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

}  // namespace

TEST(TalvenStartup, WithoutSettingsTheLogStaysOff) {
  TalvenProgram talven("TVNOLOG");
  talven.SetIni("");
  const std::string folder = ScratchFolder("nolog");
  WriteFileBytes(folder + "N.QLS", ScriptLines({"SET %A% = 1", "DUMPVARIABLES()"}));
  talven.SetIni("[Debug]\r\nOutputTo=" + talven.LogPath() + "\r\n");  // no "Debug" key: still off
  ASSERT_TRUE(talven.Run(folder + "N.QLS"));
  EXPECT_EQ(GetFileAttributesA(talven.LogPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(talven.boxes.empty());
}

// A log that cannot be opened (a missing folder, a folder in its place, a file nobody may
// change) is reported once; the run goes on with the log off.
TEST(TalvenStartup, ALogThatCannotBeOpenedIsReportedOnceAndTheRunGoesOn) {
  TalvenProgram talven("TVBADLOG");
  const std::string folder = ScratchFolder("badlog");
  WriteFileBytes(folder + "B.QLS", ScriptLines({"SET %I% = 0", "WHILE %I% < 20", "  SET %I% = %I% + 1", "WEND",
                                                "MESSAGEBOX(\"ran %I% times\", \"Run\", MB_OK, 0)"}));
  WriteFileBytes(folder + "FIXED.LOG", "");
  const bool immutable = windriver::SetImmutable(folder + "FIXED.LOG", true);
  std::vector<std::string> logs = {"C:\\qstests\\no such dir\\trace.log", folder.substr(0, folder.size() - 1)};
  if (immutable) logs.push_back(folder + "FIXED.LOG");
  for (const std::string& log : logs) {
    talven.SetIni("[Debug]\r\nDebug=1\r\nOutputTo=" + log + "\r\n");
    ASSERT_TRUE(talven.Run(folder + "B.QLS", "", {}, 20000)) << log;
    ASSERT_EQ(talven.boxes.size(), 2u) << log;
    EXPECT_EQ(talven.boxes[0].text, "Failed to open debug file '" + log + "' for writing");
    EXPECT_EQ(talven.boxes[1].text, "ran 20 times");
  }
  if (immutable) windriver::SetImmutable(folder + "FIXED.LOG", false);
  EXPECT_TRUE(immutable) << "chattr +i is not possible here (run as root)";
}

TEST(TalvenStartup, TheBootstrapWindowGivesTheDirectoryAndIsClosedByCommand2) {
  HWND setup = CreateFakeSetupWindow();
  ASSERT_NE(setup, nullptr);
  setupCommands.clear();
  TalvenProgram talven("TVSETUP");
  const std::string folder = ScratchFolder("from setup");
  WriteFileBytes(folder + "S.QLS", ScriptLines({"DUMPVARIABLES()", "SET %A% = \"x\" + 1"}));
  ASSERT_TRUE(talven.Run("S.QLS \"C:\\qstests\\from setup\" extra", ScratchFolder("elsewhere")));
  EXPECT_EQ(talven.DumpedVariable("CURRENTDIRECTORY"), "C:\\QSTESTS\\FROM SETUP\\");
  EXPECT_EQ(talven.DumpedVariable("PARAMETERS"), "extra");
  // Once when the error is reported, once at shut-down.
  EXPECT_EQ(setupCommands, (std::vector<int>{2, 2}));
  ASSERT_EQ(talven.boxes.size(), 1u);
  DestroyWindow(setup);
}

TEST(TalvenStartup, TheReplacementQueueLivesInTheTempPathForTheRun) {
  const std::string queueFolder = ScratchFolder("queue");
  for (const std::string& name : FilesIn(queueFolder + "*.TMP")) DeleteFileA((queueFolder + name).c_str());
  HKEY key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "Software\\KvlSoftware\\Quillset\\Install", 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(key, "TempPath", 0, REG_SZ, reinterpret_cast<const BYTE*>(queueFolder.c_str()),
                 static_cast<DWORD>(queueFolder.size() + 1));
  RegCloseKey(key);
  TalvenProgram talven("TVQUEUE");
  const std::string folder = ScratchFolder("queue_script");
  WriteFileBytes(folder + "Q.QLS", ScriptLines({"CHECKLABEL(\"L:\", \"NOT THIS ONE\", \"Waiting\")"}));
  std::vector<std::string> duringRun;
  talven.onBox = [&](const MessageBoxSeen&) { duringRun = FilesIn(queueFolder + "*.TMP"); };
  ASSERT_TRUE(talven.Run(folder + "Q.QLS", "", {"Cancel"}));
  ASSERT_EQ(duringRun.size(), 1u);
  EXPECT_EQ(duringRun[0].size(), 12u);  // hhmmsscc.TMP
  EXPECT_TRUE(FilesIn(queueFolder + "*.TMP").empty());
  RegDeleteValueA(HKEY_LOCAL_MACHINE, "Software\\KvlSoftware\\Quillset\\Install");
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "Software\\KvlSoftware\\Quillset\\Install");
}

TEST(TalvenStartup, RecordsWhereTheDataAccessLibraryLives) {
  TalvenProgram talven("TVDAO");
  const std::string folder = ScratchFolder("dao");
  WriteFileBytes(folder + "D.QLS", ScriptLines({"DUMPVARIABLES()"}));
  RegDeleteKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\DAO");
  ASSERT_TRUE(talven.Run(folder + "D.QLS"));
  const std::string daoPath = talven.DumpedVariable("DAOPATH");
  EXPECT_TRUE(EndsWith(daoPath, "\\Microsoft Shared\\DAO\\")) << daoPath;
  const DWORD attributes = GetFileAttributesA(daoPath.c_str());
  EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));
  char value[MAX_PATH] = "";
  DWORD size = sizeof value;
  HKEY key;
  ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Microsoft\\Shared Tools\\DAO", 0, KEY_READ, &key), ERROR_SUCCESS);
  RegQueryValueExA(key, "Path", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  RegCloseKey(key);
  EXPECT_EQ(std::string(value), daoPath + "DAO3032.DLL");
  // The next run reads the record back: the directory of that file.
  ASSERT_TRUE(talven.Run(folder + "D.QLS"));
  EXPECT_EQ(talven.DumpedVariable("DAOPATH"), daoPath);
}
