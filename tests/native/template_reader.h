// Reads an in-memory dialog template back as the dialog manager parses it: items on DWORD
// boundaries, classes and icon titles as 0xFFFF ordinals. Shared by the template tests.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

struct ParsedItem {
  uint32_t style;
  int x, y, width, height, id, classAtom;
  std::u16string text;
  int resource;  // the title's resource number, 0 for a text title
};
struct ParsedTemplate {
  uint32_t style;
  int width, height, pointSize;
  std::u16string face;
  std::vector<ParsedItem> items;
};

class TemplateReader {
 public:
  explicit TemplateReader(const std::vector<uint8_t>& b) : b_(b) {}
  uint16_t Word() {
    const uint16_t v = static_cast<uint16_t>(b_.at(at_) | b_.at(at_ + 1) << 8);
    at_ += 2;
    return v;
  }
  uint32_t Dword() {
    const uint32_t low = Word();
    return low | static_cast<uint32_t>(Word()) << 16;
  }
  std::u16string Text() {
    std::u16string t;
    while (uint16_t c = Word()) t += static_cast<char16_t>(c);
    return t;
  }
  void Align() { at_ = (at_ + 3) & ~size_t{3}; }
  size_t At() const { return at_; }
  uint16_t Peek() const { return static_cast<uint16_t>(b_.at(at_) | b_.at(at_ + 1) << 8); }

 private:
  const std::vector<uint8_t>& b_;
  size_t at_ = 0;
};

inline ParsedTemplate Parse(const std::vector<uint8_t>& bytes) {
  TemplateReader r(bytes);
  ParsedTemplate t{};
  t.style = r.Dword();
  r.Dword();
  const int count = r.Word();
  r.Word();
  r.Word();
  t.width = static_cast<int16_t>(r.Word());
  t.height = static_cast<int16_t>(r.Word());
  EXPECT_EQ(r.Word(), 0);  // menu
  EXPECT_EQ(r.Word(), 0);  // class
  r.Text();
  if (t.style & 0x40) {
    t.pointSize = r.Word();
    t.face = r.Text();
  }
  for (int i = 0; i < count; ++i) {
    r.Align();
    ParsedItem item{};
    item.style = r.Dword();
    r.Dword();
    item.x = static_cast<int16_t>(r.Word());
    item.y = static_cast<int16_t>(r.Word());
    item.width = static_cast<int16_t>(r.Word());
    item.height = static_cast<int16_t>(r.Word());
    item.id = r.Word();
    EXPECT_EQ(r.Word(), 0xFFFF);
    item.classAtom = r.Word();
    if (r.Peek() == 0xFFFF) {
      r.Word();
      item.resource = r.Word();
    } else {
      item.text = r.Text();
    }
    EXPECT_EQ(r.Word(), 0);  // no creation data
    t.items.push_back(item);
  }
  EXPECT_EQ(r.At(), bytes.size());
  return t;
}
