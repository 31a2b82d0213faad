#include "ui/standard_pages.h"

#include "support/text.h"

namespace {

struct PageName {
  const char* name;
  PageKind kind;
  int count;
  int dialogNumber;
};

constexpr PageName kPages[] = {
    {"WELCOME", PageKind::Welcome, 0, 1101},        {"ASKPATH", PageKind::AskPath, 0, 1102},
    {"OKBOX", PageKind::OkBox, 0, 1103},            {"CHECKBOX2", PageKind::CheckBoxes, 2, 1105},
    {"CHECKBOX3", PageKind::CheckBoxes, 3, 1106},   {"CHECKBOX4", PageKind::CheckBoxes, 4, 1107},
    {"CHECKBOX5", PageKind::CheckBoxes, 5, 1108},   {"CHECKBOX6", PageKind::CheckBoxes, 6, 1109},
    {"RADIOB2", PageKind::RadioButtons, 2, 1110},   {"RADIOB3", PageKind::RadioButtons, 3, 1111},
    {"RADIOB4", PageKind::RadioButtons, 4, 1112},   {"RADIOB5", PageKind::RadioButtons, 5, 1113},
    {"RADIOB6", PageKind::RadioButtons, 6, 1114},   {"INPUTBOX1", PageKind::InputBoxes, 1, 1115},
    {"INPUTBOX2", PageKind::InputBoxes, 2, 1116},   {"PUSHB2", PageKind::PushButtons, 2, 1118},
    {"PUSHB3", PageKind::PushButtons, 3, 1119},     {"PUSHB4", PageKind::PushButtons, 4, 1120},
    {"PUSHB5", PageKind::PushButtons, 5, 1121},     {"DEINSTALL", PageKind::Deinstall, 0, 1123},
    {"AGREEMENT", PageKind::Agreement, 0, 1127},    {"OPENFILE", PageKind::OpenFile, 0, 0},
    {"SAVEAS", PageKind::SaveAs, 0, 0},
};

constexpr const char* kDefaultFilters = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

}  // namespace

bool FindStandardPage(const std::string& name, StandardPage& page) {
  for (const PageName& entry : kPages) {
    if (name != entry.name) continue;
    page = {entry.kind, entry.count, entry.dialogNumber};
    return true;
  }
  return false;
}

std::vector<std::string> PageTextVariables(const StandardPage& page) {
  std::vector<std::string> names{"CAPTION"};
  const auto messages = [&names](int count) {
    for (int i = 1; i <= count; ++i) names.push_back("MESSAGE" + DecimalText(i));
  };
  switch (page.kind) {
    case PageKind::Welcome:
    case PageKind::OkBox: messages(2); break;
    case PageKind::AskPath: messages(1); break;
    case PageKind::CheckBoxes:
    case PageKind::RadioButtons:
    case PageKind::InputBoxes: messages(page.count); break;
    case PageKind::PushButtons:
      for (int i = 1; i <= page.count; ++i) names.push_back("PUSHB_" + DecimalText(i));
      messages(page.count);
      break;
    case PageKind::Deinstall: messages(3); break;
    case PageKind::Agreement: break;  // its file lies on the medium, wherever that is
    case PageKind::OpenFile:
    case PageKind::SaveAs: names.push_back("FILTERS"); break;
  }
  return names;
}

bool StartsChecked(const std::string& buttonValue) { return !buttonValue.empty() && buttonValue[0] == '1'; }

int SelectedRadioButton(const std::string& value, int count) {
  if (value.empty()) return 1;
  const int button = static_cast<unsigned char>(value[0]) - '0';
  if (button < 1) return 1;
  return button > count ? count : button;
}

std::string TrimmedPath(const std::string& field) { return Trim(field, 'B', " "); }

std::string InstallDriveOf(const std::string& path) {
  return path.size() >= 2 && path[1] == ':' ? path.substr(0, 2) : std::string();
}

FileDialogSetup FileDialogChoices(bool save, const std::string& caption, const std::string& filters,
                                  const std::string& defaultExtension, const std::string& fileName) {
  FileDialogSetup setup;
  setup.title = caption.empty() ? "Open" : caption;
  std::string pairs = filters.empty() ? kDefaultFilters : filters;
  ReplaceAll(pairs, "\n", "|", true);
  setup.defaultExtension = defaultExtension.empty() ? "txt" : defaultExtension;
  if (save) {
    setup.initialName = fileName.empty() ? "*." + setup.defaultExtension : fileName;
  } else {
    const size_t first = pairs.find('|');
    if (first != std::string::npos) {
      const size_t next = pairs.find('|', first + 1);
      const size_t length = (next == std::string::npos ? pairs.size() : next) - (first + 1);
      setup.initialName = pairs.substr(first + 1, length < 10 ? length : 10);
    }
  }
  // The system wants each text NUL-terminated and the list ended by an empty one; a list that
  // the script did not end with "||" is ended here.
  for (char& c : pairs)
    if (c == '|') c = '\0';
  setup.filter = pairs + std::string(2, '\0');
  return setup;
}

std::string BrowserPath(const std::string& path) {
  std::string upper = UpperAscii(path);
  if (upper.size() > 3 && upper.back() == '\\') upper.pop_back();
  return upper;
}

std::string DirectoryOfEntry(const std::string& entry) {
  if (entry.size() < 2 || entry.front() != '[' || entry.back() != ']') return std::string();
  return entry.substr(1, entry.size() - 2);
}
