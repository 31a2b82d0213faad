// The script's own objects on the screen under Xvfb: a backdrop with painted items and icons,
// cue cards on it, and user dialogs that a second thread fills in as a user would while
// DIALOGBOX( runs them modally. The last test runs TALVEN.EXE itself. Screenshots are kept in
// build/<preset>/artefacts/ as objects_*.png.
#include <gtest/gtest.h>


#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "engine/main_loop.h"
#include "tests/wine/page_user.h"
#include "tests/wine/talven_harness.h"
#include "ui/user_dialog_win32.h"

namespace {

void LetPaint() {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 200) {
    PumpMessages();
    Sleep(10);
  }
}

// The icon windows on [parent], with their places in its client area.
std::vector<RECT> IconWindows(HWND parent) {
  std::vector<RECT> icons;
  for (const windriver::ControlInfo& c : windriver::ChildControls(parent)) {
    if (c.className != "Static" || (c.style & SS_TYPEMASK) != SS_ICON || GetParent(c.handle) != parent) continue;
    RECT r;
    GetWindowRect(c.handle, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    icons.push_back(r);
  }
  return icons;
}

const COLORREF kTeal = RGB(0, 128, 128), kGrey = RGB(192, 192, 192), kWhite = RGB(255, 255, 255);

}  // namespace

TEST(Backdrop, PaintedItemsAndIconsAlignedOnTheClientArea) {
  InProcessRun run;
  const std::string dir = ScratchFolder("objects");
  WriteFileBytes(dir + "LOGO.BMP", SolidBitmap(40, 30, RGB(0, 200, 0)));
  run.ip.variables.SetVariable("DIR", dir);
  run.RunLines(dir + "BACK.QLS",
             {"CREATEBACKDROP(\"WELCOME\", 8421376)",
              "CREATECONTROL(\"text\", \"Welcome\", 1, 60, 50, 0, 0, 8388736, \"Arial\", 40, 3, 16777215, 0)",
              "CREATECONTROL(\"colourblock\", \"\", 2, 0, 0, 60, 20, 327680, 255)",
              "CREATECONTROL(\"bitmap\", \"#DIR#LOGO.BMP\", 3, 0, 0, 0, 0, 655360)",
              "CREATECONTROL(\"icon\", \"DISK01\", 4, 10, 10, 0, 0, 0)",
              "CREATECONTROL(\"icon\", \"TRASH02B\", 5, 10, 10, 0, 0, 327680)",
              "ENDOBJECT()",
              "CREATEBACKDROP(\"PLAIN\")",
              "ENDOBJECT()",
              "SHOWBACKDROP(\"welcome\")"});
  HWND main = run.windows.MainHandle();
  ASSERT_TRUE(IsWindowVisible(main));
  LetPaint();
  RECT client;
  GetClientRect(main, &client);
  const int R = client.right, B = client.bottom;
  windriver::Picture p;
  ASSERT_TRUE(windriver::CaptureClientArea(main, p));
  windriver::SaveBmp(p, ArtefactFolder() + "objects_backdrop_items.bmp");
  EXPECT_EQ(p.Pixel(R / 4, B - 100), kTeal);  // the object's colour, not the gradient
  // The block at the far corner, one pixel from the edges, 60 x 20 pixels.
  EXPECT_EQ(p.Pixel(R - 61, B - 21), RGB(255, 0, 0));
  EXPECT_EQ(p.Pixel(R - 2, B - 2), RGB(255, 0, 0));
  EXPECT_EQ(p.Pixel(R - 1, B - 1), kTeal);
  EXPECT_EQ(p.Pixel(R - 62, B - 10), kTeal);
  // The bitmap in the middle, 1:1.
  const int bx = (R - 40) / 2, by = (B - 30) / 2;
  EXPECT_EQ(p.Pixel(bx, by), RGB(0, 200, 0));
  EXPECT_EQ(p.Pixel(bx + 39, by + 29), RGB(0, 200, 0));
  EXPECT_EQ(p.Pixel(bx - 1, by), kTeal);
  EXPECT_EQ(p.Pixel(bx + 40, by + 29), kTeal);
  // The framed text: its frame starts at the control's place, in the text colour.
  EXPECT_EQ(p.Pixel(60, 50), kWhite);
  EXPECT_EQ(p.Pixel(59, 49), kTeal);
  // The icons, in windows of their own: at (10, 10), and 10 pixels in from the far corner.
  const std::vector<RECT> icons = IconWindows(main);
  ASSERT_EQ(icons.size(), 2u);
  EXPECT_EQ(icons[0].left, 10);
  EXPECT_EQ(icons[0].top, 10);
  EXPECT_EQ(icons[0].right - icons[0].left, 32);
  EXPECT_EQ(icons[1].left, R - 10 - 34);
  EXPECT_EQ(icons[1].top, B - 10 - 33);
  EXPECT_NE(p.Pixel(26, 26), kTeal);  // the disk is drawn ...
  EXPECT_EQ(p.Pixel(41, 10), kTeal);  // ... over the backdrop, where the icon is transparent
  // A new text shows at the next paint; the frame goes with an empty one.
  ASSERT_EQ(run.Line("SETCONTROLTEXT(\"WELCOME\", 1, \"\")"), 0);
  LetPaint();
  ASSERT_TRUE(windriver::CaptureClientArea(main, p));
  EXPECT_EQ(p.Pixel(60, 50), kTeal);
  // Another backdrop takes the icons away with the bitmaps.
  ASSERT_EQ(run.Line("SHOWBACKDROP(\"PLAIN\")"), 0);
  EXPECT_TRUE(IconWindows(main).empty());
  ASSERT_EQ(run.Line("DESTROYOBJECT(\"plain\")"), 0);
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(run.ip.objects.Find("PLAIN"), nullptr);
  EXPECT_EQ(run.Line("DESTROYOBJECT(\"NOBODY\")"), 0);
}

TEST(Backdrop, BitmapsThatCannotBeShown) {
  InProcessRun run;
  const std::string dir = ScratchFolder("objects");
  WriteFileBytes(dir + "GONE.BMP", SolidBitmap(4, 4, RGB(1, 2, 3)));
  run.ip.variables.SetVariable("DIR", dir);
  std::vector<std::string> lines = {"TRAPERROR(1, 0)", "CREATEBACKDROP(\"MANY\")"};
  for (int i = 0; i < 17; ++i) lines.push_back("CREATECONTROL(\"bitmap\", \"#DIR#GONE.BMP\", 1, 0, 0, 0, 0, 0)");
  lines.insert(lines.end(), {"ENDOBJECT()", "CREATEBACKDROP(\"ONE\")",
                             "CREATECONTROL(\"bitmap\", \"#DIR#GONE.BMP\", 1, 0, 0, 0, 0, 0)", "ENDOBJECT()"});
  std::string script;
  for (const std::string& line : lines) script += line + "\r\n";
  WriteFileBytes(dir + "MANY.QLS", script);
  ASSERT_EQ(run.ip.files.OpenScript(run.platform, run.log, "", dir + "MANY.QLS"), 0);
  RunMainLoop(run.ip);
  EXPECT_EQ(run.Line("SHOWBACKDROP(\"MANY\")"), ERR_TOO_MANY_BITMAPS);
  DeleteFileA((dir + "GONE.BMP").c_str());
  BoxWatch boxes(L"OK");
  EXPECT_EQ(run.Line("SHOWBACKDROP(\"ONE\")"), ERR_BITMAP_LOAD_FAILED);
  EXPECT_TRUE(IsWindowVisible(run.windows.MainHandle()));  // shown without the bitmap
  ASSERT_TRUE(windriver::WaitUntil([&] { return boxes.Texts().size() == 1; }, 5000));
  EXPECT_EQ(boxes.Texts()[0], "File Not Found!");
}

TEST(CueCard, OnTheBackdropBorderedCentredAndReplaced) {
  InProcessRun run;
  const std::string dir = ScratchFolder("objects");
  run.RunLines(dir + "CARD.QLS",
             {"CREATECUECARD(\"TIP\", 30, 40, 200, 80, 2)",
              "CREATECONTROL(\"text\", \"Copying the files\", 1, 10, 10, 0, 0, 0, \"Arial\", 16, 0, 0, 0)",
              "CREATECONTROL(\"icon\", \"MONITR01\", 2, 8, 8, 0, 0, 327680)",
              "CREATECONTROL(\"colourblock\", \"\", 3, 10, 40, 100, 10, 0, 16711680)",
              "CREATECONTROL(\"groupbox\", \"kept, not shown\", 4, 0, 0, 50, 50, 0)",
              "ENDOBJECT()",
              "CREATECUECARD(\"MIDDLE\", 0, 0, 100, 50, 1)",
              "CENTREDIALOG(3, 3)",
              "ENDOBJECT()",
              "CREATEBACKDROP(\"PLAIN\")",
              "ENDOBJECT()",
              "SHOWCUECARD(\"TIP\")"});
  HWND main = run.windows.MainHandle();
  HWND card = run.windows.CueCardHandle();
  ASSERT_NE(card, nullptr);
  EXPECT_FALSE(IsWindowVisible(card));  // a child of the hidden main window
  ASSERT_EQ(run.Line("SHOWBACKDROP(\"PLAIN\")"), 0);
  EXPECT_TRUE(IsWindowVisible(card));
  EXPECT_EQ(run.Line("SHOWCUECARD(\"tip\")"), 0);  // showing already: the same window stays
  EXPECT_EQ(run.windows.CueCardHandle(), card);
  RECT r;
  GetWindowRect(card, &r);
  MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&r), 2);
  EXPECT_EQ(r.left, 30);
  EXPECT_EQ(r.top, 40);
  EXPECT_EQ(r.right - r.left, 200);
  EXPECT_EQ(r.bottom - r.top, 80);
  LetPaint();
  windriver::Picture p;
  ASSERT_TRUE(windriver::CaptureClientArea(card, p));
  windriver::SaveBmp(p, ArtefactFolder() + "objects_cue_card.bmp");
  // Two rings three pixels in: dark on the left and top, white on the right and bottom.
  EXPECT_EQ(p.Pixel(1, 40), kGrey);
  EXPECT_EQ(p.Pixel(3, 40), RGB(64, 64, 64));
  EXPECT_EQ(p.Pixel(4, 40), RGB(64, 64, 64));
  EXPECT_EQ(p.Pixel(5, 40), kGrey);
  EXPECT_EQ(p.Pixel(195, 40), kWhite);
  EXPECT_EQ(p.Pixel(194, 40), kWhite);
  EXPECT_EQ(p.Pixel(193, 40), kGrey);
  EXPECT_EQ(p.Pixel(60, 45), RGB(0, 0, 255));
  const std::vector<RECT> icons = IconWindows(card);
  ASSERT_EQ(icons.size(), 1u);
  EXPECT_EQ(icons[0].left, 200 - 8 - 34);
  EXPECT_EQ(icons[0].top, 80 - 8 - 33);
  EXPECT_EQ(windriver::ChildControls(card).size(), 1u);  // the group box is kept but not shown

  EXPECT_EQ(run.Line("SHOWCUECARD(\"PLAIN\")"), ERR_NOT_A_CUECARD);
  EXPECT_EQ(run.Line("SHOWCUECARD(\"NOBODY\")"), ERR_OBJECT_NOT_FOUND);
  EXPECT_EQ(run.windows.CueCardHandle(), card);
  ASSERT_EQ(run.Line("SHOWCUECARD(\"MIDDLE\")"), 0);
  EXPECT_FALSE(IsWindow(card));
  card = run.windows.CueCardHandle();
  GetWindowRect(card, &r);
  EXPECT_NEAR((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_NEAR((r.top + r.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
  LetPaint();
  ASSERT_TRUE(windriver::CaptureClientArea(card, p));
  EXPECT_EQ(p.Pixel(0, 20), RGB(0, 0, 0));  // border style 1
  EXPECT_EQ(p.Pixel(98, 20), RGB(0, 0, 0));
  EXPECT_EQ(p.Pixel(99, 20), kGrey);
  // Defined again while it shows: the card paints the new definition.
  run.RunLines(dir + "AGAIN.QLS", {"CREATECUECARD(\"middle\", 0, 0, 100, 50, 3)", "ENDOBJECT()",
                                 "SETCONTROLTEXT(\"MIDDLE\", 1, \"nothing has this id\")"});
  LetPaint();
  ASSERT_TRUE(windriver::CaptureClientArea(card, p));
  EXPECT_EQ(p.Pixel(4, 20), RGB(64, 128, 128));
  EXPECT_EQ(p.Pixel(5, 20), kGrey);
  ASSERT_EQ(run.Line("DESTROYOBJECT(\"Middle\")"), 0);
  EXPECT_EQ(run.windows.CueCardHandle(), nullptr);
  EXPECT_FALSE(IsWindow(card));
  EXPECT_TRUE(IsWindowVisible(main));  // the backdrop stays
  ASSERT_EQ(run.Line("SHOWCUECARD(\"TIP\")"), 0);
  ASSERT_EQ(run.Line("SHOWCUECARD(\"\")"), 0);
  EXPECT_EQ(run.windows.CueCardHandle(), nullptr);
}

TEST(CueCard, TooManyBitmapsAreReportedAndTheCardStays) {
  InProcessRun run;
  const std::string dir = ScratchFolder("objects");
  WriteFileBytes(dir + "DOT.BMP", SolidBitmap(2, 2, RGB(9, 9, 9)));
  run.ip.variables.SetVariable("DIR", dir);
  std::string script = "CREATECUECARD(\"FULL\", 0, 0, 50, 50)\r\n";
  for (int i = 0; i < 17; ++i) script += "CREATECONTROL(\"bitmap\", \"#DIR#DOT.BMP\", 1, 0, 0, 0, 0, 0)\r\n";
  WriteFileBytes(dir + "FULL.QLS", script + "ENDOBJECT()\r\n");
  ASSERT_EQ(run.ip.files.OpenScript(run.platform, run.log, "", dir + "FULL.QLS"), 0);
  RunMainLoop(run.ip);
  BoxWatch boxes(L"OK");
  EXPECT_EQ(run.Line("SHOWCUECARD(\"FULL\")"), 0);
  EXPECT_NE(run.windows.CueCardHandle(), nullptr);
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(boxes.Texts()[0].find("Attempt to create an object with too many bitmaps!"), std::string::npos);
}

TEST(UserDialog, FilledFromTheVariablesTypedIntoAndStored) {
  InProcessRun run;
  const std::string dir = ScratchFolder("objects");
  WriteFileBytes(dir + "ITEMS.TXT", "first\r\nsecond\r\n");
  run.ip.variables.SetVariable("DIR", dir);
  run.RunLines(dir + "ASK.QLS",
             {"SET %NAME% = \"Jo\"",
              "SET %TICK% = 1",
              "SET %PICK% = \"two\"",
              "SET %KIND% = \"Beta\"",
              "CREATEDIALOG(\"ASK\", \"Details for #NAME#\", 20, 20, 230, 150)",
              "CREATECONTROL(\"text\", \"Your name:\", 50, 8, 6, 0, 0, 0, \"MS Sans Serif\", 13, 0, 0, 0)",
              "CREATECONTROL(\"edit\", \"\", 101, 8, 16, 100, 12, 0, %NAME%, 10)",
              "CREATECONTROL(\"checkbox\", \"Register\", 102, 8, 32, 80, 10, 0, %TICK%)",
              "CREATECONTROL(\"radiobutton\", \"Full\", 103, 8, 44, 60, 10, 0, %FULL%)",
              "CREATECONTROL(\"listbox\", \"one|two|three\", 104, 120, 16, 90, 40, 0, %PICK%)",
              "CREATECONTROL(\"droplist\", \"Alpha|Beta|Gamma\", 105, 120, 60, 90, 60, 0, %KIND%)",
              "CREATECONTROL(\"combobox\", \"FILE:#DIR#ITEMS.TXT\", 106, 8, 60, 100, 60, 0, %TYPED%, 8)",
              "CREATECONTROL(\"icon\", \"KEY01\", 107, 8, 80, 0, 0, 0)",
              "CREATECONTROL(\"colourblock\", \"\", 108, 120, 80, 90, 8, 0, 255)",
              "CREATECONTROL(\"edit\", \"\", 109, 400, 400, 40, 12, 0, %FAR%)",
              "CREATECONTROL(\"button\", \"#OK#\", 1, 40, 120, 50, 14, 0)",
              "CREATECONTROL(\"button\", \"#BACK#\", 9, 100, 120, 50, 14, 0)",
              "SETFOCUS(101)",
              "CENTREDIALOG()",
              "ENDOBJECT()"});
  run.ip.variables.SetVariable("FAR", "out of sight");
  const int result = WithUser(
      run, "DIALOGBOX(\"ask\")",
      [](HWND dialog) {
        windriver::WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 5000);
        Sleep(300);  // let it paint
        windriver::SaveWindowBmp(dialog, ArtefactFolder() + "objects_user_dialog.bmp");
        HWND list = windriver::FindControl(dialog, 104), drop = windriver::FindControl(dialog, 105);
        HWND combo = windriver::FindControl(dialog, 106);
        EXPECT_EQ(ControlText(dialog, 101), "Jo");
        EXPECT_TRUE(windriver::IsChecked(windriver::FindControl(dialog, 102)));
        EXPECT_FALSE(windriver::IsChecked(windriver::FindControl(dialog, 103)));
        EXPECT_EQ(windriver::ItemTexts(list), (std::vector<std::wstring>{L"one", L"two", L"three"}));
        EXPECT_EQ(windriver::SelectedItem(list), 1);
        EXPECT_EQ(windriver::ItemTexts(drop), (std::vector<std::wstring>{L"Alpha", L"Beta", L"Gamma"}));
        EXPECT_EQ(windriver::SelectedItem(drop), 1);
        EXPECT_EQ(windriver::ItemTexts(combo), (std::vector<std::wstring>{L"first", L"second"}));
        GUITHREADINFO focus{};
        focus.cbSize = sizeof focus;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &focus);
        EXPECT_EQ(GetDlgCtrlID(focus.hwndFocus), 101);
        // Centred on the screen; the control placed outside the dialog is there, out of sight.
        RECT frame, outside;
        GetWindowRect(dialog, &frame);
        GetWindowRect(windriver::FindControl(dialog, 109), &outside);
        EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
        EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
        EXPECT_GE(outside.left, frame.right);
        // The user's answers: a longer name than the field takes, the box unticked, the radio
        // button chosen, other items, a typed combo text, then OK.
        TypeInto(windriver::FindControl(dialog, 101), "Josephine Smith");
        windriver::PressButton(windriver::FindControl(dialog, 102));
        windriver::PressButton(windriver::FindControl(dialog, 103));
        windriver::SelectItem(list, 2);
        windriver::SelectItem(drop, 0);
        windriver::TypeComboText(combo, "typed");
        windriver::PressButton(windriver::FindControl(dialog, 1));
      },
      "Details for Jo");
  EXPECT_EQ(result, 0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  // What OK stored: the edit took its limit of 10 characters.
  EXPECT_EQ(run.Var("NAME"), "Josephine ");
  EXPECT_EQ(run.Var("TICK"), "0");
  EXPECT_EQ(run.Var("FULL"), "1");
  EXPECT_EQ(run.Var("PICK"), "three");
  EXPECT_EQ(run.Var("KIND"), "Alpha");
  EXPECT_EQ(run.Var("TYPED"), "typed");
  EXPECT_EQ(run.Var("FAR"), "out of sight");
  EXPECT_NE(run.Log().find(" 68 D  "), std::string::npos);  // the template's head in the debug log: "D"etails
}

TEST(UserDialog, BackEscapeCloseBoxAndABitmapThatIsGone) {
  InProcessRun run;
  const std::string dir = ScratchFolder("objects");
  WriteFileBytes(dir + "SOON.BMP", SolidBitmap(4, 4, RGB(5, 5, 5)));
  run.ip.variables.SetVariable("DIR", dir);
  run.RunLines(dir + "BACK.QLS", {"SET %NAME% = \"Jo\"", "CREATEDIALOG(\"ASK\", \"Question\", 0, 0, 150, 60)",
                                "CREATECONTROL(\"edit\", \"\", 101, 8, 8, 100, 12, 0, %NAME%)",
                                "CREATECONTROL(\"button\", \"#BACK#\", 9, 8, 30, 50, 14, 0)", "ENDOBJECT()",
                                "CREATEDIALOG(\"PICTURE\", \"Picture\", 0, 0, 150, 60)",
                                "CREATECONTROL(\"bitmap\", \"#DIR#SOON.BMP\", 1, 0, 0, 0, 0, 0)", "ENDOBJECT()"});
  for (const char* how : {"back", "escape", "close box"}) {
    const std::string way = how;
    const int result = WithUser(
        run, "DIALOGBOX(\"ASK\")",
        [&way](HWND dialog) {
          TypeInto(windriver::FindControl(dialog, 101), "changed");
          if (way == "back") windriver::PressButton(windriver::FindControl(dialog, 9));
          if (way == "escape") PressKey(dialog, VK_ESCAPE);
          if (way == "close box") PressCloseBox(dialog);
        },
        "Question");
    EXPECT_EQ(result, 0);
    EXPECT_EQ(run.Var("ERROR"), way == "back" ? "9" : "2") << how;
    EXPECT_EQ(run.Var("NAME"), "Jo") << how;  // nothing stored
  }
  // The bitmap went after the definition: the dialog closes at once and DIALOGBOX( fails.
  DeleteFileA((dir + "SOON.BMP").c_str());
  BoxWatch boxes(L"OK");
  EXPECT_EQ(run.Line("DIALOGBOX(\"PICTURE\")"), ERR_BITMAP_LOAD_FAILED);
  int32_t closing = 0;
  EXPECT_EQ(RunUserDialog(run.ip, *run.ip.objects.Find("PICTURE"), closing), ERR_BITMAP_LOAD_FAILED);
  EXPECT_EQ(closing, 2);
}

TEST(TalvenObjects, ABackdropWithACueCardUntilTheScriptGoesOn) {
  TalvenProgram talven("TVOBJECT");
  const std::string dir = ScratchFolder("objects");
  WriteFileBytes(dir + "LOGO.BMP", SolidBitmap(64, 48, RGB(250, 180, 0)));
  WriteFileBytes(dir + "SHOW.QLS",
                 ScriptLines({"SET %CAPTION% = \"Quillset objects\"", ("SET %DIR% = \"" + dir + "\"").c_str(),
                              "SET %NL% = %QSNEWLINE%",
                              "CREATEBACKDROP(\"WELCOME\")",
                              "CREATECONTROL(\"text\", \"Quillset#NL#Lumivane 1.0\", 1, 40, 30, 0, 0, 128, \"Arial\", 48, 3, "
                              "16777215, 0)",
                              "CREATECONTROL(\"bitmap\", \"#DIR#LOGO.BMP\", 2, 0, 0, 0, 0, 327680)",
                              "CREATECONTROL(\"icon\", \"SETUP\", 3, 40, 20, 0, 0, 65536)",
                              "CREATECONTROL(\"icon\", \"DISK01\", 4, 80, 20, 0, 0, 65536)",
                              "CREATECONTROL(\"colourblock\", \"\", 5, 0, 0, 300, 4, 524288, 65535)",
                              "ENDOBJECT()",
                              "CREATECUECARD(\"TIP\", 0, 0, 260, 70, 2)",
                              "CREATECONTROL(\"text\", \"Please insert#NL#the next disk\", 1, 50, 12, 0, 0, 0, \"Arial\", 18, 0, 0, 0)",
                              "CREATECONTROL(\"icon\", \"DISKS01\", 2, 10, 12, 0, 0, 0)",
                              "CENTREDIALOG(3, 1)",
                              "ENDOBJECT()",
                              "SHOWBACKDROP(\"WELCOME\")",
                              "SHOWCUECARD(\"TIP\")",
                              "WAIT(\"QS OBJECTS SEEN\", 0)",
                              "SET %GOON% = 1",
                              "DUMPVARIABLES()"}));
  // A line feed in a text comes from a variable: the script line itself cannot hold one.
  SetEnvironmentVariableA("QSNEWLINE", "\n");
  windriver::ChildProgram program;
  ASSERT_TRUE(program.Start("\"" + talven.ExePath() + "\" " + dir + "SHOW.QLS"));
  HWND main = windriver::WaitForWindow(program.Id(), "QuillsetMainWindow", "Quillset objects", 15000);
  ASSERT_NE(main, nullptr);
  HWND card = nullptr;
  ASSERT_TRUE(windriver::WaitUntil([&] { return (card = FindWindowExA(main, nullptr, "QuillsetCueCard", nullptr)); }, 15000));
  ASSERT_TRUE(windriver::WaitUntil([&] { return IsWindowVisible(card) != FALSE; }, 15000));
  Sleep(500);  // the script waits; let every window paint
  windriver::Picture screen;
  ASSERT_TRUE(windriver::CaptureScreen(screen));
  windriver::SaveBmp(screen, ArtefactFolder() + "objects_backdrop_with_cue_card.bmp");
  RECT client;
  GetClientRect(main, &client);
  EXPECT_EQ(IconWindows(main).size(), 2u);
  EXPECT_EQ(IconWindows(card).size(), 1u);
  RECT c;
  GetWindowRect(card, &c);
  EXPECT_EQ(c.top, 20);  // vertical mode 1: 20 pixels from the screen's top
  EXPECT_NEAR((c.left + c.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  EXPECT_TRUE(program.IsRunning());  // still waiting for the window
  HWND go = CreateWindowExA(0, "STATIC", "QS OBJECTS SEEN", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(program.WaitForExit(15000));
  DestroyWindow(go);
  EXPECT_EQ(talven.DumpedVariable("GOON"), "1");
  EXPECT_NE(talven.Log().find("CLine: 'CENTREDIALOG(3, 1)'"), std::string::npos);
}
