#include <algorithm>
#include <array>
#include <cstring>

#include "tools/lz/lz_format.h"

namespace lz {
namespace {

constexpr uint8_t kMagic[8] = {'S', 'Z', 'D', 'D', 0x88, 0xF0, 0x27, 0x33};
constexpr size_t kMaxDistance = kWindowSize - 1;
constexpr size_t kHashBits = 15;
constexpr int kChainLimit = 128;  // candidates looked at per position: speed over the last byte

// The window starts out as spaces, so the input is searched as if 4095 spaces came before it;
// matches into them are exact for every expander of the format.
constexpr size_t kSpaceHistory = kMaxDistance;

uint32_t HashAt(const uint8_t* p) {
  return ((p[0] << 10) ^ (p[1] << 5) ^ p[2]) & ((1u << kHashBits) - 1);
}

// Greedy longest-match search over hash chains of three-byte prefixes. Chains link positions
// through a ring of the window's size: an entry older than the window is never followed.
class MatchFinder {
 public:
  explicit MatchFinder(const std::vector<uint8_t>& text) : text_(text) {
    head_.fill(-1);
    prev_.fill(-1);
  }

  void Insert(size_t position) {
    if (position + kMinMatch > text_.size()) return;
    const uint32_t h = HashAt(&text_[position]);
    prev_[position & kMaxDistance] = head_[h];
    head_[h] = static_cast<int64_t>(position);
  }

  // Longest match for [position] (not yet inserted); its length is 0 when below the minimum.
  size_t Longest(size_t position, size_t& matchStart) const {
    const size_t available = std::min(kMaxMatch, text_.size() - position);
    if (available < kMinMatch) return 0;
    size_t best = 0;
    int64_t candidate = head_[HashAt(&text_[position])];
    for (int steps = 0; candidate >= 0 && steps < kChainLimit; ++steps) {
      const size_t c = static_cast<size_t>(candidate);
      if (position - c > kMaxDistance) break;
      size_t length = 0;
      while (length < available && text_[c + length] == text_[position + length]) ++length;
      if (length > best) {
        best = length;
        matchStart = c;
        if (best == available) break;
      }
      const int64_t next = prev_[c & kMaxDistance];
      if (next >= candidate) break;  // the ring slot was reused by a newer position
      candidate = next;
    }
    return best >= kMinMatch ? best : 0;
  }

 private:
  const std::vector<uint8_t>& text_;
  std::array<int64_t, size_t{1} << kHashBits> head_;
  std::array<int64_t, kWindowSize> prev_;
};

// Collects items eight to a flag byte.
class ItemWriter {
 public:
  explicit ItemWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Literal(uint8_t byte) {
    StartItem();
    out_[flagAt_] |= static_cast<uint8_t>(1u << count_);
    out_.push_back(byte);
    ++count_;
  }
  void Pair(size_t windowPosition, size_t length) {
    StartItem();
    out_.push_back(static_cast<uint8_t>(windowPosition & 0xFF));
    out_.push_back(static_cast<uint8_t>(((windowPosition >> 4) & 0xF0) | (length - kMinMatch)));
    ++count_;
  }

 private:
  void StartItem() {
    if (count_ < 8) return;
    flagAt_ = out_.size();
    out_.push_back(0);
    count_ = 0;
  }
  std::vector<uint8_t>& out_;
  size_t flagAt_ = 0;
  int count_ = 8;
};

}  // namespace

std::vector<uint8_t> Compress(const uint8_t* data, size_t size, char missingChar) {
  std::vector<uint8_t> out(kMagic, kMagic + sizeof kMagic);
  out.push_back('A');
  out.push_back(static_cast<uint8_t>(missingChar));
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>((size >> shift) & 0xFF));

  std::vector<uint8_t> text(kSpaceHistory + size, ' ');
  if (size > 0) std::memcpy(text.data() + kSpaceHistory, data, size);
  MatchFinder finder(text);
  for (size_t i = 0; i < kSpaceHistory; ++i) finder.Insert(i);

  ItemWriter items(out);
  size_t i = kSpaceHistory;
  while (i < text.size()) {
    size_t matchStart = 0;
    const size_t length = finder.Longest(i, matchStart);
    if (length == 0) {
      items.Literal(text[i]);
      finder.Insert(i++);
      continue;
    }
    // Text index t lies at window position t - 15: the first input byte goes to 4080.
    items.Pair((matchStart + kWindowSize - (kSpaceHistory - kWindowStart)) & kMaxDistance, length);
    for (size_t end = i + length; i < end; ++i) finder.Insert(i);
  }
  return out;
}

CompressedName CompressedNameOf(std::string_view fileName) {
  const size_t slash = fileName.find_last_of("/\\");
  const std::string_view base = slash == std::string_view::npos ? fileName : fileName.substr(slash + 1);
  const size_t dot = base.rfind('.');
  CompressedName result;
  if (dot == std::string_view::npos) {
    result.name = std::string(base) + "._";
  } else if (base.size() - dot - 1 >= 3) {
    result.name = std::string(base.substr(0, base.size() - 1)) + "_";
    result.missingChar = base.back();
  } else {
    result.name = std::string(base) + "_";
  }
  return result;
}

}  // namespace lz
