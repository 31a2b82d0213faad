// The installer's windows drawn for real under Xvfb: the backdrop's gradient and colour, the
// gauge bar at 0, 50 and 100 %, the wait message, dialog placement, focus and prompts, bitmap
// files; and through TALVEN.EXE, Cancel during a long copy and the overwrite question.
// Screenshots are kept in build/<preset>/artefacts/.
#include <gtest/gtest.h>

#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"
#include "ui/dib_image_win32.h"
#include "ui/language.h"
#include "ui/window_geometry.h"

namespace {

// Puts [window] above everything else on the display and lets it paint.
void ToFront(HWND window) {
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
  UpdateWindow(window);
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < 300) {
    PumpMessages();
    Sleep(10);
  }
}

std::wstring ProfileText(const char* section, const char* key) {
  char text[64] = "";
  GetProfileStringA(section, key, "ENA", text, sizeof text);
  return std::wstring(text, text + strlen(text));
}

int Count(const windriver::Picture& p, int x0, int x1, int y0, int y1, COLORREF colour) {
  int n = 0;
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) n += p.Pixel(x, y) == colour;
  return n;
}

}  // namespace

TEST(Backdrop, GradientBandsAndTheObjectColour) {
  InProcessRun run;
  ASSERT_EQ(run.ip.objects.Add({ObjectKind::Backdrop, "WELCOME", -1}), 0);
  ASSERT_EQ(run.ip.objects.Add({ObjectKind::Backdrop, "ORANGE", 0x0080FF}), 0);
  ASSERT_EQ(run.ip.objects.Add({ObjectKind::Dialog, "ASK", -1}), 0);
  HWND main = run.windows.MainHandle();
  EXPECT_FALSE(IsWindowVisible(main));
  EXPECT_EQ(run.Line("SHOWBACKDROP(\"NOBODY\")"), ERR_OBJECT_NOT_FOUND);
  EXPECT_EQ(run.Line("SHOWBACKDROP(\"ASK\")"), ERR_NOT_A_BACKDROP);
  EXPECT_EQ(run.Line("SHOWBACKDROP(5)"), ERR_INVALID_STRING_PARAMETER);
  EXPECT_FALSE(IsWindowVisible(main));  // nothing changed on the screen
  run.ip.variables.SetVariable("CAPTION", "Quillset Demo");
  ASSERT_EQ(run.Line("SHOWBACKDROP(\"welcome\")"), 0);
  ASSERT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(windriver::WindowTextA(main), "Quillset Demo");
  EXPECT_EQ(GetWindowLongA(main, GWL_STYLE) & (WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0);
  ToFront(main);
  windriver::Picture picture;
  ASSERT_TRUE(windriver::CaptureClientArea(main, picture));
  windriver::SaveBmp(picture, ArtefactFolder() + "backdrop_gradient.bmp");
  RECT client;
  GetClientRect(main, &client);
  const int bottom = client.bottom, band = bottom / 256 + 1;
  for (int y : {0, band - 1, band, 5 * band + 1, bottom / 2, bottom - 1}) {
    const int blue = 255 - y / band;
    EXPECT_EQ(picture.Pixel(3, y), RGB(0, 0, blue)) << "row " << y;
    EXPECT_EQ(picture.Pixel(picture.width - 3, y), RGB(0, 0, blue)) << "row " << y;
  }
  ASSERT_EQ(run.Line("SHOWBACKDROP(\"ORANGE\")"), 0);
  ToFront(main);
  ASSERT_TRUE(windriver::CaptureClientArea(main, picture));
  windriver::SaveBmp(picture, ArtefactFolder() + "backdrop_colour.bmp");
  EXPECT_EQ(Count(picture, 0, picture.width, 0, picture.height, RGB(255, 128, 0)), picture.width * picture.height);
  SetWindowPos(main, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

TEST(GaugeBar, FillEdgeFrameAndXorLabel) {
  InProcessRun run;
  run.Line("POSITIONDIALOG(30, 30)");
  run.Line("CENTREDIALOG(0, 0)");
  run.windows.OpenCopyGauge(100);
  HWND gauge = run.windows.CopyGaugeHandle();
  ASSERT_NE(gauge, nullptr);
  HWND bar = run.windows.Bar().Handle();
  RECT place, barRect;
  GetWindowRect(GetDlgItem(gauge, 53), &place);
  GetWindowRect(bar, &barRect);
  EXPECT_TRUE(EqualRect(&place, &barRect));  // the bar covers the hidden placeholder
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(gauge, 53)));
  const COLORREF blue = RGB(0, 0, 255), grey = RGB(192, 192, 192), white = RGB(255, 255, 255);
  const COLORREF labelOnGrey = RGB(192 ^ 255, 192 ^ 255, 192 ^ 0);  // grey XOR the inverse of blue
  for (int percent : {0, 50, 100}) {
    run.windows.Bar().SetPosition(percent);
    ToFront(gauge);
    windriver::Picture p;
    ASSERT_TRUE(windriver::CaptureWindow(bar, p));
    windriver::SaveBmp(p, ArtefactFolder() + "gauge_" + std::to_string(percent) + ".bmp");
    if (percent == 50) windriver::SaveWindowBmp(gauge, ArtefactFolder() + "copy_gauge.bmp");
    const int w = p.width, h = p.height;
    EXPECT_EQ(p.Pixel(0, 0), RGB(128, 128, 128));  // sunken frame: dark top left, white bottom right
    EXPECT_EQ(p.Pixel(0, h / 2), RGB(128, 128, 128));
    EXPECT_EQ(p.Pixel(w - 1, h - 1), white);
    EXPECT_EQ(p.Pixel(w / 2, h - 1), white);
    const int edge = GaugeFillEdge(percent, 100, 0, w);
    const int row = 2;  // above the label
    if (percent == 0) {
      EXPECT_EQ(p.Pixel(1, row), grey);
    }
    if (percent == 100) {
      EXPECT_EQ(p.Pixel(w - 2, row), blue);
    }
    if (percent == 50) {
      EXPECT_EQ(p.Pixel(edge - 1, row), blue);
      EXPECT_EQ(p.Pixel(edge, row), grey);
      EXPECT_EQ(Count(p, 1, edge, row, row + 1, blue), edge - 1);
    }
    const int whiteInside = Count(p, 1, w - 1, 1, h - 1, white);
    const int labelOverGrey = Count(p, 1, w - 1, 1, h - 1, labelOnGrey);
    EXPECT_EQ(whiteInside > 0, percent > 0) << percent;  // the label over the done part
    EXPECT_EQ(labelOverGrey > 0, percent < 100) << percent;  // and over the remaining part
  }
  run.windows.CloseCopyGauge();
}

TEST(GaugeBar, AByteModeCopyEndsWithTheFullBarOnTheScreen) {
  InProcessRun run;
  const std::string dir = ScratchFolder("gauge_paint");
  WriteFileBytes(dir + "BIG.BIN", std::string(3u << 20, 'g'));
  run.Line("POSITIONDIALOG(30, 30)");
  run.Line("CENTREDIALOG(0, 0)");
  ASSERT_EQ(run.Line("COPYFILE(1)"), 0);
  ToFront(run.windows.CopyGaugeHandle());
  // The steps during the copy are painted at the pace of the message drains, the last one at once.
  ASSERT_EQ(run.Line("\"" + dir + "BIG.BIN\", \"" + dir + "BIG.OUT\", \"Copying\", 0"), 0);
  EXPECT_FALSE(GetUpdateRect(run.windows.Bar().Handle(), nullptr, FALSE));  // nothing left to paint
  ToFront(run.windows.CopyGaugeHandle());
  windriver::Picture p;
  ASSERT_TRUE(windriver::CaptureWindow(run.windows.Bar().Handle(), p));
  EXPECT_EQ(p.Pixel(p.width - 2, 2), RGB(0, 0, 255));
  EXPECT_GT(Count(p, 1, p.width - 1, 1, p.height - 1, RGB(255, 255, 255)), 0);  // "100%"
}

TEST(WaitMessage, CentredLinesWithAnEmptyLineBetween) {
  InProcessRun run;
  run.ip.variables.SetVariable("MSG", "Please wait");
  ASSERT_EQ(run.Line("SHOWWAITMESSAGE(%MSG%)"), 0);
  HWND wait = run.windows.WaitMessageHandle();
  ASSERT_NE(wait, nullptr);
  EXPECT_EQ(windriver::WindowTextA(wait), "Setup");
  RECT frame;
  GetWindowRect(wait, &frame);
  EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
  run.windows.ShowWaitMessage("Please wait\n\nCopying the files");
  // The new text may still be painting on a loaded machine: looked at again until it shows.
  windriver::Picture p;
  std::vector<int> inkRows;
  int left = 0, right = 0, groups = 0, widestGap = 0;
  const DWORD start = GetTickCount();
  do {
    ToFront(wait);
    ASSERT_TRUE(windriver::CaptureClientArea(wait, p));
    const COLORREF grey = RGB(192, 192, 192);
    inkRows.clear();
    left = p.width, right = 0;
    for (int y = 0; y < p.height; ++y) {
      bool ink = false;
      for (int x = 0; x < p.width; ++x) {
        if (p.Pixel(x, y) == grey) continue;
        ink = true;
        left = std::min(left, x);
        right = std::max(right, x);
      }
      if (ink) inkRows.push_back(y);
    }
    ASSERT_FALSE(inkRows.empty());
    groups = 1, widestGap = 0;
    for (size_t i = 1; i < inkRows.size(); ++i) {
      if (inkRows[i] == inkRows[i - 1] + 1) continue;
      ++groups;
      widestGap = std::max(widestGap, inkRows[i] - inkRows[i - 1]);
    }
  } while (groups != 2 && GetTickCount() - start < 5000);
  windriver::SaveBmp(p, ArtefactFolder() + "wait_message.bmp");
  EXPECT_EQ(groups, 2);          // two lines of text ...
  EXPECT_GE(widestGap, 13);      // ... with a whole empty line between them
  EXPECT_NEAR((left + right) / 2, p.width / 2, 2);
  EXPECT_NEAR((inkRows.front() + inkRows.back()) / 2, p.height / 2, 3);
  EXPECT_EQ(run.Line("SHOWWAITMESSAGE(1)"), ERR_INVALID_STRING_PARAMETER);
  ASSERT_EQ(run.Line("HIDEWAITMESSAGE()"), 0);
  EXPECT_EQ(run.windows.WaitMessageHandle(), nullptr);
  EXPECT_FALSE(IsWindow(wait));
}

TEST(DialogPlacement, FixedPositionsCentringAndParameterKinds) {
  InProcessRun run;
  RECT mainRect, g;
  GetWindowRect(run.windows.MainHandle(), &mainRect);
  ASSERT_EQ(run.Line("POSITIONDIALOG(40, 50)"), 0);
  ASSERT_EQ(run.Line("CENTREDIALOG(0, 0)"), 0);
  run.windows.OpenCopyGauge(1);
  GetWindowRect(run.windows.CopyGaugeHandle(), &g);
  EXPECT_EQ(g.left, 40);
  EXPECT_EQ(g.top, 50);
  run.windows.CloseCopyGauge();
  ASSERT_EQ(run.Line("CENTREDIALOG()"), 0);
  run.windows.OpenCopyGauge(1);
  GetWindowRect(run.windows.CopyGaugeHandle(), &g);
  EXPECT_EQ(g.left, (mainRect.right - (g.right - g.left) - 1) / 2);
  EXPECT_EQ(g.top, (mainRect.bottom - (g.bottom - g.top) - 1) / 2);
  run.windows.CloseCopyGauge();
  ASSERT_EQ(run.Line("CENTREDIALOG(2, 1)"), 0);
  run.windows.OpenCopyGauge(1);
  GetWindowRect(run.windows.CopyGaugeHandle(), &g);
  EXPECT_EQ(g.left, mainRect.right - (g.right - g.left) - 21);
  EXPECT_EQ(g.top, GetSystemMetrics(SM_CYCAPTION) + 20);
  run.ip.variables.SetVariable("A", "5");
  EXPECT_EQ(run.Line("POSITIONDIALOG(%A%, 1)"), ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(run.ip.line.paramNo, 1);
  EXPECT_EQ(run.Line("CENTREDIALOG(1, \"x\")"), ERR_INVALID_NUMERIC_PARAMETER);
  EXPECT_EQ(run.ip.line.paramNo, 2);
}

TEST(MainWindow, FocusGoesToTheGaugeAndPromptsDisableIt) {
  InProcessRun run;
  run.windows.ShowWaitMessage("wait");
  run.windows.OpenCopyGauge(10);
  HWND gauge = run.windows.CopyGaugeHandle();
  SetFocus(run.windows.MainHandle());
  HWND focus = GetFocus();
  EXPECT_TRUE(focus == gauge || IsChild(gauge, focus));
  run.platform.SetBusyCursor(true);
  run.platform.BeginUserPrompt();
  EXPECT_FALSE(IsWindowEnabled(gauge));
  EXPECT_FALSE(IsWindowEnabled(run.windows.WaitMessageHandle()));
  EXPECT_FALSE(run.windows.BusyCursor());
  run.platform.EndUserPrompt();
  EXPECT_TRUE(IsWindowEnabled(gauge));
  EXPECT_TRUE(IsWindowEnabled(run.windows.WaitMessageHandle()));
  EXPECT_TRUE(run.windows.BusyCursor());
  focus = GetFocus();
  EXPECT_TRUE(focus == gauge || IsChild(gauge, focus));
  SendMessageA(run.windows.MainHandle(), WM_CLOSE, 0, 0);  // only the program closes it
  EXPECT_TRUE(IsWindow(run.windows.MainHandle()));
}

namespace {

void Put32(std::string& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<char>(v >> (8 * i));
}

// A 2 x 2 bitmap of 24 bits with an information header of [infoSize] bytes; rows bottom up:
// red, green / blue, white.
std::string Bitmap24(uint32_t infoSize) {
  std::string b(14 + infoSize, '\0');
  b[0] = 'B';
  b[1] = 'M';
  Put32(b, 2, static_cast<uint32_t>(b.size() + 16));
  Put32(b, 10, 14 + infoSize);
  Put32(b, 14, infoSize);
  Put32(b, 18, 2);
  Put32(b, 22, 2);
  b[26] = 1;
  b[28] = 24;
  const unsigned char rows[16] = {0, 0, 255, 0, 255, 0, 0, 0, 255, 0, 0, 255, 255, 255, 0, 0};
  b.append(reinterpret_cast<const char*>(rows), sizeof rows);
  return b;
}

// Draws [image] 1:1 into a 32-bit memory bitmap and reads the pixel at (x, y).
COLORREF DrawnPixel(const DibImage& image, int x, int y, int scale = 1) {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 8, 8);
  HGDIOBJ old = SelectObject(dc, bitmap);
  const RECT destination{0, 0, 2 * scale, 2 * scale}, source{0, 0, 2, 2};
  const int lines = DrawDib(dc, destination, image, source, image.Palette());
  const COLORREF colour = lines > 0 ? GetPixel(dc, x, y) : CLR_INVALID;
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return colour;
}

}  // namespace

TEST(Bitmaps, LaterHeadersPalettesAndFilesThatDoNotFit) {
  const std::string dir = ScratchFolder("bitmaps");
  for (uint32_t infoSize : {40u, 108u, 124u}) {
    const std::string path = dir + "RGB" + std::to_string(infoSize) + ".BMP";
    WriteFileBytes(path, Bitmap24(infoSize));
    const std::unique_ptr<DibImage> image = LoadDibFile(path);
    ASSERT_NE(image, nullptr) << infoSize;
    EXPECT_EQ(image->Info()->bmiHeader.biSize, 40u);
    EXPECT_EQ(DrawnPixel(*image, 0, 1), RGB(255, 0, 0)) << infoSize;  // bottom row first in the file
    EXPECT_EQ(DrawnPixel(*image, 1, 1), RGB(0, 255, 0)) << infoSize;
    EXPECT_EQ(DrawnPixel(*image, 0, 0), RGB(0, 0, 255)) << infoSize;
    EXPECT_EQ(DrawnPixel(*image, 1, 0), RGB(255, 255, 255)) << infoSize;
    EXPECT_EQ(DrawnPixel(*image, 3, 3, 2), RGB(0, 255, 0)) << infoSize;  // stretched twice as large
  }
  // Eight bits with a two-colour table and no colour count: the full table of 256 is expected.
  std::string palette(14 + 40, '\0');
  palette[0] = 'B';
  palette[1] = 'M';
  Put32(palette, 14, 40);
  Put32(palette, 18, 2);
  Put32(palette, 22, 2);
  palette[26] = 1;
  palette[28] = 8;
  WriteFileBytes(dir + "SHORT8.BMP", palette + std::string(8 + 8, '\0'));
  EXPECT_EQ(LoadDibFile(dir + "SHORT8.BMP"), nullptr);
  Put32(palette, 46, 2);  // now it says two colours
  std::string table = {'\0', '\0', '\xFF', '\0', '\xFF', '\0', '\0', '\0'};  // red, blue
  WriteFileBytes(dir + "PAL8.BMP", palette + table + std::string("\x01\x00\x00\x00\x00\x01\x00\x00", 8));
  const std::unique_ptr<DibImage> eight = LoadDibFile(dir + "PAL8.BMP");
  ASSERT_NE(eight, nullptr);
  EXPECT_EQ(DrawnPixel(*eight, 0, 1), RGB(0, 0, 255));
  EXPECT_EQ(DrawnPixel(*eight, 1, 1), RGB(255, 0, 0));
  // Headers that promise more than the file holds are refused, not read past.
  std::string cut = Bitmap24(124);
  cut.resize(cut.size() - 1);
  WriteFileBytes(dir + "CUT.BMP", cut);
  EXPECT_EQ(LoadDibFile(dir + "CUT.BMP"), nullptr);
  std::string huge = Bitmap24(40);
  Put32(huge, 18, 0x10000);
  Put32(huge, 22, 0x10000);
  WriteFileBytes(dir + "HUGE.BMP", huge);
  EXPECT_EQ(LoadDibFile(dir + "HUGE.BMP"), nullptr);
  {
    BoxWatch boxes(L"OK");
    EXPECT_EQ(LoadDibFile(dir + "MISSING.BMP"), nullptr);
    ASSERT_EQ(boxes.Texts().size(), 1u);
    EXPECT_EQ(boxes.Texts()[0], "File Not Found!");
  }
  WriteFileBytes(dir + "CORE.BMP", std::string("BM") + std::string(12, '\0') + std::string("\x0C\0\0\0", 4) +
                                       std::string(40, '\0'));
  EXPECT_EQ(LoadDibFile(dir + "CORE.BMP"), nullptr);
}

TEST(TalvenWindows, CancelDuringALongCopyContinuesAtExit) {
  TalvenProgram talven("TVCANCEL");
  const std::string dir = ScratchFolder("cancel");
  const std::string block(1u << 20, 'c');
  WriteFileBytes(dir + "PART.BIN", block);
  // Copies the same file over and over until Cancel sends the script to :EXIT.
  const std::string copy = "\"" + dir + "PART.BIN\", \"" + dir + "COPY.BIN\", \"Copying\", 0";
  WriteFileBytes(dir + "CANCEL.QLS", ScriptLines({"COPYFILE(100)", "SET %I% = 0", ":AGAIN", copy.c_str(),
                                                  "SET %I% = %I% + 1", "IF %I% < 20000 GOTO :AGAIN", "SET %NEVER% = 1",
                                                  ":EXIT", "SET %EXITED% = 1", "DUMPVARIABLES()"}));
  windriver::ChildProgram program;
  ASSERT_TRUE(program.Start("\"" + talven.ExePath() + "\" " + dir + "CANCEL.QLS"));
  HWND gauge = windriver::WaitForWindow(program.Id(), "#32770", "Setup", 15000);
  ASSERT_NE(gauge, nullptr);
  ASSERT_TRUE(windriver::WaitUntil([&] { return !windriver::WindowTextA(windriver::FindControl(gauge, 205)).empty(); }, 15000));
  windriver::PressButton(windriver::FindControl(gauge, 2));
  ASSERT_TRUE(windriver::WaitForWindowGone(gauge, 30000));
  ASSERT_TRUE(program.WaitForExit(30000));
  EXPECT_EQ(talven.DumpedVariable("EXITED"), "1");
  EXPECT_EQ(talven.DumpedVariable("NEVER"), "<unset>");
  EXPECT_LT(std::stoi(talven.DumpedVariable("I")), 20000);
  // The copy under way when Cancel came was not cut short.
  EXPECT_EQ(ReadFileBytes(dir + "COPY.BIN").size(), block.size());
}

TEST(TalvenWindows, OverwriteQuestionShowsLineBreaksAndTakesYesAndNo) {
  TalvenProgram talven("TVASK");
  const std::string dir = ScratchFolder("ask");
  WriteFileBytes(dir + "OLD.TXT", "old!");
  WriteFileBytes(dir + "NEW.TXT", "brand new");
  SetWriteTime(dir + "OLD.TXT", 2004, 2, 3, 4, 5, 6);
  SetWriteTime(dir + "NEW.TXT", 2006, 7, 8, 21, 10, 12);
  const std::string args = "\"" + dir + "OLD.TXT\", \"" + dir + "NEW.TXT\", ";
  WriteFileBytes(dir + "ASK.QLS", ScriptLines({("CONFIRMOVERWRITE(" + args + "\"\", 0)").c_str(), "SET %FIRST% = %ERROR%",
                                              ("CONFIRMOVERWRITE(" + args + "\"Replace $OLDFILE$?|$OLDSIZE$ by $NEWSIZE$\", 0)").c_str(),
                                              "SET %SECOND% = %ERROR%", "DUMPVARIABLES()"}));
  ASSERT_TRUE(talven.Run(dir + "ASK.QLS", "", {"Yes", "No"}));
  EXPECT_EQ(talven.DumpedVariable("FIRST"), "6");
  EXPECT_EQ(talven.DumpedVariable("SECOND"), "7");
  ASSERT_EQ(talven.boxes.size(), 2u);
  // The dates and times as the local clock shows them.
  const auto local = [](const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
    FILETIME ft;
    SYSTEMTIME t;
    FileTimeToLocalFileTime(&data.ftLastWriteTime, &ft);
    FileTimeToSystemTime(&ft, &t);
    char text[32];
    const bool us = LanguageFromCode(Narrow(ProfileText("intl", "sLanguage"))) == 1;
    std::snprintf(text, sizeof text, "%02d/%02d/%02d %02d:%02dA", us ? t.wMonth : t.wDay, us ? t.wDay : t.wMonth,
                  t.wYear % 100, t.wHour, t.wMinute);
    return std::string(text);
  };
  EXPECT_EQ(talven.boxes[0].title, "Setup");
  EXPECT_EQ(talven.boxes[0].text, "Setup is attempting to overwrite:\n\n" + dir + "OLD.TXT\n(" + local(dir + "OLD.TXT") +
                                      " 4 Bytes)\n\nwith:\n\n" + dir + "NEW.TXT\n(" + local(dir + "NEW.TXT") +
                                      " 9 Bytes)\n\nAre you sure you wish to overwrite this file ?");
  EXPECT_EQ(talven.boxes[1].text, "Replace " + dir + "OLD.TXT?\n4 by 9");
  EXPECT_NE(talven.Log().find("Yes - do overwrite\r\n"), std::string::npos);
  EXPECT_NE(talven.Log().find("No - don't overwrite\r\n"), std::string::npos);
}
