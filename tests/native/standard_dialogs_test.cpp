// DIALOGBOX('s built-in pages without Windows: their templates byte for byte and parsed back
// (sizes, ids, captions, styles, and no control outside its page or over another), and the
// rules that turn variables into what a page shows and answers into variables.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "support/dialog_template.h"
#include "tests/native/template_reader.h"
#include "ui/standard_pages.h"
#include "ui/standard_templates.h"
#include "ui/text_table.h"

namespace {

std::u16string Text(int id) {
  const char* text = BuiltInText(id);
  return text ? AsciiText(text) : u"?";
}

StandardPage Page(const char* name) {
  StandardPage page;
  EXPECT_TRUE(FindStandardPage(name, page)) << name;
  return page;
}

// Little-endian bytes written out by hand, independently of the builder.
struct Bytes {
  std::vector<uint8_t> b;
  Bytes& W(uint16_t v) {
    b.push_back(static_cast<uint8_t>(v & 0xFF));
    b.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  Bytes& D(uint32_t v) { return W(static_cast<uint16_t>(v & 0xFFFF)).W(static_cast<uint16_t>(v >> 16)); }
  Bytes& S(const char* ascii) {
    for (const char* p = ascii; *p; ++p) W(static_cast<uint8_t>(*p));
    return W(0);
  }
  Bytes& Align() {
    while (b.size() % 4) b.push_back(0);
    return *this;
  }
  Bytes& Rect(int x, int y, int w, int h) {
    return W(static_cast<uint16_t>(x)).W(static_cast<uint16_t>(y)).W(static_cast<uint16_t>(w)).W(static_cast<uint16_t>(h));
  }
};

const char* const kAllPages[] = {"WELCOME", "ASKPATH", "OKBOX", "CHECKBOX2", "CHECKBOX3", "CHECKBOX4", "CHECKBOX5",
                                 "CHECKBOX6", "RADIOB2", "RADIOB3", "RADIOB4", "RADIOB5", "RADIOB6", "INPUTBOX1",
                                 "INPUTBOX2", "PUSHB2", "PUSHB3", "PUSHB4", "PUSHB5", "DEINSTALL", "AGREEMENT"};

const ParsedItem* ById(const ParsedTemplate& t, int id) {
  for (const ParsedItem& item : t.items)
    if (item.id == id) return &item;
  return nullptr;
}

}  // namespace

TEST(StandardTemplates, OkBoxBytes) {
  // popup | caption | system menu | modal frame | DS_SETFONT, four items, 233 x 94, no menu,
  // standard class, empty title, 8 point "MS Sans Serif"; the icon names resource 31234.
  Bytes g;
  g.D(0x80C800C0).D(0).W(4).W(0).W(0).W(233).W(94).W(0).W(0).W(0).W(8).S("MS Sans Serif");
  g.Align().D(0x50000003).D(0).Rect(12, 12, 21, 20).W(0xFFFF).W(0xFFFF).W(0x82).W(0xFFFF).W(31234).W(0);
  g.Align().D(0x50000080).D(0).Rect(44, 12, 180, 24).W(200).W(0xFFFF).W(0x82).W(0).W(0);
  g.Align().D(0x50000080).D(0).Rect(44, 40, 180, 24).W(201).W(0xFFFF).W(0x82).W(0).W(0);
  g.Align().D(0x50010001).D(0).Rect(91, 72, 50, 14).W(1).W(0xFFFF).W(0x80).S("&Ok").W(0);
  EXPECT_EQ(StandardPageTemplate(Page("OKBOX"), Text), g.b);
}

TEST(StandardTemplates, SizesIdsCaptionsAndStylesOfEveryPage) {
  const std::map<std::string, std::vector<int>> ids = {
      {"WELCOME", {0xFFFF, 0xFFFF, 200, 201, 1, 2, 10}},
      {"ASKPATH", {0xFFFF, 0xFFFF, 200, 212, 50, 16, 1, 9, 2}},
      {"OKBOX", {0xFFFF, 200, 201, 1}},
      {"CHECKBOX4", {230, 231, 232, 233, 1, 2}},
      {"RADIOB3", {220, 221, 222, 1, 2}},
      {"INPUTBOX2", {200, 51, 201, 52, 1, 2}},
      {"PUSHB3", {11, 200, 12, 201, 13, 202, 2}},
      {"DEINSTALL", {0xFFFF, 0xFFFF, 200, 11, 201, 12, 202, 2}},
      {"AGREEMENT", {0xFFFF, 254, 6, 7}},
  };
  for (const auto& [name, expected] : ids) {
    const ParsedTemplate t = Parse(StandardPageTemplate(Page(name.c_str()), Text));
    std::vector<int> got;
    for (const ParsedItem& item : t.items) got.push_back(item.id);
    EXPECT_EQ(got, expected) << name;
  }
  const std::map<std::string, std::pair<int, int>> sizes = {
      {"WELCOME", {183, 98}},    {"ASKPATH", {285, 105}},   {"OKBOX", {233, 94}},      {"CHECKBOX2", {197, 86}},
      {"CHECKBOX6", {197, 170}}, {"RADIOB5", {197, 149}},   {"INPUTBOX1", {200, 79}},  {"INPUTBOX2", {202, 133}},
      {"PUSHB2", {202, 84}},     {"PUSHB5", {202, 150}},    {"DEINSTALL", {260, 145}}, {"AGREEMENT", {300, 150}},
  };
  for (const auto& [name, size] : sizes) {
    const ParsedTemplate t = Parse(StandardPageTemplate(Page(name.c_str()), Text));
    EXPECT_EQ(t.width, size.first) << name;
    EXPECT_EQ(t.height, size.second) << name;
    EXPECT_EQ(t.pointSize, 8) << name;
    EXPECT_EQ(t.face, u"MS Sans Serif") << name;
    EXPECT_EQ(t.style & 0x80C80080u, 0x80C80080u) << name;  // popup, caption, system menu, modal frame
  }
  // The places, sizes and kinds that are fixed (the captions are read back under Wine).
  const ParsedTemplate welcome = Parse(StandardPageTemplate(Page("WELCOME"), Text));
  EXPECT_EQ(welcome.items[1].resource, 31234);
  EXPECT_EQ(welcome.items[1].style & 0xF, 3u);  // an icon control
  const ParsedItem* m1 = ById(welcome, 200);
  const ParsedItem* m2 = ById(welcome, 201);
  EXPECT_EQ(std::vector<int>({m1->x, m1->y, m1->width, m1->height}), std::vector<int>({49, 13, 119, 30}));
  EXPECT_EQ(std::vector<int>({m2->x, m2->y, m2->width, m2->height}), std::vector<int>({14, 38, 152, 24}));
  EXPECT_EQ(ById(welcome, 1)->style & 0xF, 1u);  // the default button
  EXPECT_EQ(Parse(StandardPageTemplate(Page("ASKPATH"), Text)).items[4].style & 0x00800080u, 0x00800080u);
  const ParsedTemplate checks = Parse(StandardPageTemplate(Page("CHECKBOX6"), Text));
  for (int i = 0; i < 6; ++i) {
    const ParsedItem* box = ById(checks, 230 + i);
    EXPECT_EQ(std::vector<int>({box->y, box->width, box->height}), std::vector<int>({13 + 21 * i, 178, 12}));
    EXPECT_EQ(box->style & 0xF, 3u);  // automatic check box
  }
  const ParsedTemplate radios = Parse(StandardPageTemplate(Page("RADIOB2"), Text));
  EXPECT_EQ(ById(radios, 220)->style & 0x0002000Fu, 0x00020009u);  // automatic radio button, first of its group
  EXPECT_TRUE(ById(radios, 1)->style & 0x00020000u);               // the group ends before OK
  const ParsedTemplate push = Parse(StandardPageTemplate(Page("PUSHB5"), Text));
  for (int i = 11; i <= 15; ++i) EXPECT_EQ(std::make_pair(ById(push, i)->width, ById(push, i)->height), std::make_pair(50, 14));
  const ParsedTemplate agreement = Parse(StandardPageTemplate(Page("AGREEMENT"), Text));
  const ParsedItem* list = ById(agreement, 254);
  EXPECT_EQ(std::make_pair(list->width, list->height), std::make_pair(281, 112));
  EXPECT_EQ(list->style & 0x00300002u, 0x00300000u);  // both scroll bars, not sorted
}

TEST(StandardTemplates, DirectoryBrowserAndAboutBox) {
  const ParsedTemplate browser = Parse(DirectoryBrowserTemplate(Text));
  EXPECT_EQ(std::make_pair(browser.width, browser.height), std::make_pair(182, 170));
  std::vector<int> ids;
  for (const ParsedItem& item : browser.items) ids.push_back(item.id);
  EXPECT_EQ(ids, (std::vector<int>{0xFFFF, 200, 213, 201, 250, 202, 251, 1, 2}));
  const ParsedItem* directories = ById(browser, 250);
  EXPECT_EQ(std::make_pair(directories->width, directories->height), std::make_pair(154, 55));
  EXPECT_EQ(directories->style & 0x00200003u, 0x00200003u);  // sorted, notifying, scroll bar
  EXPECT_EQ(ById(browser, 251)->classAtom, DIALOG_COMBOBOX);
  EXPECT_EQ(ById(browser, 251)->style & 0x103u, 0x103u);  // sorted drop-down list
  const ParsedTemplate about = Parse(AboutBoxTemplate(Text));
  EXPECT_EQ(std::make_pair(about.width, about.height), std::make_pair(230, 157));
  std::vector<std::u16string> lines;
  for (const ParsedItem& item : about.items)
    if (item.classAtom == DIALOG_STATIC && (item.style & 0xF) == 1) lines.push_back(item.text);
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_TRUE(lines[0] == u"Setup");
  EXPECT_TRUE(lines[1] == u"Application Installation Script Interpreter");
  EXPECT_TRUE(lines[2] == u"Version 6.02.018 / 32-bit Windows");
  EXPECT_EQ(ById(about, 202)->style & 0xF, 1u);  // centred, replaced by MESSAGE3
}

TEST(StandardTemplates, ControlsStayInsideTheirPageAndApart) {
  std::vector<std::pair<std::string, ParsedTemplate>> all;
  for (const char* name : kAllPages) all.emplace_back(name, Parse(StandardPageTemplate(Page(name), Text)));
  all.emplace_back("browser", Parse(DirectoryBrowserTemplate(Text)));
  all.emplace_back("about", Parse(AboutBoxTemplate(Text)));
  for (const auto& [name, t] : all) {
    for (size_t i = 0; i < t.items.size(); ++i) {
      const ParsedItem& a = t.items[i];
      // A drop-down list covers its closed height only until it opens.
      const int aHeight = a.classAtom == DIALOG_COMBOBOX ? 12 : a.height;
      EXPECT_TRUE(a.x >= 0 && a.y >= 0 && a.x + a.width <= t.width && a.y + aHeight <= t.height) << name << " " << a.id;
      const bool aFrame = a.classAtom == DIALOG_BUTTON && (a.style & 0xF) == 7;
      if (aFrame) continue;
      for (size_t j = i + 1; j < t.items.size(); ++j) {
        const ParsedItem& b = t.items[j];
        if (b.classAtom == DIALOG_BUTTON && (b.style & 0xF) == 7) continue;
        const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x || a.y + aHeight <= b.y || b.y + b.height <= a.y;
        // WELCOME's two messages have fixed places in which only a fourth line of the first
        // would reach into the second.
        if (name == "WELCOME" && a.id == 200 && b.id == 201) continue;
        EXPECT_TRUE(apart) << name << ": " << a.id << " and " << b.id << " overlap";
      }
    }
  }
}

TEST(PageRules, NamesAndFileDialogChoices) {
  StandardPage page;
  EXPECT_TRUE(FindStandardPage("PUSHB4", page));
  EXPECT_EQ(page.kind, PageKind::PushButtons);
  EXPECT_EQ(page.count, 4);
  EXPECT_EQ(page.dialogNumber, 1120);
  EXPECT_FALSE(FindStandardPage("WELCOME2", page));
  EXPECT_FALSE(FindStandardPage("CHECKBOX7", page));
  EXPECT_EQ(SelectedRadioButton("\xE9", 4), 4);  // an 8-bit letter is above "9"

  const FileDialogSetup open = FileDialogChoices(false, "", "", "", "IGNORED.TXT");
  EXPECT_EQ(open.filter, std::string("Text Files (*.txt)\0*.txt\0All Files (*.*)\0*.*\0\0\0\0", 48));
  const FileDialogSetup mine = FileDialogChoices(false, "Pick", "Logs\n*.logfile;*.trace|", "LOG", "");
  EXPECT_EQ(mine.initialName, "*.logfile;");  // at most ten characters
  EXPECT_EQ(mine.filter, std::string("Logs\0*.logfile;*.trace\0\0\0", 25));  // ended although the script did not
  EXPECT_EQ(FileDialogChoices(true, "Save", "", "", "").initialName, "*.txt");
  EXPECT_EQ(FileDialogChoices(true, "Save", "", "", "C:\\OUT.TXT").initialName, "C:\\OUT.TXT");
  EXPECT_EQ(FileDialogChoices(false, "", "No pattern", "", "").initialName, "");
}
