// The LZ compressor and expander against each other and against Debian's mscompress and
// msexpand, an independent implementation of the same format.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>
#include <filesystem>
#include <random>
#include <string>

#include "tools/lz/lz_file_io.h"
#include "tools/lz/lz_format.h"

namespace {

namespace fs = std::filesystem;

struct Sample {
  const char* name;
  std::vector<uint8_t> bytes;
};

std::vector<uint8_t> RandomBytes(size_t size, unsigned seed) {
  std::mt19937 generator(seed);
  std::vector<uint8_t> bytes(size);
  for (auto& b : bytes) b = static_cast<uint8_t>(generator());
  return bytes;
}

std::vector<uint8_t> TextBytes(size_t size) {
  const std::string words = "the quick brown fox jumps over the lazy dog; ";
  std::vector<uint8_t> bytes;
  std::mt19937 generator(7);
  while (bytes.size() < size) {
    const size_t start = generator() % words.size();
    for (size_t i = start; i < words.size() && bytes.size() < size; ++i) bytes.push_back(words[i]);
  }
  return bytes;
}

// The sizes around the window and the flag groups, and the contents that exercise literals,
// long runs, matches into the initial spaces and matches that overlap what they write.
std::vector<Sample> Samples() {
  std::vector<Sample> samples = {
      {"empty", {}},
      {"one_byte", {'x'}},
      {"one_space", {' '}},
      {"spaces_4200", std::vector<uint8_t>(4200, ' ')},
      {"zeros_100000", std::vector<uint8_t>(100000, 0)},
      {"random_4095", RandomBytes(4095, 1)},
      {"random_4096", RandomBytes(4096, 2)},
      {"random_4097", RandomBytes(4097, 3)},
      {"random_70000", RandomBytes(70000, 4)},
      {"text_4096", TextBytes(4096)},
      {"text_300000", TextBytes(300000)},
  };
  std::vector<uint8_t> abab;
  for (int i = 0; i < 9000; ++i) abab.push_back(i % 3 == 0 ? 'a' : 'b');
  samples.push_back({"period_three", abab});
  std::vector<uint8_t> farRepeat = RandomBytes(4095, 5);
  const std::vector<uint8_t> again(farRepeat);
  farRepeat.insert(farRepeat.end(), again.begin(), again.end());  // matches at distance 4095
  samples.push_back({"repeat_at_4095", farRepeat});
  for (size_t n = 1; n <= 20; ++n) samples.push_back({"short", TextBytes(n)});
  return samples;
}

fs::path ScratchDirectory() {
  const fs::path dir = fs::temp_directory_path() / ("qs_lz_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  return dir;
}

bool RunShell(const std::string& command) { return std::system(command.c_str()) == 0; }

}  // namespace

TEST(LzFormat, HeaderCarriesLengthAndMissingCharacter) {
  const std::vector<uint8_t> out = lz::Compress(std::vector<uint8_t>{'a', 'b', 'c'}, 'E');
  ASSERT_GE(out.size(), lz::kHeaderSize);
  const std::vector<uint8_t> header(out.begin(), out.begin() + lz::kHeaderSize);
  EXPECT_EQ(header, (std::vector<uint8_t>{'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33, 'A', 'E', 3, 0, 0, 0}));
  const lz::ExpandResult back = lz::Expand(out);
  ASSERT_TRUE(back.ok) << back.error;
  EXPECT_EQ(back.missingChar, 'E');
}

TEST(LzFormat, RoundTripsEverySample) {
  for (const Sample& s : Samples()) {
    const lz::ExpandResult back = lz::Expand(lz::Compress(s.bytes));
    ASSERT_TRUE(back.ok) << s.name << ": " << back.error;
    EXPECT_EQ(back.data, s.bytes) << s.name << " size " << s.bytes.size();
  }
}

TEST(LzFormat, CompressesRepetitionAndBoundsIncompressibleGrowth) {
  // The best the format can do: 18 bytes in a two-byte pair plus an eighth of a flag byte.
  EXPECT_LT(lz::Compress(std::vector<uint8_t>(100000, 0)).size(), 100000u / 18 * 2125 / 1000 + 32);
  // Leading spaces match the window's initial spaces from the first byte on.
  EXPECT_LT(lz::Compress(std::vector<uint8_t>(18, ' ')).size(), lz::kHeaderSize + 4);
  // Random data grows by one flag byte per eight literals at most.
  const std::vector<uint8_t> random = RandomBytes(80000, 9);
  EXPECT_LE(lz::Compress(random).size(), lz::kHeaderSize + random.size() + random.size() / 8 + 1);
}

TEST(LzFormat, RefusesDamagedInput) {
  std::vector<uint8_t> out = lz::Compress(TextBytes(5000));
  EXPECT_FALSE(lz::Expand(out.data(), 10).ok);
  out.resize(out.size() - 5);
  const lz::ExpandResult truncated = lz::Expand(out);
  EXPECT_FALSE(truncated.ok);
  EXPECT_FALSE(truncated.error.empty());
  std::vector<uint8_t> plain = TextBytes(100);
  EXPECT_FALSE(lz::IsCompressed(plain.data(), plain.size()));
  EXPECT_FALSE(lz::Expand(plain).ok);
}

TEST(LzFormat, CompressedNames) {
  struct Case {
    const char* in;
    const char* name;
    char missing;
  } cases[] = {
      {"TALVEN.EXE", "TALVEN.EX_", 'E'}, {"dir/Morpax.exe", "Morpax.ex_", 'e'},
      {"C:\\X\\A.B", "A.B_", 0},         {"README", "README._", 0},
      {"LONG.HTML", "LONG.HTM_", 'L'},
  };
  for (const Case& c : cases) {
    const lz::CompressedName got = lz::CompressedNameOf(c.in);
    EXPECT_EQ(got.name, c.name) << c.in;
    EXPECT_EQ(got.missingChar, c.missing) << c.in;
  }
}

// Our output expanded by msexpand, and mscompress output expanded by us, byte for byte.
TEST(LzFormat, AgreesWithMscompressAndMsexpand) {
  if (!RunShell("command -v mscompress >/dev/null && command -v msexpand >/dev/null"))
    GTEST_SKIP() << "mscompress is not installed (tools/install-deps.sh installs it)";
  const fs::path dir = ScratchDirectory();
  int index = 0;
  for (const Sample& s : Samples()) {
    const std::string base = (dir / ("s" + std::to_string(index++) + ".bin")).string();
    ASSERT_TRUE(lz::WriteWholeFile(base, s.bytes));

    ASSERT_TRUE(lz::WriteWholeFile(base + ".ours", lz::Compress(s.bytes)));
    ASSERT_TRUE(RunShell("msexpand < '" + base + ".ours' > '" + base + ".theirs_expanded'")) << s.name;
    std::vector<uint8_t> expanded;
    ASSERT_TRUE(lz::ReadWholeFile(base + ".theirs_expanded", expanded));
    EXPECT_EQ(expanded, s.bytes) << s.name << " size " << s.bytes.size() << " expanded by msexpand";

    ASSERT_TRUE(RunShell("cd '" + dir.string() + "' && mscompress '" + base + "' >/dev/null")) << s.name;
    std::vector<uint8_t> theirs;
    ASSERT_TRUE(lz::ReadWholeFile(base + "_", theirs));
    const lz::ExpandResult back = lz::Expand(theirs);
    ASSERT_TRUE(back.ok) << s.name << ": " << back.error;
    // mscompress 0.4 garbles inputs shorter than its 16-byte look-ahead (it writes zeros, and
    // a stray item for an empty file), so those only keep the length that the header gives.
    if (s.bytes.size() < 16) {
      EXPECT_EQ(back.data.size(), s.bytes.size()) << s.name;
    } else {
      EXPECT_EQ(back.data, s.bytes) << s.name << " size " << s.bytes.size() << " compressed by mscompress";
    }
  }
  fs::remove_all(dir);
}
