// The portable rules of program groups and of the ODBC attribute lists.
#include <gtest/gtest.h>

#include "commands/group_rules.h"
#include "commands/odbc_lists.h"

TEST(GroupRules, AddItemLeavesOutTrailingFieldsThatAreNotGiven) {
  GroupItem item{"Editor", "C:\\APP\\ED.EXE", "", "", "", -1};
  EXPECT_EQ(AddItemText(item), "[AddItem(C:\\APP\\ED.EXE,\"Editor\")]");
  item.arguments = "/n file.txt";
  item.iconFile = "C:\\My App\\ED.ICO";
  EXPECT_EQ(AddItemText(item), "[AddItem(C:\\APP\\ED.EXE /n file.txt,\"Editor\",\"C:\\My App\\ED.ICO\")]");
  item.iconIndex = 2;
  EXPECT_EQ(AddItemText(item), "[AddItem(C:\\APP\\ED.EXE /n file.txt,\"Editor\",\"C:\\My App\\ED.ICO\",2)]");
  // A working directory without an icon keeps the places of the icon file and index empty.
  item = GroupItem{"Ed", "C:\\Program Files\\ED.EXE", "", "", "C:\\Program Files", -1};
  EXPECT_EQ(AddItemText(item), "[AddItem(\"C:\\Program Files\\ED.EXE\",\"Ed\",,,-1,-1,\"C:\\Program Files\")]");
  EXPECT_EQ(CreateGroupText("Tools", ""), "[CreateGroup(\"Tools\")]");
  EXPECT_EQ(CreateGroupText("Tools", "TOOLS.GRP"), "[CreateGroup(\"Tools\",\"TOOLS.GRP\")]");
  EXPECT_EQ(ShowGroupText("Tools", -3), "[ShowGroup(\"Tools\",-3)]");
  EXPECT_EQ(ReloadText("Tools", false), "[Reload()]");
}

TEST(GroupRules, FolderKindsAreTestedLongestFirstWithoutRegardToCase) {
  EXPECT_EQ(ClassifyShellFolder("desktop\\x"), ShellFolderKind::Desktop);
  EXPECT_EQ(ClassifyShellFolder("Start Menu\\Programs\\StartUp"), ShellFolderKind::StartUp);
  EXPECT_EQ(ClassifyShellFolder("START MENU\\PROGRAMS\\Tools"), ShellFolderKind::Programs);
  EXPECT_EQ(ClassifyShellFolder("Start Menu\\Other"), ShellFolderKind::StartMenu);
  EXPECT_EQ(ClassifyShellFolder("Favorites"), ShellFolderKind::None);
  EXPECT_EQ(CommonFolderPath("C:\\All\\Start Menu\\Programs", ShellFolderKind::Programs, "Start Menu\\Programs\\Tools"),
            "C:\\All\\Start Menu\\Programs\\Tools");
  EXPECT_EQ(CommonFolderPath("C:\\All\\Desktop", ShellFolderKind::Desktop, "Desktop\\Sub"), "C:\\All\\Desktop");
}

TEST(GroupRules, AnotherUsersFolderReplacesTheAccountsComponent) {
  std::string user = "bob";
  EXPECT_EQ(SwitchProfileUser("C:\\Users\\ROOT\\Desktop", "root", user), "C:\\Users\\bob\\Desktop");
  user = "bob";
  EXPECT_EQ(SwitchProfileUser("C:\\WINNT\\Profiles\\jo.DOMAIN\\Desktop", "jo", user),
            "C:\\WINNT\\Profiles\\bob.DOMAIN\\Desktop");
  EXPECT_EQ(user, "bob.DOMAIN");
  // The account's component is the last one: it ends at the end of the path.
  user = "bob";
  EXPECT_EQ(SwitchProfileUser("C:\\Profiles\\jo", "jo", user), "C:\\Profiles\\bob");
  user = "bob";
  EXPECT_EQ(SwitchProfileUser("C:\\Profiles\\jo.DOMAIN", "jo", user), "C:\\Profiles\\bob.DOMAIN");
  user = "bob";
  EXPECT_EQ(SwitchProfileUser("C:\\WINDOWS\\Desktop", "jo", user), "C:\\WINDOWS\\Desktop");
  EXPECT_EQ(user, "bob");
}

TEST(GroupRules, EntryNamesStayInTheirFolder) {
  EXPECT_EQ(ShellEntryName("..\\..\\x"), "___.._x");
  EXPECT_EQ(ShellEntryName("a/b:c*d?e\"f<g>h|i\tj"), "a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(ShellEntryName(".."), "__");
  EXPECT_EQ(ShellEntryName("Read me. Now"), "Read me. Now");
}

TEST(OdbcLists, ADataSourceNameIsFoundAmongAnyNumberOfPairs) {
  EXPECT_TRUE(HasDataSourceName("DSN=Sales"));
  EXPECT_TRUE(HasDataSourceName("Database=x\nDSN=Sales\n"));
  EXPECT_FALSE(HasDataSourceName("Database=x"));
  EXPECT_FALSE(HasDataSourceName("dsn=Sales\n DSN=x"));
  EXPECT_FALSE(HasDataSourceName("A=b=DSN"));  // a second '=' goes back to the key: "ADSN"
  std::string many;
  for (int n = 0; n < 1000; ++n) many += "K" + std::to_string(n) + "=v\n";
  EXPECT_FALSE(HasDataSourceName(many));
  EXPECT_TRUE(HasDataSourceName(many + "DSN=Last"));
  EXPECT_EQ(DataSourceAttributeList("DSN=a\nX=b"), std::string("DSN=a\0X=b\0\0", 11));
  EXPECT_EQ(ComponentAttributeList("Drv", "Driver", "C:\\D.DLL", "S.DLL"),
            std::string("Drv\0Driver=C:\\D.DLL\0Setup=S.DLL\0\0", 33));
}
