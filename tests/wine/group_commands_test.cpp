// Program groups and shortcuts made by TALVEN.EXE under Wine: folders and shell links on the
// NT and Windows 95 families, Program Manager's DDE server below Windows 4.00. Links are read
// back through the shell link API here; tests/wine/check_links.sh reads the kept ones with
// lnkinfo afterwards.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "support/text.h"
#include "tests/wine/talven_harness.h"

namespace {

void SetVersionFor(const std::string& exeName, const char* version) {
  const std::string key = "Software\\Wine\\AppDefaults\\" + exeName + ".EXE";
  HKEY handle;
  RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr);
  RegSetValueExA(handle, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                 static_cast<DWORD>(strlen(version) + 1));
  RegCloseKey(handle);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string SpecialFolder(int id) {
  char path[MAX_PATH] = "";
  SHGetSpecialFolderPathA(nullptr, path, id, FALSE);
  return EnsureBackslash(path);
}

// What a shell link file holds, read through the shell's own link object.
struct LinkFields {
  bool loaded = false;
  std::string target, arguments, directory, iconFile, description;
  int iconIndex = -1;
};

LinkFields ReadLink(const std::string& path) {
  LinkFields fields;
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link))))
    return fields;
  std::wstring wide(path.begin(), path.end());
  if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
    if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ))) {
      char text[MAX_PATH];
      fields.loaded = true;
      if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH))) fields.target = text;
      if (SUCCEEDED(link->GetArguments(text, MAX_PATH))) fields.arguments = text;
      if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH))) fields.directory = text;
      if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &fields.iconIndex))) fields.iconFile = text;
      if (SUCCEEDED(link->GetDescription(text, MAX_PATH))) fields.description = text;
    }
    file->Release();
  }
  link->Release();
  return fields;
}

class GroupCommands : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { CoInitialize(nullptr); }
  void SetUp() override {
    folder = ScratchFolder("groups");
    tool = folder + "with blank\\tool.exe";
    CreateDirectoryA((folder + "with blank").c_str(), nullptr);
    CopyFileA("C:\\windows\\notepad.exe", tool.c_str(), FALSE);
  }
  // Runs the lines under [program] with %T% the tool's path and %K% the folder of kept links.
  void Run(TalvenProgram& program, std::initializer_list<const char*> lines, std::vector<std::string> answers = {}) {
    const std::string script = "SET %T% = \"" + tool + "\"\r\nSET %K% = \"" + folder + "keep\"\r\n" +
                               "TRAPERROR(1, 0)\r\n" + ScriptLines(lines) + "DUMPVARIABLES()\r\n";
    WriteFileBytes(folder + "G.QLS", script);
    ASSERT_TRUE(program.Run(folder + "G.QLS", "", std::move(answers)));
  }
  std::string folder, tool;
};

// Explorer windows that Program Manager's commands opened on group folders.
void CloseGroupWindows(const char* title) {
  for (HWND window : windriver::TopLevelWindows(0, nullptr, title)) PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace

TEST_F(GroupCommands, GroupsAreFoldersOfTheCommonProgramsFolderOnTheNtFamily) {
  TalvenProgram talven("TVGROUPS");
  SetVersionFor("TVGROUPS", "winxp");
  const std::string programs = SpecialFolder(CSIDL_COMMON_PROGRAMS);
  RemoveTreeForTest(programs + "Quill Tools");
  RemoveTreeForTest(folder + "keep");
  Run(talven, {"MAKEICON(\"Before\", %T%)",  // no group yet: nothing is made
               "MAKEGROUP(\"Quill Tools\")", "SET %E1% = %ERROR%", "MAKEGROUP(\"Quill Tools\")", "SET %E2% = %ERROR%",
               "MAKEGROUP(\" \")", "SET %E3% = %ERROR%", "DELETEGROUP(\"\")", "SET %E4% = %ERROR%",
               "MAKEGROUP(\"..\")", "DELETEGROUP(\"..\")", "SET %E5% = %ERROR%",
               // A name with a backslash is a path; the link kept there is read by lnkinfo later.
               "MAKEGROUP(%K%)", "SET %E6% = %ERROR%", "MAKEICON(\"Kept\", %T%, \"-k\", %T%, 1, \"C:\\windows\")",
               "MAKEGROUP(\"Quill Tools\")", "DELETEGROUP(\"Quill Tools\")", "SET %E7% = %ERROR%",
               "MAKEICON(\"After\", %T%)", "DELETEGROUP(\"Never Made\")", "SET %E8% = %ERROR%"});
  EXPECT_EQ(talven.DumpedVariable("E1"), "0");
  EXPECT_EQ(talven.DumpedVariable("E2"), "0");  // it existed: still the current group
  EXPECT_EQ(talven.DumpedVariable("E3"), "1");  // no name: the programs folder itself is never a group
  EXPECT_EQ(talven.DumpedVariable("E4"), "1");
  EXPECT_EQ(talven.DumpedVariable("E5"), "0");  // ".." is the folder "__" of the programs folder
  EXPECT_EQ(talven.DumpedVariable("E6"), "0");
  EXPECT_EQ(talven.DumpedVariable("E7"), "0");
  EXPECT_EQ(talven.DumpedVariable("E8"), "1");
  EXPECT_TRUE(Exists(programs)) << "the programs folder survives";
  EXPECT_FALSE(Exists(programs + "Quill Tools"));
  const std::string log = talven.Log();
  EXPECT_EQ(log.find("Before.LNK"), std::string::npos);
  EXPECT_EQ(log.find("After.LNK"), std::string::npos);
  EXPECT_NE(log.find("Shortcut '" + folder + "keep\\Kept.LNK' saved"), std::string::npos);  // lnkinfo reads it
}

TEST_F(GroupCommands, LinksInAGroupCarryEveryField) {
  TalvenProgram talven("TVICONS");
  SetVersionFor("TVICONS", "win2k");
  const std::string group = SpecialFolder(CSIDL_COMMON_PROGRAMS) + "Quill Icons\\";
  Run(talven, {"MAKEGROUP(\"Quill Icons\")",
               "MAKEICON(\"Editor\", %T%, \"/a b.txt\", \"C:\\windows\\notepad.exe\", 2, \"C:\\Program Files\")",
               "MAKEICON(\"..\\..\\x\", %T%)", "MAKEICON(\"Twice\", %T%)",
               "MAKEICON(\"Twice\", \"C:\\windows\\notepad.exe\")", "MAKEICON(\"Gone\", %T%)", "DELETEICON(\"Gone\")"});
  const LinkFields editor = ReadLink(group + "Editor.LNK");
  ASSERT_TRUE(editor.loaded);
  EXPECT_EQ(editor.target, tool);
  EXPECT_EQ(editor.arguments, "/a b.txt");
  EXPECT_EQ(editor.directory, "C:\\Program Files");
  EXPECT_EQ(editor.iconFile, "C:\\windows\\notepad.exe");
  EXPECT_EQ(editor.iconIndex, 2);
  EXPECT_EQ(editor.description, "Editor");
  // The title keeps its text as the description; the file name stays inside the group.
  EXPECT_EQ(ReadLink(group + "___.._x.LNK").description, "..\\..\\x");
  EXPECT_EQ(ReadLink(group + "Twice.LNK").target, "C:\\windows\\notepad.exe");  // replaced
  EXPECT_FALSE(Exists(group + "Gone.LNK"));
  RemoveTreeForTest(group.substr(0, group.size() - 1));
}

TEST_F(GroupCommands, ShortcutsFollowTheUserAndTheWindowsFamily) {
  const std::string common = SpecialFolder(CSIDL_COMMON_PROGRAMS);
  const std::string programs = SpecialFolder(CSIDL_PROGRAMS);
  const std::string desktop = SpecialFolder(CSIDL_DESKTOPDIRECTORY);
  const std::string profiles = desktop.substr(0, desktop.rfind('\\', desktop.size() - 2));  // C:\users\root
  const std::string users = profiles.substr(0, profiles.rfind('\\') + 1);                     // C:\users\ .
  CreateDirectoryA((common + "Tools").c_str(), nullptr);
  CreateDirectoryA((users + "qsbob").c_str(), nullptr);
  CreateDirectoryA((users + "qsbob\\Desktop").c_str(), nullptr);
  CreateDirectoryA((users + "All Users").c_str(), nullptr);
  CreateDirectoryA((users + "All Users\\Desktop").c_str(), nullptr);

  TalvenProgram nt("TVLINKNT");
  SetVersionFor("TVLINKNT", "winxp");
  Run(nt, {"MAKESHORTCUT(\"All Users\", \"Start Menu\\Programs\\Tools\", \"Common Tool\", %T%)",
           "MAKESHORTCUT(\"Current User\", \"Start Menu\\Programs\\Tools\", \"Own Tool\", %T%)",
           "MAKESHORTCUT(\"qsbob\", \"\", \"Bob Tool\", %T%, \"-b\")",
           "MAKESHORTCUT(\"All Users\", \"Desktop\", \"Shared Desk\", %T%)",
           "MAKESHORTCUT(\"Current User\", \"Elsewhere\", \"Nowhere\", %T%)"});
  EXPECT_TRUE(Exists(common + "Tools\\Common Tool.LNK"));
  EXPECT_TRUE(Exists(programs + "Own Tool.LNK"));  // only the special folder itself
  EXPECT_EQ(ReadLink(users + "qsbob\\Desktop\\Bob Tool.LNK").arguments, "-b");
  EXPECT_TRUE(Exists(SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "Shared Desk.LNK"));
  EXPECT_EQ(nt.Log().find("Nowhere.LNK"), std::string::npos);  // no such folder: no link, not even in the root
  EXPECT_FALSE(Exists("\\Nowhere.LNK"));

  // The Windows 95 family has no common folders: "All Users" is a profile folder like any user's.
  TalvenProgram w95("TVLINK95");
  SetVersionFor("TVLINK95", "win98");
  Run(w95, {"MAKESHORTCUT(\"All Users\", \"Desktop\", \"Family Desk\", %T%)",
            "DELETESHORTCUT(\"Current User\", \"Start Menu\\Programs\\Tools\", \"Own Tool\")",
            "DELETESHORTCUT(\"qsbob\", \"\", \"Bob Tool\")"});
  EXPECT_TRUE(Exists(users + "All Users\\Desktop\\Family Desk.LNK"));
  EXPECT_FALSE(Exists(SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "Family Desk.LNK"));
  EXPECT_FALSE(Exists(programs + "Own Tool.LNK"));
  EXPECT_FALSE(Exists(users + "qsbob\\Desktop\\Bob Tool.LNK"));

  DeleteFileA((common + "Tools\\Common Tool.LNK").c_str());
  DeleteFileA((SpecialFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "Shared Desk.LNK").c_str());
  RemoveTreeForTest(users + "qsbob");
  RemoveTreeForTest(users + "All Users");
}

TEST_F(GroupCommands, ProgramManagerMakesGroupsBelowWindows4) {
  TalvenProgram talven("TVDDE");
  SetVersionFor("TVDDE", "win31");
  const std::string group = SpecialFolder(CSIDL_PROGRAMS) + "Quill Dde\\";
  RemoveTreeForTest(group.substr(0, group.size() - 1));
  Run(talven, {"MAKEGROUP(\"Quill Dde\")", "SET %E1% = %ERROR%", "MAKEICON(\"Plain\", %T%)",
               "MAKEICON(\"Icon\", %T%, \"\", %T%, 1)", "MAKEICON(\"..\\..\\x\", %T%)",
               "MAKEICON(\"Full\", %T%, \"-f\", %T%, 3, \"C:\\Program Files\")", "DELETEICON(\"Icon\")",
               "SHOWGROUP(\"Quill Dde\", 2)", "RELOAD()", "RELOAD(\"Quill Dde\")", "RELOAD(5)", "SET %E2% = %ERROR%",
               "SHOWGROUP(\"Quill Dde\", %E1%)", "SET %E3% = %ERROR%",
               "MAKESHORTCUT(\"Current User\", \"Desktop\", \"Old Shell\", %T%)"});
  CloseGroupWindows("Quill Dde");
  EXPECT_EQ(talven.DumpedVariable("E1"), "0");
  EXPECT_EQ(talven.DumpedVariable("E2"), "2");   // 10001
  EXPECT_EQ(talven.DumpedVariable("E3"), "21");  // 10020: the state must be a number literal
  const std::string log = talven.Log();
  const std::string quoted = "\"" + tool + "\"";
  const std::vector<std::string> sent = {std::string("DDE: '[CreateGroup(\"Quill Dde\")]' - Ok"), std::string("DDE: '[ShowGroup(\"Quill Dde\",1)]' - Ok"),
        "DDE: '[DeleteItem(\"Plain\")]' - ", "DDE: '[AddItem(" + quoted + ",\"Plain\")]' - Ok",
        "DDE: '[AddItem(" + quoted + ",\"Icon\"," + quoted + ",1)]' - Ok",
        "DDE: '[AddItem(" + quoted + ",\"___.._x\")]' - Ok",
        "DDE: '[AddItem(" + quoted + " -f,\"Full\"," + quoted + ",3,-1,-1,\"C:\\Program Files\")]' - ",
        std::string("DDE: '[DeleteItem(\"Icon\")]' - Ok"), std::string("DDE: '[ShowGroup(\"Quill Dde\",2)]' - Ok"),
        std::string("DDE: '[Reload()]' - "), std::string("DDE: '[Reload(\"Quill Dde\")]' - ")};
  for (const std::string& text : sent) EXPECT_NE(log.find(text), std::string::npos) << text;
  // What Program Manager made of it: the group folder with its links, nothing outside it.
  EXPECT_EQ(ReadLink(group + "Plain.lnk").target, tool);
  EXPECT_TRUE(Exists(group + "___.._x.lnk"));
  EXPECT_FALSE(Exists(group + "Icon.lnk"));
  EXPECT_FALSE(Exists(SpecialFolder(CSIDL_STARTMENU) + "x.lnk"));
  EXPECT_FALSE(Exists(SpecialFolder(CSIDL_DESKTOPDIRECTORY) + "Old Shell.LNK"));

  Run(talven, {"SET %ERROR% = 7", "DELETEGROUP(\"Quill Dde\")", "SET %E4% = %ERROR%"});
  EXPECT_EQ(talven.DumpedVariable("E4"), "7") << "below 4.00 DELETEGROUP( leaves ERROR alone";
  EXPECT_NE(talven.Log().find("DDE: '[DeleteGroup(\"Quill Dde\")]' - Ok"), std::string::npos);
  EXPECT_FALSE(Exists(group));
}
