// The block copy loop that the copy engine, the bootstrap and the backups share. A copy is a
// loop of fixed blocks (full blocks while more than a block remains, then the rest; the first
// short read or write ends it), but it reads and writes many blocks at a time: everything that
// can be seen of the copy (the bytes in the target after a failure, which block failed, the
// progress reported after each block) is what the block loop gives. Portable.
#pragma once

#include <functional>

// What a block copy reads from.
class BlockSource {
 public:
  virtual ~BlockSource() = default;
  // Reads up to [size] bytes; the number read, or a negative number on failure.
  virtual int Read(char* buffer, int size) = 0;
  // To byte [offset] of what Read gives, so that bytes can be read once more.
  virtual bool SeekTo(long offset) = 0;
  bool Rewind() { return SeekTo(0); }
};

// What a block copy writes to.
class BlockSink {
 public:
  virtual ~BlockSink() = default;
  // Writes [size] bytes; the number written (fewer, down to 0, when it stopped short).
  virtual int Write(const char* buffer, int size) = 0;
};

enum class BlockCopyResult { Done, ShortRead, ShortWrite };

// Copies [length] bytes from [source] to [target] as a loop of [block]-byte blocks does, reading
// and writing up to [bufferSize] bytes (rounded down to whole blocks, at least one) at a time
// through [buffer], which holds at least one block. Where a big read
// or write comes short, the copy goes on block by block from where the block loop would be, so
// the target holds exactly what the block loop leaves. [afterBlock], when given, runs for every
// block written, with the bytes copied so far; [beforeIo], when given, before every read and
// every write.
BlockCopyResult CopyBlocks(BlockSource& source, BlockSink& target, long length, long block,
                           char* buffer, long bufferSize, const std::function<void(long copied)>& afterBlock = {},
                           const std::function<void()>& beforeIo = {});

// Reads [length] bytes from [source] in pieces of [bufferSize] bytes into [buffer] and keeps none
// of them: true when every piece came whole. [beforeRead], when given, runs before every read.
bool ReadsWhole(BlockSource& source, long length, char* buffer, long bufferSize,
                const std::function<void()>& beforeRead = {});
