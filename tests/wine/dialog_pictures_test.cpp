// Pictures of every built-in page of DIALOGBOX( (and of the About box, the directory browser and
// the system's open and save dialogs) in UK English and in German, for people to look at:
// build/win32/artefacts/dialogs/<language>/<page>.bmp, turned into PNG files and one contact
// sheet by tools/dialog-sheet.sh. Each page is also checked for captions that do not fit.
#include <gtest/gtest.h>

#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/page_user.h"
#include "tests/wine/talven_harness.h"

namespace {

// What an installation script of each language would put into the pages (code page 1252).
struct SampleTexts {
  const char* folder;
  const char* language;
  const char* welcome[2];
  const char* askPath;
  const char* okBox[2];
  const char* choices[6];
  const char* fields[2];
  const char* pushCaptions[5];
  const char* pushTexts[5];
  const char* deinstall[3];
  const char* about;
  const char* agreement[6];
};

const SampleTexts kEnglish = {
    "uk", "UKENGLISH",
    {"Welcome to the installation of Lumivane, the spectrum display for your sound card.",
     "Press Continue to install it, or Exit to leave the installation."},
    "Setup will install Lumivane into the folder below. Type another path or choose one with Browse.",
    {"Lumivane has been installed.", "Start it from the Lumivane group of the Start menu."},
    {"Program files", "Sample recordings", "Port driver", "Desktop shortcut", "Start menu group", "Read-me file"},
    {"Your name:", "Serial number:"},
    {"&Typical", "&Compact", "C&ustom", "&Repair", "&Remove"},
    {"The program with the usual options", "The program only", "Choose the parts yourself",
     "Copy damaged files again", "Remove Lumivane from this computer"},
    {"Lumivane is installed on this computer already.", "Install it again over the installed files.",
     "Remove it and everything it installed."},
    "Installs Lumivane 2.1 and its port driver.",
    {"LICENCE AGREEMENT FOR #APP#", "", "1. You may install #APP# on any number of computers.",
     "2. You may not sell copies of it.", "3. The software comes without any warranty.",
     "Do you accept these terms?"},
};

const SampleTexts kGerman = {
    "de", "GERMAN",
    {"Willkommen zur Installation von Lumivane, der Spektrumanzeige f\374r Ihre Soundkarte.",
     "W\344hlen Sie Weiter, um es zu installieren, oder Abbruch, um das Setup zu verlassen."},
    "Lumivane wird in den folgenden Ordner installiert. Geben Sie einen anderen Pfad ein oder w\344hlen Sie "
    "einen mit Durchsuchen.",
    {"Lumivane wurde installiert.", "Sie starten es aus der Gruppe Lumivane im Startmen\374."},
    {"Programmdateien", "Beispielaufnahmen", "Porttreiber", "Verkn\374pfung auf dem Desktop", "Startmen\374gruppe",
     "Liesmich-Datei"},
    {"Ihr Name:", "Seriennummer:"},
    {"&Standard", "&Minimal", "&Benutzer", "&Reparieren", "&Entfernen"},
    {"Das Programm mit den \374blichen Optionen", "Nur das Programm", "Die Teile selbst w\344hlen",
     "Besch\344digte Dateien neu kopieren", "Lumivane von diesem Computer entfernen"},
    {"Lumivane ist auf diesem Computer bereits installiert.", "Erneut \374ber die installierten Dateien installieren.",
     "Entfernen, mit allem, was installiert wurde."},
    "Installiert Lumivane 2.1 und seinen Porttreiber.",
    {"LIZENZVERTRAG F\334R #APP#", "", "1. Sie d\374rfen #APP# auf beliebig vielen Computern installieren.",
     "2. Sie d\374rfen keine Kopien verkaufen.", "3. Die Software wird ohne Gew\344hrleistung geliefert.",
     "Nehmen Sie diese Bedingungen an?"},
};

const char* const kPages[] = {"WELCOME", "ASKPATH", "OKBOX", "CHECKBOX2", "CHECKBOX3", "CHECKBOX4", "CHECKBOX5",
                              "CHECKBOX6", "RADIOB2", "RADIOB3", "RADIOB4", "RADIOB5", "RADIOB6", "INPUTBOX1",
                              "INPUTBOX2", "PUSHB2", "PUSHB3", "PUSHB4", "PUSHB5", "DEINSTALL", "AGREEMENT",
                              "OPENFILE", "SAVEAS"};

void SetTexts(InProcessRun& run, const SampleTexts& t, const std::string& page, const std::string& agreementFile) {
  VariableStore& v = run.ip.variables;
  const std::string n = std::string(1, page.back());
  const auto messages = [&](const char* const* texts, int count) {
    for (int i = 0; i < count; ++i) v.SetVariable("MESSAGE" + std::to_string(i + 1), texts[i]);
  };
  if (page == "WELCOME") messages(t.welcome, 2);
  if (page == "ASKPATH") messages(&t.askPath, 1);
  if (page == "OKBOX") messages(t.okBox, 2);
  if (page.rfind("CHECKBOX", 0) == 0 || page.rfind("RADIOB", 0) == 0) messages(t.choices, std::stoi(n));
  if (page.rfind("INPUTBOX", 0) == 0) messages(t.fields, std::stoi(n));
  if (page.rfind("PUSHB", 0) == 0) {
    messages(t.pushTexts, std::stoi(n));
    for (int i = 0; i < std::stoi(n); ++i) v.SetVariable("PUSHB_" + std::to_string(i + 1), t.pushCaptions[i]);
  }
  if (page == "DEINSTALL") messages(t.deinstall, 3);
  v.SetVariable("MESSAGE3", page == "WELCOME" ? t.about : v.GetVariable("MESSAGE3"));
  v.SetVariable("INSTALLPATH", "C:\\Program Files\\Lumivane");
  v.SetVariable("BUTTON1", "1");
  v.SetVariable("BUTTON3", "1");
  v.SetVariable("RADIOBUTTON", "1");
  v.SetVariable("EF_1", "Jo Bloggs");
  v.SetVariable("EF_2", "LV-2104-7731");
  v.SetVariable("FILENAME", page == "AGREEMENT" ? agreementFile : "");
}

// A button's caption fits when the text, as the button's font draws it, is narrower than the
// button with a little room on each side.
void ExpectCaptionsFit(HWND page, const std::string& where) {
  for (const windriver::ControlInfo& control : windriver::ChildControls(page)) {
    const LONG kind = control.style & 0xF;
    if (control.className != "Button" || kind == BS_GROUPBOX || control.text.empty()) continue;
    HDC dc = GetDC(control.handle);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control.handle, WM_GETFONT, 0, 0)));
    std::wstring text;
    for (wchar_t c : control.text)
      if (c != L'&') text += c;
    SIZE size{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(control.handle, dc);
    RECT r;
    GetClientRect(control.handle, &r);
    const bool box = kind == BS_AUTOCHECKBOX || kind == BS_AUTORADIOBUTTON;
    const int room = box ? r.right - 18 : r.right - 4;
    EXPECT_LE(size.cx, room) << where << ": " << Narrow(control.text) << " does not fit";
  }
}

void PictureEveryPage(const SampleTexts& t) {
  InProcessRun run;
  ASSERT_EQ(run.Line(std::string("SETLANGUAGE(\"") + t.language + "\")"), 0);
  run.ip.variables.SetVariable("CAPTION", kPageTitle);
  run.ip.variables.SetVariable("APP", "Lumivane");
  const std::string agreement = ScratchFolder("pictures") + t.folder + "LICENCE.TXT";
  std::string licence;
  for (const char* line : t.agreement) licence += std::string(line) + "\r\n";
  WriteFileBytes(agreement, licence);
  for (const std::string page : kPages) {
    SetTexts(run, t, page, agreement);
    const std::string name = std::string(t.folder) + "\\" + page;
    EXPECT_EQ(WithUser(run, "DIALOGBOX(\"" + page + "\")",
                       [&](HWND dialog) {
                         KeepPicture(dialog, name);
                         if (page != "OPENFILE" && page != "SAVEAS") ExpectCaptionsFit(dialog, name);
                         if (page == "WELCOME") {
                           windriver::PressButton(windriver::FindControl(dialog, 10));
                           HWND about = WaitForDialog(nullptr, dialog);
                           ASSERT_NE(about, nullptr);
                           KeepPicture(about, std::string(t.folder) + "\\ABOUT");
                           windriver::PressButton(windriver::FindControl(about, IDOK));
                           windriver::WaitForWindowGone(about, 10000);
                         }
                         if (page == "ASKPATH") {
                           windriver::PressButton(windriver::FindControl(dialog, 16));
                           HWND browser = WaitForDialog(kPageTitle, dialog);
                           ASSERT_NE(browser, nullptr);
                           KeepPicture(browser, std::string(t.folder) + "\\BROWSER");
                           ExpectCaptionsFit(browser, "browser");
                           PressKey(browser, VK_ESCAPE);
                           windriver::WaitForWindowGone(browser, 10000);
                         }
                         PressKey(dialog, VK_ESCAPE);
                       }),
              0)
        << page;
  }
}

}  // namespace

TEST(DialogPictures, EveryPageInUkEnglish) { PictureEveryPage(kEnglish); }

TEST(DialogPictures, EveryPageInGerman) { PictureEveryPage(kGerman); }
