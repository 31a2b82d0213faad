// The de-install script's rules: what an earlier file hands on, which lines are not added
// twice, and the text the file is written as.
#include <gtest/gtest.h>

#include "commands/deinstall_script.h"
#include "engine/errors.h"
#include "tests/native/script_harness.h"

namespace {

// A file as an earlier installation wrote it, with a line in every section.
const std::string kEarlier =
    "// Script file for de-installing:\r\n// Old\r\n// Do NOT delete or modify.\r\n"
    "\r\n//$STARTUP$\r\nSET %APPLICATION% = \"Old\"\r\n"
    "\r\n//$PREDEINSTALL$\r\npre\r\n"
    "\r\n//$UNPROTECT$\r\n   SETFILEATTR(\"C:\\P\\A.EXE\", 0, 0, 0, 0)   \r\n"
    "\r\n//$OLEUNREGISTER$\r\nole\r\n"
    "\r\n//$FILES$\r\nDELETE(\"C:\\P\\A.EXE\")\r\n\r\n   \r\nDELETE(\"C:\\P\\B.DLL\")\r\n"
    "\r\n//$PMGROUP$\r\nDELETEGROUP(\"Old\")\r\n"
    "\r\n//$USERSCRIPT$\r\nuser\r\n"
    "\r\n//$DIRECTORIES$\r\nRMDIR(\"C:\\P\")\r\n"
    "\r\n//$CLEANUP$\r\ncleanup";

std::vector<std::string> V(std::initializer_list<const char*> lines) { return {lines.begin(), lines.end()}; }

}  // namespace

TEST(DeinstallScript, AnEarlierFileHandsOnItsUnprotectOleFilesAndGroupSections) {
  DeinstallScript script;
  script.Load(kEarlier);
  EXPECT_EQ(script.Lines(SECTION_UNPROTECT), V({"SETFILEATTR(\"C:\\P\\A.EXE\", 0, 0, 0, 0)"}));
  EXPECT_EQ(script.Lines(SECTION_OLEUNREGISTER), V({"ole"}));
  EXPECT_EQ(script.Lines(SECTION_FILES), V({"DELETE(\"C:\\P\\A.EXE\")", "DELETE(\"C:\\P\\B.DLL\")"}));
  EXPECT_EQ(script.Lines(SECTION_PMGROUP), V({"DELETEGROUP(\"Old\")"}));
  for (int dropped : {SECTION_STARTUP, SECTION_PREDEINSTALL, SECTION_USERSCRIPT, SECTION_DIRECTORIES, SECTION_CLEANUP})
    EXPECT_TRUE(script.Lines(dropped).empty()) << dropped;

  // A marker counts anywhere in a line and only in its exact case; the first in file order wins.
  script.Load("x $files$\r\nlost\r\n// $PMGROUP$ and $FILES$\r\nkept\r\nA\nB\r\n");
  EXPECT_TRUE(script.Lines(SECTION_PMGROUP).empty());
  EXPECT_EQ(script.Lines(SECTION_FILES), V({"kept", "A\nB"}));
}

TEST(DeinstallScript, LinesThatASectionBeginsWithAreNotAddedTwiceExceptWhereRepeatsBelong) {
  DeinstallScript script;
  script.Load(kEarlier);
  EXPECT_EQ(script.Add("$FILES$", "  delete(\"c:\\p\\a.exe\") "), 0);  // another case: already there
  EXPECT_EQ(script.Add("$files$", "DELETE(\"C:\\P\\C.EXE\")"), 0);
  EXPECT_EQ(script.Add("$FILES$ of the viewer", "DELETE(\"C:\\P\\B"), 0);  // a line begins with it
  EXPECT_EQ(script.Lines(SECTION_FILES),
            V({"DELETE(\"C:\\P\\A.EXE\")", "DELETE(\"C:\\P\\B.DLL\")", "DELETE(\"C:\\P\\C.EXE\")"}));

  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(script.Add("$USERSCRIPT$", "REGDELETESETTING(3, \"SOFTWARE\\Old\", \"\")"), 0);
    EXPECT_EQ(script.Add("  $startup$", "SET %A% = 1"), 0);
    EXPECT_EQ(script.Add("$DIRECTORIES$", "RMDIR(\"C:\\P\")"), 0);
  }
  EXPECT_EQ(script.Lines(SECTION_USERSCRIPT).size(), 2u);
  EXPECT_EQ(script.Lines(SECTION_STARTUP).size(), 2u);
  EXPECT_EQ(script.Lines(SECTION_DIRECTORIES).size(), 1u);

  EXPECT_EQ(script.Add("$FILE$", "x"), ERR_INVALID_DEINSTALL_SECTION);
  EXPECT_EQ(script.Add("FILES", "x"), ERR_INVALID_DEINSTALL_SECTION);
}

TEST(DeinstallScript, IsWrittenAsHeaderMarkersAndLinesThatReadBackTheSame) {
  ScriptRun run;
  DeinstallScript script;
  script.Add("$FILES$", "DELETE(\"C:\\P\\A.EXE\")");
  script.Add("$CLEANUP$", "last");
  run.ip.variables.SetVariable("APPLICATION", "Lumivane 1.0");
  EXPECT_EQ(script.Render(run.ip),
            "// Script file for de-installing:\r\n// Lumivane 1.0\r\n// Do NOT delete or modify.\r\n"
            "\r\n//$STARTUP$\r\n\r\n//$PREDEINSTALL$\r\n\r\n//$UNPROTECT$\r\n\r\n//$OLEUNREGISTER$\r\n"
            "\r\n//$FILES$\r\nDELETE(\"C:\\P\\A.EXE\")\r\n\r\n//$PMGROUP$\r\n\r\n//$USERSCRIPT$\r\n"
            "\r\n//$DIRECTORIES$\r\n\r\n//$CLEANUP$\r\nlast\r\n");

  // Without the variable the environment's APPLICATION fills the header, or nothing.
  run.ip.variables.SetVariable("APPLICATION", "");
  run.platform.environment["APPLICATION"] = "From the environment";
  EXPECT_NE(script.Render(run.ip).find("// From the environment\r\n"), std::string::npos);
  run.platform.environment.clear();
  EXPECT_EQ(script.Render(run.ip).substr(0, 40), "// Script file for de-installing:\r\n// \r\n");

  script.Load(kEarlier);
  const DeinstallText text = ReadDeinstallText(script.Render(run.ip));
  EXPECT_EQ(text.preamble, V({"// Script file for de-installing:", "//", "// Do NOT delete or modify."}));
  for (int i = 0; i < kDeinstallSectionCount; ++i) EXPECT_EQ(text.sections[static_cast<size_t>(i)], script.Lines(i));
}

TEST(DeinstallScript, LongLinesAreReadInPiecesOf65535Bytes) {
  const std::string longLine(70000, 'x');
  const DeinstallText text = ReadDeinstallText("//$FILES$\r\n" + longLine + "\r\nnext");
  EXPECT_EQ(text.sections[SECTION_FILES], V({std::string(65535, 'x').c_str(), std::string(4465, 'x').c_str(), "next"}));
}
