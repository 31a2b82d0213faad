// The built-in pages of DIALOGBOX(: which names exist, and the rules by which a page turns the
// script's variables into what it shows and what the user chose back into variables. Portable,
// so that the rules are checked without Windows.
#pragma once

#include <string>
#include <vector>

enum class PageKind {
  Welcome, AskPath, OkBox, CheckBoxes, RadioButtons, InputBoxes, PushButtons, Deinstall, Agreement, OpenFile, SaveAs,
};

struct StandardPage {
  PageKind kind = PageKind::Welcome;
  int count = 0;         // boxes, buttons or fields of the numbered pages, else 0
  int dialogNumber = 0;  // the template's number; 0 for the system's file dialogs
};

// The page of template name [name] (exact, upper case: WELCOME, CHECKBOX3, ...); false for a
// name that is no template.
bool FindStandardPage(const std::string& name, StandardPage& page);

// Dialog numbers of the two dialogs that pages open themselves.
constexpr int kAboutBoxNumber = 1100;
constexpr int kDirectoryBrowserNumber = 1125;

// The variables whose texts make a page the page it is (its caption and messages; not the
// values the user edits): an answer file knows the page by them.
std::vector<std::string> PageTextVariables(const StandardPage& page);

// A check box starts checked when its BUTTONi begins with "1".
bool StartsChecked(const std::string& buttonValue);
// The radio button (1..count) that RADIOBUTTON selects: its first digit, the first button for
// an empty value or one at or below "0", the last for anything above [count].
int SelectedRadioButton(const std::string& value, int count);

// ASKPATH's Continue: the field's text without spaces at either end (empty: refused).
std::string TrimmedPath(const std::string& field);
// The drive of a path ("C:" for "C:\APPS"), empty for one without a drive letter.
std::string InstallDriveOf(const std::string& path);

// What the open and save dialogs are given, from CAPTION, FILTERS, DEFEXT and FILENAME.
struct FileDialogSetup {
  std::string title;
  std::string filter;  // pairs of description and pattern, each ending in a NUL, then one more NUL
  std::string defaultExtension;
  std::string initialName;
};
FileDialogSetup FileDialogChoices(bool save, const std::string& caption, const std::string& filters,
                                  const std::string& defaultExtension, const std::string& fileName);

// The directory browser's form of a path: upper case, without a trailing backslash unless it is
// a root ("C:\").
std::string BrowserPath(const std::string& path);
// The directory named by a list entry "[NAME]", or empty when the entry has no brackets.
std::string DirectoryOfEntry(const std::string& entry);
