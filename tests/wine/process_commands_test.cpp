// Starting programs and waiting for them and for windows, pauses, sounds and the machine's
// facts, in the test process and through TALVEN.EXE. Every wait is checked to keep the windows
// answering and to end at the copy gauge's Cancel (or its close request).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <tuple>

#include "engine/tokens.h"
#include "support/registry_win32.h"
#include "support/win32.h"
#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"

namespace {

// The helper's command line (the build folder has no blanks: a script literal holds no quotes).
std::string Sleeper(int ms, int exitCode, const std::string& doneFile) {
  return BinFolder() + "qs_sleeper.exe " + std::to_string(ms) + " " + std::to_string(exitCode) + " " + doneFile;
}

// Runs [line] and returns how long it took, in milliseconds.
DWORD Timed(InProcessRun& run, const std::string& line, int& result) {
  const DWORD start = GetTickCount();
  result = run.Line(line);
  return GetTickCount() - start;
}

// Meanwhile, a second thread asks the main window something every 100 ms and counts the
// answers: a wait that lets the windows work answers within the second.
class Responsiveness {
 public:
  explicit Responsiveness(HWND window)
      : thread_([this, window] {
          while (!stop_) {
            DWORD_PTR result = 0;
            if (SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result)) ++answered_;
            else ++missed_;
            Sleep(100);
          }
        }) {}
  ~Responsiveness() { Stop(); }
  void Stop() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  int answered() const { return answered_; }
  int missed() const { return missed_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<int> answered_{0}, missed_{0};
  std::thread thread_;
};

void PumpFor(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    PumpMessages();
  }
}

const char* const kApplicationKey = "Software\\KvlSoftware\\Quillset\\Application";

}  // namespace

TEST(WinExec, StartsWaitsAndPausesAfterwards) {
  InProcessRun run;
  const std::string dir = ScratchFolder("process");
  DeleteFileA((dir + "ONE.TXT").c_str());
  int result = 0;
  // Without the wait flag the program is started and left running.
  DWORD took = Timed(run, "WINEXEC(\"" + Sleeper(1500, 0, dir + "ONE.TXT") + "\")", result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(run.Var("ERROR"), "32");
  EXPECT_LT(took, 1000u);
  EXPECT_EQ(GetFileAttributesA((dir + "ONE.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
  // With it the command returns once the program has ended, also when its exit code is 259.
  {
    Responsiveness answers(run.windows.MainHandle());
    took = Timed(run, "WINEXEC(\"" + Sleeper(1500, 259, dir + "TWO.TXT") + "\", 7, 1)", result);
    answers.Stop();
    EXPECT_GT(answers.answered(), 5);
    EXPECT_EQ(answers.missed(), 0);
  }
  EXPECT_EQ(run.Var("ERROR"), "32");
  EXPECT_GE(took, 1400u);
  EXPECT_LT(took, 6000u);
  EXPECT_NE(GetFileAttributesA((dir + "TWO.TXT").c_str()), INVALID_FILE_ATTRIBUTES);
  // "WinExecWait" adds a pause of that many seconds (between n - 1 and n) after the end.
  ASSERT_EQ(WriteRegNumber(3, kApplicationKey, "WinExecWait", 3), 0);
  DeleteFileA((dir + "THREE.TXT").c_str());
  took = Timed(run, "WINEXEC(\"" + Sleeper(200, 0, dir + "THREE.TXT") + "\", 0, 1)", result);
  const DWORD ended = std::stoul(ReadFileBytes(dir + "THREE.TXT"));
  const DWORD returned = GetTickCount();
  DeleteRegEntry(3, kApplicationKey, "WinExecWait");
  EXPECT_GE(returned - ended, 1900u);
  EXPECT_LT(returned - ended, 3600u);
  // A program that cannot be started: ERROR 0, and the pause still follows the wait flag.
  took = Timed(run, "WINEXEC(\"C:\\NOWHERE\\MISSING.EXE\", 5, 1)", result);
  EXPECT_EQ(result, 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  // A variable in the place of the show mode or wait flag counts as not there.
  run.ip.variables.SetVariable("WAITFLAG", "1");
  took = Timed(run, "WINEXEC(\"" + Sleeper(1500, 0, "") + "\", %WAITFLAG%, %WAITFLAG%)", result);
  EXPECT_LT(took, 1000u);
  EXPECT_EQ(run.Line("WINEXEC(5)"), ERR_INVALID_STRING_PARAMETER);
}

TEST(Waits, ForATitleToComeAndGo) {
  InProcessRun run;
  int result = 0;
  HWND other = nullptr;
  // The window comes from a thread of its own, which answers its messages as a program would.
  std::thread opener([&other] {
    PumpFor(700);
    other = CreateWindowExA(0, "STATIC", "QS WAIT TITLE", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    PumpFor(700);
    DestroyWindow(other);
  });
  // A title in other letters is not the one waited for.
  HWND lower = CreateWindowExA(0, "STATIC", "qs wait title", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  run.platform.SetBusyCursor(true);
  DWORD took = Timed(run, "WAIT(\"QS WAIT TITLE\", 2)", result);
  opener.join();
  DestroyWindow(lower);
  EXPECT_EQ(result, 0);
  EXPECT_GE(took, 1300u);
  EXPECT_LT(took, 5000u);
  EXPECT_TRUE(run.windows.BusyCursor());  // as it was before the wait
  took = Timed(run, "WAIT(\"NO SUCH WINDOW\", 1)", result);
  EXPECT_LT(took, 500u);
  // The interpreter's own main window is titled "Setup", as the bootstrap's window is.
  ASSERT_EQ(windriver::WindowTextA(run.windows.MainHandle()), "Setup");
  took = Timed(run, "WAIT(\"Setup\", 1)", result);
  EXPECT_LT(took, 500u);
  took = Timed(run, "WAIT(\"NO SUCH WINDOW\", 3)", result);  // no such mode: no wait
  EXPECT_LT(took, 500u);
  EXPECT_EQ(run.Line("WAIT(\"X\", \"Y\")"), ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(run.Line("RELEASE()"), 0);
}

TEST(Waits, TheCopyGaugesCancelOrCloseSendsTheScriptToExit) {
  InProcessRun run;
  const std::string dir = ScratchFolder("process");
  const std::string waits[] = {"WAIT(\"A TITLE THAT NEVER COMES\", 0)", "DELAY(30, 1)",
                               "WINEXEC(\"" + Sleeper(8000, 0, "") + "\", 0, 1)"};
  for (const char* how : {"cancel", "close"}) {
    for (const std::string& wait : waits) {
      run.ip.variables.SetVariable("EXITED", "");
      const std::string way = how;
      std::thread user([way] {
        HWND gauge = windriver::WaitForWindow(GetCurrentProcessId(), "#32770", "Setup", 10000);
        Sleep(500);
        if (way == "cancel") windriver::PressButton(windriver::FindControl(gauge, 2));
        else PostMessageA(gauge, WM_SYSCOMMAND, SC_CLOSE, 0);
      });
      const DWORD start = GetTickCount();
      run.RunLines(dir + "CANCEL.QLS", {"COPYFILE(10)", wait.c_str(), "SET %NEVER% = 1", ":EXIT", "SET %EXITED% = 1"});
      const DWORD took = GetTickCount() - start;
      user.join();
      EXPECT_LT(took, 5000u) << how << " " << wait;
      EXPECT_EQ(run.windows.CopyGaugeHandle(), nullptr);
      EXPECT_EQ(run.Var("EXITED"), "1") << how << " " << wait;
      EXPECT_EQ(run.Var("NEVER"), "") << how << " " << wait;
    }
  }
}

TEST(Delay, CountsClockSecondsAndKeepsTheWindowsAnswering) {
  InProcessRun run;
  int result = 0;
  for (const char* line : {"DELAY(2, 1)", "DELAY(2, 0)"}) {
    const DWORD took = Timed(run, line, result);
    EXPECT_EQ(result, 0);
    EXPECT_GE(took, 950u) << line;  // the first of the two seconds may end at once
    EXPECT_LT(took, 2600u) << line;
  }
  {
    Responsiveness answers(run.windows.MainHandle());
    Timed(run, "DELAY(3, 1)", result);
    answers.Stop();
    EXPECT_GT(answers.answered(), 10);
    EXPECT_EQ(answers.missed(), 0);
  }
  run.ip.variables.SetVariable("N", "-4");
  EXPECT_LT(Timed(run, "DELAY(%N%, 1)", result), 100u);
  EXPECT_LT(Timed(run, "DELAY(0, 0)", result), 100u);
  EXPECT_EQ(run.Line("DELAY(\"1\", 0)"), ERR_INVALID_NUMERIC_PARAMETER);
}

TEST(Sounds, WaveFilesPlayToTheEndOrInTheBackground) {
  InProcessRun run;
  const std::string dir = ScratchFolder("process");
  // Half a second of a square wave, 8-bit mono at 8000 Hz.
  std::string wave = "RIFF----WAVEfmt " + std::string("\x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0", 20) +
                     "data----";
  for (int i = 0; i < 4000; ++i) wave += static_cast<char>((i / 8) % 2 ? 200 : 56);
  const auto put = [&wave](size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) wave[at + static_cast<size_t>(k)] = static_cast<char>(v >> (8 * k));
  };
  put(4, static_cast<uint32_t>(wave.size() - 8));
  put(40, 4000);
  WriteFileBytes(dir + "CHIME.WAV", wave);
  WriteFileBytes(dir + "CHIME.TXT", "the name a script gives; the wave file beside it plays");
  const char* played = getenv("QS_PLAYED_SOUND");
  std::string playedPath = played ? played : "";
  for (char& c : playedPath) if (c == '/') c = '\\';
  const std::string unixPlayed = played ? std::string("Z:") + playedPath : "";
  DeleteFileA(unixPlayed.c_str());
  run.ip.variables.SetVariable("DIR", dir);
  // Played to its end before the command returns.
  EXPECT_EQ(run.Line("PLAYWAVEFILE(\"#DIR#CHIME.TXT\", 0)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "0");
  if (played) {
    const std::string samples = ReadFileBytes(unixPlayed);
    EXPECT_GE(samples.size(), 3900u);
    EXPECT_NE(samples.find(std::string(8, static_cast<char>(200))), std::string::npos);
  }
  EXPECT_EQ(run.Line("PLAYWAVEFILE(\"#DIR#CHIME.WAV\", 1)"), 0);  // in the background
  EXPECT_EQ(run.Line("PLAYWAVEFILE(\"\", 0)"), 0);  // stops it
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_EQ(run.Line("PLAYWAVEFILE(\"#DIR#MISSING.WAV\", 0)"), 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Line("PLAYWAVEFILE(\"#DIR#CHIME.TXT\", \"x\")"), ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(run.Line("MESSAGEBEEP(48)"), 0);
  EXPECT_EQ(run.Line("MESSAGEBEEP(\"x\")"), ERR_INVALID_NUMERIC_PARAMETER);
}

TEST(MachineFacts, ScreenSizeInTheTestProcess) {
  InProcessRun run;
  ASSERT_EQ(run.Line("GETSCREENWIDTH(%W%)"), 0);
  ASSERT_EQ(run.Line("GETSCREENHEIGHT(%H%)"), 0);
  EXPECT_EQ(run.Var("W"), std::to_string(GetSystemMetrics(SM_CXSCREEN)));
  EXPECT_EQ(run.Var("H"), std::to_string(GetSystemMetrics(SM_CYSCREEN)));
  EXPECT_EQ(run.Line("GETSCREENWIDTH(\"W\")"), ERR_MISSING_VARIABLE_NAME);
  EXPECT_EQ(run.Line("GETWINVER(5)"), ERR_MISSING_VARIABLE_NAME);
}

namespace {

// A top-level window titled "Setup", as the bootstrap shows it; it records the commands it gets.
std::vector<WPARAM> setupCommands;
LRESULT CALLBACK SetupProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COMMAND) setupCommands.push_back(wParam);
  return DefWindowProcA(window, message, wParam, lParam);
}

void SetVersion(const std::string& exeName, const char* version) {
  HKEY key;
  const std::string path = "Software\\Wine\\AppDefaults\\" + exeName;
  RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
  RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version), static_cast<DWORD>(strlen(version) + 1));
  RegCloseKey(key);
}

}  // namespace

TEST(TalvenProcesses, WindowsVersionsAndTheBootstrapsWindow) {
  const std::string dir = ScratchFolder("process");
  WriteFileBytes(dir + "FACTS.QLS", ScriptLines({"GETWINVER(%VERSION%)", "HIDESETUP()", "DUMPVARIABLES()"}));
  WNDCLASSA c{};
  c.lpfnWndProc = SetupProcedure;
  c.hInstance = GetModuleHandleA(nullptr);
  c.lpszClassName = "QsFakeBootstrap";
  RegisterClassA(&c);
  for (const auto& [name, version, expected] :
       {std::make_tuple("TVVER95", "win95", "400"), std::make_tuple("TVVERXP", "winxp", "501")}) {
    TalvenProgram talven(name);
    SetVersion(std::string(name) + ".EXE", version);
    setupCommands.clear();
    HWND setup = CreateWindowExA(0, "QsFakeBootstrap", "Setup", WS_OVERLAPPED, 0, 0, 50, 50, nullptr, nullptr,
                                 c.hInstance, nullptr);
    ASSERT_TRUE(talven.Run(dir + "FACTS.QLS"));
    EXPECT_EQ(talven.DumpedVariable("VERSION"), expected) << version;
    // The command that the bootstrap takes for Cancel (also sent once more at the end of the run).
    ASSERT_FALSE(setupCommands.empty());
    EXPECT_EQ(setupCommands[0], 2u);
    DestroyWindow(setup);
  }
}
