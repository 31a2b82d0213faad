#include "ui/standard_templates.h"

namespace {

using namespace dialog_style;

constexpr uint16_t kNoId = 0xFFFF;
constexpr uint32_t kShown = kChild | kVisible;
// Messages are the script's text as written: an "&" in them is shown, not an accelerator.
constexpr uint32_t kMessage = kShown | kStaticLeft | kStaticNoPrefix;
constexpr uint32_t kButton = kShown | kTabStop | kPushButton;
constexpr uint32_t kDefaultButton = kShown | kTabStop | kDefPushButton;

// Language caption base ids.
enum Caption : int {
  OK = 14000, CANCEL = 14010, EXIT = 14020, ABOUT = 14040, INSTALL = 14070, DEINSTALL = 14080, CONTINUE = 14090,
  BACK = 14180, PATH = 14220, BROWSE = 14230, CURRENT_DIRECTORY = 14240, DIRECTORIES = 14250, DRIVES = 14260,
  YES = 14280, NO = 14290,
};

DialogTemplateBuilder PageBuilder(int width, int height, uint32_t extraStyle = 0) {
  return DialogTemplateBuilder(kPopup | kCaption | kSysMenu | kModalFrame | extraStyle, static_cast<int16_t>(width),
                               static_cast<int16_t>(height), u"", 8, u"MS Sans Serif");
}

DialogItem Item(uint32_t style, int x, int y, int width, int height, int id, uint16_t classAtom,
                std::u16string text = u"") {
  return {style, 0, static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(width),
          static_cast<int16_t>(height), static_cast<uint16_t>(id), classAtom, std::move(text), 0};
}

DialogItem Frame(int x, int y, int width, int height) {
  return Item(kShown | kGroupBox, x, y, width, height, kNoId, DIALOG_BUTTON);
}

DialogItem Icon(int x, int y) {
  DialogItem icon = Item(kShown | kStaticIcon, x, y, 21, 20, kNoId, DIALOG_STATIC);
  icon.resource = kApplicationIcon;
  return icon;
}

DialogItem Message(int id, int x, int y, int width, int height) {
  return Item(kMessage, x, y, width, height, id, DIALOG_STATIC);
}

DialogItem Button(uint32_t style, int id, int x, int y, int width, const std::u16string& caption) {
  return Item(style, x, y, width, 14, id, DIALOG_BUTTON, caption);
}

void Welcome(DialogTemplateBuilder& b, const PageTextLookup& text) {
  b.Add(Frame(7, 3, 169, 65));
  b.Add(Icon(15, 13));
  b.Add(Message(PAGE_MESSAGE1, 49, 13, 119, 30));
  b.Add(Message(PAGE_MESSAGE1 + 1, 14, 38, 152, 24));
  b.Add(Button(kDefaultButton, 1, 7, 76, 52, text(CONTINUE)));
  b.Add(Button(kButton, 2, 66, 76, 52, text(EXIT)));
  b.Add(Button(kButton, PAGE_ABOUT, 125, 76, 52, text(ABOUT)));
}

void AskPath(DialogTemplateBuilder& b, const PageTextLookup& text) {
  b.Add(Frame(7, 3, 271, 72));
  b.Add(Icon(15, 12));
  b.Add(Message(PAGE_MESSAGE1, 45, 12, 225, 28));
  b.Add(Item(kShown | kStaticLeft, 15, 44, 200, 8, PAGE_PATH_LABEL, DIALOG_STATIC, text(PATH)));
  b.Add(Item(kShown | kBorder | kTabStop | kEditAutoHScroll, 15, 54, 200, 12, PAGE_PATH, DIALOG_EDIT));
  b.Add(Button(kButton, PAGE_BROWSE, 221, 53, 50, text(BROWSE)));
  b.Add(Button(kDefaultButton, 1, 172, 83, 50, text(CONTINUE)));
  b.Add(Button(kButton, PAGE_BACK, 117, 83, 50, text(BACK)));
  b.Add(Button(kButton, 2, 228, 83, 50, text(EXIT)));
}

void OkBox(DialogTemplateBuilder& b, const PageTextLookup& text) {
  b.Add(Icon(12, 12));
  b.Add(Message(PAGE_MESSAGE1, 44, 12, 180, 24));
  b.Add(Message(PAGE_MESSAGE1 + 1, 44, 40, 180, 24));
  b.Add(Button(kDefaultButton, 1, 91, 72, 50, text(OK)));
}

// CHECKBOXn and RADIOBn: n boxes 21 units apart from y = 13, OK and Cancel below.
void Choices(DialogTemplateBuilder& b, const PageTextLookup& text, int count, bool radio, int height) {
  for (int i = 0; i < count; ++i) {
    const uint32_t style = radio ? kShown | kAutoRadioButton | (i == 0 ? kGroup | kTabStop : 0)
                                 : kShown | kTabStop | kAutoCheckBox;
    b.Add(Item(style, 10, 13 + 21 * i, 178, 12, (radio ? PAGE_RADIO1 : PAGE_CHECK1) + i, DIALOG_BUTTON));
  }
  b.Add(Button(kButton | kGroup, 1, 40, height - 22, 50, text(OK)));
  b.Add(Button(kButton, 2, 107, height - 22, 50, text(CANCEL)));
}

void InputBoxes(DialogTemplateBuilder& b, const PageTextLookup& text, int count, int width, int height) {
  for (int i = 0; i < count; ++i) {
    b.Add(Message(PAGE_MESSAGE1 + i, 10, 8 + 48 * i, width - 20, 16));
    b.Add(Item(kShown | kBorder | kTabStop | kEditAutoHScroll, 10, 26 + 48 * i, width - 20, 12, PAGE_FIELD1 + i,
               DIALOG_EDIT));
  }
  b.Add(Button(kButton, 1, width / 2 - 55, height - 22, 50, text(OK)));
  b.Add(Button(kButton, 2, width / 2 + 5, height - 22, 50, text(CANCEL)));
}

// PUSHBn: a row per button, 22 units apart, its text beside it; Cancel below.
void PushButtons(DialogTemplateBuilder& b, const PageTextLookup& text, int count, int height) {
  for (int i = 0; i < count; ++i) {
    const int y = 10 + 22 * i;
    b.Add(Button(kButton, PAGE_PUSH1 + i, 10, y, 50, u""));
    b.Add(Message(PAGE_MESSAGE1 + i, 68, y + 3, 124, 16));
  }
  b.Add(Button(kButton, 2, 76, height - 22, 50, text(CANCEL)));
}

void Deinstall(DialogTemplateBuilder& b, const PageTextLookup& text) {
  b.Add(Frame(7, 3, 246, 113));
  b.Add(Icon(15, 12));
  b.Add(Message(PAGE_MESSAGE1, 45, 12, 200, 30));
  b.Add(Button(kDefaultButton, PAGE_PUSH1, 15, 50, 64, text(INSTALL)));
  b.Add(Message(PAGE_MESSAGE1 + 1, 86, 53, 160, 24));
  b.Add(Button(kButton, PAGE_PUSH1 + 1, 15, 84, 64, text(DEINSTALL)));
  b.Add(Message(PAGE_MESSAGE1 + 2, 86, 87, 160, 24));
  b.Add(Button(kButton, 2, 105, 124, 50, text(CANCEL)));
}

void Agreement(DialogTemplateBuilder& b, const PageTextLookup& text) {
  b.Add(Frame(5, 3, 290, 123));
  b.Add(Item(kShown | kBorder | kTabStop | kVScroll | kHScroll | kListNoIntegralHeight | kListUseTabStops, 10, 10,
             281, 112, PAGE_AGREEMENT_LIST, DIALOG_LISTBOX));
  b.Add(Button(kDefaultButton, 6, 94, 131, 50, text(YES)));
  b.Add(Button(kButton, 7, 156, 131, 50, text(NO)));
}

}  // namespace

PageSize StandardPageSize(const StandardPage& page) {
  switch (page.kind) {
    case PageKind::Welcome: return {183, 98};
    case PageKind::AskPath: return {285, 105};
    case PageKind::OkBox: return {233, 94};
    case PageKind::CheckBoxes:
    case PageKind::RadioButtons: return {197, 86 + 21 * (page.count - 2)};
    case PageKind::InputBoxes: return page.count == 1 ? PageSize{200, 79} : PageSize{202, 133};
    case PageKind::PushButtons: return {202, 84 + 22 * (page.count - 2)};
    case PageKind::Deinstall: return {260, 145};
    case PageKind::Agreement: return {300, 150};
    case PageKind::OpenFile:
    case PageKind::SaveAs: break;
  }
  return {0, 0};
}

std::vector<uint8_t> StandardPageTemplate(const StandardPage& page, const PageTextLookup& text) {
  const PageSize size = StandardPageSize(page);
  DialogTemplateBuilder b = PageBuilder(size.width, size.height);
  switch (page.kind) {
    case PageKind::Welcome: Welcome(b, text); break;
    case PageKind::AskPath: AskPath(b, text); break;
    case PageKind::OkBox: OkBox(b, text); break;
    case PageKind::CheckBoxes: Choices(b, text, page.count, false, size.height); break;
    case PageKind::RadioButtons: Choices(b, text, page.count, true, size.height); break;
    case PageKind::InputBoxes: InputBoxes(b, text, page.count, size.width, size.height); break;
    case PageKind::PushButtons: PushButtons(b, text, page.count, size.height); break;
    case PageKind::Deinstall: Deinstall(b, text); break;
    case PageKind::Agreement: Agreement(b, text); break;
    case PageKind::OpenFile:
    case PageKind::SaveAs: return {};
  }
  return b.Bytes();
}

std::vector<uint8_t> DirectoryBrowserTemplate(const PageTextLookup& text) {
  DialogTemplateBuilder b = PageBuilder(182, 170, kCentre);
  b.Add(Frame(7, 3, 168, 139));
  b.Add(Item(kShown | kStaticLeft, 14, 11, 154, 8, 200, DIALOG_STATIC, text(CURRENT_DIRECTORY)));
  b.Add(Item(kShown | kStaticLeftNoWordWrap | kStaticNoPrefix, 14, 21, 154, 8, BROWSER_CURRENT, DIALOG_STATIC));
  b.Add(Item(kShown | kStaticLeft, 14, 35, 154, 8, 201, DIALOG_STATIC, text(DIRECTORIES)));
  b.Add(Item(kShown | kBorder | kTabStop | kVScroll | kListSort | kListNotify | kListNoIntegralHeight, 14, 45, 154, 55,
             BROWSER_DIRECTORIES, DIALOG_LISTBOX));
  b.Add(Item(kShown | kStaticLeft, 14, 106, 154, 8, 202, DIALOG_STATIC, text(DRIVES)));
  b.Add(Item(kShown | kTabStop | kVScroll | kComboDropDownList | kComboSort, 14, 116, 154, 60, BROWSER_DRIVES,
             DIALOG_COMBOBOX));
  b.Add(Button(kDefaultButton, 1, 32, 149, 50, text(OK)));
  b.Add(Button(kButton, 2, 100, 149, 50, text(CANCEL)));
  return b.Bytes();
}

std::vector<uint8_t> AboutBoxTemplate(const PageTextLookup& text) {
  DialogTemplateBuilder b = PageBuilder(230, 157, kCentre);
  const uint32_t line = kShown | kStaticCentre | kStaticNoPrefix;
  b.Add(Frame(7, 3, 216, 66));
  b.Add(Icon(15, 13));
  b.Add(Item(line, 45, 11, 170, 8, kNoId, DIALOG_STATIC, text(TEXT_SETUP)));
  b.Add(Item(line, 45, 23, 170, 8, kNoId, DIALOG_STATIC, text(TEXT_ABOUT_PURPOSE)));
  b.Add(Item(line, 45, 35, 170, 8, kNoId, DIALOG_STATIC, text(TEXT_ABOUT_VERSION)));
  b.Add(Item(line, 45, 50, 170, 8, kNoId, DIALOG_STATIC, text(TEXT_ABOUT_MAKER)));
  b.Add(Frame(7, 73, 216, 56));
  b.Add(Item(line, 14, 83, 202, 40, ABOUT_TEXT, DIALOG_STATIC, text(TEXT_ABOUT_DEFAULT)));
  b.Add(Button(kDefaultButton, 1, 90, 136, 50, text(OK)));
  return b.Bytes();
}
