#include "bootstrap/core/window_template.h"

#include <string_view>
#include <utility>

namespace {

// The window styles by value: this file does not include <windows.h>.
constexpr uint32_t kPopup = 0x80000000u, kVisible = 0x10000000u, kCaption = 0x00C00000u;
constexpr uint32_t kModalFrame = 0x80u, kSetFont = 0x40u;

class TemplateWriter {
 public:
  void Word(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
  }
  void Dword(uint32_t value) {
    Word(static_cast<uint16_t>(value & 0xFFFF));
    Word(static_cast<uint16_t>(value >> 16));
  }
  void Text(std::string_view ascii) {
    for (char c : ascii) Word(static_cast<uint8_t>(c));
    Word(0);
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

std::vector<uint8_t> WorkingWindowTemplate() {
  TemplateWriter t;
  t.Dword(kPopup | kVisible | kCaption | kModalFrame | kSetFont);
  t.Dword(0);  // extended style
  t.Word(0);   // no controls
  t.Word(0);   // x
  t.Word(0);   // y
  t.Word(kWorkingWindowWidth);
  t.Word(kWorkingWindowHeight);
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text("Setup");
  t.Word(8);
  t.Text("MS Sans Serif");
  return t.Take();
}
