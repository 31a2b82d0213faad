// Component registration by TALVEN.EXE under Wine: modules that register themselves (and one
// whose entry points fail and fault), a type library made by widl, a DejaVu font, a service
// program, a file association and Wine's ODBC installer. Results are read back through the
// registry, the profile API and the service manager from this process.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlwapi.h>

#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"

namespace {

std::string RegText(HKEY root, const std::string& key, const char* value, bool* found = nullptr) {
  char text[512] = "";
  DWORD size = sizeof text;
  const bool ok = RegGetValueA(root, key.c_str(), value, RRF_RT_REG_SZ, nullptr, text, &size) == ERROR_SUCCESS;
  if (found) *found = ok;
  return ok ? text : "<missing>";
}

DWORD RegNumber(HKEY root, const std::string& key, const char* value) {
  DWORD number = 0xFFFFFFFF, size = sizeof number;
  RegGetValueA(root, key.c_str(), value, RRF_RT_REG_DWORD, nullptr, &number, &size);
  return number;
}

int CALLBACK NoteBoldFace(const LOGFONTA* found, const TEXTMETRICA*, DWORD, LPARAM data) {
  if (found->lfWeight >= FW_BOLD) *reinterpret_cast<bool*>(data) = true;
  return 1;
}

bool KeyExists(HKEY root, const std::string& key) {
  HKEY handle;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override { folder = ScratchFolder("register"); }
  // Runs the lines with %D% the scratch folder and errors trapped, then dumps the variables.
  void Run(std::initializer_list<const char*> lines) {
    const std::string script =
        "SET %D% = \"" + folder + "\"\r\nTRAPERROR(1, 0)\r\n" + ScriptLines(lines) + "DUMPVARIABLES()\r\n";
    WriteFileBytes(folder + "R.QLS", script);
    ASSERT_TRUE(talven.Run(folder + "R.QLS", "", {}, 30000));
  }
  std::string Var(const std::string& name) { return talven.DumpedVariable(name); }
  std::vector<std::string> BoxTexts() {
    std::vector<std::string> texts;
    for (const MessageBoxSeen& box : talven.boxes) texts.push_back(box.text);
    return texts;
  }
  void CopyFromBin(const char* name, const std::string& as) {
    ASSERT_TRUE(CopyFileA((BinFolder() + name).c_str(), (folder + as).c_str(), FALSE)) << name;
  }
  TalvenProgram talven{"TVREGIST"};
  std::string folder;
};

}  // namespace

TEST_F(Registration, SelfRegistrationReportsEveryOutcome) {
  const std::string key = "Software\\QuillsetTest\\SelfRegistration";
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  CopyFromBin("QSREG.DLL", "QSREG.DLL");
  CopyFromBin("QSFAULTY.DLL", "QSFAULTY.DLL");
  CopyFromBin("QSHELD.dll", "noentry.ocx");
  CopyFromBin("QSHELD.dll", "noentry.bin");
  WriteFileBytes(folder + "x.txt", "not a module\r\n");
  Run({"DLLSELFREGISTER(\"%D%QSREG.DLL\")", "SET %E1% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(RegText(HKEY_CURRENT_USER, key, "Module"), folder + "QSREG.DLL");
  EXPECT_TRUE(talven.boxes.empty());

  Run({"DLLSELFUNREGISTER(\"%D%QSREG.DLL\")", "SET %E1% = %ERROR%", "DLLSELFREGISTER(\"%D%none.dll\")",
       "SET %E2% = %ERROR%", "DLLSELFREGISTER(\"%D%x.txt\")", "SET %E3% = %ERROR%",
       "DLLSELFREGISTER(\"%D%noentry.bin\")", "SET %E4% = %ERROR%", "DLLSELFREGISTER(\"%D%noentry.ocx\")",
       "SET %E5% = %ERROR%", "DLLSELFREGISTER(\"%D%QSFAULTY.DLL\")", "SET %E6% = %ERROR%",
       "DLLSELFUNREGISTER(\"%D%QSFAULTY.DLL\")", "SET %E7% = %ERROR%", "SET %ALIVE% = \"yes\""});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, key));
  EXPECT_EQ(Var("E2"), "66");  // 10065, trapped as the number a user sees
  EXPECT_EQ(Var("E3"), "2");
  EXPECT_EQ(Var("E4"), "3");
  EXPECT_EQ(Var("E5"), "4");
  EXPECT_EQ(Var("E6"), "5");  // the entry point reported failure
  EXPECT_EQ(Var("E7"), "6");  // the entry point faulted; the run goes on
  EXPECT_EQ(Var("ALIVE"), "yes");
  const std::vector<std::string> expected = {
      "Error: LoadLibrary() failed to load " + folder + "x.txt !",
      "Error: " + folder + "noentry.bin is not recognised as a DLL or OCX !",
      "Error: Unable to find DllRegisterServer entry point in " + folder + "noentry.ocx !",
      "Error: Call to DllRegisterServer in " + folder + "QSFAULTY.DLL failed!",
      "Error: Call to DllUnregisterServer in " + folder + "QSFAULTY.DLL failed!"};
  EXPECT_EQ(BoxTexts(), expected);
  EXPECT_NE(talven.Log().find("DllUnregisterServer raised exception 0xc0000005"), std::string::npos);
}

TEST_F(Registration, TypeLibrariesAreRegisteredWithTheirPaths) {
  const std::string library = "TypeLib\\{6B1D5E0A-3C2F-4E8A-9D11-5A7C2E4F0B31}";
  SHDeleteKeyA(HKEY_CLASSES_ROOT, library.c_str());
  CopyFromBin("QSTYPES.TLB", "QSTYPES.TLB");
  WriteFileBytes(folder + "junk.tlb", "no type library");
  Run({"REGISTERTYPELIB(\"%D%QSTYPES.TLB\", \"%D%\")", "SET %E1% = %ERROR%",
       "REGISTERTYPELIB(\"%D%none.tlb\", \"\")", "SET %E2% = %ERROR%", "REGISTERTYPELIB(\"%D%junk.tlb\", \"\")",
       "SET %E3% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("E2"), "1");
  EXPECT_EQ(Var("E3"), "2");
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, library + "\\1.0", nullptr), "Quillset test types");
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, library + "\\1.0\\0\\win32", nullptr), folder + "QSTYPES.TLB");
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, library + "\\1.0\\HELPDIR", nullptr), folder);
  SHDeleteKeyA(HKEY_CLASSES_ROOT, library.c_str());
}

TEST_F(Registration, ServicesAreMadeThroughTheServiceManager) {
  const std::string key = "System\\CurrentControlSet\\Services\\";
  CopyFromBin("QSSERVICE.EXE", "QSSERVICE.EXE");
  Run({"INSTALLSERVICE(\"QsTestSvc\", \"%D%QSSERVICE.EXE\", 9, 1)", "SET %E1% = %ERROR%",
       "INSTALLSERVICE(\"QsTestSvc\", \"%D%QSSERVICE.EXE\", 9, 1)", "SET %E2% = %ERROR%",
       "INSTALLSERVICE(\"QsTestShared\", \"%D%QSSERVICE.EXE\", 2, 2)", "SET %E3% = %ERROR%",
       "INSTALLSERVICE(\"QsTestNone\", \"%D%none.exe\", 1, 0)", "SET %E4% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("E2"), "1");  // it exists
  EXPECT_EQ(Var("E3"), "0");
  EXPECT_EQ(Var("E4"), "1");  // no program
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, key + "QsTestSvc", "Type"), 0x10u);
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, key + "QsTestSvc", "Start"), 3u);
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, key + "QsTestSvc", "ErrorControl"), 0u);
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, key + "QsTestSvc", "ImagePath"), folder + "QSSERVICE.EXE");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, key + "QsTestSvc", "ObjectName"), "LocalSystem");
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, key + "QsTestShared", "Type"), 0x20u);
  EXPECT_EQ(RegNumber(HKEY_LOCAL_MACHINE, key + "QsTestShared", "Start"), 4u);
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key + "QsTestNone"));

  // A running service stays installed; once stopped it is deleted.
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = OpenServiceA(manager, "QsTestSvc", SERVICE_ALL_ACCESS);
  ASSERT_TRUE(StartServiceA(service, 0, nullptr));
  SERVICE_STATUS status{};
  for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50))
    if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_RUNNING) break;
  ASSERT_EQ(status.dwCurrentState, static_cast<DWORD>(SERVICE_RUNNING));
  Run({"UNINSTALLSERVICE(\"QsTestSvc\")", "SET %E1% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "1");
  EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, key + "QsTestSvc"));
  ControlService(service, SERVICE_CONTROL_STOP, &status);
  for (DWORD start = GetTickCount(); GetTickCount() - start < 20000; Sleep(50))
    if (QueryServiceStatus(service, &status) && status.dwCurrentState == SERVICE_STOPPED) break;
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  Run({"UNINSTALLSERVICE(\"QsTestSvc\")", "SET %E1% = %ERROR%", "UNINSTALLSERVICE(\"QsTestShared\")",
       "SET %E2% = %ERROR%", "UNINSTALLSERVICE(\"QsTestSvc\")", "SET %E3% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("E2"), "0");
  EXPECT_EQ(Var("E3"), "1");  // gone already
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, key + "QsTestSvc"));
}

TEST_F(Registration, AssociationsGoIntoWinIniAndTheClassesKey) {
  Run({"SETASSOCIATION(\"qsx\", \"C:\\APP\\QS.EXE\")"});
  char entry[256] = "";
  GetProfileStringA("Extensions", "qsx", "<missing>", entry, sizeof entry);
  EXPECT_STREQ(entry, "C:\\APP\\QS.EXE ^.qsx");
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, ".qsx\\Shell\\Open", "Command"), "C:\\APP\\QS.EXE %1");
  bool found = false;
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, ".qsx\\ShellNew", "(Default)", &found), "");
  EXPECT_TRUE(found);
  EXPECT_EQ(RegText(HKEY_CLASSES_ROOT, ".qsx\\ShellNew", "NullFile", &found), "");
  EXPECT_TRUE(found);

  Run({"SETASSOCIATION(\"qsx\", \"\")"});
  GetProfileStringA("Extensions", "qsx", "<missing>", entry, sizeof entry);
  EXPECT_STREQ(entry, "<missing>");
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ".qsx"));
}

TEST_F(Registration, OdbcDriversAndTranslatorsAreCounted) {
  const std::string drivers = "Software\\ODBC\\ODBCINST.INI\\";
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, (drivers + "Quill Test Driver").c_str());
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, (drivers + "Quill Test Translator").c_str());
  Run({"ODBCINSTALLDRIVERMANAGER(%M1%, %MP%)", "SET %E1% = %ERROR%",
       "ODBCINSTALLDRIVER(\"Quill Test Driver\", \"qsdrv.dll\", \"qsdrvs.dll\", %U1%)",
       "ODBCINSTALLDRIVER(\"Quill Test Driver\", \"C:\\QS\\qsdrv.dll\", \"qsdrvs.dll\", 0, %U2%)",
       "ODBCREMOVEDRIVER(\"Quill Test Driver\", %U3%)",
       "ODBCINSTALLTRANSLATOR(\"Quill Test Translator\", \"qstr.dll\", \"qstrs.dll\", %T1%)",
       "ODBCREMOVETRANSLATOR(\"Quill Test Translator\", %T2%)", "ODBCREMOVEDRIVER(\"Never Installed\", %U4%)",
       "SET %E2% = %ERROR%", "ODBCINSTALLDRIVER(\"Quill Test Driver\", \"qsdrv.dll\", \"qsdrvs.dll\", \"x\")",
       "SET %E3% = %ERROR%", "ODBCREMOVEDRIVERMANAGER(%M2%)"});
  EXPECT_EQ(Var("E1"), "0");
  EXPECT_EQ(Var("M1"), "0");  // Wine's driver manager keeps no usage count
  char system[MAX_PATH];
  GetSystemDirectoryA(system, MAX_PATH);
  EXPECT_EQ(Var("MP"), std::string(system) + "\\");
  EXPECT_EQ(Var("U1"), "1");
  EXPECT_EQ(Var("U2"), "2");
  EXPECT_EQ(Var("U3"), "1");
  // Wine's installer puts its own target folder before whatever path the entry names.
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, drivers + "Quill Test Driver", "Driver"), std::string(system) + "\\C:\\QS\\qsdrv.dll");
  EXPECT_EQ(RegText(HKEY_LOCAL_MACHINE, drivers + "Quill Test Driver", "Setup"),
            std::string(system) + "\\" + system + "\\qsdrvs.dll");
  EXPECT_EQ(Var("T1"), "1");
  EXPECT_EQ(Var("T2"), "0");
  EXPECT_EQ(Var("U4"), "<unset>");  // not installed: nothing happens
  EXPECT_EQ(Var("E2"), "0");
  EXPECT_EQ(Var("E3"), "22");  // 10021: no variable for the count
  EXPECT_EQ(Var("M2"), "1");  // what Wine's stub reports
  EXPECT_TRUE(talven.boxes.empty());
  SHDeleteKeyA(HKEY_LOCAL_MACHINE, (drivers + "Quill Test Driver").c_str());
}

TEST_F(Registration, OdbcDataSourcesNeedANameAndReportTheInstallersError) {
  Run({"ODBCCONFIGDATASOURCE(3, \"Quill Test Driver\", \"Database=x\")", "SET %E1% = %ERROR%",
       "ODBCCONFIGDATASOURCE(9, \"Quill Test Driver\", 0, \"DSN=Sales\")", "SET %E2% = %ERROR%",
       "ODBCCONFIGDATASOURCE(3, \"Quill Test Driver\", \"DSN=Sales\")", "SET %E3% = %ERROR%"});
  EXPECT_EQ(Var("E1"), "83");  // 10082
  EXPECT_EQ(Var("E2"), "0");  // no request of the installer's: nothing is done
  // Wine's installer refuses a driver without a setup library: its message and code are shown.
  ASSERT_EQ(talven.boxes.size(), 1u);
  EXPECT_EQ(talven.boxes[0].text.rfind("ODBCError: ", 0), 0u) << talven.boxes[0].text;
  EXPECT_NE(Var("E3"), "0");
}

// The font file with its family renamed in place (a name of the same length, in the name
// table's 8-bit and UTF-16 records), so that the font cannot be one Wine already knows from the
// system's font folders.
static std::string RenamedFont(const std::string& bytes, const std::string& from, const std::string& to) {
  std::string font = bytes, wideFrom, wideTo;
  for (size_t i = 0; i < from.size(); ++i) {
    wideFrom += std::string(1, '\0') + from[i];
    wideTo += std::string(1, '\0') + to[i];
  }
  for (const auto& [a, b] : {std::make_pair(from, to), std::make_pair(wideFrom, wideTo)})
    for (size_t at = font.find(a); at != std::string::npos; at = font.find(a, at + 1)) font.replace(at, a.size(), b);
  return font;
}

TEST(RegistrationInProcess, FontsAreAddedToTheProcessFontTable) {
  const std::string folder = ScratchFolder("register");
  const std::string font = folder + "QSFONT.TTF";
  const std::string original = ReadFileBytes("Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSansMono-Bold.ttf");
  ASSERT_FALSE(original.empty());
  WriteFileBytes(font, RenamedFont(original, "DejaVu Sans Mono", "Quillset TT Mono"));
  WriteFileBytes(folder + "nofont.ttf", "no font");
  auto listed = [] {
    LOGFONTA wanted{};
    strcpy(wanted.lfFaceName, "Quillset TT Mono");
    wanted.lfCharSet = DEFAULT_CHARSET;
    bool bold = false;
    HDC dc = GetDC(nullptr);
    EnumFontFamiliesExA(dc, &wanted, NoteBoldFace, reinterpret_cast<LPARAM>(&bold), 0);
    ReleaseDC(nullptr, dc);
    return bold;
  };
  InProcessRun run;
  run.ip.variables.SetVariable("D", folder);
  EXPECT_FALSE(listed());
  EXPECT_EQ(run.Line("REGISTERFONT(\"%D%none.ttf\")"), ERR_PARAMETER_FILE_NOT_FOUND);
  EXPECT_EQ(run.Line("REGISTERFONT(\"%D%nofont.ttf\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(run.Line("REGISTERFONT(\"%D%QSFONT.TTF\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_TRUE(listed());
  EXPECT_EQ(run.Line("UNREGISTERFONT(\"%D%QSFONT.TTF\")"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_FALSE(listed());
  EXPECT_EQ(run.Line("UNREGISTERFONT(\"%D%none.ttf\")"), ERR_PARAMETER_FILE_NOT_FOUND);
}
