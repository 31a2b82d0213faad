#include "support/dialog_template.h"

#include <utility>

namespace {

class TemplateWriter {
 public:
  void Word(uint16_t value) {
    bytes_.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes_.push_back(static_cast<uint8_t>(value >> 8));
  }
  void Short(int16_t value) { Word(static_cast<uint16_t>(value)); }
  void Dword(uint32_t value) {
    Word(static_cast<uint16_t>(value & 0xFFFF));
    Word(static_cast<uint16_t>(value >> 16));
  }
  void Text(const std::u16string& text) {
    for (char16_t c : text) Word(static_cast<uint16_t>(c));
    Word(0);
  }
  // Items begin on a DWORD boundary of the template.
  void AlignToDword() {
    while (bytes_.size() % 4 != 0) bytes_.push_back(0);
  }
  std::vector<uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<uint8_t> bytes_;
};

}  // namespace

std::u16string AsciiText(std::string_view ascii) {
  std::u16string text;
  for (char c : ascii) text += static_cast<char16_t>(static_cast<unsigned char>(c));
  return text;
}

DialogTemplateBuilder::DialogTemplateBuilder(uint32_t style, int16_t width, int16_t height, std::u16string title,
                                             uint16_t pointSize, std::u16string face)
    : style_(face.empty() ? style : style | dialog_style::kSetFont),
      width_(width),
      height_(height),
      title_(std::move(title)),
      pointSize_(pointSize),
      face_(std::move(face)) {}

std::vector<uint8_t> DialogTemplateBuilder::Bytes() const {
  TemplateWriter t;
  t.Dword(style_);
  t.Dword(0);  // extended style
  t.Word(static_cast<uint16_t>(items_.size()));
  t.Short(x_);
  t.Short(y_);
  t.Short(width_);
  t.Short(height_);
  t.Word(0);  // no menu
  t.Word(0);  // the standard dialog class
  t.Text(title_);
  if (style_ & dialog_style::kSetFont) {
    t.Word(pointSize_);
    t.Text(face_);
  }
  for (const DialogItem& item : items_) {
    t.AlignToDword();
    t.Dword(item.style);
    t.Dword(item.exStyle);
    t.Short(item.x);
    t.Short(item.y);
    t.Short(item.width);
    t.Short(item.height);
    t.Word(item.id);
    t.Word(0xFFFF);
    t.Word(item.classAtom);
    if (item.resource != 0) {
      t.Word(0xFFFF);
      t.Word(item.resource);
    } else {
      t.Text(item.text);
    }
    t.Word(0);  // no creation data
  }
  return t.Take();
}
