// qs_box_driver: runs a command line and answers the message boxes that any program shows
// meanwhile, as a user would: each box's title and text go to standard output, a picture of it
// to SHOTS\box-N.bmp, then its button captioned with the next answer is pressed. It ends when
// every answer has been given, the program of the last box has ended and so has the command;
// exit code 0, or 1 when that took more than 60 s or a box had no such button.
//   qs_box_driver SHOTS ANSWER... -- COMMAND LINE
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tests/support/win_driver.h"

namespace {

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c == L'\n' ? '|' : (c < 256 ? static_cast<char>(c) : '?');
  return out;
}

bool PressAnswer(HWND box, const std::string& answer) {
  const std::wstring wide(answer.begin(), answer.end());
  HWND button = windriver::FindControlByText(box, "Button", wide);
  if (!button) button = windriver::FindControlByText(box, "Button", L"&" + wide);
  if (!button) return false;
  windriver::PressButton(button);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> answers;
  std::string command;
  int i = 2;
  for (; i < argc && std::string(argv[i]) != "--"; ++i) answers.push_back(argv[i]);
  for (++i; i < argc; ++i) command += (command.empty() ? "" : " ") + std::string(argv[i]);
  if (argc < 3 || command.empty()) {
    std::fprintf(stderr, "usage: qs_box_driver SHOTS ANSWER... -- COMMAND LINE\n");
    return 2;
  }
  const std::string shots = argv[1];
  CreateDirectoryA(shots.c_str(), nullptr);

  windriver::ChildProgram program;
  if (!program.Start(command)) return 1;
  const DWORD start = GetTickCount();
  HANDLE lastOwner = nullptr;
  size_t answered = 0;
  while (GetTickCount() - start < 60000) {
    if (answered < answers.size()) {
      for (HWND box : windriver::TopLevelWindows(0, "#32770", nullptr)) {
        std::printf("box %zu: %s: %s\n", answered + 1, windriver::WindowTextA(box).c_str(),
                    Narrow(windriver::MessageBoxText(box)).c_str());
        std::fflush(stdout);
        windriver::SaveWindowBmp(box, shots + "\\box-" + std::to_string(answered + 1) + ".bmp");
        DWORD owner = 0;
        GetWindowThreadProcessId(box, &owner);
        if (lastOwner) CloseHandle(lastOwner);
        lastOwner = OpenProcess(SYNCHRONIZE, FALSE, owner);
        if (!PressAnswer(box, answers[answered++])) return 1;
        windriver::WaitForWindowGone(box, 10000);
        break;
      }
    } else if (!program.IsRunning() && (!lastOwner || WaitForSingleObject(lastOwner, 0) == WAIT_OBJECT_0)) {
      return 0;
    }
    Sleep(50);
  }
  std::fprintf(stderr, "qs_box_driver: %zu of %zu answers given when the time ran out\n", answered, answers.size());
  return 1;
}
