// The shared file helpers against the real system: our compressed files expanded by the
// system's LZ functions, version resources of real executables, copy times and drive space.
#include <gtest/gtest.h>

#include <random>

#include "support/file_helpers_win32.h"

#include <lzexpand.h>

#include "support/text.h"
#include "tests/support/win_driver.h"
#include "tools/lz/lz_format.h"

namespace {

std::string Scratch() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string dir = EnsureBackslash(temp) + "qs_helpers_test\\";
  CreateDirectoryA(dir.c_str(), nullptr);
  return dir;
}

void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

// The whole file as the system's LZ functions read it, through the shared copy loop.
bool ExpandThroughSystem(const std::string& path, std::vector<uint8_t>& out, size_t block) {
  LzSource source;
  if (!source.Open(path)) return false;
  const long length = source.Length();
  const std::string target = path + ".out";
  HANDLE file = CreateFileA(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::vector<char> buffer(block * 16);
  long lastReported = 0;
  FileBlockSink sink(file);
  const BlockCopyResult result = CopyBlocks(source, sink, length, static_cast<long>(block), buffer.data(), static_cast<long>(buffer.size()),
                                            [&](long copied) { lastReported = copied; });
  const DWORD size = GetFileSize(file, nullptr);
  out.assign(size, 0);
  SetFilePointer(file, 0, nullptr, FILE_BEGIN);
  DWORD got = 0;
  if (size) ReadFile(file, out.data(), size, &got, nullptr);
  CloseHandle(file);
  DeleteFileA(target.c_str());
  return result == BlockCopyResult::Done && lastReported == length;
}

std::vector<uint8_t> Random(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(generator() % 7 == 0 ? ' ' : generator());
  return bytes;
}

}  // namespace

TEST(SystemLzExpansion, ExpandsOurOutputByteForByte) {
  std::vector<std::vector<uint8_t>> samples = {{}, {'x'}, Random(4095, 1), Random(4096, 2), Random(4097, 3),
                                               std::vector<uint8_t>(70000, 'a'), std::vector<uint8_t>(5000, ' ')};
  std::vector<uint8_t> text;
  for (int i = 0; i < 20000; ++i) text.push_back("installation "[i % 13]);
  samples.push_back(text);
  const std::string path = Scratch() + "SAMPLE.EX_";
  for (size_t i = 0; i < samples.size(); ++i) {
    WriteBytes(path, lz::Compress(samples[i], 'E'));
    for (size_t block : {size_t{1024}, size_t{4096}}) {
      std::vector<uint8_t> expanded;
      ASSERT_TRUE(ExpandThroughSystem(path, expanded, block)) << "sample " << i;
      EXPECT_EQ(expanded, samples[i]) << "sample " << i << " size " << samples[i].size() << " block " << block;
    }
  }
  // The header's last character restores the expanded name.
  char compressed[MAX_PATH], name[MAX_PATH] = "";
  lstrcpyA(compressed, path.c_str());
  ASSERT_EQ(GetExpandedNameA(compressed, name), 1);
  EXPECT_TRUE(EndsWith(name, "SAMPLE.EXE")) << name;
  DeleteFileA(path.c_str());
}

TEST(SystemLzExpansion, PlainFilesReadUnchanged) {
  const std::string path = Scratch() + "PLAIN.BIN";
  const std::vector<uint8_t> bytes = Random(9000, 4);
  WriteBytes(path, bytes);
  std::vector<uint8_t> expanded;
  ASSERT_TRUE(ExpandThroughSystem(path, expanded, 4096));
  EXPECT_EQ(expanded, bytes);
  LzSource missing;
  EXPECT_FALSE(missing.Open(Scratch() + "NOSUCH.BIN"));
  DeleteFileA(path.c_str());
}

TEST(FileVersions, RealResourcesAndTheSignedOrder) {
  const std::string bin = windriver::TestExecutableDirectory();
  FileVersion v1, v2, high, none;
  ASSERT_TRUE(QueryFixedFileVersion(bin + "qs_probe_v1.exe", v1));
  ASSERT_TRUE(QueryFixedFileVersion(bin + "qs_probe_v2.exe", v2));
  ASSERT_TRUE(QueryFixedFileVersion(bin + "qs_probe_high.exe", high));
  EXPECT_FALSE(QueryFixedFileVersion(bin + "qs_probe_plain.exe", none));
  EXPECT_EQ(none.most, 0u);
  EXPECT_EQ(FileVersionText(v1), "1.0.0.1");
  EXPECT_EQ(v1.most, 0x00010000u);
  EXPECT_EQ(v1.least, 1u);
  EXPECT_EQ(high.most, 0x80000000u);
  EXPECT_GT(CompareFileVersions(v2, v1), 0);
  EXPECT_LT(CompareFileVersions(v1, v2), 0);
  EXPECT_EQ(CompareFileVersions(v1, v1), 0);
  // 32768.x has its top bit set: as a signed number it ranks below every ordinary version.
  EXPECT_LT(CompareFileVersions(high, v1), 0);
  EXPECT_LT(CompareFileVersions({1, 0x80000000u}, {1, 1}), 0);
}

TEST(CopyTimes, ThroughTheDosFormWithTheFallback) {
  SYSTEMTIME local = {};
  local.wYear = 2001, local.wMonth = 2, local.wDay = 3, local.wHour = 4, local.wMinute = 5, local.wSecond = 7;
  EXPECT_EQ(DosDate(local), (2001 - 1980) * 512 + 2 * 32 + 3);
  EXPECT_EQ(DosTime(local), 4 * 2048 + 5 * 32 + 3);

  const std::string path = Scratch() + "TIME.TXT";
  WriteBytes(path, {'t'});
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetCopyDateTime(file, local));
  CloseHandle(file);
  const SYSTEMTIME back = NoteCopyDateTime(path, FILE_SHARE_READ);
  EXPECT_EQ(back.wYear, 2001);
  EXPECT_EQ(back.wHour, 4);
  EXPECT_EQ(back.wSecond, 6);  // two-second resolution

  // Times outside the DOS form's years become 1 January 1980.
  for (WORD year : {1975, 2039, 2100}) {
    SYSTEMTIME utc = {};
    utc.wYear = year, utc.wMonth = 6, utc.wDay = 15, utc.wHour = 12;
    FILETIME ft;
    ASSERT_TRUE(SystemTimeToFileTime(&utc, &ft));
    const SYSTEMTIME copy = CopyDateTime(ft);
    EXPECT_EQ(copy.wYear, 1980) << year;
    EXPECT_EQ(copy.wMonth, 1);
    EXPECT_EQ(copy.wDay, 1);
    EXPECT_EQ(copy.wHour, 0);
  }
  EXPECT_EQ(NoteCopyDateTime(Scratch() + "MISSING.TXT", 0).wYear, CurrentCopyDateTime().wYear);
  DeleteFileA(path.c_str());
}

TEST(DriveSpace, RootsAndProduct) {
  const DriveSpace c = QueryDriveSpace("c:\\windows\\KVLSOFT\\TALVEN.EXE");
  ASSERT_TRUE(c.ok);
  EXPECT_EQ(c.root, "C:\\");
  EXPECT_EQ(c.freeBytes, uint64_t{c.bytesPerSector} * c.sectorsPerCluster * c.freeClusters);
  EXPECT_GT(c.freeBytes, 0u);
  const DriveSpace current = QueryDriveSpace("RELATIVE.TXT");
  EXPECT_TRUE(current.ok);
  EXPECT_EQ(current.root, "");
  const DriveSpace missing = QueryDriveSpace("Q:\\nothing");
  EXPECT_FALSE(missing.ok);
  EXPECT_EQ(missing.freeBytes, 0u);
}
