#include "ui/user_objects.h"

#include "engine/errors.h"
#include "support/text.h"

int UserObjectTable::Add(UserObject object) {
  object.name = UpperAscii(object.name);
  for (auto& slot : slots_) {
    if (slot) continue;
    slot = std::make_unique<UserObject>(std::move(object));
    return 0;
  }
  return ERR_TOO_MANY_OBJECTS;
}

const UserObject* UserObjectTable::Find(const std::string& name) const {
  const std::string upper = UpperAscii(name);
  for (const auto& slot : slots_)
    if (slot && slot->name == upper) return slot.get();
  return nullptr;
}

UserObject* UserObjectTable::Find(const std::string& name) {
  return const_cast<UserObject*>(static_cast<const UserObjectTable*>(this)->Find(name));
}

bool UserObjectTable::Remove(const std::string& name) {
  const std::string upper = UpperAscii(name);
  for (auto& slot : slots_) {
    if (!slot || slot->name != upper) continue;
    slot.reset();
    return true;
  }
  return false;
}

void UserObjectTable::Clear() {
  for (auto& slot : slots_) slot.reset();
}

namespace {

int FindOfKind(const UserObjectTable& table, const std::string& name, ObjectKind kind, int wrongKind,
               const UserObject*& object) {
  object = table.Find(name);
  if (!object) return ERR_OBJECT_NOT_FOUND;
  if (object->kind != kind) return wrongKind;
  return 0;
}

// ORDER: the names stand in the order of ControlType.
const char* const kControlTypeNames[kControlTypeCount] = {"text",     "edit",        "groupbox",    "icon",
                                                          "bitmap",   "checkbox",    "radiobutton", "button",
                                                          "colourblock", "listbox",  "combobox",    "droplist"};

}  // namespace

int FindBackdrop(const UserObjectTable& table, const std::string& name, const UserObject*& object) {
  return FindOfKind(table, name, ObjectKind::Backdrop, ERR_NOT_A_BACKDROP, object);
}

int FindDialog(const UserObjectTable& table, const std::string& name, const UserObject*& object) {
  return FindOfKind(table, name, ObjectKind::Dialog, ERR_NOT_A_DIALOG, object);
}

bool ControlTypeFromName(const std::string& name, ControlType& type) {
  const std::string lower = LowerAscii(name);
  for (int i = 0; i < kControlTypeCount; ++i) {
    if (lower != kControlTypeNames[i]) continue;
    type = static_cast<ControlType>(i);
    return true;
  }
  return false;
}

bool KindAccepts(ObjectKind kind, ControlType type) {
  const bool everywhere = type == ControlType::Text || type == ControlType::Icon || type == ControlType::Bitmap ||
                          type == ControlType::ColourBlock;
  switch (kind) {
    case ObjectKind::Dialog: return true;
    case ObjectKind::CueCard: return everywhere || type == ControlType::GroupBox;
    case ObjectKind::Backdrop: return everywhere;
  }
  return false;
}

uint32_t CompletedStyle(ControlType type, uint32_t style) {
  // Bits are set, not summed: a style that already holds one of them keeps its other bits.
  if (type != ControlType::Bitmap && type != ControlType::ColourBlock) style |= 0x50000000u;
  switch (type) {
    case ControlType::Edit: return style | 0x810000u;         // border, tab stop
    case ControlType::GroupBox: return style | 7u;
    case ControlType::Icon: return style | 3u;
    case ControlType::CheckBox: return style | 0x10003u;      // tab stop, automatic check box
    case ControlType::RadioButton: return style | 0x10009u;   // tab stop, automatic radio button
    case ControlType::Button: return style | 0x10000u;
    case ControlType::ListBox: return style | 0xB10100u;      // border, both scroll bars, tab stop, no integral height
    case ControlType::ComboBox: return style | 0x210002u;     // vertical scroll bar, tab stop, drop-down
    case ControlType::DropList: return style | 0x210003u;     // vertical scroll bar, tab stop, drop-down list
    default: return style;
  }
}

bool IsPaintedItem(ControlType type) {
  return type == ControlType::Text || type == ControlType::Bitmap || type == ControlType::ColourBlock;
}

bool TakesBoundVariable(ControlType type) {
  switch (type) {
    case ControlType::Edit:
    case ControlType::CheckBox:
    case ControlType::RadioButton:
    case ControlType::ListBox:
    case ControlType::ComboBox:
    case ControlType::DropList: return true;
    default: return false;
  }
}

std::vector<std::string> ListItems(const std::string& text) {
  std::vector<std::string> items;
  std::string piece;
  for (char c : text) {
    if (c == '|' || c == '\n') {
      items.push_back(piece);
      piece.clear();
    } else {
      piece += c;
    }
  }
  if (!piece.empty()) items.push_back(piece);
  return items;
}

void AppendListItem(std::string& text, const std::string& item) {
  // A "|" written in a script literal reaches the text as a line feed: either ends an item.
  if (!text.empty() && text.back() != '|' && text.back() != '\n') text += '|';
  text += item;
}

ItemPosition AlignedItem(uint32_t style, int x, int y, int width, int height, int right, int bottom, int margin) {
  using namespace item_style;
  if (style & kRight) x = right - width - margin;
  if (style & kCentre) x = (right - width) / 2;
  if (style & kBottom) y = bottom - height - margin;
  if (style & kMiddle) y = (bottom - height) / 2;
  return {x, y};
}

ItemPosition IconPosition(uint32_t style, int x, int y, int right, int bottom) {
  using namespace item_style;
  if (style & kRight) x = right - x - 34;
  if (style & kCentre) x += (right - 32) / 2;
  if (style & kBottom) y = bottom - y - 33;
  if (style & kMiddle) y += (bottom - 33) / 2;
  return {x, y};
}

TextBlockSize TextItemBlock(const std::vector<int>& lineWidths, const std::vector<int>& lineHeights, int shadowOffset) {
  TextBlockSize block{0, 0};
  for (int w : lineWidths)
    if (w > block.width) block.width = w;
  for (int h : lineHeights) block.height += h;
  block.width += shadowOffset;
  block.height += shadowOffset;
  return block;
}

namespace {

int PlaceOneWay(int mode, int keep, int extent, int screen) {
  switch (mode) {
    case 1: return 20;
    case 2: return screen - extent - 20;
    case 3: return (screen - extent) / 2;
    default: return keep;
  }
}

}  // namespace

ItemPosition PlaceOnScreen(int horizontalMode, int verticalMode, int x, int y, int windowWidth, int windowHeight,
                           int screenWidth, int screenHeight) {
  return {PlaceOneWay(horizontalMode, x, windowWidth, screenWidth),
          PlaceOneWay(verticalMode, y, windowHeight, screenHeight)};
}
