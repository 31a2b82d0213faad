// The shared copy loop reads and writes 64 blocks at a time; whatever the source and the target
// do, the outcome must be the plain 1024-byte block loop's: the same result, the same bytes in
// the target, the same progress reports.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/block_copy.h"

namespace {

constexpr long kBlock = 1024;

// Bytes that give out at [failAt]: from there reads come short, or with [errors] a read that
// reaches that byte fails as a whole (a bad sector) while reads before it still work.
class FakeSource : public BlockSource {
 public:
  FakeSource(std::string bytes, long failAt, bool errors, bool seekable)
      : bytes_(std::move(bytes)), failAt_(failAt), errors_(errors), seekable_(seekable) {}
  int Read(char* buffer, int size) override {
    long available = static_cast<long>(bytes_.size()) - position_;
    if (failAt_ >= 0 && failAt_ - position_ < available) available = failAt_ - position_;
    if (available < size && errors_) return -1;
    const int got = static_cast<int>(available < size ? available : size);
    bytes_.copy(buffer, static_cast<size_t>(got), static_cast<size_t>(position_));
    position_ += got;
    return got;
  }
  bool SeekTo(long offset) override {
    if (!seekable_) return false;
    position_ = offset;
    return true;
  }

 private:
  std::string bytes_;
  long position_ = 0;
  long failAt_;
  bool errors_, seekable_;
};

// A target that holds [room] bytes (a write across that edge writes what fits), and with
// [largest] refuses outright any write longer than that.
class FakeSink : public BlockSink {
 public:
  FakeSink(long room, long largest) : room_(room), largest_(largest) {}
  int Write(const char* buffer, int size) override {
    if (largest_ > 0 && size > largest_) return 0;
    const long fits = room_ - static_cast<long>(bytes.size());
    const int written = static_cast<int>(fits < size ? (fits > 0 ? fits : 0) : size);
    bytes.append(buffer, static_cast<size_t>(written));
    return written;
  }
  std::string bytes;

 private:
  long room_, largest_;
};

struct Outcome {
  BlockCopyResult result;
  std::string written;
  std::vector<long> reports;
};

// The reference: one 1024-byte read and one write at a time.
Outcome BlockLoop(BlockSource& source, FakeSink& sink, long length) {
  Outcome outcome{BlockCopyResult::Done, {}, {}};
  char buffer[kBlock];
  for (long copied = 0; copied < length;) {
    const int piece = static_cast<int>(length - copied > kBlock ? kBlock : length - copied);
    if (source.Read(buffer, piece) != piece) {
      outcome.result = BlockCopyResult::ShortRead;
      break;
    }
    if (sink.Write(buffer, piece) != piece) {
      outcome.result = BlockCopyResult::ShortWrite;
      break;
    }
    copied += piece;
    outcome.reports.push_back(copied);
  }
  outcome.written = sink.bytes;
  return outcome;
}

Outcome RunCopy(BlockSource& source, FakeSink& sink, long length, size_t bufferBytes) {
  Outcome outcome{BlockCopyResult::Done, {}, {}};
  std::vector<char> buffer(bufferBytes);
  int io = 0;
  outcome.result = CopyBlocks(source, sink, length, kBlock, buffer.data(), static_cast<long>(buffer.size()),
                              [&](long copied) { outcome.reports.push_back(copied); }, [&] { ++io; });
  outcome.written = sink.bytes;
  EXPECT_GT(io, 0) << "the windows are never let through";
  return outcome;
}

std::string Pattern(long length) {
  std::string bytes(static_cast<size_t>(length), '\0');
  for (long i = 0; i < length; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

}  // namespace

// How the copy goes wrong at the edge: the source ends early or has a bad spot there (with or
// without a way back to read again), the target fills up there, or the target takes no write
// longer than a block (then it does take each block).
struct Trouble {
  const char* name;
  bool sourceEnds, sourceErrs, seekable, targetFills, smallWritesOnly;
};
const Trouble kTroubles[] = {
    {"source ends", true, false, true, false, false},   {"bad spot", false, true, true, false, false},
    {"source ends, no seek", true, false, false, false, false}, {"target fills", false, false, true, true, false},
    {"small writes only", false, false, true, false, true},  {"fills, small writes", false, false, true, true, true},
};

TEST(BlockCopy, WhateverFailsTheTargetHoldsWhatTheBlockLoopLeaves) {
  for (long length : {1L, 1023L, 1024L, 1025L, 41 * kBlock, 65536L, 65537L, 200000L}) {
    const std::string bytes = Pattern(length);
    for (long edge : {-1L, 0L, 1L, 1023L, 1024L, 1500L, 65536L, 70000L, length - 1}) {
      if (edge >= length) continue;
      for (const Trouble& t : kTroubles) {
        const long readFailure = (t.sourceEnds || t.sourceErrs) ? edge : -1;
        const long room = t.targetFills && edge >= 0 ? edge : length;
        const long largest = t.smallWritesOnly ? kBlock : 0;
        for (size_t bufferBytes : {size_t{65536}, size_t{3000}}) {
          SCOPED_TRACE(std::string(t.name) + ", length " + std::to_string(length) + ", edge " + std::to_string(edge) +
                       ", buffer " + std::to_string(bufferBytes));
          FakeSource referenceSource(bytes, readFailure, t.sourceErrs, t.seekable);
          FakeSink referenceSink(room, largest);
          const Outcome reference = BlockLoop(referenceSource, referenceSink, length);
          FakeSource source(bytes, readFailure, t.sourceErrs, t.seekable);
          FakeSink sink(room, largest);
          const Outcome outcome = RunCopy(source, sink, length, bufferBytes);
          EXPECT_EQ(outcome.result, reference.result);
          EXPECT_TRUE(outcome.written == reference.written)
              << outcome.written.size() << " bytes against " << reference.written.size();
          EXPECT_EQ(outcome.reports, reference.reports);
        }
      }
    }
  }
}

TEST(BlockCopy, AnEmptySourceCopiesNothingAndReportsNothing) {
  FakeSource source("", -1, false, true);
  FakeSink sink(10, 0);
  std::vector<char> buffer(65536);
  int reports = 0;
  EXPECT_EQ(CopyBlocks(source, sink, 0, kBlock, buffer.data(), 65536, [&](long) { ++reports; }), BlockCopyResult::Done);
  EXPECT_TRUE(sink.bytes.empty());
  EXPECT_EQ(reports, 0);
}
