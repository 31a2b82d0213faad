// Copies that fail, on real files under Wine: a source cut short, a target that cannot be
// replaced (immutable, or held open by another program), and a real 1 MB volume too small to
// hold the new file beside the old one. Whatever fails, the file that was there stays as it was,
// and a failed copy to a new name leaves nothing.
#include <gtest/gtest.h>

#include "commands/copy_engine_win32.h"
#include "tests/support/win_driver.h"
#include "tests/wine/installer_test_support.h"
#include "tests/wine/talven_harness.h"

namespace {

std::string Folder(const std::string& name) {
  const std::string folder = ScratchFolder("copyfail_" + name);
  DeleteMatching(folder + "*");
  return folder;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// An LZ-compressed file whose header promises [length] bytes and that holds nothing more: what
// a medium cut short after the header gives.
std::string HeaderOnly(uint32_t length) {
  std::string header("SZDD\x88\xF0\x27\x33" "A\0", 10);
  for (int i = 0; i < 4; ++i) header += static_cast<char>(length >> (8 * i));
  return header;
}

// What a file is, as far as a copy could change it.
struct FileState {
  std::string bytes;
  DWORD attributes = 0;
  FILETIME written{};
  bool operator==(const FileState& other) const {
    return bytes == other.bytes && attributes == other.attributes &&
           CompareFileTime(&written, &other.written) == 0;
  }
};

FileState StateOf(const std::string& path) {
  FileState state;
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return state;
  state.bytes = ReadFileBytes(path);
  state.attributes = data.dwFileAttributes;
  state.written = data.ftLastWriteTime;
  return state;
}

// Work files that a copy left in [folder] (they begin with "QS" and end in ".TMP").
std::vector<std::string> Leftovers(const std::string& folder) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "QS*.TMP").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return names;
  do names.push_back(found.cFileName);
  while (FindNextFileA(search, &found));
  FindClose(search);
  return names;
}

bool SmallVolumeMounted() {
  ULARGE_INTEGER available{}, total{}, freeBytes{};
  return GetDiskFreeSpaceExA("S:\\", &available, &total, &freeBytes) && total.QuadPart <= 4u << 20;
}

uint64_t FreeBytesOfS() {
  ULARGE_INTEGER available{}, total{}, freeBytes{};
  GetDiskFreeSpaceExA("S:\\", &available, &total, &freeBytes);
  return freeBytes.QuadPart;
}

}  // namespace

TEST(CopyFailure, ASourceCutShortLeavesTheTargetAsItWasAndANewNameEmpty) {
  InProcessRun run;
  const std::string dir = Folder("cut");
  const std::string compressed = ReadFileBytes(BinFolder() + "lz_samples\\RANDOM.BIN_");
  WriteFileBytes(dir + "CUT.BI_", compressed.substr(0, compressed.size() / 2));
  WriteFileBytes(dir + "HEADER.BI_", HeaderOnly(360000));
  WriteFileBytes(dir + "GOOD.BIN", std::string(360000, 'g'));
  SetWriteTime(dir + "GOOD.BIN", 2003, 4, 5, 6, 7, 8);
  SetFileAttributesA((dir + "GOOD.BIN").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
  const FileState good = StateOf(dir + "GOOD.BIN");

  for (const char* source : {"CUT.BI_", "HEADER.BI_"}) {
    EXPECT_EQ(run.Line("UNCOMPRESS(" + Quoted(dir + source) + ", " + Quoted(dir + "GOOD.BIN") + ")"), ERR_READ_FAILURE);
    EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + source) + ", " + Quoted(dir + "GOOD.BIN") + ")"), ERR_READ_FAILURE);
    EXPECT_TRUE(StateOf(dir + "GOOD.BIN") == good) << source;
    EXPECT_EQ(run.Line("UNCOMPRESS(" + Quoted(dir + source) + ", " + Quoted(dir + "NEW1.BIN") + ")"), ERR_READ_FAILURE);
    EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + source) + ", " + Quoted(dir + "NEW2.BIN") + ")"), ERR_READ_FAILURE);
    EXPECT_FALSE(FileExists(dir + "NEW1.BIN")) << source;
    EXPECT_FALSE(FileExists(dir + "NEW2.BIN")) << source;  // nor the empty file that resolving the name made
  }
  EXPECT_TRUE(Leftovers(dir).empty());
  SetFileAttributesA((dir + "GOOD.BIN").c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(CopyFailure, ATargetThatCannotBeReplacedStaysAsItWas) {
  InProcessRun run;
  const std::string dir = Folder("locked");
  WriteFileBytes(dir + "NEW.TXT", "new content");
  WriteFileBytes(dir + "HELD.TXT", "held by another program");
  WriteFileBytes(dir + "FIXED.TXT", "immutable");
  const FileState held = StateOf(dir + "HELD.TXT");
  const FileState fixed = StateOf(dir + "FIXED.TXT");

  // Open in another program that lets it be read, not written or replaced.
  windriver::ChildProgram holder;
  ASSERT_TRUE(holder.Start(Quoted(BinFolder() + "qs_module_holder.exe") + " /open " + Quoted(dir + "HELD.TXT")));
  ASSERT_TRUE(windriver::WaitUntil(
      [&] {
        HANDLE probe = CreateFileA((dir + "HELD.TXT").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
        if (probe == INVALID_HANDLE_VALUE) return true;
        CloseHandle(probe);
        return false;
      },
      30000));  // a program's start under Wine on a loaded machine has taken more than 5 s
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "NEW.TXT") + ", " + Quoted(dir + "HELD.TXT") + ")"),
            ERR_TARGET_CREATE_FAILED);
  holder.Terminate();
  EXPECT_TRUE(StateOf(dir + "HELD.TXT") == held);
  EXPECT_NE(run.Log().find("The new file cannot take the place of the existing one - it stays as it was"),
            std::string::npos);

  if (windriver::SetImmutable(dir + "FIXED.TXT", true)) {
    EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "NEW.TXT") + ", " + Quoted(dir + "FIXED.TXT") + ")"),
              ERR_TARGET_CREATE_FAILED);
    windriver::SetImmutable(dir + "FIXED.TXT", false);
    EXPECT_TRUE(StateOf(dir + "FIXED.TXT") == fixed);
  } else {
    ADD_FAILURE() << "chattr +i is not possible here (run as root)";
  }
  EXPECT_TRUE(Leftovers(dir).empty());
}

TEST(CopyFailure, OnAFullVolumeTheReplacedFileCountsAsFreeAndIsNeverLost) {
  if (!SmallVolumeMounted()) GTEST_SKIP() << "drive S: is not the small volume the test session mounts (run as root)";
  DeleteMatching("S:\\*");
  InProcessRun run;
  const std::string dir = Folder("space");
  const uint64_t volume = FreeBytesOfS() / 4096 * 4096;
  const std::string old(volume / 2, 'o');
  WriteFileBytes(dir + "BIGGER.BIN", std::string(volume * 3 / 4, 'b'));
  WriteFileBytes(dir + "TOO_BIG.BIN", std::string(volume + 1, 't'));
  WriteFileBytes(dir + "CUT.BI_", HeaderOnly(static_cast<uint32_t>(volume * 3 / 4)));

  // More than the old file and the free space together: refused, the old file untouched.
  WriteFileBytes("S:\\DATA.BIN", old);
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "TOO_BIG.BIN") + ", \"S:\\DATA.BIN\", 0)"), ERR_NO_SPACE_ON_TARGET);
  EXPECT_TRUE(ReadFileBytes("S:\\DATA.BIN") == old);

  // Room only in the old file's place, but the source is cut short: found out before the old
  // file is touched.
  EXPECT_EQ(run.Line("COPYFILE(" + Quoted(dir + "CUT.BI_") + ", \"S:\\DATA.BIN\")"), ERR_READ_FAILURE);
  EXPECT_TRUE(ReadFileBytes("S:\\DATA.BIN") == old);
  EXPECT_NE(run.Log().find("The source cannot be read whole - the existing file stays as it was"), std::string::npos);

  // Room only in the old file's place, and a whole source: written over it.
  ASSERT_EQ(run.Line("COPYFILE(" + Quoted(dir + "BIGGER.BIN") + ", \"S:\\DATA.BIN\", 0)"), 0);
  EXPECT_TRUE(ReadFileBytes("S:\\DATA.BIN") == std::string(volume * 3 / 4, 'b'));
  EXPECT_NE(run.Log().find("No room for the new file beside the existing one"), std::string::npos);
  EXPECT_TRUE(Leftovers("S:\\").empty());
  DeleteMatching("S:\\*");
}
