// Object definitions as the script engine reads them into the object table, and the layout
// rules of the windows that show them. The definition errors are a script fixture
// (tests/scripts/object_definition_errors.qls).
#include <gtest/gtest.h>

#include "tests/native/script_harness.h"
#include "ui/user_objects.h"

TEST(ObjectDefinitions, EveryControlTypeWithItsStyleBindingAndTexts) {
  ScriptRun run;
  run.platform.existingPatterns.insert("C:\\SETUP\\LOGO.BMP");
  ASSERT_EQ(run.Run(Lines({
                "SET %FACE% = \"Arial\"",
                "SET %DIR% = \"C:\\SETUP\"",
                "CREATEDIALOG(\"ask\", \"Hello #NAME#\", 10, 20, 200, 120)",
                "  CREATECONTROL(\"TEXT\", \"Hi #NAME#\", 1, 5, 6, 0, 0, 128, \"#FACE#\", 16, 2, 255, 65280)",
                "  CREATECONTROL(\"edit\", \"\", 101, 5, 20, 80, 12, 0, %NAME%, 40)",
                "  CREATECONTROL(\"groupbox\", \"Box\", 102, 0, 0, 1, 1, 0)",
                "  CREATECONTROL(\"icon\", \"DISK01\", 103, 0, 0, 1, 1, 0)",
                "",
                "  // a comment line and an empty line are passed over",
                "  CREATECONTROL(\"bitmap\", \"#DIR#\\LOGO.BMP\", 104, 0, 0, 1, 1, 2097152)",
                "  CREATECONTROL(\"checkbox\", \"Tick\", 105, 0, 0, 1, 1, 0, %TICK%)",
                "  CREATECONTROL(\"radiobutton\", \"One\", 106, 0, 0, 1, 1, 65536, %ONE%)",
                "  CREATECONTROL(\"button\", \"#OK#\", 1, 0, 0, 1, 1, 1)",
                "  CREATECONTROL(\"colourblock\", \"\", 107, 0, 0, 1, 1, 0, 255)",
                "  CREATECONTROL(\"listbox\", \"a|b\", 108, 0, 0, 1, 1, 0, %PICK%)",
                "  CREATECONTROL(\"combobox\", \"\", 109, 0, 0, 1, 1, 0, %TYPED%, 20)",
                "  CREATECONTROL(\"droplist\", \"x\", 110, 0, 0, 1, 1, 0, 5, 7)",
                "  ADDLISTITEM(\"Ask\", 108, \"c\")",
                "  ADDLISTITEM(\"ASK\", 110, \"y\")",
                "  SETFOCUS(101)",
                "  CENTREDIALOG()",
                "ENDOBJECT()",
                "CREATECUECARD(\"card\", 1, 2, 30, 40, 3)",
                "  CENTREDIALOG(1, 2)",
                "ENDOBJECT()",
                "CREATEBACKDROP(\"Card\")",  // the same name in other letters: replaced
                "ENDOBJECT()",
                "SET %AFTER% = 1",
            })),
            0);
  EXPECT_EQ(run.Var("AFTER"), "1");
  const UserObject* ask = run.ip.objects.Find("ASK");
  ASSERT_NE(ask, nullptr);
  EXPECT_EQ(ask->kind, ObjectKind::Dialog);
  EXPECT_EQ(ask->caption, "Hello #NAME#");  // macros are replaced when shown
  EXPECT_EQ(ask->x + ask->y + ask->width + ask->height, 350);
  EXPECT_EQ(ask->focusControl, 101);
  EXPECT_EQ(ask->horizontalMode * 10 + ask->verticalMode, 33);
  ASSERT_EQ(ask->controls.size(), 12u);
  const UserControl& text = ask->controls[0];
  EXPECT_EQ(text.type, ControlType::Text);
  EXPECT_EQ(text.text, "Hi #NAME#");
  EXPECT_EQ(text.fontName, "Arial");  // the font name is replaced at once
  EXPECT_EQ(text.style, 0x50000080u);
  EXPECT_EQ(text.fontHeight * 1000 + text.shadowOffset, 16002);
  EXPECT_EQ(text.textColour, 255);
  EXPECT_EQ(text.shadowColour, 65280);
  const auto control = [&](size_t i) -> const UserControl& { return ask->controls[i]; };
  EXPECT_EQ(control(1).style, 0x50810000u);
  EXPECT_EQ(control(1).boundVariable, "NAME");
  EXPECT_EQ(control(1).textLimit, 40);
  EXPECT_EQ(control(2).style, 0x50000007u);
  EXPECT_EQ(control(3).style, 0x50000003u);
  EXPECT_EQ(control(4).style, 0x200000u);  // bitmaps and colour blocks are painted, not windows
  EXPECT_EQ(control(4).text, "#DIR#\\LOGO.BMP");
  EXPECT_EQ(control(5).style, 0x50010003u);
  EXPECT_EQ(control(6).style, 0x50010009u);  // bits the script gave already are not added twice
  EXPECT_EQ(control(7).style, 0x50010001u);
  EXPECT_EQ(control(8).colour, 255);
  EXPECT_EQ(control(8).style, 0u);
  EXPECT_EQ(control(9).style, 0x50B10100u);
  EXPECT_EQ(control(9).text, "a\nb|c");  // the lexer makes a literal's "|" a line feed
  EXPECT_EQ(control(9).textLimit, 128);
  EXPECT_EQ(control(10).style, 0x50210002u);
  EXPECT_EQ(control(10).boundVariable, "TYPED");
  EXPECT_EQ(control(10).textLimit, 20);
  EXPECT_EQ(control(11).style, 0x50210003u);
  EXPECT_EQ(control(11).boundVariable, "");  // a number in the variable's place binds nothing ...
  EXPECT_EQ(control(11).textLimit, 7);       // ... and the limit after it is still read
  EXPECT_EQ(control(11).text, "x|y");
  const UserObject* card = run.ip.objects.Find("CARD");
  ASSERT_NE(card, nullptr);
  EXPECT_EQ(card->kind, ObjectKind::Backdrop);
  EXPECT_EQ(card->colour, -1);
}

TEST(ObjectDefinitions, ABlockEndsAtTheEndOfItsFile) {
  ScriptRun run;
  run.platform.AddFile("C:\\SETUP\\SUB.SCR", Lines({"CREATECUECARD(\"TIP\", 0, 0, 50, 20)",
                                                     "CREATECONTROL(\"colourblock\", \"\", 1, 0, 0, 5, 5, 0, 0)"}));
  ASSERT_EQ(run.Run(Lines({"CALL \"SUB\"", "SET %BACK% = %SCRIPTFILE%"})), 0);
  EXPECT_EQ(run.Var("BACK"), "C:\\SETUP\\SUB.SCR");
  ASSERT_NE(run.ip.objects.Find("TIP"), nullptr);
  EXPECT_EQ(run.ip.objects.Find("TIP")->controls.size(), 1u);
  EXPECT_NE(run.Log().find("CLine: 'CREATECONTROL(\"colourblock\", \"\", 1, 0, 0, 5, 5, 0, 0)'\r\n"), std::string::npos);
}

TEST(ObjectRules, ListItemsAndWhereItemsGo) {
  EXPECT_EQ(ListItems("one|two||four"), (std::vector<std::string>{"one", "two", "", "four"}));
  EXPECT_EQ(ListItems("one|two|"), (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(ListItems("a\nb"), (std::vector<std::string>{"a", "b"}));
  EXPECT_TRUE(ListItems("").empty());
  std::string list;
  AppendListItem(list, "a");
  AppendListItem(list, "b");
  EXPECT_EQ(list, "a|b");
  list = "a|";
  AppendListItem(list, "b");
  EXPECT_EQ(list, "a|b");
  list = "a\n";  // as a script's literal "a|" arrives
  AppendListItem(list, "b");
  EXPECT_EQ(ListItems(list), (std::vector<std::string>{"a", "b"}));

  using namespace item_style;
  // A 30 x 10 item in a client area of 200 x 100.
  const auto at = [](uint32_t style, int margin) {
    const ItemPosition p = AlignedItem(style, 7, 8, 30, 10, 200, 100, margin);
    return std::make_pair(p.x, p.y);
  };
  EXPECT_EQ(at(0, 2), std::make_pair(7, 8));
  EXPECT_EQ(at(kRight | kBottom, 2), std::make_pair(168, 88));
  EXPECT_EQ(at(kRight | kBottom, 1), std::make_pair(169, 89));
  EXPECT_EQ(at(kCentre | kMiddle, 1), std::make_pair(85, 45));
  // Icons take their x and y as distances from the far edge, or as offsets from the middle.
  const ItemPosition icon = IconPosition(kRight | kMiddle, 10, 4, 200, 100);
  EXPECT_EQ(icon.x, 156);
  EXPECT_EQ(icon.y, 4 + 33);
  const TextBlockSize block = TextItemBlock({40, 55, 12}, {13, 13, 13}, 2);
  EXPECT_EQ(block.width, 57);
  EXPECT_EQ(block.height, 41);
  const ItemPosition placed = PlaceOnScreen(3, 2, 5, 6, 100, 50, 1024, 768);
  EXPECT_EQ(placed.x, 462);
  EXPECT_EQ(placed.y, 698);
  const ItemPosition kept = PlaceOnScreen(0, 7, 5, 6, 100, 50, 1024, 768);
  EXPECT_EQ(kept.x, 5);
  EXPECT_EQ(kept.y, 6);
  EXPECT_EQ(PlaceOnScreen(1, 1, 5, 6, 100, 50, 1024, 768).y, 20);
}
