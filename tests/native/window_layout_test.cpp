// The installer windows' portable parts: dialog templates byte for byte and parsed back as the
// dialog manager parses them, the gradient, gauge and placement arithmetic, the wait message's
// lines, bitmap headers checked against their files, and the object lookup of SHOWBACKDROP(.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstring>

#include "engine/errors.h"
#include "tests/native/template_reader.h"
#include "ui/debugger_view.h"
#include "ui/installer_templates.h"
#include "ui/text_table.h"
#include "ui/dib_layout.h"
#include "ui/user_dialog_template.h"
#include "ui/user_objects.h"
#include "ui/window_geometry.h"

namespace {

std::vector<uint8_t> Utf16(const char* ascii) {
  std::vector<uint8_t> bytes;
  for (const char* p = ascii; *p; ++p) bytes.insert(bytes.end(), {static_cast<uint8_t>(*p), 0});
  bytes.insert(bytes.end(), {0, 0});
  return bytes;
}

}  // namespace

TEST(DialogTemplates, WaitMessageBytes) {
  // Written out by hand from the template layout: popup | visible | caption | DS_SETFONT,
  // one item, 290 x 55, no menu, standard class, empty title, 8 point "MS Sans Serif", two
  // bytes of padding, then the hidden static control over the whole dialog.
  std::vector<uint8_t> golden = {0x40, 0x00, 0xC0, 0x90, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0x22, 0x01, 0x37, 0x00,
                                 0, 0, 0, 0, 0, 0, 8, 0};
  const std::vector<uint8_t> face = Utf16("MS Sans Serif");
  golden.insert(golden.end(), face.begin(), face.end());
  golden.insert(golden.end(), {0, 0});
  golden.insert(golden.end(), {0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0, 0, 0x22, 0x01, 0x37, 0x00, 0xFF, 0xFF, 0xFF, 0xFF,
                               0x82, 0x00, 0, 0, 0, 0});
  EXPECT_EQ(WaitMessageTemplate(), golden);
}

TEST(DialogTemplates, CopyGaugeControlsIdsAndPositions) {
  const std::vector<uint8_t> bytes = CopyGaugeTemplate({u"Source File", u"Destination File", u"&Cancel"});
  const std::vector<uint8_t> header = {0xC0, 0x00, 0xC0, 0x10, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0, 222, 0, 144, 0};
  ASSERT_GE(bytes.size(), header.size());
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  const ParsedTemplate t = Parse(bytes);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, u"MS Sans Serif");
  struct Expected {
    int id, x, y, width, height, classAtom;
    const char16_t* text;
    bool visible;
  } expected[] = {
      {100, 6, 3, 209, 111, 0x80, u"", true},          {207, 15, 17, 187, 8, 0x82, u"", true},
      {208, 15, 31, 57, 8, 0x82, u"Source File", true}, {205, 15, 40, 192, 8, 0x82, u"", true},
      {209, 15, 55, 58, 8, 0x82, u"Destination File", true}, {206, 15, 64, 192, 8, 0x82, u"", true},
      {53, 13, 86, 181, 16, 0x82, u"", false},          {2, 89, 124, 45, 14, 0x80, u"&Cancel", true},
  };
  ASSERT_EQ(t.items.size(), std::size(expected));
  for (size_t i = 0; i < t.items.size(); ++i) {
    const ParsedItem& item = t.items[i];
    const Expected& e = expected[i];
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.x, e.x) << e.id;
    EXPECT_EQ(item.y, e.y) << e.id;
    EXPECT_EQ(item.width, e.width) << e.id;
    EXPECT_EQ(item.height, e.height) << e.id;
    EXPECT_EQ(item.classAtom, e.classAtom) << e.id;
    EXPECT_TRUE(item.text == e.text) << e.id;
    EXPECT_EQ((item.style & dialog_style::kVisible) != 0, e.visible) << e.id;
    EXPECT_TRUE(item.style & dialog_style::kChild) << e.id;
  }
  EXPECT_EQ(t.items[0].style & 0xF, dialog_style::kGroupBox);
  EXPECT_TRUE(t.items[6].style & dialog_style::kBorder);  // the bar placeholder
}

TEST(DialogTemplates, DebugWindowControlsIdsStylesAndPositions) {
  const std::vector<uint8_t> bytes = DebugWindowTemplate([](int id) { return std::string(BuiltInText(id)); });
  // Popup, caption, system menu, sizing border and DS_SETFONT; 11 items; 258 x 190.
  const std::vector<uint8_t> header = {0x40, 0x00, 0xCC, 0x80, 0, 0, 0, 0, 11, 0, 0, 0, 0, 0, 0x02, 0x01, 190, 0};
  ASSERT_GE(bytes.size(), header.size());
  EXPECT_TRUE(std::equal(header.begin(), header.end(), bytes.begin()));
  const ParsedTemplate t = Parse(bytes);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, u"MS Sans Serif");
  // Lists: border, both scroll bars, tab stop, notifying, no integral height.
  const uint32_t child = 0x50000000u, list = child | 0x00B10101u;
  struct Expected {
    int id, x, y, width, height, classAtom;
    uint32_t style;
    const char16_t* text;
  } expected[] = {
      {100, 7, 7, 242, 156, 0x80, child | 0x7, u""},
      {200, 12, 14, 43, 9, 0x82, child, u"Script"},
      {252, 12, 24, 232, 59, 0x83, list | 0x2010, u""},  // owner-drawn, fixed height, no data
      {201, 12, 88, 75, 9, 0x82, child, u"Command Debugging"},
      {253, 12, 99, 232, 59, 0x83, list, u""},
      {17, 7, 170, 45, 14, 0x80, child | 0x10001, u"&Step"},
      {18, 56, 170, 45, 14, 0x80, child | 0x10000, u"&Run"},
      {19, 105, 170, 45, 14, 0x80, child | 0x10000, u"Set &Next"},
      {20, 154, 170, 45, 14, 0x80, child | 0x10000, u"&Break Point"},
      {21, 203, 170, 45, 14, 0x80, child | 0x10000, u"Clear &All"},
      {2, 252, 170, 45, 14, 0x80, child | 0x10000, u"&Cancel"},
  };
  ASSERT_EQ(t.items.size(), std::size(expected));
  for (size_t i = 0; i < t.items.size(); ++i) {
    const ParsedItem& item = t.items[i];
    const Expected& e = expected[i];
    EXPECT_EQ(item.id, e.id);
    EXPECT_EQ(item.x, e.x) << e.id;
    EXPECT_EQ(item.y, e.y) << e.id;
    EXPECT_EQ(item.width, e.width) << e.id;
    EXPECT_EQ(item.height, e.height) << e.id;
    EXPECT_EQ(item.classAtom, e.classAtom) << e.id;
    EXPECT_EQ(item.style, e.style) << e.id;
    EXPECT_TRUE(item.text == e.text) << e.id;
  }
}

TEST(DebugWindowGeometry, LayoutAtEverySizeAndSavedPlaces) {
  // W 600, H 312: a = 100; the lists share the height, the buttons keep their place at the bottom.
  const std::vector<ControlPlace> places = DebugWindowLayout(600, 312);
  const std::vector<std::pair<int, std::array<int, 4>>> expected = {
      {100, {8, 8, 592, 267}},   {200, {16, 20, 250, 36}},  {252, {16, 36, 584, 136}},  {201, {16, 144, 250, 160}},
      {253, {16, 160, 584, 260}}, {17, {8, 277, 88, 302}},   {18, {98, 277, 178, 302}},  {19, {188, 277, 268, 302}},
      {20, {278, 277, 358, 302}}, {21, {368, 277, 448, 302}}, {2, {458, 277, 538, 302}},
  };
  ASSERT_EQ(places.size(), expected.size());
  for (size_t i = 0; i < places.size(); ++i) {
    const LayoutRect& r = places[i].rect;
    EXPECT_EQ(places[i].id, expected[i].first);
    EXPECT_EQ((std::array<int, 4>{r.left, r.top, r.right, r.bottom}), expected[i].second) << places[i].id;
  }
  EXPECT_LE(DebugWindowLayout(kDebugMinClientWidth, 0).back().rect.right, kDebugMinClientWidth);

  const LayoutRect screen{0, 0, 1024, 768};
  auto fit = [&](LayoutRect r) {
    const LayoutRect f = FitWindowRect(r, 560, 240, screen);
    return std::array<int, 4>{f.left, f.top, f.right, f.bottom};
  };
  EXPECT_EQ(fit({100, 120, 740, 540}), (std::array<int, 4>{100, 120, 740, 540}));  // as saved
  EXPECT_EQ(fit({10, 10, 300, 100}), (std::array<int, 4>{10, 10, 570, 250}));      // too small
  EXPECT_EQ(fit({900, 700, 1600, 1000}), (std::array<int, 4>{324, 468, 1024, 768})); // off the screen
  EXPECT_EQ(fit({INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}), (std::array<int, 4>{0, 0, 1024, 768}));
  EXPECT_EQ(fit({500, 400, -3, -9}), (std::array<int, 4>{464, 400, 1024, 640}));  // sides the wrong way round
}

TEST(Gradient, BandsDarkenDownTheClientArea) {
  const std::vector<GradientBand> bands = GradientBands(745);
  ASSERT_EQ(bands.size(), 249u);  // 3 rows each, the last one reaching past the bottom
  EXPECT_EQ(bands[0].top, 0);
  EXPECT_EQ(bands[0].bottom, 3);
  EXPECT_EQ(bands[0].blue, 255);
  EXPECT_EQ(bands[10].top, 30);
  EXPECT_EQ(bands[10].blue, 245);
  EXPECT_LE(bands.back().top, 745);
  const std::vector<GradientBand> small = GradientBands(100);  // shorter than 256: one-row bands
  ASSERT_EQ(small.size(), 101u);
  EXPECT_EQ(small[100].top, 100);
  EXPECT_EQ(small[100].blue, 155);
  const std::vector<GradientBand> tall = GradientBands(767);
  EXPECT_EQ(tall.back().blue, 0);  // 256 bands: never below black
}

TEST(GaugeGeometry, FillEdgeAndLabel) {
  EXPECT_EQ(GaugeFillEdge(0, 100, 0, 269), 0);
  EXPECT_EQ(GaugeFillEdge(40, 0, 0, 269), 0);
  EXPECT_EQ(GaugeFillEdge(100, 100, 0, 269), 269);
  EXPECT_EQ(GaugeFillEdge(50, 100, 0, 269), 135);
  EXPECT_EQ(GaugeFillEdge(2000000000, 2100000000, 0, 269), 257);  // a byte-mode length
  EXPECT_EQ(GaugeLabel(0, 0), "");
  EXPECT_EQ(GaugeLabel(0, 10), "0%");
  EXPECT_EQ(GaugeLabel(1, 3), "33%");
  EXPECT_EQ(GaugeLabel(2000000000, 2000000000), "100%");
  EXPECT_EQ(GaugeLabelOffset(1, 269, 28), 120);
  EXPECT_EQ(GaugeLabelOffset(1, 23, 30), -4);  // a label higher than the bar: shifted, not divided
}

TEST(DialogPlacementRules, ModesPerDirection) {
  const PlacementFrame frame{33, 44, 300, 200, 1024, 768, 19};
  const struct {
    DialogPlacement placement;
    int x, y;
  } cases[] = {
      {{-1, -1, 3, 3}, 361, 283},   {{-1, -1, 0, 0}, 33, 44},  {{10, 12, 0, 0}, 10, 12},
      {{-1, -1, 1, 1}, 20, 39},     {{-1, -1, 2, 2}, 703, 547}, {{-1, -1, 7, -2}, 33, 44},
  };
  for (const auto& c : cases) {
    int x = 0, y = 0;
    PlaceInFrame(c.placement, frame, x, y);
    EXPECT_EQ(x, c.x) << c.placement.horizontalMode;
    EXPECT_EQ(y, c.y) << c.placement.verticalMode;
  }
}

TEST(WaitMessageLayout, LinesAndCentredBlock) {
  EXPECT_EQ(MessageLines("Copying\n\nPlease wait"), (std::vector<std::string>{"Copying", "", "Please wait"}));
  EXPECT_EQ(MessageLines("one"), (std::vector<std::string>{"one"}));
  const TextBlock block = CentredTextBlock({50, 11, 80}, {13, 13, 13}, 435, 70);
  EXPECT_EQ(block.width, 80);
  EXPECT_EQ(block.height, 39);
  EXPECT_EQ(block.left, 177);
  EXPECT_EQ(block.top, 15);
}

namespace {

// A bitmap file: file header, an information header of [infoSize] bytes, then [extra] bytes.
struct BitmapBytes {
  std::vector<uint8_t> bytes;
  void Put32(size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
  }
  void Put16(size_t at, uint16_t v) {
    bytes[at] = static_cast<uint8_t>(v);
    bytes[at + 1] = static_cast<uint8_t>(v >> 8);
  }
};

BitmapBytes Bitmap(uint32_t infoSize, int32_t width, int32_t height, uint16_t bits, uint32_t extra) {
  BitmapBytes b;
  b.bytes.assign(14 + infoSize + extra, 0);
  b.bytes[0] = 'B';
  b.bytes[1] = 'M';
  b.Put32(14, infoSize);
  b.Put32(18, static_cast<uint32_t>(width));
  b.Put32(22, static_cast<uint32_t>(height));
  b.Put16(26, 1);
  b.Put16(28, bits);
  return b;
}

bool Layout(const BitmapBytes& b, DibLayout& layout) {
  return ReadDibLayout(b.bytes.data(), b.bytes.data() + 14, 40, b.bytes.size(), layout);
}

}  // namespace

TEST(BitmapHeaders, LoadsWhatFitsTheFile) {
  DibLayout layout;
  BitmapBytes rgb = Bitmap(40, 3, 2, 24, 24);  // rows of 9 bytes padded to 12
  ASSERT_TRUE(Layout(rgb, layout));
  EXPECT_EQ(layout.colourCount, 0u);
  EXPECT_EQ(layout.imageSize, 24u);
  EXPECT_EQ(layout.bitsOffset, 54u);
  EXPECT_EQ(layout.PackedSize(), 64u);

  BitmapBytes palette = Bitmap(40, 8, 1, 8, 1024 + 8);  // no colour count: the full 256
  ASSERT_TRUE(Layout(palette, layout));
  EXPECT_EQ(layout.colourCount, 256u);
  EXPECT_EQ(layout.bitsOffset, 54u + 1024u);

  BitmapBytes v5 = Bitmap(124, 2, 2, 24, 16);  // the later header: the rows follow it
  v5.Put32(10, 14 + 124);
  ASSERT_TRUE(Layout(v5, layout));
  EXPECT_EQ(layout.infoSize, 124u);
  EXPECT_EQ(layout.bitsOffset, 138u);

  BitmapBytes v4 = Bitmap(108, 1, 1, 8, 8 + 4);  // a two-colour table after a 108-byte header
  v4.Put32(46, 2);
  ASSERT_TRUE(Layout(v4, layout));
  EXPECT_EQ(layout.colourTableOffset, 122u);
  EXPECT_EQ(layout.bitsOffset, 130u);

  BitmapBytes fields = Bitmap(40, 1, 1, 32, 12 + 4);  // masks after a 40-byte header
  fields.Put32(30, 3);
  ASSERT_TRUE(Layout(fields, layout));
  EXPECT_EQ(layout.maskBytes, 12u);
  EXPECT_EQ(layout.bitsOffset, 66u);

  BitmapBytes topDown = Bitmap(40, 1, -2, 24, 8);
  ASSERT_TRUE(Layout(topDown, layout));
  EXPECT_EQ(layout.imageSize, 8u);
}

TEST(BitmapHeaders, RefusesWhatDoesNotFit) {
  struct Case {
    const char* what;
    BitmapBytes bitmap;
  };
  std::vector<Case> cases;
  cases.push_back({"core header", Bitmap(12, 1, 1, 24, 40)});
  cases.push_back({"bit count 7", Bitmap(40, 1, 1, 7, 8)});
  cases.push_back({"rows missing", Bitmap(40, 4, 4, 24, 47)});
  cases.push_back({"no width", Bitmap(40, 0, 4, 24, 48)});
  cases.push_back({"negative width", Bitmap(40, -4, 4, 24, 48)});
  cases.push_back({"no height", Bitmap(40, 4, 0, 24, 48)});
  cases.push_back({"huge rows", Bitmap(40, 0x7FFFFFFF, 0x7FFFFFFF, 32, 48)});
  cases.push_back({"table missing", Bitmap(40, 1, 1, 8, 100)});
  Case tooManyColours{"300 colours for 8 bits", Bitmap(40, 1, 1, 8, 1200 + 4)};
  tooManyColours.bitmap.Put32(46, 300);
  cases.push_back(tooManyColours);
  Case hugeColours{"2^30 colours for 24 bits", Bitmap(40, 1, 1, 24, 4)};
  hugeColours.bitmap.Put32(46, 0x40000000);
  cases.push_back(hugeColours);
  Case smallSize{"image size below the rows", Bitmap(40, 4, 4, 24, 48)};
  smallSize.bitmap.Put32(34, 16);
  cases.push_back(smallSize);
  Case bigSize{"image size past the end", Bitmap(40, 4, 4, 24, 48)};
  bigSize.bitmap.Put32(34, 4096);
  cases.push_back(bigSize);
  Case offsetPast{"bits offset past the end", Bitmap(40, 1, 1, 24, 4)};
  offsetPast.bitmap.Put32(10, 0xFFFFFFF0);
  cases.push_back(offsetPast);
  Case offsetInTable{"bits offset inside the table", Bitmap(40, 1, 1, 1, 8 + 4)};
  offsetInTable.bitmap.Put32(10, 56);
  cases.push_back(offsetInTable);
  Case rleNoSize{"run-length without a size", Bitmap(40, 4, 4, 8, 1024 + 64)};
  rleNoSize.bitmap.Put32(30, 1);
  cases.push_back(rleNoSize);
  Case jpeg{"JPEG payload", Bitmap(40, 4, 4, 24, 64)};
  jpeg.bitmap.Put32(30, 4);
  cases.push_back(jpeg);
  Case notBm{"no BM", Bitmap(40, 1, 1, 24, 4)};
  notBm.bitmap.bytes[1] = 'A';
  cases.push_back(notBm);
  for (const Case& c : cases) {
    DibLayout layout;
    EXPECT_FALSE(Layout(c.bitmap, layout)) << c.what;
  }
  BitmapBytes shortHeader = Bitmap(124, 1, 1, 24, 0);
  shortHeader.bytes.resize(100);  // the header itself is cut
  DibLayout layout;
  EXPECT_FALSE(ReadDibLayout(shortHeader.bytes.data(), shortHeader.bytes.data() + 14, 40, 100, layout));
}

TEST(BackdropLookup, NamesKindsAndSlots) {
  UserObjectTable table;
  ASSERT_EQ(table.Add({ObjectKind::Backdrop, "Welcome", 0x00FF00}), 0);
  ASSERT_EQ(table.Add({ObjectKind::Dialog, "ASK", -1}), 0);
  const UserObject* found = nullptr;
  EXPECT_EQ(FindBackdrop(table, "welcome", found), 0);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(found->name, "WELCOME");
  EXPECT_EQ(found->colour, 0x00FF00);
  EXPECT_EQ(FindBackdrop(table, "ASK", found), ERR_NOT_A_BACKDROP);
  EXPECT_EQ(FindDialog(table, "ask", found), 0);
  EXPECT_EQ(FindDialog(table, "WELCOME", found), ERR_NOT_A_DIALOG);
  EXPECT_EQ(FindBackdrop(table, "MISSING", found), ERR_OBJECT_NOT_FOUND);
  EXPECT_TRUE(table.Remove("Welcome"));
  EXPECT_EQ(FindBackdrop(table, "WELCOME", found), ERR_OBJECT_NOT_FOUND);
  for (int i = table.Add({ObjectKind::CueCard, "C0", -1}), n = 1; i == 0; ++n)
    i = table.Add({ObjectKind::CueCard, "C" + std::to_string(n), -1});
  EXPECT_EQ(table.Add({ObjectKind::CueCard, "ONE MORE", -1}), ERR_TOO_MANY_OBJECTS);
}

TEST(DialogTemplates, UserDialogItemsPlaceAndLimit) {
  UserObject ask{ObjectKind::Dialog, "ASK"};
  ask.caption = "Name";
  ask.x = 12;
  ask.y = -3;
  ask.width = 200;
  ask.height = 70000;  // held to the 16 bits of the template
  const auto add = [&](ControlType type, int32_t id, const char* text) {
    UserControl c;
    c.type = type;
    c.id = id;
    c.x = id;
    c.style = CompletedStyle(type, 0);
    c.text = text;
    ask.controls.push_back(c);
  };
  add(ControlType::Text, 1, "painted");
  add(ControlType::Edit, 101, "initial");
  add(ControlType::Bitmap, 2, "LOGO.BMP");
  add(ControlType::Icon, 102, "DISK01");
  add(ControlType::ColourBlock, 3, "");
  add(ControlType::ComboBox, 103, "one|two");
  add(ControlType::RadioButton, 104, "Choice");
  const auto upper = [](const std::string& text) {
    std::u16string out;
    for (char c : text) out += static_cast<char16_t>(c >= 'a' && c <= 'z' ? c - 32 : c);
    return out;
  };
  const std::vector<uint8_t> bytes = UserDialogTemplate(ask, upper);
  const ParsedTemplate t = Parse(bytes);
  EXPECT_EQ(t.style, 0x80C800C0u);  // popup, caption, system menu, modal frame, own font
  EXPECT_EQ(bytes[10] | bytes[11] << 8, 12);
  EXPECT_EQ(static_cast<int16_t>(bytes[12] | bytes[13] << 8), -3);
  EXPECT_EQ(t.width, 200);
  EXPECT_EQ(t.height, 32767);
  EXPECT_EQ(t.pointSize, 8);
  EXPECT_EQ(t.face, u"MS Sans Serif");
  // Texts, bitmaps and colour blocks are painted by the dialog: four windows remain, in order.
  ASSERT_EQ(t.items.size(), 4u);
  const int classes[] = {DIALOG_EDIT, DIALOG_STATIC, DIALOG_COMBOBOX, DIALOG_BUTTON};
  const std::u16string texts[] = {u"INITIAL", u"DISK01", u"", u"CHOICE"};  // a list's items are no title
  for (size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(t.items[i].classAtom, classes[i]) << i;
    EXPECT_EQ(t.items[i].text, texts[i]) << i;
    EXPECT_EQ(t.items[i].id, 101 + static_cast<int>(i)) << i;
    EXPECT_EQ(t.items[i].x, 101 + static_cast<int>(i)) << i;
  }
  EXPECT_EQ(t.items[0].style, 0x50810000u);
  // A dialog whose items pass the 12,000-byte block is refused.
  for (int i = 0; i < 400; ++i) add(ControlType::Button, 200 + i, "A button with a long caption");
  EXPECT_TRUE(UserDialogTemplate(ask, upper).empty());
}
