// In-memory dialog templates (DLGTEMPLATE with DLGITEMTEMPLATE items), laid out the way the
// system's dialog manager parses them: every item starts on a DWORD boundary, classes are 0xFFFF
// followed by an atom, texts zero-terminated UTF-16 strings, and the font (point size, face
// name) follows the title when DS_SETFONT is set. Shared by the installer programs; portable,
// so that the bytes are checked without Windows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The predefined control classes, by atom.
enum DialogClassAtom : uint16_t {
  DIALOG_BUTTON = 0x80, DIALOG_EDIT = 0x81, DIALOG_STATIC = 0x82, DIALOG_LISTBOX = 0x83,
  DIALOG_SCROLLBAR = 0x84, DIALOG_COMBOBOX = 0x85,
};

// Window and dialog styles by value: this file does not include <windows.h>.
namespace dialog_style {
constexpr uint32_t kPopup = 0x80000000u, kChild = 0x40000000u, kVisible = 0x10000000u;
constexpr uint32_t kCaption = 0x00C00000u, kBorder = 0x00800000u, kTabStop = 0x00010000u;
constexpr uint32_t kGroup = 0x00020000u, kThickFrame = 0x00040000u;
constexpr uint32_t kSysMenu = 0x00080000u, kVScroll = 0x00200000u, kHScroll = 0x00100000u;
constexpr uint32_t kModalFrame = 0x80u, kSetFont = 0x40u, kCentre = 0x800u;
constexpr uint32_t kPushButton = 0x0u, kDefPushButton = 0x1u, kAutoCheckBox = 0x3u, kAutoRadioButton = 0x9u,
                   kGroupBox = 0x7u;
constexpr uint32_t kStaticLeft = 0x0u, kStaticCentre = 0x1u, kStaticIcon = 0x3u, kStaticLeftNoWordWrap = 0xCu,
                   kStaticNoPrefix = 0x80u;
constexpr uint32_t kEditAutoHScroll = 0x80u;
constexpr uint32_t kListNotify = 0x1u, kListSort = 0x2u, kListNoIntegralHeight = 0x100u, kListUseTabStops = 0x80u;
constexpr uint32_t kListOwnerDrawFixed = 0x10u, kListNoData = 0x2000u;
constexpr uint32_t kComboDropDownList = 0x3u, kComboSort = 0x100u;
}  // namespace dialog_style

struct DialogItem {
  uint32_t style = 0;
  uint32_t exStyle = 0;
  int16_t x = 0, y = 0, width = 0, height = 0;  // dialog units
  uint16_t id = 0;
  uint16_t classAtom = DIALOG_STATIC;
  std::u16string text;
  // When not 0 the item's title is this resource number instead of [text]: an icon control
  // names its icon so.
  uint16_t resource = 0;
};

class DialogTemplateBuilder {
 public:
  // The dialog's own record; DS_SETFONT is added to [style] when a face name is given.
  DialogTemplateBuilder(uint32_t style, int16_t width, int16_t height, std::u16string title,
                        uint16_t pointSize, std::u16string face);
  void Add(DialogItem item) { items_.push_back(std::move(item)); }
  // Where the dialog appears (dialog units); without it, at 0, 0 and the dialog places itself.
  void SetPosition(int16_t x, int16_t y) {
    x_ = x;
    y_ = y;
  }
  // The template bytes, little-endian. Copy them to DWORD-aligned memory before use.
  std::vector<uint8_t> Bytes() const;

 private:
  uint32_t style_;
  int16_t x_ = 0, y_ = 0;
  int16_t width_, height_;
  std::u16string title_;
  uint16_t pointSize_;
  std::u16string face_;
  std::vector<DialogItem> items_;
};

// A text of ASCII characters as UTF-16 (the fixed texts of the templates).
std::u16string AsciiText(std::string_view ascii);
