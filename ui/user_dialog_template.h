// The in-memory template of a dialog that a script defined: the dialog's own record with its
// caption, place and size, and one item per control that is a window of its own. Portable, so
// that the bytes are checked without Windows.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/dialog_template.h"
#include "ui/user_objects.h"

// The block the template must fit in; a dialog with more controls than that is refused.
constexpr size_t kUserDialogTemplateBytes = 12000;

// The template of [object], its caption and control texts passed through [text] (which
// replaces their macros and converts them). Empty when it does not fit kUserDialogTemplateBytes.
std::vector<uint8_t> UserDialogTemplate(const UserObject& object,
                                        const std::function<std::u16string(const std::string&)>& text);

// The predefined window class that shows a control of [type].
uint16_t UserControlClass(ControlType type);
