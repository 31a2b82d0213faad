// The objects that scripts define (backdrops, dialogs, cue cards) with their controls, kept by
// name until they are shown, and the rules of their definitions: control types and the kinds
// that accept them, completed styles, list items, and where painted items go. Portable.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

enum class ObjectKind : int { Backdrop = 1, Dialog = 2, CueCard = 3 };

enum class ControlType : int {
  Text = 0, Edit, GroupBox, Icon, Bitmap, CheckBox, RadioButton, Button, ColourBlock, ListBox, ComboBox, DropList,
};
constexpr int kControlTypeCount = 12;

// Style bits of painted items (and of icons on backdrops and cue cards).
namespace item_style {
constexpr uint32_t kBold = 0x80, kBottom = 0x10000, kMiddle = 0x20000, kRight = 0x40000, kCentre = 0x80000;
constexpr uint32_t kTile = 0x100000, kStretch = 0x200000, kFrame = 0x800000;
}  // namespace item_style

struct UserControl {
  ControlType type = ControlType::Text;
  int32_t id = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;  // dialog units in dialogs, pixels elsewhere
  uint32_t style = 0;
  std::string text{};           // caption, "|"-separated items, icon name or bitmap file, unexpanded
  std::string boundVariable{};  // empty: none
  int32_t textLimit = 128;
  // Text items.
  std::string fontName{};
  int32_t fontHeight = 0, shadowOffset = 0, textColour = 0, shadowColour = 0;
  int32_t colour = 0;  // colour blocks
};

struct UserObject {
  ObjectKind kind = ObjectKind::Backdrop;
  std::string name;     // upper case
  int32_t colour = -1;  // backdrops: red + 256 * green + 65536 * blue, or -1 for the gradient
  std::string caption{};  // dialogs
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t focusControl = 0;  // dialogs: 0 none
  int32_t borderStyle = 0;   // cue cards: 0 none, 1, 2 or 3
  int32_t horizontalMode = 0, verticalMode = 0;  // 0 keep, 1 near edge, 2 far edge, 3 centred
  std::vector<UserControl> controls{};
};

class UserObjectTable {
 public:
  static constexpr int kSlots = 30;

  // Adds [object] under its upper-cased name: 0, or 10031 when every slot is taken.
  int Add(UserObject object);
  // The object of that name (case does not matter), or nullptr.
  const UserObject* Find(const std::string& name) const;
  UserObject* Find(const std::string& name);
  bool Remove(const std::string& name);
  void Clear();

 private:
  std::array<std::unique_ptr<UserObject>, kSlots> slots_;
};

// What SHOWBACKDROP( finds under [name]: 0 with [object] set, 10059 when no object has that
// name, 10053 when it is not a backdrop.
int FindBackdrop(const UserObjectTable& table, const std::string& name, const UserObject*& object);
// The same for DIALOGBOX(: 10059, or 10054 when the object is not a dialog.
int FindDialog(const UserObjectTable& table, const std::string& name, const UserObject*& object);

// The type that a CREATECONTROL( name stands for ("edit", in any case); false for none.
bool ControlTypeFromName(const std::string& name, ControlType& type);
// Backdrops take texts, icons, bitmaps and colour blocks; cue cards group boxes as well
// (kept, never shown); dialogs everything.
bool KindAccepts(ObjectKind kind, ControlType type);
// The style a control is created with: child and visible for all but the painted bitmaps and
// colour blocks, and each type's own bits.
uint32_t CompletedStyle(ControlType type, uint32_t style);
// Painted items are drawn by the window that shows the object; the rest become child windows.
bool IsPaintedItem(ControlType type);
// Types that a CREATECONTROL( may bind to a variable (and give a text limit).
bool TakesBoundVariable(ControlType type);

// The items of a list, combo or drop-down control: the text split at "|" and line feeds; every
// piece before a separator counts, also an empty one, the last only when it is not empty.
std::vector<std::string> ListItems(const std::string& text);
// ADDLISTITEM(: appends [item] to the "|"-separated [text], with a "|" first unless the text
// is empty or already ends with a separator.
void AppendListItem(std::string& text, const std::string& item);

// Where painted items go in a client area whose right and bottom are [right] and [bottom]:
// the control's own x and y, or aligned by the style bits to the far edge or the middle.
// Bitmaps keep two pixels from the far edge, colour blocks and text blocks one.
struct ItemPosition {
  int x, y;
};
ItemPosition AlignedItem(uint32_t style, int x, int y, int width, int height, int right, int bottom, int margin);
// An icon window on a backdrop or cue card (icons are 32 x 33 as the layout counts them).
ItemPosition IconPosition(uint32_t style, int x, int y, int right, int bottom);
// A text item's block: its widest line and the sum of its line heights, each grown by the
// shadow offset.
struct TextBlockSize {
  int width, height;
};
TextBlockSize TextItemBlock(const std::vector<int>& lineWidths, const std::vector<int>& lineHeights, int shadowOffset);

// Where a cue card or a user dialog goes on a screen of [screenWidth] x [screenHeight]: per
// direction, mode 1 near the edge (20), 2 far from it, 3 centred, anything else [x] or [y] kept.
ItemPosition PlaceOnScreen(int horizontalMode, int verticalMode, int x, int y, int windowWidth, int windowHeight,
                           int screenWidth, int screenHeight);
