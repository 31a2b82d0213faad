// The de-install script on real files: written by TALVEN.EXE (also when the script ends without
// closing it), carried over by a second installation, and never lost on a full volume.
#include <gtest/gtest.h>

#include <windows.h>

#include "engine/errors.h"
#include "support/text.h"
#include "support/win32.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"

namespace {

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

const char* const kMarkers[] = {"STARTUP", "PREDEINSTALL", "UNPROTECT", "OLEUNREGISTER", "FILES",
                                "PMGROUP", "USERSCRIPT", "DIRECTORIES", "CLEANUP"};

// The file as CLOSEDEINSTALL() writes it, from the lines of each section in file order.
std::string Expected(const std::string& application, std::initializer_list<std::vector<std::string>> sections) {
  std::string text = "// Script file for de-installing:\r\n// " + application + "\r\n// Do NOT delete or modify.\r\n";
  size_t i = 0;
  for (const std::vector<std::string>& lines : sections) {
    text += std::string("\r\n//$") + kMarkers[i++] + "$\r\n";
    for (const std::string& line : lines) text += line + "\r\n";
  }
  return text;
}

}  // namespace

TEST(DeinstallScriptFile, ASecondInstallationKeepsTheFilesOfTheFirstAndTheScriptIsClosedAtTheEnd) {
  const std::string folder = ScratchFolder("deinstall");
  const std::string path = folder + "UNINST.QLS";
  DeleteFileA(path.c_str());
  TalvenProgram talven("TVDEINST");
  // No CLOSEDEINSTALL(): the end of the run writes the script. Quotes are written as ^034 and
  // a percent sign as %%.
  WriteFileBytes(folder + "FIRST.QLS",
                 ScriptLines({"SET %APPLICATION% = \"Viewer 1\"", "OPENDEINSTALL(\"UNINST.QLS\")",
                              "CHDIR(\"C:\\\")",  // the script stays where it was opened
                              "ADDDEINSTALL(\"$STARTUP$\", \"SET %%CAPTION%% = ^034%APPLICATION%^034\")",
                              "ADDDEINSTALL(\"$FILES$\", \"DELETE(^034C:\\V\\VIEW.EXE^034)\")",
                              "ADDDEINSTALL(\"$PMGROUP$\", \"DELETEGROUP(^034Viewer^034)\")",
                              "ADDDEINSTALL(\"$DIRECTORIES$\", \"RMDIR(^034C:\\V^034)\")"}));
  ASSERT_TRUE(talven.Run("FIRST.QLS", folder));
  EXPECT_TRUE(talven.boxes.empty());
  EXPECT_EQ(ReadFileBytes(path), Expected("Viewer 1", {{"SET %CAPTION% = \"Viewer 1\""}, {}, {}, {},
                                                        {"DELETE(\"C:\\V\\VIEW.EXE\")"}, {"DELETEGROUP(\"Viewer\")"},
                                                        {}, {"RMDIR(\"C:\\V\")"}, {}}));

  // The second installation adds a file once, writes its own start-up lines, and ends with an
  // error that is not trapped: the script is still written at the end.
  WriteFileBytes(folder + "SECOND.QLS",
                 ScriptLines({"SET %APPLICATION% = \"Viewer 2\"", "OPENDEINSTALL(\"UNINST.QLS\")",
                              "ADDDEINSTALL(\"$startup$\", \"SET %%CAPTION%% = ^034Viewer 2^034\")",
                              "ADDDEINSTALL(\"$FILES$\", \"delete(^034c:\\v\\view.exe^034)\")",
                              "ADDDEINSTALL(\"$FILES$\", \"DELETE(^034C:\\V\\HELP.TXT^034)\")",
                              "ADDDEINSTALL(\"$DIRECTORIES$\", \"RMDIR(^034C:\\V^034)\")",
                              "ADDDEINSTALL(\"$NOSUCH$\", \"x\")", "ADDDEINSTALL(\"$CLEANUP$\", \"never\")"}));
  ASSERT_TRUE(talven.Run("SECOND.QLS", folder, {"OK"}));
  ASSERT_EQ(talven.boxes.size(), 1u);
  EXPECT_NE(talven.boxes[0].text.find("Invalid de-install script section!"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(path),
            Expected("Viewer 2", {{"SET %CAPTION% = \"Viewer 2\""}, {}, {}, {},
                                  {"DELETE(\"C:\\V\\VIEW.EXE\")", "DELETE(\"C:\\V\\HELP.TXT\")"},
                                  {"DELETEGROUP(\"Viewer\")"}, {}, {"RMDIR(\"C:\\V\")"}, {}}));
}

TEST(DeinstallScriptFile, CommandsWithoutAnOpenScriptOrOnAFileThatCannotBeWritten) {
  InProcessRun run;
  const std::string folder = ScratchFolder("deinstall_errors");
  const std::string path = folder + "LOCKED.QLS";
  WriteFileBytes(path, "//$FILES$\r\nkept\r\n");
  // Held by another program that shares it with no one.
  HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);

  run.ip.variables.SetVariable("ERROR", "7");
  EXPECT_EQ(run.Line("CLOSEDEINSTALL()"), 0);  // nothing open: nothing written, ERROR untouched
  EXPECT_EQ(run.Var("ERROR"), "7");
  EXPECT_EQ(run.Line("ADDDEINSTALL(\"$FILES$\", \"x\")"), ERR_DEINSTALL_NOT_OPEN);
  EXPECT_EQ(run.Line("OPENDEINSTALL(" + Quoted(path) + ")"), ERR_DEINSTALL_OPEN_FAILED);
  EXPECT_EQ(run.Line("OPENDEINSTALL(" + Quoted(folder + "NO\\SUCH\\FOLDER.QLS") + ")"), ERR_DEINSTALL_OPEN_FAILED);
  EXPECT_EQ(run.Line("ADDDEINSTALL(\"$FILES$\", \"x\")"), ERR_DEINSTALL_NOT_OPEN);
  EXPECT_EQ(run.Line("OPENDEINSTALL(12)"), ERR_INVALID_STRING_PARAMETER);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(path), "//$FILES$\r\nkept\r\n");

  // A second open while one is open writes the first out before it takes its place.
  const std::string first = folder + "FIRST.QLS", second = folder + "SECOND.QLS";
  DeleteFileA(first.c_str());
  DeleteFileA(second.c_str());
  ASSERT_EQ(run.Line("OPENDEINSTALL(" + Quoted(first) + ")"), 0);
  ASSERT_EQ(run.Line("ADDDEINSTALL(\"$FILES$\", \"one\")"), 0);
  ASSERT_EQ(run.Line("OPENDEINSTALL(" + Quoted(second) + ")"), 0);
  ASSERT_EQ(run.Line("CLOSEDEINSTALL()"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_NE(ReadFileBytes(first).find("//$FILES$\r\none\r\n"), std::string::npos);
  EXPECT_EQ(ReadFileBytes(second).find("one"), std::string::npos);
}

TEST(DeinstallScriptFile, AFullVolumeKeepsTheEarlierScriptWhole) {
  ULARGE_INTEGER available{}, total{}, freeBytes{};
  if (!GetDiskFreeSpaceExA("S:\\", &available, &total, &freeBytes) || total.QuadPart > 4u << 20)
    GTEST_SKIP() << "drive S: is not the small volume the test session mounts (run as root)";
  DeleteMatching("S:\\*");
  const std::string path = "S:\\UNINST.QLS";
  std::string earlier = "//$FILES$\r\n";
  for (int i = 0; i < 200; ++i) earlier += "DELETE(\"C:\\PROGRAM\\FILE" + std::to_string(i) + ".DLL\")\r\n";
  WriteFileBytes(path, earlier);
  // Fill the volume but for a few kilobytes: the new script, longer than the earlier one, cannot
  // be written beside it.
  GetDiskFreeSpaceExA("S:\\", &available, &total, &freeBytes);
  WriteFileBytes("S:\\FILLER.BIN", std::string(static_cast<size_t>(available.QuadPart) - 4096, 'f'));

  InProcessRun run;
  ASSERT_EQ(run.Line("OPENDEINSTALL(" + Quoted(path) + ")"), 0);
  for (int i = 0; i < 200; ++i)
    ASSERT_EQ(run.Line("ADDDEINSTALL(\"$FILES$\", \"DELETE(^034C:\\PROGRAM\\NEW" + std::to_string(i) + ".DLL^034)\")"), 0);
  ASSERT_EQ(run.Line("CLOSEDEINSTALL()"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(ReadFileBytes(path), earlier);
  EXPECT_NE(run.Log().find("kept its earlier text"), std::string::npos);
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA("S:\\*.TMP", &found);
  EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a work file was left: " << found.cFileName;
  if (search != INVALID_HANDLE_VALUE) FindClose(search);

  // With room again the same entries are written.
  DeleteFileA("S:\\FILLER.BIN");
  ASSERT_EQ(run.Line("OPENDEINSTALL(" + Quoted(path) + ")"), 0);
  ASSERT_EQ(run.Line("ADDDEINSTALL(\"$FILES$\", \"DELETE(^034C:\\PROGRAM\\NEW0.DLL^034)\")"), 0);
  ASSERT_EQ(run.Line("CLOSEDEINSTALL()"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_NE(ReadFileBytes(path).find("FILE199.DLL\")\r\nDELETE(\"C:\\PROGRAM\\NEW0.DLL\")\r\n"), std::string::npos);
  DeleteMatching("S:\\*");
}
