// MORPAX.EXE removing an installation from its de-install script, driven as a user would: its
// question in the installation's language, its report, silent mode with a file in use, and a
// script that it refuses as a whole.
#include <gtest/gtest.h>

#include <windows.h>

#include "support/text.h"
#include "support/win32.h"
#include "tests/support/win_driver.h"
#include "tests/wine/talven_harness.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class Deinstaller : public ::testing::Test {
 protected:
  void SetUp() override {
    target = ScratchFolder("morpax") + "Viewer";
    RemoveTreeForTest(target);
    CreateDirectoryA(target.c_str(), nullptr);
    CreateDirectoryA((target + "\\Device").c_str(), nullptr);
    WriteFileBytes(target + "\\VIEW.EXE", "viewer");
    SetFileAttributesA((target + "\\VIEW.EXE").c_str(), FILE_ATTRIBUTE_READONLY);
    WriteFileBytes(target + "\\HELP.TXT", "help");
    WriteFileBytes(target + "\\Device\\DEV.EXE", "device");
    script = target + "\\UNINST.QLS";
    DeleteFileA(errorLog.c_str());
  }
  void TearDown() override { RemoveTreeForTest(target); }

  // A de-install script as an installation writes it, with [files] lines in its files section.
  void WriteScript(const std::string& files) {
    WriteFileBytes(script,
                   "// Script file for de-installing:\r\n// Viewer\r\n// Do NOT delete or modify.\r\n"
                   "\r\n//$STARTUP$\r\nSET %TARGET% = \"" + target + "\"\r\nSET %CAPTION% = \"Viewer Setup\"\r\n"
                   "SETLANGUAGE(\"GERMAN\")\r\n"
                   "\r\n//$PREDEINSTALL$\r\n\r\n//$UNPROTECT$\r\nSETFILEATTR(\"%TARGET%\\VIEW.EXE\", 0, 0, 0, 0)\r\n"
                   "\r\n//$OLEUNREGISTER$\r\n\r\n//$FILES$\r\n" + files +
                   "\r\n//$PMGROUP$\r\n\r\n//$USERSCRIPT$\r\n"
                   "\r\n//$DIRECTORIES$\r\nRMDIR(\"%TARGET%\")\r\nRMDIR(\"%TARGET%\\Device\")\r\n\r\n//$CLEANUP$\r\n");
  }

  const std::string kFiles = "DELETE(\"%TARGET%\\VIEW.EXE\")\r\nDELETE(\"%TARGET%\\HELP.TXT\")\r\n"
                             "DELETE(\"%TARGET%\\Device\\DEV.EXE\")\r\n";
  TalvenProgram morpax{"MXTEST", "MORPAX.EXE"};
  std::string target, script;
  std::string errorLog = ScratchFolder("programs") + "ERROR.LOG";
};

}  // namespace

TEST_F(Deinstaller, AsksInTheInstallationsLanguageRemovesWhatWasRecordedAndReportsWhatStays) {
  WriteScript(kFiles);
  ASSERT_TRUE(morpax.Run("\"" + script + "\"", "", {"No"}));
  EXPECT_EQ(morpax.exitCode, 1u);
  ASSERT_EQ(morpax.boxes.size(), 1u);
  EXPECT_EQ(morpax.boxes[0].title, "Viewer Setup");
  EXPECT_EQ(morpax.boxes[0].text, "M\366chten Sie Viewer mit allen Komponenten von diesem Computer entfernen?");
  EXPECT_TRUE(Exists(target + "\\VIEW.EXE") && Exists(target + "\\Device\\DEV.EXE") && Exists(script));

  // A file of the user's own was never recorded: it stays, and with it the folder.
  WriteFileBytes(target + "\\NOTES.TXT", "mine");
  ASSERT_TRUE(morpax.Run("\"" + script + "\"", "", {"Yes", "OK"}));
  EXPECT_EQ(morpax.exitCode, 3u);
  ASSERT_EQ(morpax.boxes.size(), 2u);
  EXPECT_EQ(morpax.boxes[1].text,
            "Viewer wurde entfernt, bis auf diese Elemente, die nicht entfernt werden konnten:\n" + target);
  for (const char* gone : {"\\VIEW.EXE", "\\HELP.TXT", "\\Device", "\\UNINST.QLS"})
    EXPECT_FALSE(Exists(target + gone)) << gone;
  EXPECT_EQ(ReadFileBytes(target + "\\NOTES.TXT"), "mine");
  EXPECT_FALSE(Exists(errorLog));
}

TEST_F(Deinstaller, SilentlyLeavesAFileInUseToTheNextStartWithTheFolderThatHoldsIt) {
  ForgetPendingFileMoves();
  CopyFileA((windriver::TestExecutableDirectory() + "QSHELD.dll").c_str(), (target + "\\PORT.DLL").c_str(), FALSE);
  windriver::ChildProgram holder;
  ASSERT_TRUE(holder.Start("\"" + windriver::TestExecutableDirectory() + "qs_module_holder.exe\" \"" + target +
                           "\\PORT.DLL\""));
  // The holder has the library loaded once it cannot be opened exclusively.
  for (int i = 0; i < 200; ++i) {
    HANDLE file = CreateFileA((target + "\\PORT.DLL").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) break;
    CloseHandle(file);
    Sleep(50);
  }
  WriteScript(kFiles + "DELETE(\"%TARGET%\\PORT.DLL\")\r\n");
  ASSERT_TRUE(morpax.Run("/S \"" + script + "\""));
  holder.Terminate();
  EXPECT_TRUE(morpax.boxes.empty());
  EXPECT_EQ(morpax.exitCode, 0u);
  const std::vector<std::string> moves = PendingFileMoves();
  ForgetPendingFileMoves();
  EXPECT_EQ(moves, (std::vector<std::string>{"\\??\\" + target + "\\PORT.DLL", "", "\\??\\" + target, ""}));
  EXPECT_FALSE(Exists(target + "\\VIEW.EXE") || Exists(target + "\\Device") || Exists(script));
  const std::string log = ReadFileBytes(errorLog);
  EXPECT_NE(log.find("beim n\344chsten Start von Windows entfernt:\n" + target + "\\PORT.DLL\n" + target + "\r\n"),
            std::string::npos)
      << log;
}

TEST_F(Deinstaller, OnTheWindows95FamilyFilesInUseGoThroughWininitIni) {
  const std::string key = "Software\\Wine\\AppDefaults\\MXTEST.EXE";
  HKEY appDefaults;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &appDefaults, nullptr),
            ERROR_SUCCESS);
  RegSetValueExA(appDefaults, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win95"), 6);
  RegCloseKey(appDefaults);
  const std::string wininit = EnsureBackslash(WindowsDirectory()) + "WININIT.INI";
  DeleteFileA(wininit.c_str());
  // Held open by this program with no sharing: in use.
  WriteFileBytes(target + "\\PORT.DLL", "port");
  HANDLE held[2] = {CreateFileA((target + "\\VIEW.EXE").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                    CreateFileA((target + "\\PORT.DLL").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
  WriteScript(kFiles + "DELETE(\"%TARGET%\\PORT.DLL\")\r\n");
  const bool ran = morpax.Run("/S \"" + script + "\"");
  for (HANDLE file : held) CloseHandle(file);
  const std::string lines = ReadFileBytes(wininit);
  DeleteFileA(wininit.c_str());  // the next start of the test session's prefix would carry it out
  RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  ASSERT_TRUE(ran);
  // The directory holding them cannot go at the next start on this family: it is reported.
  EXPECT_EQ(morpax.exitCode, 3u);
  EXPECT_EQ(lines, "[Rename]\r\nNUL=" + ShortPathName(target + "\\VIEW.EXE") + "\r\nNUL=" +
                       ShortPathName(target + "\\PORT.DLL") + "\r\n");
  EXPECT_TRUE(PendingFileMoves().empty());
  EXPECT_NE(ReadFileBytes(errorLog).find("entfernt werden konnten:\n" + target + "\n\n"), std::string::npos)
      << ReadFileBytes(errorLog);
}

TEST_F(Deinstaller, AScriptWithALineItDoesNotRunRemovesNothing) {
  WriteScript(kFiles + "DELETE(\"%TARGET%\\*.*\")\r\n");
  ASSERT_TRUE(morpax.Run("\"" + script + "\""));
  EXPECT_EQ(morpax.exitCode, 2u);
  ASSERT_EQ(morpax.boxes.size(), 1u);
  EXPECT_EQ(morpax.boxes[0].text,
            "Viewer kann nicht entfernt werden: Sein Deinstallationsskript\n" + script +
                "\nenth\344lt eine Zeile, die das Deinstallationsprogramm nicht ausf\374hrt:\n\n"
                "DELETE(\"%TARGET%\\*.*\")\n\nA path must be complete (with drive or server) and without wildcards.\n\n"
                "Es wurde nichts entfernt.");
  EXPECT_TRUE(Exists(target + "\\VIEW.EXE") && Exists(target + "\\HELP.TXT") && Exists(script));
  EXPECT_EQ(GetFileAttributesA((target + "\\VIEW.EXE").c_str()) & FILE_ATTRIBUTE_READONLY, DWORD{FILE_ATTRIBUTE_READONLY});

  // No script at all: said so, in the language of the machine.
  ASSERT_TRUE(morpax.Run("\"" + target + "\\MISSING.QLS\""));
  EXPECT_EQ(morpax.exitCode, 2u);
  ASSERT_EQ(morpax.boxes.size(), 1u);
  EXPECT_EQ(morpax.boxes[0].text, "The de-install script\n" + target + "\\MISSING.QLS\ncannot be read. Nothing has been removed.");
}
