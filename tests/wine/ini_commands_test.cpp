// The INI commands against real files, read back through the profile functions and as bytes.
#include <gtest/gtest.h>

#include "support/text.h"
#include "support/win32.h"
#include "tests/wine/config_test_support.h"

namespace {

int notices = 0;

LRESULT CALLBACK CountNotices(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == WM_WININICHANGE) ++notices;
  return DefWindowProcA(window, message, w, l);
}

std::string Profile(const std::string& section, const std::string& key, const std::string& file) {
  char buffer[2048];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), "<none>", buffer, sizeof buffer, file.c_str());
  return buffer;
}

}  // namespace

TEST(IniCommands, EntriesGoThroughTheProfileFunctions) {
  InProcessRun run;
  const std::string dir = FreshFolder("ini");
  const std::string file = dir + "app.ini";
  run.ip.variables.SetVariable("F", file);
  const std::string longValue(400, 'v');
  run.ip.variables.SetVariable("LONG", longValue);
  ASSERT_EQ(run.Line("WRITEPRIVATEPROFILESTRING(\"Main\", \"Key\", \"value\", %F%)"), 0);
  ASSERT_EQ(run.Line("WRITEPROFILESTRING(\"Main\", \"Long\", %LONG%, %F%)"), 0);
  ASSERT_EQ(run.Line("WRITEPRIVATEPROFILESTRING(\"Main\", \"Gone\", \"x\", %F%)"), 0);
  ASSERT_EQ(run.Line("WRITEPRIVATEPROFILESTRING(\"Other\", \"A\", \"1\", %F%)"), 0);
  EXPECT_EQ(Profile("Main", "Key", file), "value");
  ASSERT_EQ(run.Line("GETPRIVATEPROFILESTRING(\"main\", \"KEY\", \"def\", %F%, %V1%)"), 0);
  ASSERT_EQ(run.Line("GETPROFILESTRING(\"Main\", \"Long\", \"def\", %F%, %V2%)"), 0);
  ASSERT_EQ(run.Line("GETPRIVATEPROFILESTRING(\"Main\", \"None\", \"def\", %F%, %V3%)"), 0);
  EXPECT_EQ(run.Var("V1"), "value");
  EXPECT_EQ(run.Var("V2"), longValue);  // read whole
  EXPECT_EQ(run.Var("V3"), "def");

  // An empty value deletes the entry, an empty key the section.
  ASSERT_EQ(run.Line("WRITEPRIVATEPROFILESTRING(\"Main\", \"Gone\", \"\", %F%)"), 0);
  ASSERT_EQ(run.Line("WRITEPRIVATEPROFILESTRING(\"Other\", \"\", \"\", %F%)"), 0);
  EXPECT_EQ(Profile("Main", "Gone", file), "<none>");
  EXPECT_EQ(Profile("Other", "A", file), "<none>");
  EXPECT_EQ(ReadFileBytes(file).find("[Other]"), std::string::npos);
  WritePrivateProfileStringA("Main", "Empty", "", file.c_str());
  ASSERT_EQ(run.Line("GETPRIVATEPROFILESTRING(\"Main\", \"Empty\", \"def\", %F%, %V4%)"), 0);
  EXPECT_EQ(run.Var("V4"), "def");

  // A file without a directory is the Windows directory's.
  ASSERT_EQ(run.Line("WRITEPRIVATEPROFILESTRING(\"S\", \"K\", \"w\", \"QSINITST.INI\")"), 0);
  const std::string inWindows = EnsureBackslash(WindowsDirectory()) + "QSINITST.INI";
  EXPECT_NE(ReadFileBytes(inWindows).find("K=w"), std::string::npos);
  DeleteFileA(inWindows.c_str());
}

TEST(IniCommands, AppendProfileStringKeepsOneListWhole) {
  InProcessRun run;
  const std::string file = FreshFolder("ini_list") + "list.ini";
  run.ip.variables.SetVariable("F", file);
  WritePrivateProfileStringA("L", "Two", "one;two", file.c_str());
  std::string longList;
  for (int n = 0; n < 40; ++n) longList += "item" + std::to_string(n) + ";";
  WritePrivateProfileStringA("L", "Long", longList.c_str(), file.c_str());
  run.Line("APPENDPROFILESTRING(\"L\", \"New\", \"first\", %F%)");
  run.Line("APPENDPROFILESTRING(\"L\", \"Two\", \"item\", %F%)");
  run.Line("APPENDPROFILESTRING(\"L\", \"Two\", \"ITEM\", %F%)");
  run.Line("APPENDPROFILESTRING(\"L\", \"Long\", \"last\", %F%)");
  EXPECT_EQ(Profile("L", "New", file), "first;");
  EXPECT_EQ(Profile("L", "Two", file), "one;two;item;");
  EXPECT_EQ(Profile("L", "Long", file), longList + "last;");
  run.Line("APPENDPROFILESTRING(\"L\", \"Two\", \"\", %F%)");  // an empty item deletes the entry
  EXPECT_EQ(Profile("L", "Two", file), "<none>");
}

TEST(IniCommands, MultiEntriesAreEditedAsText) {
  InProcessRun run;
  const std::string dir = FreshFolder("ini_multi");
  const std::string file = dir + "system.ini";
  run.ip.variables.SetVariable("F", file);
  WriteFileBytes(file, "[drivers]\r\nwave=a.drv\r\n\r\n[boot]\r\nshell=x\r\n[386Enh]\r\ndevice=*v\r\n");
  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"Drivers\", \"wave\", \"b.drv\", %F%)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"386Enh\", \"device\", \"lv.386\", %F%)"), 0);
  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"386Enh\", \"device\", \"LV.386\", %F%)"), 0);  // present
  EXPECT_EQ(ReadFileBytes(file),
            "[drivers]\r\nwave=a.drv\r\nwave=b.drv\r\n\r\n[boot]\r\nshell=x\r\n[386Enh]\r\ndevice=*v\r\ndevice=lv.386\r\n");
  // The profile functions see the edit at once.
  EXPECT_EQ(Profile("boot", "shell", file), "x");
  ASSERT_EQ(run.Line("GETPRIVATEPROFILESTRING(\"386Enh\", \"device\", \"\", %F%, %DEV%)"), 0);
  EXPECT_EQ(run.Var("DEV"), "*v");

  ASSERT_EQ(run.Line("DELMULTIPROFILESTRING(\"386enh\", \"device\", \"LV.386\", %F%)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(ReadFileBytes(file), "[drivers]\r\nwave=a.drv\r\nwave=b.drv\r\n\r\n[boot]\r\nshell=x\r\n[386Enh]\r\ndevice=*v\r\n");
  ASSERT_EQ(run.Line("DELMULTIPROFILESTRING(\"s\", \"k\", \"v\", \"" + dir + "none.ini\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");

  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"New\", \"k\", \"v\", \"" + dir + "new.ini\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(ReadFileBytes(dir + "new.ini"), "[New]\r\nk=v\r\n");
  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"New\", \"k\", \"v\", \"QSMULTI.INI\")"), 0);
  const std::string inWindows = EnsureBackslash(WindowsDirectory()) + "QSMULTI.INI";
  EXPECT_EQ(ReadFileBytes(inWindows), "[New]\r\nk=v\r\n");
  DeleteFileA(inWindows.c_str());
}

TEST(IniCommands, TextEditsLoseNothingOnAFullVolumeOrAReadOnlyFile) {
  InProcessRun run;
  const std::string dir = FreshFolder("ini_safe");
  const std::string before = "[A]\r\nk=1\r\n";
  WriteFileBytes(dir + "ro.ini", before);
  SetFileAttributesA((dir + "ro.ini").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"A\", \"k\", \"2\", \"" + dir + "ro.ini\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  ASSERT_EQ(run.Line("DELMULTIPROFILESTRING(\"A\", \"k\", \"1\", \"" + dir + "ro.ini\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(ReadFileBytes(dir + "ro.ini"), before);
  SetFileAttributesA((dir + "ro.ini").c_str(), FILE_ATTRIBUTE_NORMAL);

  // A file that fills most of the free space cannot be written a second time beside itself.
  if (!FillSmallVolume(12 * 1024)) GTEST_SKIP() << "drive S: is not the session's small volume (run as root)";
  std::string big = "[A]\r\n";
  while (big.size() < 7000) big += "entry" + std::to_string(big.size()) + "=some value\r\n";
  WriteFileBytes("S:\\BIG.INI", big);
  ASSERT_EQ(ReadFileBytes("S:\\BIG.INI"), big);
  ASSERT_EQ(run.Line("WRITEMULTIPROFILESTRING(\"A\", \"k\", \"2\", \"S:\\BIG.INI\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(ReadFileBytes("S:\\BIG.INI"), big);
  EXPECT_NE(run.Log().find("failed; 'S:\\BIG.INI' is unchanged"), std::string::npos) << run.Log();
  // Nothing but the two files is left on the volume.
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("S:\\*", &found);
  int files = 0;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
  } while (FindNextFileA(search, &found));
  FindClose(search);
  EXPECT_EQ(files, 2);
  DeleteMatching("S:\\*");
}

TEST(IniCommands, WinIniChangedReachesTopLevelWindows) {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CountNotices;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "QsIniListener";
  RegisterClassA(&windowClass);
  HWND listener = CreateWindowA("QsIniListener", "listener", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                                windowClass.hInstance, nullptr);
  InProcessRun run;
  ASSERT_EQ(run.Line("WININICHANGED()"), 0);
  EXPECT_EQ(notices, 1);
  DestroyWindow(listener);
}
