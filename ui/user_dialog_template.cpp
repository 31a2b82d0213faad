#include "ui/user_dialog_template.h"

namespace {

constexpr uint32_t kSystemMenu = 0x00080000u;

// Template fields are 16 bits wide; a script's 32-bit numbers are held to that range.
int16_t Field(int32_t value) {
  if (value > INT16_MAX) return INT16_MAX;
  if (value < INT16_MIN) return INT16_MIN;
  return static_cast<int16_t>(value);
}

}  // namespace

uint16_t UserControlClass(ControlType type) {
  switch (type) {
    case ControlType::Edit: return DIALOG_EDIT;
    case ControlType::ListBox: return DIALOG_LISTBOX;
    case ControlType::ComboBox:
    case ControlType::DropList: return DIALOG_COMBOBOX;
    case ControlType::Icon: return DIALOG_STATIC;
    default: return DIALOG_BUTTON;  // group boxes, check boxes, radio buttons, buttons
  }
}

std::vector<uint8_t> UserDialogTemplate(const UserObject& object,
                                        const std::function<std::u16string(const std::string&)>& text) {
  using namespace dialog_style;
  DialogTemplateBuilder b(kPopup | kCaption | kSystemMenu | kModalFrame, Field(object.width), Field(object.height),
                          text(object.caption), 8, u"MS Sans Serif");
  b.SetPosition(Field(object.x), Field(object.y));
  for (const UserControl& control : object.controls) {
    if (IsPaintedItem(control.type)) continue;
    // A list's text holds its items, which the dialog adds when it opens; as a window text it
    // would only show in a combo box's field.
    const bool list = control.type == ControlType::ListBox || control.type == ControlType::ComboBox ||
                      control.type == ControlType::DropList;
    b.Add({control.style, 0, Field(control.x), Field(control.y), Field(control.width), Field(control.height),
           static_cast<uint16_t>(control.id), UserControlClass(control.type),
           list ? std::u16string() : text(control.text)});
  }
  std::vector<uint8_t> bytes = b.Bytes();
  if (bytes.size() > kUserDialogTemplateBytes) bytes.clear();
  return bytes;
}
