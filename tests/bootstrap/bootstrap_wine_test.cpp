// SETUP.EXE end to end under Wine: a medium folder (a drive root or a subfolder) with the
// bootstrap, a compressed stand-in for the interpreter (probe_main.cpp) and a script. The cases
// share the Windows directory of the prefix, so each one starts from a clean KVLSOFT and TEMP
// state, and they run one after the other.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "support/file_helpers_win32.h"
#include "support/text.h"
#include "support/win32.h"
#include "tests/support/win_driver.h"
#include "tools/lz/lz_format.h"

namespace {

const std::string& Bin() {
  static const std::string bin = windriver::TestExecutableDirectory();
  return bin;
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ReadText(const std::string& path) {
  const std::vector<uint8_t> bytes = ReadAll(path);
  return std::string(bytes.begin(), bytes.end());
}

void WriteAll(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

void WriteAll(const std::string& path, const std::vector<uint8_t>& bytes) {
  WriteAll(path, std::string(bytes.begin(), bytes.end()));
}

SYSTEMTIME LocalClock(int year, int month, int day, int hour, int minute, int second) {
  SYSTEMTIME t = {};
  t.wYear = static_cast<WORD>(year), t.wMonth = static_cast<WORD>(month), t.wDay = static_cast<WORD>(day);
  t.wHour = static_cast<WORD>(hour), t.wMinute = static_cast<WORD>(minute), t.wSecond = static_cast<WORD>(second);
  return t;
}

void SetLocalWriteTime(const std::string& path, const SYSTEMTIME& local) {
  FILETIME localTime, utc;
  SystemTimeToFileTime(&local, &localTime);
  LocalFileTimeToFileTime(&localTime, &utc);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  SetFileTime(file, nullptr, nullptr, &utc);
  CloseHandle(file);
}

std::string TimeText(const SYSTEMTIME& t) {
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
                t.wSecond);
  return text;
}

std::string WriteTimeOf(const std::string& path) { return TimeText(NoteCopyDateTime(path, FILE_SHARE_READ)); }

std::string Narrow(const std::wstring& wide) {
  std::string text;
  for (wchar_t c : wide) text += c < 256 ? static_cast<char>(c) : '?';
  return text;
}

// One SETUP.DAT pair for every language index, so the prefix's language does not matter.
std::string SameTextsForEveryLanguage(const std::string& window, const std::string& folder) {
  std::string dat = "QSDAT";
  for (int i = 0; i < 8; ++i) dat += window + "\r\n" + folder + "\r\n";
  return dat;
}

struct SetupOutcome {
  bool ended = false;
  DWORD exitCode = 0;
  std::vector<std::string> messages;         // the message boxes' texts, in order, each answered OK
  std::map<std::string, std::string> probe;  // what the interpreter stand-in saw ("" keys absent)
  bool InterpreterRan() const { return probe.count("end") != 0; }
};

class Bootstrap : public ::testing::Test {
 protected:
  void SetUp() override {
    windows_ = EnsureBackslash(WindowsDirectory());
    temp_ = windows_ + "TEMP\\";
    program_ = windows_ + "KVLSOFT\\";
    char scratch[MAX_PATH];
    GetTempPathA(sizeof scratch, scratch);
    scratch_ = EnsureBackslash(scratch) + "qs_bootstrap_test\\";
    CreateDirectoryA(scratch_.c_str(), nullptr);
    probeFile_ = scratch_ + "probe.txt";
    ResetMachine();
  }
  void TearDown() override { ResetMachine(); }

  // No KVLSOFT programs, no script copies, and KVLSOFT a folder again.
  void ResetMachine() {
    const std::string programFolder = program_.substr(0, program_.size() - 1);
    const DWORD attributes = GetFileAttributesA(programFolder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      SetFileAttributesA(programFolder.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA(programFolder.c_str());
    }
    for (const char* name : {"TALVEN.EXE", "MORPAX.EXE", "ERROR.LOG", "SETUP.TST"}) {
      SetFileAttributesA((program_ + name).c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileA((program_ + name).c_str());
    }
    for (const char* name : {"SETUP.QLS", "VARNOLD.PIF", "TALVEN.EXE", "MORPAX.EXE", "SETUP.TST"})
      DeleteFileA((temp_ + name).c_str());
    RemoveDirectoryA((temp_ + "SETUP.QLS").c_str());
  }

  // A medium folder (with backslash) holding the bootstrap, the stand-in [probe] compressed as
  // TALVEN.EX_ (none when empty) and a script.
  std::string MakeMedium(const std::string& folder, const std::string& probe = "qs_probe_v1.exe") {
    std::string path;
    for (size_t at = folder.find('\\', 3); at != std::string::npos; at = folder.find('\\', at + 1))
      CreateDirectoryA(folder.substr(0, at).c_str(), nullptr);
    for (const char* name : {"SETUP.EXE", "TALVEN.EX_", "MORPAX.EX_", "SETUP.QLS", "VARNOLD.PIF", "SETUP.DAT"})
      DeleteFileA((folder + name).c_str());
    EXPECT_TRUE(CopyFileA((Bin() + "SETUP.EXE").c_str(), (folder + "SETUP.EXE").c_str(), FALSE));
    if (!probe.empty()) PutCompressed(folder + "TALVEN.EX_", Bin() + probe);
    WriteAll(folder + "SETUP.QLS", "REM stand-in script\r\n");
    return folder;
  }

  void PutCompressed(const std::string& target, const std::string& source) {
    WriteAll(target, lz::Compress(ReadAll(source), 'E'));
  }

  void Install(const std::string& probe, const SYSTEMTIME* time = nullptr) {
    CreateDirectoryA(program_.c_str(), nullptr);
    ASSERT_TRUE(CopyFileA((Bin() + probe).c_str(), (program_ + "TALVEN.EXE").c_str(), FALSE));
    if (time) SetLocalWriteTime(program_ + "TALVEN.EXE", *time);
  }

  // Runs [setup] with [arguments], answering every message box with OK after reading it.
  SetupOutcome RunSetup(const std::string& setup, const std::string& arguments) {
    DeleteFileA(probeFile_.c_str());
    SetupOutcome outcome;
    windriver::ChildProgram child;
    const std::string line = "\"" + setup + "\"" + (arguments.empty() ? "" : " " + arguments);
    if (!child.Start(line, "", {"QS_PROBE_OUT=" + probeFile_})) return outcome;
    std::set<HWND> answered;
    const DWORD start = GetTickCount();
    while (!(outcome.ended = child.WaitForExit(20, &outcome.exitCode)) && GetTickCount() - start < 20000) {
      for (HWND box : windriver::TopLevelWindows(child.Id(), "#32770", "Setup")) {
        HWND ok = windriver::FindControl(box, IDOK);
        if (!ok || !answered.insert(box).second) continue;
        outcome.messages.push_back(Narrow(windriver::MessageBoxText(box)));
        windriver::PressButton(ok);
      }
    }
    outcome.probe = ReadProbe();
    return outcome;
  }

  std::map<std::string, std::string> ReadProbe() {
    std::map<std::string, std::string> seen;
    std::istringstream lines(ReadText(probeFile_));
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t equals = line.find('=');
      seen[line.substr(0, equals)] = equals == std::string::npos ? "" : line.substr(equals + 1);
    }
    return seen;
  }

  std::string ExpectedCommandLine(const std::string& sourceDirectory, const std::string& arguments) {
    return UpperAscii(program_ + "TALVEN.EXE " + temp_ + "SETUP.QLS /DIR:\"" + sourceDirectory + "\"") +
           (arguments.empty() ? "" : " " + arguments);
  }

  void ExpectScriptCopiesGone() {
    EXPECT_FALSE(FileExists(temp_ + "SETUP.QLS"));
    EXPECT_FALSE(FileExists(temp_ + "VARNOLD.PIF"));
    EXPECT_FALSE(FileExists(temp_ + "TALVEN.EXE")) << "the scratch copy of UpdateFile stays behind";
  }

  std::string windows_, temp_, program_, scratch_, probeFile_;
};

bool DriveExists(const char* root) { return GetDriveTypeA(root) > DRIVE_NO_ROOT_DIR; }

}  // namespace

TEST_F(Bootstrap, FromADriveRootInstallsAndStartsTheInterpreter) {
  if (!DriveExists("M:\\")) GTEST_SKIP() << "drive M: is mapped by tools/wine-session.sh";
  const std::string medium = MakeMedium("M:\\");
  PutCompressed(medium + "MORPAX.EX_", Bin() + "qs_probe_plain.exe");
  WriteAll(medium + "VARNOLD.PIF", "pif");
  SetLocalWriteTime(medium + "TALVEN.EX_", LocalClock(2001, 2, 3, 4, 5, 7));

  const std::string arguments = "probe:close probe:sleep=300 Mixed-Case";
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", arguments);
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty()) << run.messages[0];
  ASSERT_TRUE(run.InterpreterRan());

  EXPECT_EQ(run.probe.at("cmdline"), ExpectedCommandLine("M:\\", arguments));
  EXPECT_TRUE(EqualsNoCase(EnsureBackslash(run.probe.at("cwd")), temp_)) << run.probe.at("cwd");
  EXPECT_TRUE(EqualsNoCase(run.probe.at("module"), program_ + "TALVEN.EXE")) << run.probe.at("module");
  EXPECT_EQ(run.probe.at("script"), "yes");
  // Closing the window with command 2 ends neither the wait nor the run: the script copy is
  // still there when the interpreter ends.
  EXPECT_EQ(run.probe.at("after_close"), "gone");
  EXPECT_EQ(run.probe.at("script_at_end"), "yes");

  long left, top, right, bottom;
  int screenWidth, screenHeight;
  ASSERT_EQ(std::sscanf(run.probe.at("window").c_str(), "visible %ld %ld %ld %ld screen %d %d", &left, &top,
                        &right, &bottom, &screenWidth, &screenHeight),
            6)
      << run.probe.at("window");
  EXPECT_EQ(left, (screenWidth - (right - left + 1)) / 2);
  EXPECT_EQ(top, (screenHeight - (bottom - top + 1)) / 2);

  EXPECT_EQ(ReadAll(program_ + "TALVEN.EXE"), ReadAll(Bin() + "qs_probe_v1.exe"));
  EXPECT_EQ(ReadAll(program_ + "MORPAX.EXE"), ReadAll(Bin() + "qs_probe_plain.exe"));
  EXPECT_EQ(WriteTimeOf(program_ + "TALVEN.EXE"), "2001-02-03 04:05:06");  // through the DOS form
  ExpectScriptCopiesGone();
}

TEST_F(Bootstrap, FromASubfolderAndAnInterpreterThatEndsWithCode259) {
  const std::string medium = MakeMedium(scratch_ + "Medium\\Disk1\\");
  // The bootstrap's trace, switched on in its own INI file.
  const std::string ini = windows_ + "SETUP.INI", log = scratch_ + "setup.dbg";
  DeleteFileA(log.c_str());
  WriteAll(ini, "[Debug]\r\nDebug=1\r\nOutputTo=" + log + "\r\n");
  // 259 is the "still active" code: the end must be noticed all the same.
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "probe:exit=259");
  DeleteFileA(ini.c_str());
  ASSERT_TRUE(run.ended);
  ASSERT_TRUE(run.InterpreterRan());
  EXPECT_EQ(run.probe.at("cmdline"),
            ExpectedCommandLine(medium.substr(0, medium.size() - 1), "probe:exit=259"));
  EXPECT_TRUE(FileExists(program_ + "TALVEN.EXE"));
  EXPECT_FALSE(FileExists(program_ + "MORPAX.EXE"));  // no MORPAX.EX_: skipped without a word
  ExpectScriptCopiesGone();

  const std::string trace = ReadText(log);
  EXPECT_EQ(trace.rfind("\n\n**** Application Startup - Setup (", 0), 0u) << trace;
  EXPECT_NE(trace.find("Setup: free space of 'C:\\': "), std::string::npos) << trace;
  EXPECT_NE(trace.find("Setup: starting '" + run.probe.at("cmdline") + "'"), std::string::npos) << trace;
}

TEST_F(Bootstrap, KeepsOrReplacesTheInterpreterByVersion) {
  const struct {
    const char* installed;
    const char* onMedium;
    const char* expected;
  } cases[] = {
      {"qs_probe_v2.exe", "qs_probe_v1.exe", "qs_probe_v2.exe"},    // older on the medium: kept
      {"qs_probe_v1.exe", "qs_probe_v2.exe", "qs_probe_v2.exe"},    // newer: replaced
      {"qs_probe_high.exe", "qs_probe_v1.exe", "qs_probe_v1.exe"},  // 32768.x is negative: replaced
  };
  for (const auto& c : cases) {
    ResetMachine();
    Install(c.installed);
    const std::string medium = MakeMedium(scratch_ + "Versions\\", c.onMedium);
    const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "");
    ASSERT_TRUE(run.ended) << c.installed;
    EXPECT_TRUE(run.messages.empty()) << c.installed;
    EXPECT_TRUE(run.InterpreterRan()) << c.installed;
    EXPECT_EQ(ReadAll(program_ + "TALVEN.EXE"), ReadAll(Bin() + c.expected))
        << c.installed << " installed, " << c.onMedium << " on the medium";
    ExpectScriptCopiesGone();
  }
}

TEST_F(Bootstrap, KeepsOrReplacesTheInterpreterByDateWithoutVersions) {
  const SYSTEMTIME older = LocalClock(1999, 5, 5, 10, 0, 0), medium2005 = LocalClock(2005, 6, 7, 8, 9, 10),
                   newer = LocalClock(2010, 1, 2, 3, 4, 6);
  const std::string medium = MakeMedium(scratch_ + "Dates\\", "qs_probe_plain.exe");
  SetLocalWriteTime(medium + "TALVEN.EX_", medium2005);

  Install("qs_probe_plain.exe", &older);
  SetupOutcome run = RunSetup(medium + "SETUP.EXE", "");
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(WriteTimeOf(program_ + "TALVEN.EXE"), "2005-06-07 08:09:10") << "an older file is replaced";
  // The copy that run made is kept at the next without the medium's file being expanded again.
  const std::string ini = windows_ + "SETUP.INI", log = scratch_ + "again.dbg";
  WriteAll(ini, "[Debug]\r\nDebug=1\r\nOutputTo=" + log + "\r\n");
  run = RunSetup(medium + "SETUP.EXE", "");
  DeleteFileA(ini.c_str());
  ASSERT_TRUE(run.ended);
  const std::string trace = ReadText(log);
  EXPECT_NE(trace.find("Setup: keeping '" + program_ + "TALVEN.EXE', made from"), std::string::npos) << trace;
  EXPECT_EQ(trace.find("Setup: comparing dates"), std::string::npos) << trace;
  EXPECT_EQ(WriteTimeOf(program_ + "TALVEN.EXE"), "2005-06-07 08:09:10");

  ResetMachine();
  Install("qs_probe_plain.exe", &newer);
  run = RunSetup(medium + "SETUP.EXE", "");
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(WriteTimeOf(program_ + "TALVEN.EXE"), "2010-01-02 03:04:06") << "a newer file stays";

  // In use (open for reading, so it cannot be opened for writing): it stays, without a message.
  ResetMachine();
  Install("qs_probe_plain.exe", &older);
  HANDLE inUse = CreateFileA((program_ + "TALVEN.EXE").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(inUse, INVALID_HANDLE_VALUE);
  run = RunSetup(medium + "SETUP.EXE", "");
  CloseHandle(inUse);
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_TRUE(run.InterpreterRan());
  EXPECT_EQ(WriteTimeOf(program_ + "TALVEN.EXE"), "1999-05-05 10:00:00");
  ExpectScriptCopiesGone();
}

// The programs are written beside their place and take it only when complete: a medium cut
// short leaves no partial program behind, and a program that an earlier failure left cut short
// (newer than the medium by its date, without a version) is replaced from a good medium.
TEST_F(Bootstrap, AFailedCopyLeavesNoPartialProgramAndAGoodMediumRepairsOne) {
  const std::vector<uint8_t> compressed = lz::Compress(ReadAll(Bin() + "qs_probe_v1.exe"), 'E');
  const std::vector<uint8_t> headerOnly(compressed.begin(), compressed.begin() + 14);
  const std::vector<uint8_t> half(compressed.begin(), compressed.begin() + compressed.size() / 2);
  for (const std::vector<uint8_t>* cut : {&headerOnly, &half}) {
    ResetMachine();
    const std::string medium = MakeMedium(scratch_ + "Cut\\");
    WriteAll(medium + "TALVEN.EX_", *cut);
    const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "/s");
    ASSERT_TRUE(run.ended);
    EXPECT_FALSE(run.InterpreterRan());
    EXPECT_EQ(ReadText(program_ + "ERROR.LOG"), "An error occured while reading the file 'TALVEN.EX_'.\r\n");
    EXPECT_FALSE(FileExists(program_ + "TALVEN.EXE")) << cut->size() << " bytes on the medium";
    EXPECT_FALSE(FileExists(program_ + "QS*.TMP"));
    EXPECT_FALSE(FileExists(temp_ + "QS*.TMP"));
  }

  ResetMachine();
  const std::string good = MakeMedium(scratch_ + "Good\\", "qs_probe_plain.exe");
  PutCompressed(good + "MORPAX.EX_", Bin() + "qs_probe_v2.exe");
  SetLocalWriteTime(good + "TALVEN.EX_", LocalClock(2005, 6, 7, 8, 9, 10));
  SetLocalWriteTime(good + "MORPAX.EX_", LocalClock(2005, 6, 7, 8, 9, 10));
  CreateDirectoryA(program_.c_str(), nullptr);
  for (const char* name : {"TALVEN.EXE", "MORPAX.EXE"}) {
    const std::vector<uint8_t> program = ReadAll(Bin() + "qs_probe_v2.exe");
    WriteAll(program_ + name, std::vector<uint8_t>(program.begin(), program.begin() + program.size() / 2));
    SetLocalWriteTime(program_ + name, LocalClock(2030, 1, 1, 0, 0, 0));
  }
  const SetupOutcome run = RunSetup(good + "SETUP.EXE", "");
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty()) << run.messages[0];
  EXPECT_TRUE(run.InterpreterRan());
  EXPECT_EQ(ReadAll(program_ + "TALVEN.EXE"), ReadAll(Bin() + "qs_probe_plain.exe"));
  EXPECT_EQ(ReadAll(program_ + "MORPAX.EXE"), ReadAll(Bin() + "qs_probe_v2.exe"));
  ExpectScriptCopiesGone();
}

TEST_F(Bootstrap, MissingOrUncreatableFilesAreReportedInABoxOrInErrorLog) {
  // Neither TALVEN.EX_ nor TALVEN.EXE; "/S" in upper case is not silent.
  std::string medium = MakeMedium(scratch_ + "Missing\\", "");
  SetupOutcome run = RunSetup(medium + "SETUP.EXE", "/S");
  ASSERT_TRUE(run.ended);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0],
            "Error: This installation requires the file:\n\nTALVEN.EX_\n\nwhich cannot be found on this "
            "machine.\nThe installation has been terminated.");
  EXPECT_FALSE(run.InterpreterRan());
  EXPECT_FALSE(FileExists(program_ + "ERROR.LOG"));

  // TALVEN.EXE installed but TALVEN.EX_ missing, silent: appended to ERROR.LOG.
  Install("qs_probe_v1.exe");
  WriteAll(program_ + "ERROR.LOG", "earlier run\r\n");
  run = RunSetup(medium + "SETUP.EXE", "/s");
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_FALSE(run.InterpreterRan());
  EXPECT_EQ(ReadText(program_ + "ERROR.LOG"),
            "earlier run\r\nThe Setup program file 'TALVEN.EX_'\ncould not be found on this disk.\r\n");

  // No script on the medium; "-s" inside a longer word is silent too.
  ResetMachine();
  medium = MakeMedium(scratch_ + "Missing\\");
  DeleteFileA((medium + "SETUP.QLS").c_str());
  run = RunSetup(medium + "SETUP.EXE", "x-sy");
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(ReadText(program_ + "ERROR.LOG"),
            "The Setup program file 'SETUP.QLS'\ncould not be found on this disk.\r\n");
  EXPECT_TRUE(FileExists(program_ + "TALVEN.EXE"));

  // A folder in the way of the script copy: the target cannot be created.
  DeleteFileA((program_ + "ERROR.LOG").c_str());
  WriteAll(medium + "SETUP.QLS", "REM stand-in script\r\n");
  ASSERT_TRUE(CreateDirectoryA((temp_ + "SETUP.QLS").c_str(), nullptr));
  run = RunSetup(medium + "SETUP.EXE", "/s");
  ASSERT_TRUE(run.ended);
  EXPECT_FALSE(run.InterpreterRan());
  EXPECT_EQ(ReadText(program_ + "ERROR.LOG"), "Failed to create a target file\nwhile copying 'SETUP.QLS'\r\n");
}

TEST_F(Bootstrap, AnInterpreterThatCannotStartIsReported) {
  const std::string medium = MakeMedium(scratch_ + "Broken\\", "");
  WriteAll(scratch_ + "broken.exe", "this is not a program");
  PutCompressed(medium + "TALVEN.EX_", scratch_ + "broken.exe");
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "/s");
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty());
  const std::string commandLine = ExpectedCommandLine(medium.substr(0, medium.size() - 1), "/s");
  EXPECT_EQ(ReadText(program_ + "ERROR.LOG"),
            "Error: Failed to execute interpreter program command:\n\n" + commandLine +
                "\n\nWinExec() returned error code (0).\r\n");
  ExpectScriptCopiesGone();
}

TEST_F(Bootstrap, AnUnwritableFolderShowsTheFolderMessageEvenWhenSilent) {
  // KVLSOFT as a plain file: the folder cannot be made, nothing can be written in it.
  const std::string programFolder = program_.substr(0, program_.size() - 1);
  ASSERT_TRUE(RemoveDirectoryA(programFolder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
  WriteAll(programFolder, "not a folder");
  ASSERT_EQ(GetFileAttributesA(programFolder.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
  const std::string medium = MakeMedium(scratch_ + "Unwritable\\");

  // The user's language picks the pair: "DEU" is index 3.
  HKEY international;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\International", 0, KEY_ALL_ACCESS, &international),
            ERROR_SUCCESS);
  char saved[64] = "";
  DWORD size = sizeof saved - 1;
  const bool hadLanguage =
      RegQueryValueExA(international, "sLanguage", nullptr, nullptr, reinterpret_cast<BYTE*>(saved), &size) ==
      ERROR_SUCCESS;
  RegSetValueExA(international, "sLanguage", 0, REG_SZ, reinterpret_cast<const BYTE*>("DEU"), 4);
  std::string dat = "QSDAT";
  for (int i = 0; i < 4; ++i)
    dat += "window " + std::to_string(i) + "\r\nPair " + std::to_string(i) + ": cannot write #FOLDER#.\r\n";
  WriteAll(medium + "SETUP.DAT", dat);
  SetupOutcome run = RunSetup(medium + "SETUP.EXE", "/s");
  if (hadLanguage)
    RegSetValueExA(international, "sLanguage", 0, REG_SZ, reinterpret_cast<const BYTE*>(saved),
                   static_cast<DWORD>(strlen(saved) + 1));
  else
    RegDeleteValueA(international, "sLanguage");
  RegCloseKey(international);

  ASSERT_TRUE(run.ended);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0], "Pair 3: cannot write " + program_ + ".");
  EXPECT_FALSE(run.InterpreterRan());
  EXPECT_FALSE(FileExists(temp_ + "SETUP.TST"));

  // Without SETUP.DAT the message is empty.
  DeleteFileA((medium + "SETUP.DAT").c_str());
  run = RunSetup(medium + "SETUP.EXE", "");
  ASSERT_TRUE(run.ended);
  ASSERT_EQ(run.messages.size(), 1u);
  EXPECT_EQ(run.messages[0], "");
}

TEST_F(Bootstrap, TheWorkingWindowIsGreyWithItsTextCentred) {
  const std::string medium = MakeMedium(scratch_ + "Window\\");
  WriteAll(medium + "SETUP.DAT", SameTextsForEveryLanguage("MMMMMMMMMMMMMMMMMMMM", "no #Folder#"));
  DeleteFileA(probeFile_.c_str());
  windriver::ChildProgram child;
  ASSERT_TRUE(child.Start("\"" + medium + "SETUP.EXE\" probe:sleep=1500", "", {"QS_PROBE_OUT=" + probeFile_}));
  // The interpreter stand-in is running: the window has been painted and is served meanwhile.
  ASSERT_TRUE(windriver::WaitUntil([&] { return ReadText(probeFile_).find("window=") != std::string::npos; }, 10000));
  HWND window = windriver::WaitForWindow(child.Id(), "#32770", "Setup", 2000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(windriver::WindowTextA(window), "Setup");
  EXPECT_TRUE(windriver::ChildControls(window).empty());
  RECT client;
  GetClientRect(window, &client);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&client), 2);
  // Above any window of a test that runs beside this one, then painted anew before the capture.
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  windriver::Picture picture;
  const COLORREF grey = RGB(192, 192, 192);
  EXPECT_TRUE(windriver::WaitUntil([&] {
    return windriver::CaptureScreenRect(client, picture) && picture.Pixel(0, 0) == grey &&
           picture.Pixel(picture.width - 1, picture.height - 1) == grey;
  }, 2000));
  windriver::SaveBmp(picture, Bin() + "bootstrap_working_window.bmp");

  int darkLeft = picture.width, darkRight = -1, darkTop = picture.height, darkBottom = -1, other = 0;
  for (int y = 0; y < picture.height; ++y) {
    for (int x = 0; x < picture.width; ++x) {
      const COLORREF pixel = picture.Pixel(x, y);
      if (GetRValue(pixel) != GetGValue(pixel) || GetGValue(pixel) != GetBValue(pixel)) {
        ++other;  // the grey, black text and the grey levels of its smoothed edges only
        continue;
      }
      if (GetRValue(pixel) > 160) continue;
      darkLeft = std::min(darkLeft, x), darkRight = std::max(darkRight, x);
      darkTop = std::min(darkTop, y), darkBottom = std::max(darkBottom, y);
    }
  }
  ASSERT_GE(darkRight, 0) << "no text drawn";
  EXPECT_EQ(other, 0);
  EXPECT_LE(std::abs((darkLeft + darkRight) - (picture.width - 1)), 3) << "text not centred horizontally";
  EXPECT_LE(std::abs((darkTop + darkBottom) - (picture.height - 1)), 6) << "text not centred vertically";
  EXPECT_LT(darkBottom - darkTop, picture.height / 3) << "more than one line";
  ASSERT_TRUE(child.WaitForExit(10000));
}

// The real interpreter, installed from the medium and started on a two-line script: it reads
// the script copy from the temporary folder, traces it to its debug log, and its end ends the
// bootstrap's wait.
TEST_F(Bootstrap, RunsTheRealInterpreterOnATrivialScript) {
  if (!FileExists(Bin() + "TALVEN.EXE")) GTEST_SKIP() << "TALVEN.EXE is not built";
  const std::string medium = MakeMedium(scratch_ + "Real\\", "");
  PutCompressed(medium + "TALVEN.EX_", Bin() + "TALVEN.EXE");
  WriteAll(medium + "SETUP.QLS", "SET %DONE% = \"yes\"\r\nDUMPVARIABLES()\r\n");
  const std::string log = scratch_ + "talven.dbg";
  DeleteFileA(log.c_str());
  const std::string ini = windows_ + "TALVEN.INI";
  WriteAll(ini, "[Debug]\r\nDebug=1\r\nOutputTo=" + log + "\r\n");
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "");
  DeleteFileA(ini.c_str());
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty()) << run.messages[0];
  EXPECT_EQ(ReadAll(program_ + "TALVEN.EXE"), ReadAll(Bin() + "TALVEN.EXE"));
  const std::string trace = UpperAscii(ReadText(log));
  EXPECT_NE(trace.find("\nDONE=YES"), std::string::npos) << trace;
  EXPECT_NE(trace.find("\nSCRIPTFILE=" + UpperAscii(temp_) + "SETUP.QLS"), std::string::npos) << trace;
  ExpectScriptCopiesGone();
}

TEST_F(Bootstrap, ReturnsTheInterpretersVerdictAndPassesTheSwitchesWithFullPaths) {
  const std::string medium = MakeMedium(scratch_ + "Verdict\\");
  char here[MAX_PATH];
  GetCurrentDirectoryA(sizeof here, here);
  const std::string args = "/ANSWERS:\"my answers.txt\" /s /LOG:C:\\x.log probe:exit=3";
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", args);
  ASSERT_TRUE(run.ended);
  EXPECT_EQ(run.exitCode, 3u);
  EXPECT_EQ(run.probe.at("cmdline"),
            ExpectedCommandLine(medium.substr(0, medium.size() - 1),
                                "/ANSWERS:\"" + EnsureBackslash(here) + "my answers.txt\" /s /LOG:C:\\x.log probe:exit=3"));
}

TEST_F(Bootstrap, AnUnattendedRunPutsEvenTheFolderMessageInTheLogs) {
  const std::string programFolder = program_.substr(0, program_.size() - 1);
  ASSERT_TRUE(RemoveDirectoryA(programFolder.c_str()) || GetLastError() == ERROR_FILE_NOT_FOUND);
  WriteAll(programFolder, "not a folder");
  const std::string medium = MakeMedium(scratch_ + "Unattended\\");
  WriteAll(medium + "SETUP.DAT", SameTextsForEveryLanguage("window", "Cannot write #Folder#"));
  const std::string log = scratch_ + "unattended.log";
  DeleteFileA(log.c_str());
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "/s /LOG:" + log);
  ASSERT_TRUE(run.ended);
  EXPECT_TRUE(run.messages.empty());
  EXPECT_EQ(run.exitCode, 200u);
  EXPECT_NE(ReadText(log).find("Setup: Cannot write " + program_ + "\r\n"), std::string::npos) << ReadText(log);
}

TEST_F(Bootstrap, AnInterpreterStuckPastItsTimeLimitIsEnded) {
  const std::string medium = MakeMedium(scratch_ + "Stuck\\");
  const std::string log = scratch_ + "stuck.log";
  DeleteFileA(log.c_str());
  const DWORD start = GetTickCount();
  const SetupOutcome run = RunSetup(medium + "SETUP.EXE", "/TIMEOUT:1 /LOG:" + log + " probe:sleep=60000");
  ASSERT_TRUE(run.ended);
  EXPECT_LT(GetTickCount() - start, 19000u);
  EXPECT_EQ(run.exitCode, 4u);
  EXPECT_EQ(run.probe.count("end"), 0u);
  EXPECT_NE(ReadText(log).find("Verdict: 4 timed out\r\n"), std::string::npos) << ReadText(log);
  ExpectScriptCopiesGone();
}
