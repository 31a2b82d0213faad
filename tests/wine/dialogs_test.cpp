// DIALOGBOX('s pages used as a person would: each page family is found on the screen, read,
// typed into, ticked and pressed, and the variables and ERROR that the script sees afterwards
// are checked. Also the names that are no page, the windows that step aside while a page or a
// message box shows, and one script run through TALVEN.EXE.
#include <gtest/gtest.h>

#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/page_user.h"
#include "tests/wine/talven_harness.h"

namespace {

using windriver::FindControl;
using windriver::PressButton;

class PageTest : public ::testing::Test {
 protected:
  PageTest() { Set("CAPTION", kPageTitle); }
  void Set(const std::string& name, const std::string& value) { run.ip.variables.SetVariable(name, value); }
  int Show(const std::string& page, const std::function<void(HWND)>& act, const char* title = kPageTitle) {
    return WithUser(run, "DIALOGBOX(\"" + page + "\")", act, title);
  }
  // Shows [page] and closes it with [press] (a button id, or 0 for Escape, -1 for the close box):
  // the ERROR it leaves.
  std::string Answer(const std::string& page, int press) {
    EXPECT_EQ(Show(page,
                   [&](HWND dialog) {
                     if (press > 0) PressButton(FindControl(dialog, press));
                     if (press == 0) PressKey(dialog, VK_ESCAPE);
                     if (press < 0) PressCloseBox(dialog);
                   }),
              0);
    return run.Var("ERROR");
  }
  InProcessRun run;
};

int LengthOf(HWND control) { return static_cast<int>(SendMessageA(control, WM_GETTEXTLENGTH, 0, 0)); }

HWND FocusOf(HWND dialog) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info);
  return info.hwndFocus;
}

std::vector<std::string> Items(HWND box) {
  std::vector<std::string> items;
  for (const std::wstring& item : windriver::ItemTexts(box)) items.push_back(Narrow(item));
  return items;
}

bool Has(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

// The directory list's entry [name] chosen with a double click.
void DoubleClick(HWND browser, const std::string& entry) {
  HWND list = FindControl(browser, 250);
  const std::vector<std::string> items = Items(list);
  const auto at = std::find(items.begin(), items.end(), entry);
  ASSERT_NE(at, items.end()) << entry;
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at - items.begin()), 0);
  SendMessageA(browser, WM_COMMAND, MAKEWPARAM(250, LBN_DBLCLK), reinterpret_cast<LPARAM>(list));
}

}  // namespace

TEST_F(PageTest, WelcomeShowsItsTextsIconAndAboutBox) {
  Set("MESSAGE1", "Tom & Jerry's installation");
  Set("MESSAGE2", "Press #CONTINUE# to go on");
  Set("MESSAGE3", "Lumivane 2.1");
  EXPECT_EQ(Show("welcome",  // names are upper-cased
                 [&](HWND page) {
                   EXPECT_EQ(windriver::WindowTextA(page), kPageTitle);
                   EXPECT_EQ(ControlText(page, 200), "Tom & Jerry's installation");
                   EXPECT_EQ(ControlText(page, 201), "Press &Continue to go on");
                   EXPECT_EQ(ControlText(page, 1), "&Continue");
                   EXPECT_EQ(ControlText(page, 2), "E&xit");
                   EXPECT_EQ(ControlText(page, 10), "&About");
                   int icons = 0;
                   for (const windriver::ControlInfo& c : windriver::ChildControls(page))
                     if ((c.style & SS_TYPEMASK) == SS_ICON && c.className == "Static")
                       icons += SendMessageA(c.handle, STM_GETICON, 0, 0) != 0;
                   EXPECT_EQ(icons, 1);
                   PressButton(FindControl(page, 10));
                   HWND about = WaitForDialog(nullptr, page);
                   ASSERT_NE(about, nullptr);
                   EXPECT_EQ(windriver::WindowTextA(about), std::string("About ") + kPageTitle);
                   EXPECT_NE(windriver::FindControlByText(about, "Static", L"Version 6.02.018 / 32-bit Windows"), nullptr);
                   EXPECT_EQ(ControlText(about, 202), "Lumivane 2.1");
                   PressButton(FindControl(about, IDOK));
                   EXPECT_TRUE(windriver::WaitForWindowGone(about, 10000));
                   EXPECT_TRUE(IsWindowVisible(page));  // About leaves the page open
                   PressButton(FindControl(page, IDOK));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(Answer("WELCOME", 2), "2");
  EXPECT_EQ(Answer("WELCOME", 0), "2");
  // Without MESSAGE3 the About box keeps its own text.
  run.ip.variables.SetVariable("MESSAGE3", "");
  EXPECT_EQ(Show("WELCOME",
                 [&](HWND page) {
                   PressButton(FindControl(page, 10));
                   HWND about = WaitForDialog(nullptr, page);
                   ASSERT_NE(about, nullptr);
                   EXPECT_EQ(ControlText(about, 202), "Installs and removes software as its script directs.");
                   PressKey(about, VK_ESCAPE);
                   windriver::WaitForWindowGone(about, 10000);
                   PressKey(page, VK_ESCAPE);
                 }),
            0);
}

TEST_F(PageTest, AskPathTrimsRefusesBlanksAndStoresTheDrive) {
  Set("INSTALLPATH", "C:\\Program Files\\Lumivane");
  Set("MESSAGE1", "Where to?");
  EXPECT_EQ(Show("ASKPATH",
                 [&](HWND page) {
                   EXPECT_EQ(ControlText(page, 50), "C:\\Program Files\\Lumivane");
                   EXPECT_EQ(ControlText(page, 212), "Path:");
                   EXPECT_EQ(ControlText(page, 9), "&Back");
                   EXPECT_EQ(ControlText(page, 16), "&Browse");
                   HWND field = FindControl(page, 50);
                   TypeInto(field, "    ");
                   PressButton(FindControl(page, IDOK));
                   HWND box = WaitForDialog(kPageTitle, page);
                   ASSERT_NE(box, nullptr);
                   EXPECT_EQ(Narrow(windriver::MessageBoxText(box)), "Invalid path name entered");
                   PressButton(windriver::FindControlByText(box, "Button", L"OK"));
                   EXPECT_TRUE(windriver::WaitForWindowGone(box, 10000));
                   EXPECT_TRUE(windriver::WaitUntil([&] { return FocusOf(page) == field; }, 15000));
                   EXPECT_TRUE(IsWindowVisible(page));
                   TypeInto(field, "  D:\\Apps\\Lumivane  ");
                   PressButton(FindControl(page, IDOK));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("INSTALLPATH"), "D:\\Apps\\Lumivane");
  EXPECT_EQ(run.Var("INSTALLDRIVE"), "D:");
  EXPECT_EQ(Show("ASKPATH",
                 [&](HWND page) {
                   TypeInto(FindControl(page, 50), "\\\\SERVER\\SHARE\\LV");
                   PressKey(page, VK_RETURN);  // Continue is the default button
                 }),
            0);
  EXPECT_EQ(run.Var("INSTALLPATH"), "\\\\SERVER\\SHARE\\LV");
  EXPECT_EQ(run.Var("INSTALLDRIVE"), "");
  // Back and Exit store nothing, whatever was typed.
  for (int button : {9, 2}) {
    EXPECT_EQ(Show("ASKPATH",
                   [&](HWND page) {
                     TypeInto(FindControl(page, 50), "E:\\ELSEWHERE");
                     PressButton(FindControl(page, button));
                   }),
              0);
    EXPECT_EQ(run.Var("ERROR"), std::to_string(button));
    EXPECT_EQ(run.Var("INSTALLPATH"), "\\\\SERVER\\SHARE\\LV");
  }
  // A path longer than the field: the field holds 255 characters, also of what is typed.
  Set("INSTALLPATH", "C:\\" + std::string(400, 'p'));
  EXPECT_EQ(Show("ASKPATH",
                 [&](HWND page) {
                   EXPECT_EQ(LengthOf(FindControl(page, 50)), 255);
                   TypeInto(FindControl(page, 50), std::string(300, 'q'));
                   EXPECT_EQ(LengthOf(FindControl(page, 50)), 255);
                   PressButton(FindControl(page, IDOK));
                 }),
            0);
  EXPECT_EQ(run.Var("INSTALLPATH"), std::string(255, 'q'));
}

TEST_F(PageTest, DirectoryBrowserWalksDirectoriesAndDrivesAndFillsThePath) {
  const std::string root = ScratchFolder("browse");
  CreateDirectoryA((root + "Alpha").c_str(), nullptr);
  CreateDirectoryA((root + "Alpha\\Inner").c_str(), nullptr);
  WriteFileBytes(root + "NOTADIR.TXT", "x");
  char before[MAX_PATH];
  GetCurrentDirectoryA(sizeof before, before);
  Set("INSTALLPATH", "C:\\LV");
  EXPECT_EQ(Show("ASKPATH",
                 [&](HWND page) {
                   PressButton(FindControl(page, 16));
                   HWND browser = WaitForDialog(kPageTitle, page);
                   ASSERT_NE(browser, nullptr);
                   EXPECT_EQ(ControlText(browser, 200), "Current Directory:");
                   EXPECT_EQ(ControlText(browser, 201), "Directories:");
                   EXPECT_EQ(ControlText(browser, 202), "Drives:");
                   EXPECT_EQ(ControlText(browser, 213), "C:\\");  // the Windows drive's root
                   HWND list = FindControl(browser, 250), drives = FindControl(browser, 251);
                   std::vector<std::string> items = Items(list);
                   EXPECT_TRUE(Has(items, "[qstests]"));
                   EXPECT_FALSE(Has(items, "[..]"));  // a root has no parent
                   EXPECT_FALSE(Has(items, "[.]"));
                   EXPECT_TRUE(std::is_sorted(items.begin(), items.end(), [](const std::string& a, const std::string& b) {
                     return lstrcmpiA(a.c_str(), b.c_str()) < 0;
                   }));
                   EXPECT_EQ(windriver::SelectedItem(list), 0);
                   const std::vector<std::string> driveItems = Items(drives);
                   EXPECT_TRUE(Has(driveItems, "[-c-]"));
                   EXPECT_TRUE(Has(driveItems, "[-l-]"));
                   EXPECT_EQ(Narrow(windriver::ItemTexts(drives).at(static_cast<size_t>(windriver::SelectedItem(drives)))), "[-c-]");
                   // Another drive, and back: no directory is remembered per drive, so its root.
                   const auto drive = [&](const char* entry) {
                     const std::vector<std::string> all = Items(drives);
                     windriver::SelectItem(drives, static_cast<int>(std::find(all.begin(), all.end(), entry) - all.begin()));
                   };
                   drive("[-l-]");
                   EXPECT_TRUE(windriver::WaitUntil([&] { return ControlText(browser, 213) == "L:\\"; }, 15000));
                   EXPECT_FALSE(Has(Items(list), "[qstests]"));
                   drive("[-c-]");
                   EXPECT_TRUE(windriver::WaitUntil([&] { return ControlText(browser, 213) == "C:\\"; }, 15000));
                   DoubleClick(browser, "[qstests]");
                   EXPECT_EQ(ControlText(browser, 213), "C:\\QSTESTS");
                   DoubleClick(browser, "[browse]");
                   items = Items(list);
                   EXPECT_TRUE(Has(items, "[..]"));
                   EXPECT_TRUE(Has(items, "[Alpha]"));
                   EXPECT_FALSE(Has(items, "[NOTADIR.TXT]"));
                   // Enter while the list has the focus walks into the selected directory.
                   SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(std::find(items.begin(), items.end(), "[Alpha]") - items.begin()), 0);
                   SendMessageA(browser, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
                   PressKey(browser, VK_RETURN);
                   EXPECT_TRUE(windriver::WaitUntil([&] { return ControlText(browser, 213) == "C:\\QSTESTS\\BROWSE\\ALPHA"; }, 15000));
                   EXPECT_TRUE(IsWindowVisible(browser));
                   PressButton(FindControl(browser, IDOK));
                   EXPECT_TRUE(windriver::WaitForWindowGone(browser, 10000));
                   EXPECT_EQ(ControlText(page, 50), "C:\\QSTESTS\\BROWSE\\ALPHA");
                   // Cancel in the browser leaves the field alone.
                   PressButton(FindControl(page, 16));
                   browser = WaitForDialog(kPageTitle, page);
                   ASSERT_NE(browser, nullptr);
                   DoubleClick(browser, "[windows]");
                   PressButton(FindControl(browser, IDCANCEL));
                   EXPECT_TRUE(windriver::WaitForWindowGone(browser, 10000));
                   EXPECT_EQ(ControlText(page, 50), "C:\\QSTESTS\\BROWSE\\ALPHA");
                   PressButton(FindControl(page, IDOK));
                 }),
            0);
  EXPECT_EQ(run.Var("INSTALLPATH"), "C:\\QSTESTS\\BROWSE\\ALPHA");
  char after[MAX_PATH];
  GetCurrentDirectoryA(sizeof after, after);
  EXPECT_STREQ(after, before);  // the browser's walk does not stay behind
}

TEST_F(PageTest, OkBoxAndDeinstallAnswer) {
  Set("MESSAGE1", "Done.");
  EXPECT_EQ(Show("OKBOX",
                 [&](HWND page) {
                   EXPECT_EQ(ControlText(page, 200), "Done.");
                   EXPECT_EQ(ControlText(page, 201), "");  // MESSAGE2 is missing: an empty line
                   EXPECT_EQ(ControlText(page, 1), "&Ok");
                   PressKey(page, VK_RETURN);
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(Answer("OKBOX", 0), "2");  // Escape, although the page has no Cancel button
  Set("MESSAGE2", "Again");
  Set("MESSAGE3", "Away");
  EXPECT_EQ(Show("DEINSTALL",
                 [&](HWND page) {
                   EXPECT_EQ(ControlText(page, 201), "Again");
                   EXPECT_EQ(ControlText(page, 202), "Away");
                   EXPECT_EQ(ControlText(page, 11), "&Install");
                   EXPECT_EQ(ControlText(page, 12), "&De-Install");
                   EXPECT_EQ(ControlText(page, 2), "&Cancel");
                   PressButton(FindControl(page, 12));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "12");
  EXPECT_EQ(Answer("DEINSTALL", 11), "11");
  EXPECT_EQ(Answer("DEINSTALL", 2), "2");
}

TEST_F(PageTest, CheckBoxesStartFromTheButtonVariablesAndStoreTheTicks) {
  for (int n = 2; n <= 6; ++n) {
    Set("BUTTON1", "1");
    Set("BUTTON2", "0");
    Set("BUTTON3", "10");
    Set("BUTTON4", "");
    Set("BUTTON5", "yes");
    Set("MESSAGE1", "First & foremost");
    EXPECT_EQ(Show("CHECKBOX" + std::to_string(n),
                   [&](HWND page) {
                     const bool expected[] = {true, false, true, false, false, false};
                     for (int i = 0; i < n; ++i)
                       EXPECT_EQ(windriver::IsChecked(FindControl(page, 230 + i)), expected[i]) << n << " box " << i + 1;
                     EXPECT_EQ(ControlText(page, 230), "First & foremost");
                     RECT client, units{0, 0, 197, 86 + 21 * (n - 2)};
                     GetClientRect(page, &client);
                     MapDialogRect(page, &units);
                     EXPECT_EQ(client.bottom, units.bottom) << n;
                     PressButton(FindControl(page, 230));  // untick the first
                     PressButton(FindControl(page, 231));  // tick the second
                     EXPECT_TRUE(windriver::WaitUntil([&] { return windriver::IsChecked(FindControl(page, 231)); }, 15000));
                     PressButton(FindControl(page, IDOK));
                   }),
              0);
    EXPECT_EQ(run.Var("ERROR"), "1");
    EXPECT_EQ(run.Var("BUTTON1"), "0");
    EXPECT_EQ(run.Var("BUTTON2"), "1");
    EXPECT_EQ(run.Var("BUTTON3"), n >= 3 ? "1" : "10");
    EXPECT_EQ(run.Var("BUTTON5"), n >= 5 ? "0" : "yes");  // beyond the page: untouched
  }
  // Cancel stores nothing.
  EXPECT_EQ(Show("CHECKBOX2", [&](HWND page) {
              PressButton(FindControl(page, 230));
              PressButton(FindControl(page, IDCANCEL));
            }), 0);
  EXPECT_EQ(run.Var("ERROR"), "2");
  EXPECT_EQ(run.Var("BUTTON1"), "0");
  // A full variable store: the first box's value cannot be stored, the rest are not tried, and
  // the page still answers.
  for (const char* name : {"BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4", "BUTTON5"}) Set(name, "");
  for (int i = 0; run.ip.variables.SetVariable("FILLER" + std::to_string(i), "x") == 0; ++i) {
  }
  EXPECT_EQ(Answer("CHECKBOX3", IDOK), "1");
  EXPECT_EQ(run.Var("BUTTON1"), "");
  EXPECT_EQ(run.Var("BUTTON2"), "");
}

TEST_F(PageTest, RadioButtonsSelectByTheFirstDigit) {
  const struct {
    const char* page;
    const char* value;
    int selected;
  } starts[] = {{"RADIOB3", "7", 3}, {"RADIOB3", "0", 1}, {"RADIOB3", "2", 2}, {"RADIOB6", "", 1}, {"RADIOB4", "42", 4}};
  for (const auto& s : starts) {
    Set("RADIOBUTTON", s.value);
    EXPECT_EQ(Show(s.page,
                   [&](HWND page) {
                     const int count = s.page[6] - '0';
                     for (int i = 1; i <= count; ++i)
                       EXPECT_EQ(windriver::IsChecked(FindControl(page, 219 + i)), i == s.selected) << s.page << " " << s.value;
                     PressButton(FindControl(page, IDCANCEL));
                   }),
              0);
    EXPECT_EQ(run.Var("RADIOBUTTON"), s.value);  // Cancel keeps it
  }
  Set("MESSAGE2", "Compact");
  EXPECT_EQ(Show("RADIOB5",
                 [&](HWND page) {
                   EXPECT_EQ(ControlText(page, 221), "Compact");
                   PressButton(FindControl(page, 221));
                   EXPECT_TRUE(windriver::WaitUntil([&] { return windriver::IsChecked(FindControl(page, 221)); }, 15000));
                   EXPECT_FALSE(windriver::IsChecked(FindControl(page, 220)));
                   PressButton(FindControl(page, IDOK));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("RADIOBUTTON"), "2");
}

TEST_F(PageTest, InputBoxesKeepWhatFitsTheirFields) {
  Set("MESSAGE1", "Your name:");
  Set("MESSAGE2", "Serial number:");
  Set("EF_1", "Jo Bloggs");
  Set("EF_2", std::string(400, '7'));
  EXPECT_EQ(Show("INPUTBOX2",
                 [&](HWND page) {
                   EXPECT_EQ(ControlText(page, 200), "Your name:");
                   EXPECT_EQ(ControlText(page, 201), "Serial number:");
                   EXPECT_EQ(ControlText(page, 51), "Jo Bloggs");
                   EXPECT_EQ(LengthOf(FindControl(page, 52)), 254);
                   TypeInto(FindControl(page, 51), std::string(260, 'n'));
                   EXPECT_EQ(LengthOf(FindControl(page, 51)), 254);
                   TypeInto(FindControl(page, 51), "Ann O'Nymous");
                   PressButton(FindControl(page, IDOK));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("EF_1"), "Ann O'Nymous");
  EXPECT_EQ(run.Var("EF_2"), std::string(254, '7'));
  // Cancel keeps the values; an empty field removes its variable.
  EXPECT_EQ(Show("INPUTBOX1", [&](HWND page) {
              TypeInto(FindControl(page, 51), "changed");
              PressKey(page, VK_ESCAPE);
            }), 0);
  EXPECT_EQ(run.Var("ERROR"), "2");
  EXPECT_EQ(run.Var("EF_1"), "Ann O'Nymous");
  EXPECT_EQ(Show("INPUTBOX1", [&](HWND page) {
              TypeInto(FindControl(page, 51), "");
              PressButton(FindControl(page, IDOK));
            }), 0);
  EXPECT_EQ(run.Var("EF_1"), "");
}

TEST_F(PageTest, PushButtonsAnswerFromElevenUp) {
  for (int i = 1; i <= 5; ++i) {
    Set("PUSHB_" + std::to_string(i), "&Choice " + std::to_string(i));
    Set("MESSAGE" + std::to_string(i), "What choice " + std::to_string(i) + " does");
  }
  EXPECT_EQ(Show("PUSHB4",
                 [&](HWND page) {
                   for (int i = 1; i <= 4; ++i) {
                     EXPECT_EQ(ControlText(page, 10 + i), "&Choice " + std::to_string(i));
                     EXPECT_EQ(ControlText(page, 199 + i), "What choice " + std::to_string(i) + " does");
                   }
                   EXPECT_EQ(FindControl(page, 15), nullptr);
                   PressButton(FindControl(page, 13));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "13");
  EXPECT_EQ(Answer("PUSHB5", 15), "15");
  EXPECT_EQ(Answer("PUSHB2", 2), "2");
  EXPECT_EQ(Answer("PUSHB3", 0), "2");
}

TEST_F(PageTest, AgreementListsTheFileAndAnswersYesOrNo) {
  const std::string dir = ScratchFolder("agreement");
  WriteFileBytes(dir + "LICENCE.TXT", "Licence for #APP#\r\n\r\nPress #OK#\r\n" + std::string(300, 'w') + "\r\nEnd");
  Set("APP", "Lumivane");
  Set("FILENAME", dir + "LICENCE.TXT");
  EXPECT_EQ(Show("AGREEMENT",
                 [&](HWND page) {
                   HWND list = FindControl(page, 254);
                   EXPECT_EQ(Items(list), (std::vector<std::string>{"Licence for Lumivane", "", "Press &Ok",
                                                                    std::string(254, 'w'), std::string(46, 'w'), "End"}));
                   EXPECT_EQ(windriver::SelectedItem(list), 0);
                   EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 1500);
                   EXPECT_EQ(ControlText(page, 6), "&Yes");
                   EXPECT_EQ(ControlText(page, 7), "&No");
                   PressButton(FindControl(page, 6));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "6");
  EXPECT_EQ(Answer("AGREEMENT", 7), "7");
  EXPECT_EQ(Answer("AGREEMENT", 0), "7");   // Escape says no
  EXPECT_EQ(Answer("AGREEMENT", -1), "7");  // and so does the close box
  // A missing file: the page opens with an empty list.
  Set("FILENAME", dir + "MISSING.TXT");
  EXPECT_EQ(Show("AGREEMENT",
                 [&](HWND page) {
                   EXPECT_TRUE(Items(FindControl(page, 254)).empty());
                   PressKey(page, VK_ESCAPE);
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "7");
  // A binary file: shown as the lines it happens to hold, cut at NUL bytes.
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 37) & 0xFF);
  WriteFileBytes(dir + "PROGRAM.BIN", binary);
  Set("FILENAME", dir + "PROGRAM.BIN");
  EXPECT_EQ(Show("AGREEMENT",
                 [&](HWND page) {
                   EXPECT_FALSE(Items(FindControl(page, 254)).empty());
                   PressButton(FindControl(page, 6));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "6");
}

TEST_F(PageTest, OpenAndSaveAreTheSystemDialogs) {
  const std::string dir = ScratchFolder("files");
  WriteFileBytes(dir + "NOTES.TXT", "notes");
  const auto nameField = [](HWND dialog) {
    for (const windriver::ControlInfo& c : windriver::ChildControls(dialog))
      if (c.className == "Edit" && (c.style & WS_VISIBLE)) return c.handle;
    return HWND{};
  };
  Set("CAPTION", "");  // the dialogs are then titled "Open"
  Set("FILENAME", "untouched");
  EXPECT_EQ(Show(
                "OPENFILE",
                [&](HWND dialog) {
                  EXPECT_EQ(Items(FindControl(dialog, 1136)), (std::vector<std::string>{"Text Files (*.txt)", "All Files (*.*)"}));
                  EXPECT_EQ(windriver::WindowTextA(nameField(dialog)), "*.txt");
                  PressKey(dialog, VK_ESCAPE);
                },
                "Open"),
            0);
  EXPECT_EQ(run.Var("ERROR"), "2");
  EXPECT_EQ(run.Var("FILENAME"), "untouched");
  EXPECT_EQ(Show(
                "OPENFILE",
                [&](HWND dialog) {
                  TypeInto(nameField(dialog), dir + "NOTES.TXT");
                  PressButton(FindControl(dialog, IDOK));
                },
                "Open"),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("FILENAME"), dir + "NOTES.TXT");
  // Saving: the script's title, filters and extension; a name without one gets the extension.
  Set("CAPTION", "Keep the log");
  Set("FILTERS", "Logs\n*.log|");
  Set("DEFEXT", "log");
  Set("FILENAME", "");
  EXPECT_EQ(Show(
                "SAVEAS",
                [&](HWND dialog) {
                  EXPECT_EQ(Items(FindControl(dialog, 1136)), (std::vector<std::string>{"Logs"}));
                  EXPECT_EQ(windriver::WindowTextA(nameField(dialog)), "*.log");
                  TypeInto(nameField(dialog), dir + "REPORT");
                  PressButton(FindControl(dialog, IDOK));
                },
                "Keep the log"),
            0);
  EXPECT_EQ(run.Var("ERROR"), "1");
  EXPECT_EQ(run.Var("FILENAME"), dir + "REPORT.log");
}

TEST_F(PageTest, NamesObjectsPlacementAndTheWindowsThatStepAside) {
  EXPECT_EQ(run.Line("DIALOGBOX(\"WELCOME2\")"), ERR_INVALID_TEMPLATE_NAME);
  EXPECT_EQ(run.Line("DIALOGBOX(5)"), ERR_INVALID_STRING_PARAMETER);
  ASSERT_EQ(run.ip.objects.Add({ObjectKind::Backdrop, "Scenery", -1}), 0);
  ASSERT_EQ(run.ip.objects.Add({ObjectKind::CueCard, "HINT", -1}), 0);
  EXPECT_EQ(run.Line("DIALOGBOX(\"scenery\")"), ERR_NOT_A_DIALOG);
  EXPECT_EQ(run.Line("DIALOGBOX(\"HINT\")"), ERR_NOT_A_DIALOG);
  // The name may come from a variable, in any case; the page goes where the placement says.
  ASSERT_EQ(run.Line("POSITIONDIALOG(40, 50)"), 0);
  ASSERT_EQ(run.Line("CENTREDIALOG(0, 0)"), 0);
  Set("PAGE", "okBox");
  EXPECT_EQ(WithUser(run, "DIALOGBOX(%PAGE%)",
                     [&](HWND page) {
                       RECT r;
                       GetWindowRect(page, &r);
                       EXPECT_EQ(r.left, 40);
                       EXPECT_EQ(r.top, 50);
                       PressButton(FindControl(page, IDOK));
                     }),
            0);
  ASSERT_EQ(run.Line("CENTREDIALOG()"), 0);
  // While a page shows, the copy gauge and the wait message are disabled and the busy cursor is
  // released; afterwards all is as before, the gauge with the focus.
  Set("CAPTION", "Copying");
  run.windows.ShowWaitMessage("Please wait");
  run.windows.OpenCopyGauge(10);
  run.platform.SetBusyCursor(true);
  Set("CAPTION", kPageTitle);
  HWND gauge = run.windows.CopyGaugeHandle(), wait = run.windows.WaitMessageHandle();
  EXPECT_EQ(Show("DEINSTALL",
                 [&](HWND page) {
                   RECT r, main;
                   GetWindowRect(page, &r);
                   GetWindowRect(run.windows.MainHandle(), &main);
                   EXPECT_EQ(r.left, (main.right - (r.right - r.left) - 1) / 2);
                   EXPECT_FALSE(IsWindowEnabled(gauge));
                   EXPECT_FALSE(IsWindowEnabled(wait));
                   EXPECT_FALSE(run.windows.BusyCursor());
                   PressButton(FindControl(page, 11));
                 }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "11");
  EXPECT_TRUE(IsWindowEnabled(gauge));
  EXPECT_TRUE(IsWindowEnabled(wait));
  EXPECT_TRUE(run.windows.BusyCursor());
  HWND focus = GetFocus();
  EXPECT_TRUE(focus == gauge || IsChild(gauge, focus));
  // The same for a message box.
  EXPECT_EQ(WithUser(run, "MESSAGEBOX(\"Go on?\", %CAPTION%, MB_YESNO, MB_ICONQUESTION)",
                     [&](HWND box) {
                       EXPECT_EQ(Narrow(windriver::MessageBoxText(box)), "Go on?");
                       EXPECT_FALSE(IsWindowEnabled(gauge));
                       EXPECT_FALSE(IsWindowEnabled(wait));
                       EXPECT_FALSE(run.windows.BusyCursor());
                       PressButton(windriver::FindControlByText(box, "Button", L"&Yes"));
                     }),
            0);
  EXPECT_EQ(run.Var("ERROR"), "6");
  EXPECT_TRUE(IsWindowEnabled(gauge));
  EXPECT_TRUE(IsWindowEnabled(wait));
  EXPECT_TRUE(run.windows.BusyCursor());
  run.windows.CloseCopyGauge();
  run.windows.HideWaitMessage();
}

TEST(TalvenPages, AScriptAsksThroughItsPagesAndSeesTheAnswers) {
  TalvenProgram talven("TVPAGES");
  const std::string dir = ScratchFolder("talven_pages");
  WriteFileBytes(dir + "PAGES.QLS",
                 ScriptLines({"SET %CAPTION% = \"Quillset Pages\"", "SETLANGUAGE(\"german\")",
                              "SET %MESSAGE1% = \"Willkommen\"", "DIALOGBOX(\"WELCOME\")", "SET %WELCOMED% = %ERROR%",
                              "SET %INSTALLPATH% = \"C:\\LV\"", "DIALOGBOX(\"askpath\")", "SET %ASKED% = %ERROR%",
                              "SET %MESSAGE2% = \"Beispiele\"", "SET %BUTTON1% = 1", "DIALOGBOX(\"CHECKBOX2\")",
                              "DUMPVARIABLES()"}));
  windriver::ChildProgram program;
  ASSERT_TRUE(program.Start("\"" + talven.ExePath() + "\" " + dir + "PAGES.QLS"));
  const auto next = [&](HWND previous) {
    EXPECT_TRUE(!previous || windriver::WaitForWindowGone(previous, 15000));
    return windriver::WaitForWindow(program.Id(), "#32770", kPageTitle, 20000);
  };
  HWND page = next(nullptr);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, 200), "Willkommen");
  EXPECT_EQ(ControlText(page, 1), "&Weiter");
  int icons = 0;  // the interpreter's own icon
  for (const windriver::ControlInfo& c : windriver::ChildControls(page))
    if ((c.style & SS_TYPEMASK) == SS_ICON) icons += SendMessageA(c.handle, STM_GETICON, 0, 0) != 0;
  EXPECT_EQ(icons, 1);
  PressButton(FindControl(page, IDOK));
  page = next(page);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, 50), "C:\\LV");
  EXPECT_EQ(ControlText(page, 16), "&Durchsuchen");
  TypeInto(FindControl(page, 50), "E:\\Programme\\LV");
  PressButton(FindControl(page, IDOK));
  page = next(page);
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(ControlText(page, 231), "Beispiele");
  PressButton(FindControl(page, 231));
  ASSERT_TRUE(windriver::WaitUntil([&] { return windriver::IsChecked(FindControl(page, 231)); }, 15000));
  PressButton(FindControl(page, IDOK));
  ASSERT_TRUE(program.WaitForExit(20000));
  EXPECT_EQ(talven.DumpedVariable("WELCOMED"), "1");
  EXPECT_EQ(talven.DumpedVariable("ASKED"), "1");
  EXPECT_EQ(talven.DumpedVariable("INSTALLPATH"), "E:\\Programme\\LV");
  EXPECT_EQ(talven.DumpedVariable("INSTALLDRIVE"), "E:");
  EXPECT_EQ(talven.DumpedVariable("ERROR"), "1");
  EXPECT_EQ(talven.DumpedVariable("BUTTON1"), "1");
  EXPECT_EQ(talven.DumpedVariable("BUTTON2"), "1");
}
