// The copy engine on real files under Wine: expansion of files compressed by an independent
// tool, the three COPYFILE forms, names and directory targets, append and move, dates, free
// space on a real 1 MB volume, the gauge's two modes, and CONFIRMOVERWRITE('s decisions
// with real version resources, dates, read-only and locked files.
#include <gtest/gtest.h>

#include "commands/copy_engine_win32.h"
#include "tests/wine/installer_test_support.h"
#include "tests/support/win_driver.h"
#include "tests/wine/talven_harness.h"

namespace {

std::string Folder(const std::string& name) {
  const std::string folder = ScratchFolder("copy_" + name);
  DeleteMatching(folder + "*");
  return folder;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

std::string Samples() { return BinFolder() + "lz_samples\\"; }

}  // namespace

TEST(CopyExpansion, FilesCompressedByAnotherToolExpandByteForByte) {
  InProcessRun run;
  const std::string out = Folder("expand");
  for (const char* name : {"EMPTY.BIN", "K1024.BIN", "RANDOM.BIN", "TEXT.TXT"}) {
    const std::string original = ReadFileBytes(Samples() + name);
    const std::string compressed = ReadFileBytes(Samples() + name + "_");
    ASSERT_FALSE(compressed.empty()) << name;
    ASSERT_NE(original, compressed);
    ASSERT_EQ(run.Line("COPYFILE(" + Quoted(Samples() + name + "_") + ", " + Quoted(out + name) + ")"), 0) << name;
    EXPECT_EQ(ReadFileBytes(out + name), original) << name;
    // Expand 0 takes the compressed bytes as they are; a plain file passes expansion unchanged.
    ASSERT_EQ(run.Line("COPYFILE(" + Quoted(Samples() + name + "_") + ", " + Quoted(out + "RAW.BI_") + ", 0)"), 0);
    EXPECT_EQ(ReadFileBytes(out + "RAW.BI_"), compressed) << name;
    ASSERT_EQ(run.Line("COPYFILE(" + Quoted(Samples() + name) + ", " + Quoted(out + "PLAIN.BIN") + ")"), 0);
    EXPECT_EQ(ReadFileBytes(out + "PLAIN.BIN"), original) << name;
  }
  EXPECT_EQ(run.Var("ERROR"), "0");
  EXPECT_NE(run.Log().find("Opening with LZ32.DLL\r\n  File Length: 70001 bytes, 69K bytes, target Space ("),
            std::string::npos);
  EXPECT_NE(run.Log().find("Standard Open\r\n"), std::string::npos);
}

TEST(CopyExpansion, ACompressedFileCutShortIsAReadFailure) {
  InProcessRun run;
  const std::string out = Folder("cut");
  const std::string compressed = ReadFileBytes(Samples() + "RANDOM.BIN_");
  WriteFileBytes(out + "CUT.BI_", compressed.substr(0, compressed.size() / 2));
  EXPECT_EQ(run.Line("COPYFILE(\"" + out + "CUT.BI_\", \"" + out + "CUT.BIN\")"), ERR_READ_FAILURE);
  EXPECT_NE(run.Log().find("  File Length: 70001 bytes"), std::string::npos);  // as the header promised
  EXPECT_NE(run.Log().find("  FCopyFile returning: '6'"), std::string::npos);
  EXPECT_FALSE(FileExists(out + "CUT.BIN"));  // nothing half written stays (copy_failure_test.cpp)
}

TEST(CopyExpansion, UncompressExpandsOneFileAndMayDeleteItsSource) {
  InProcessRun run;
  const std::string out = Folder("uncompress");
  CopyFileA((Samples() + "TEXT.TXT_").c_str(), (out + "TEXT.TX_").c_str(), FALSE);
  ASSERT_EQ(run.Line("UNCOMPRESS(" + Quoted(out + "TEXT.TX_") + ", " + Quoted(out + "TEXT.TXT") + ", 1)"), 0);
  EXPECT_EQ(ReadFileBytes(out + "TEXT.TXT"), ReadFileBytes(Samples() + "TEXT.TXT"));
  EXPECT_FALSE(FileExists(out + "TEXT.TX_"));
  EXPECT_EQ(run.Line("UNCOMPRESS(" + Quoted(out + "GONE.TX_") + ", " + Quoted(out + "GONE.TXT") + ")"),
            ERR_SOURCE_NOT_FOUND);
  EXPECT_EQ(run.Line("UNCOMPRESS(" + Quoted(out + "A") + ", " + Quoted(out + "B") + ", %X%)"),
            ERR_INVALID_NUMERIC_PARAMETER);
}

TEST(CopyTargets, WildcardsIntoADirectorySkipDotNamesAndFolders) {
  InProcessRun run;
  const std::string src = Folder("wild_src");
  const std::string dst = Folder("wild_dst");
  for (const char* name : {"ONE.TXT", "TWO.TXT", "THREE.TXT", ".HIDDEN.TXT", "OTHER.DAT"})
    WriteFileBytes(src + name, name);
  CreateDirectoryA((src + "SUB.TXT").c_str(), nullptr);
  std::string target = dst.substr(0, dst.size() - 1);  // no dot, no backslash: a directory
  ASSERT_EQ(target.find('.'), std::string::npos);
  ASSERT_EQ(run.Line("COPYFILE(" + Quoted(src + "*.TXT") + ", " + Quoted(target) + ")"), 0);
  for (const char* name : {"ONE.TXT", "TWO.TXT", "THREE.TXT"}) EXPECT_EQ(ReadFileBytes(dst + name), name);
  EXPECT_FALSE(FileExists(dst + ".HIDDEN.TXT"));
  EXPECT_FALSE(FileExists(dst + "OTHER.DAT"));
  EXPECT_FALSE(FileExists(dst + "SUB.TXT"));
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(src + "*.NONE") + ", " + Quoted(target) + ")"), ERR_SOURCE_NOT_FOUND);
}

TEST(CopyTargets, MissingDirectorySameFileAndLockedTarget) {
  InProcessRun run;
  const std::string dir = Folder("targets");
  WriteFileBytes(dir + "A.TXT", "content");
  SetWriteTime(dir + "A.TXT", 2003, 4, 5, 6, 7, 8);
  run.ip.variables.SetVariable("ERROR", "untouched");
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "A.TXT") + ", " + Quoted(dir + "NOWHERE\\DEEPER") + ")"),
            ERR_INVALID_TARGET_NAME);
  EXPECT_NE(run.Log().find("ValidateName 2: '" + dir + "NOWHERE\\DEEPER\\A.TXT'\r\nValidateName returning: 5'"),
            std::string::npos);
  // The same file named in another case: nothing is touched.
  std::string lower = dir + "a.txt";
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "A.TXT") + ", " + Quoted(lower) + ")"), ERR_SAME_SOURCE_AND_TARGET);
  EXPECT_EQ(ReadFileBytes(dir + "A.TXT"), "content");
  EXPECT_EQ(WriteTime(dir + "A.TXT").wSecond, 8);
  EXPECT_EQ(run.Var("ERROR"), "untouched");
  // A target that another program holds open without sharing cannot be resolved.
  WriteFileBytes(dir + "HELD.TXT", "held");
  HANDLE held = CreateFileA((dir + "HELD.TXT").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "A.TXT") + ", " + Quoted(dir + "HELD.TXT") + ")"),
            ERR_INVALID_TARGET_NAME);
  CloseHandle(held);
  EXPECT_EQ(ReadFileBytes(dir + "HELD.TXT"), "held");
}

TEST(CopyContent, BlockEdgesDatesAttributesAppendAndMove) {
  InProcessRun run;
  const std::string dir = Folder("content");
  const std::string k1024(1024, 'k'), k1025 = std::string(1024, 'x') + "y";
  WriteFileBytes(dir + "K1024.BIN", k1024);
  WriteFileBytes(dir + "K1025.BIN", k1025);
  WriteFileBytes(dir + "EMPTY.BIN", "");
  ASSERT_TRUE(SetWriteTime(dir + "K1024.BIN", 2001, 5, 6, 7, 8, 9));
  for (const char* name : {"K1024.BIN", "K1025.BIN", "EMPTY.BIN"})
    ASSERT_EQ(run.Line("COPYFILE(" + Quoted(dir + name) + ", " + Quoted(dir + "COPY_" + name) + ", 0)"), 0) << name;
  EXPECT_EQ(ReadFileBytes(dir + "COPY_K1024.BIN"), k1024);
  EXPECT_EQ(ReadFileBytes(dir + "COPY_K1025.BIN"), k1025);
  EXPECT_TRUE(FileExists(dir + "COPY_EMPTY.BIN"));
  EXPECT_EQ(ReadFileBytes(dir + "COPY_EMPTY.BIN"), "");
  const SYSTEMTIME copied = WriteTime(dir + "COPY_K1024.BIN");  // through the two-second MS-DOS form
  EXPECT_EQ(copied.wYear, 2001);
  EXPECT_EQ(copied.wMonth, 5);
  EXPECT_EQ(copied.wMinute, 8);
  EXPECT_EQ(copied.wSecond, 8);
  EXPECT_NE(run.Log().find("  File Length: 1024 bytes, 1K bytes"), std::string::npos);
  EXPECT_NE(run.Log().find("  File Length: 1025 bytes, 2K bytes"), std::string::npos);

  // A read-only target is replaced and left with normal attributes.
  WriteFileBytes(dir + "RO.BIN", "old");
  SetFileAttributesA((dir + "RO.BIN").c_str(), FILE_ATTRIBUTE_READONLY);
  ASSERT_EQ(run.Line("COPYFILE(" + Quoted(dir + "K1025.BIN") + ", " + Quoted(dir + "RO.BIN") + ")"), 0);
  EXPECT_EQ(ReadFileBytes(dir + "RO.BIN"), k1025);
  EXPECT_EQ(GetFileAttributesA((dir + "RO.BIN").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);

  // Append adds to the end, and takes a compressed file as it is even with expand 1.
  WriteFileBytes(dir + "LOG.TXT", "abc");
  WriteFileBytes(dir + "MORE.TXT", "def");
  ASSERT_EQ(run.Line("COPYFILE(" + Quoted(dir + "MORE.TXT") + ", " + Quoted(dir + "LOG.TXT") + ", 0, 1)"), 0);
  EXPECT_EQ(ReadFileBytes(dir + "LOG.TXT"), "abcdef");
  CopyFileA((Samples() + "K1024.BIN_").c_str(), (dir + "PACKED.BI_").c_str(), FALSE);
  ASSERT_EQ(run.Line("COPYFILE(" + Quoted(dir + "PACKED.BI_") + ", " + Quoted(dir + "LOG.TXT") + ", 1, 1)"), 0);
  EXPECT_EQ(ReadFileBytes(dir + "LOG.TXT"), "abcdef" + ReadFileBytes(Samples() + "K1024.BIN_"));

  // Move deletes each source once it is copied.
  ASSERT_EQ(run.Line("COPYFILE(" + Quoted(dir + "MORE.TXT") + ", " + Quoted(dir + "MOVED.TXT") + ", 1, 0, 1)"), 0);
  EXPECT_FALSE(FileExists(dir + "MORE.TXT"));
  EXPECT_EQ(ReadFileBytes(dir + "MOVED.TXT"), "def");
}

TEST(CopySpace, ARealSmallVolumeRefusesOneKilobyteTooMany) {
  ULARGE_INTEGER available{}, total{}, freeBytes{};
  if (!GetDiskFreeSpaceExA("S:\\", &available, &total, &freeBytes) || total.QuadPart > 4u << 20)
    GTEST_SKIP() << "drive S: is not the small volume the test session mounts (run as root)";
  DeleteMatching("S:\\*");
  InProcessRun run;
  const std::string dir = Folder("space");
  DWORD sectors = 0, bytes = 0, clusters = 0, all = 0;
  ASSERT_TRUE(GetDiskFreeSpaceA("S:\\", &sectors, &bytes, &clusters, &all));
  const size_t freeKb = size_t{sectors} * bytes * clusters / 1024;
  ASSERT_GT(freeKb, 16u);
  WriteFileBytes(dir + "FITS.BIN", std::string(freeKb * 1024, 'f'));
  WriteFileBytes(dir + "OVER.BIN", std::string(freeKb * 1024 + 1, 'o'));
  EXPECT_EQ(run.Line("COPYFILE(\"" + dir + "OVER.BIN\", \"S:\\OVER.BIN\", 0)"), ERR_NO_SPACE_ON_TARGET);
  EXPECT_NE(run.Log().find("K bytes - not enough!\r\n  FCopyFile returning: '3'"), std::string::npos);
  DeleteMatching("S:\\*");
  ASSERT_EQ(run.Line("COPYFILE(\"" + dir + "FITS.BIN\", \"S:\\FITS.BIN\", 0)"), 0);  // the exact fit
  EXPECT_EQ(ReadFileBytes("S:\\FITS.BIN").size(), freeKb * 1024);
  // The existing target's space counts as free: the same copy fits again (over it in place).
  ASSERT_EQ(run.Line("COPYFILE(\"" + dir + "FITS.BIN\", \"S:\\FITS.BIN\", 0)"), 0);
  DeleteMatching("S:\\*");
}

TEST(CopyGauge, ByteModeFileModeAndTheLinesOfACopyList) {
  InProcessRun run;
  const std::string dir = Folder("gauge");
  const std::string big(100 * 1024 + 7, 'b');
  WriteFileBytes(dir + "BIG.BIN", big);
  WriteFileBytes(dir + "SMALL.BIN", "s");
  run.platform.SetBusyCursor(true);
  ASSERT_EQ(run.Line("COPYFILE(1)"), 0);
  ASSERT_TRUE(run.windows.CopyGaugeOpen());
  EXPECT_FALSE(run.windows.BusyCursor());
  HWND gauge = run.windows.CopyGaugeHandle();
  EXPECT_EQ(windriver::WindowTextA(gauge), "Setup");
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 208)), "Source File");
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 209)), "Destination File");
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 2)), "&Cancel");
  // Byte mode: the maximum becomes the file's length and the bar ends full.
  ASSERT_EQ(run.Line("\"" + dir + "BIG.BIN\", \"" + dir + "BIG.OUT\", \"Copying the big one\""), 0);
  EXPECT_EQ(run.windows.Bar().Maximum(), static_cast<int32_t>(big.size()));
  EXPECT_EQ(run.windows.Bar().Position(), static_cast<int32_t>(big.size()));
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 207)), "Copying the big one");
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 205)), dir + "BIG.BIN");
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 206)), dir + "BIG.OUT");
  // File mode: one step per file; an empty description leaves the status line alone.
  ASSERT_EQ(run.Line("COPYFILE(3)"), 0);
  EXPECT_EQ(run.windows.Bar().Position(), 3);  // pulled down to the smaller total
  run.ip.variables.SetVariable("BACK", "-3");
  ASSERT_EQ(run.Line("UPDATEGAUGE(%BACK%)"), 0);
  for (int i = 1; i <= 4; ++i) {
    ASSERT_EQ(run.Line("\"" + dir + "SMALL.BIN\", \"" + dir + "S" + std::to_string(i) + ".OUT\", \"\""), 0);
    EXPECT_EQ(run.windows.Bar().Position(), i < 3 ? i : 3);
  }
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 207)), "Copying the big one");
  ASSERT_EQ(run.Line("SETGAUGETEXT(\"\", \"C:\\ONLY.TXT\", \"\")"), 0);
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 205)), "C:\\ONLY.TXT");
  EXPECT_EQ(windriver::WindowTextA(GetDlgItem(gauge, 206)), dir + "S4.OUT");
  EXPECT_EQ(run.Line("SETGAUGETEXT(\"\", 5, \"\")"), ERR_INVALID_STRING_PARAMETER);
  EXPECT_EQ(run.Line("UPDATEGAUGE(\"x\")"), ERR_INVALID_NUMERIC_PARAMETER);
  ASSERT_EQ(run.Line("UPDATEGAUGE(100)"), 0);
  EXPECT_EQ(run.windows.Bar().Position(), 3);
  ASSERT_EQ(run.Line("ENDCOPYFILE()"), 0);
  EXPECT_FALSE(run.windows.CopyGaugeOpen());
  EXPECT_TRUE(run.windows.BusyCursor());
  EXPECT_EQ(run.Line("UPDATEGAUGE(\"x\")"), 0);  // no gauge: the parameter is not even read
  EXPECT_EQ(run.Line("SETGAUGETEXT(\"a\", \"b\", \"c\")"), 0);
}

TEST(CopyGauge, ACopyStopsUsingAGaugeThatWasClosed) {
  InProcessRun run;
  run.windows.OpenCopyGauge(10);
  CopyGaugeLink link(run.windows);
  ASSERT_TRUE(link.Alive());
  run.windows.CloseCopyGauge();
  EXPECT_FALSE(link.Alive());
  run.windows.OpenCopyGauge(10);  // a new gauge is not the one the copy held
  EXPECT_FALSE(link.Alive());
  link.SetPosition(5);
  EXPECT_EQ(run.windows.Bar().Position(), 0);
  const std::string dir = Folder("link");
  WriteFileBytes(dir + "A.BIN", std::string(5000, 'a'));
  EXPECT_EQ(FCopyFile(run.log, dir + "A.BIN", dir + "B.BIN", 0, &link, false, false), COPY_DONE);
  EXPECT_EQ(run.windows.Bar().Position(), 0);
}

TEST(BackupNames, NumberedAfterTheFilesThatExist) {
  InProcessRun run;
  const std::string dir = Folder("backup");
  WriteFileBytes(dir + "MAIN.INI", "x");
  ASSERT_EQ(run.Line("GETBACKUPNAME(\"" + dir + "MAIN.INI\", %B%)"), 0);
  EXPECT_EQ(run.Var("B"), dir + "MAIN.001");
  WriteFileBytes(dir + "MAIN.001", "x");
  ASSERT_EQ(run.Line("GETBACKUPNAME(\"" + dir + "MAIN.INI\", %B%)"), 0);
  EXPECT_EQ(run.Var("B"), dir + "MAIN.002");
  EXPECT_EQ(run.Line("GETBACKUPNAME(\"" + dir + "MAIN.INI\", \"B\")"), ERR_INVALID_VARIABLE_NAME);
}

namespace {

std::string Confirm(InProcessRun& run, const std::string& existing, const std::string& newer, int mode) {
  run.ip.variables.SetVariable("ERROR", "");
  EXPECT_EQ(run.Line("CONFIRMOVERWRITE(\"" + existing + "\", \"" + newer + "\", \"\", " + std::to_string(mode) + ")"), 0);
  return run.Var("ERROR");
}

}  // namespace

TEST(ConfirmOverwrite, VersionResourcesDecideWhenBothHaveOne) {
  InProcessRun run;
  BoxWatch boxes(L"&No");
  const std::string dir = Folder("versions");
  CopyFileA((BinFolder() + "VERV1.DLL").c_str(), (dir + "OLD1.DLL").c_str(), FALSE);
  CopyFileA((BinFolder() + "VERV1.DLL").c_str(), (dir + "NEW1.DLL").c_str(), FALSE);
  CopyFileA((BinFolder() + "VERV2.DLL").c_str(), (dir + "NEW2.DLL").c_str(), FALSE);
  SetWriteTime(dir + "OLD1.DLL", 2010, 1, 1, 0, 0, 0);
  SetWriteTime(dir + "NEW1.DLL", 2020, 1, 1, 0, 0, 0);  // newer by date, same by version
  EXPECT_EQ(Confirm(run, dir + "OLD1.DLL", dir + "NEW1.DLL", 1), "7");
  EXPECT_EQ(Confirm(run, dir + "OLD1.DLL", dir + "NEW2.DLL", 1), "6");
  EXPECT_EQ(Confirm(run, dir + "OLD1.DLL", dir + "NEW2.DLL", 2), "6");
  EXPECT_EQ(Confirm(run, dir + "NEW2.DLL", dir + "OLD1.DLL", 2), "7");  // older: never in mode 2
  EXPECT_TRUE(boxes.Texts().empty());
  EXPECT_EQ(Confirm(run, dir + "NEW2.DLL", dir + "OLD1.DLL", 1), "7");  // older in mode 1: asked, answered No
  ASSERT_EQ(boxes.Texts().size(), 1u);
  EXPECT_NE(run.Log().find("Checking File Version: " + dir + "NEW2.DLL\r\n131072  0\r\n2.0.0.0\r\n"), std::string::npos);
}

TEST(ConfirmOverwrite, DatesReadOnlyLockedAndMissingFiles) {
  InProcessRun run;
  BoxWatch boxes(L"&No");
  const std::string dir = Folder("dates");
  WriteFileBytes(dir + "OLD.TXT", "old");
  WriteFileBytes(dir + "NEW.TXT", "new");
  WriteFileBytes(dir + "TWIN.TXT", "twin");
  SetWriteTime(dir + "OLD.TXT", 1999, 1, 1, 12, 0, 0);
  SetWriteTime(dir + "NEW.TXT", 2005, 6, 1, 12, 0, 0);
  SetWriteTime(dir + "TWIN.TXT", 1999, 1, 1, 12, 0, 0);
  EXPECT_EQ(Confirm(run, dir + "OLD.TXT", dir + "NEW.TXT", 1), "6");
  EXPECT_EQ(Confirm(run, dir + "OLD.TXT", dir + "TWIN.TXT", 0), "7");
  EXPECT_EQ(Confirm(run, dir + "NEW.TXT", dir + "OLD.TXT", 2), "7");
  EXPECT_EQ(Confirm(run, dir + "MISSING.TXT", dir + "NEW.TXT", 2), "6");
  EXPECT_EQ(Confirm(run, dir + "OLD.TXT", dir + "MISSING.TXT", 2), "6");
  EXPECT_NE(run.Log().find(dir + "MISSING.TXT - not found\r\n"), std::string::npos);
  SetFileAttributesA((dir + "OLD.TXT").c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(Confirm(run, dir + "OLD.TXT", dir + "NEW.TXT", 0), "7");  // read-only: not even asked
  SetFileAttributesA((dir + "OLD.TXT").c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE held = CreateFileA((dir + "OLD.TXT").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(Confirm(run, dir + "OLD.TXT", dir + "NEW.TXT", 1), "7");  // in use
  CloseHandle(held);
  EXPECT_TRUE(boxes.Texts().empty()) << boxes.Texts().front();
  EXPECT_NE(run.Log().find("File is read only or already open - cannot overwrite\r\n"), std::string::npos);
  EXPECT_EQ(run.Line("CONFIRMOVERWRITE(\"a\", \"b\", \"\", %MODE%)"), ERR_INVALID_NUMERIC_PARAMETER);
}
