#include "support/block_copy.h"

namespace {

class BlockLoop {
 public:
  BlockLoop(BlockSource& source, BlockSink& target, long block, char* buffer,
            const std::function<void(long)>& afterBlock, const std::function<void()>& beforeIo)
      : source_(source), target_(target), block_(block), buffer_(buffer), afterBlock_(afterBlock),
        beforeIo_(beforeIo) {}

  // The block loop itself over [from, to): one block read and written at a time.
  BlockCopyResult StepThrough(long from, long to) {
    for (long done = from; done < to;) {
      const int piece = static_cast<int>(to - done > block_ ? block_ : to - done);
      BeforeIo();
      if (source_.Read(buffer_, piece) != piece) return BlockCopyResult::ShortRead;
      BeforeIo();
      if (target_.Write(buffer_, piece) != piece) return BlockCopyResult::ShortWrite;
      done += piece;
      if (afterBlock_) afterBlock_(done);
    }
    return BlockCopyResult::Done;
  }

  // Writes the first [size] bytes of the buffer, which hold the copy from byte [at] on. A write
  // that stops inside a block stops the copy there, as that block's own write would have; one
  // that stops at a block's edge goes on block by block, as the block loop would.
  BlockCopyResult WriteRun(long at, long size) {
    BeforeIo();
    const int written = target_.Write(buffer_, static_cast<int>(size));
    if (written == size) {
      Report(at, at + size);
      return BlockCopyResult::Done;
    }
    const long stopped = written < 0 ? 0 : written > size ? size : written;
    Report(at, at + stopped / block_ * block_);
    if (stopped % block_ != 0) return BlockCopyResult::ShortWrite;
    for (long done = stopped; done < size;) {
      const int piece = static_cast<int>(size - done > block_ ? block_ : size - done);
      BeforeIo();
      if (target_.Write(buffer_ + done, piece) != piece) return BlockCopyResult::ShortWrite;
      done += piece;
      if (afterBlock_) afterBlock_(at + done);
    }
    return BlockCopyResult::Done;
  }

  void BeforeIo() {
    if (beforeIo_) beforeIo_();
  }

 private:
  // Every block that ends after [from] and no later than [to], as the block loop reports it.
  void Report(long from, long to) {
    if (!afterBlock_) return;
    for (long done = from; done < to;) {
      done = to - done > block_ ? done + block_ : to;
      afterBlock_(done);
    }
  }

  BlockSource& source_;
  BlockSink& target_;
  const long block_;
  char* const buffer_;
  const std::function<void(long)>& afterBlock_;
  const std::function<void()>& beforeIo_;
};

}  // namespace

BlockCopyResult CopyBlocks(BlockSource& source, BlockSink& target, long length, long block,
                           char* buffer, long bufferSize, const std::function<void(long copied)>& afterBlock,
                           const std::function<void()>& beforeIo) {
  if (block < 1) block = 1;
  const long run = bufferSize > block ? bufferSize / block * block : block;
  BlockLoop loop(source, target, block, buffer, afterBlock, beforeIo);
  for (long copied = 0; copied < length;) {
    const long size = length - copied > run ? run : length - copied;
    loop.BeforeIo();
    const int got = source.Read(buffer, static_cast<int>(size));
    BlockCopyResult result;
    if (got == size) {
      result = loop.WriteRun(copied, size);
    } else if (source.SeekTo(copied)) {
      // The block loop would have read this part a block at a time: it does so once more.
      result = loop.StepThrough(copied, copied + size);
    } else {
      // No way back: the whole blocks that came are written, and the copy ends at the block that
      // did not come whole.
      const long whole = got > 0 ? got / block * block : 0;
      result = whole > 0 ? loop.WriteRun(copied, whole) : BlockCopyResult::Done;
      if (result == BlockCopyResult::Done) result = BlockCopyResult::ShortRead;
    }
    if (result != BlockCopyResult::Done) return result;
    copied += size;
  }
  return BlockCopyResult::Done;
}

bool ReadsWhole(BlockSource& source, long length, char* buffer, long bufferSize,
                const std::function<void()>& beforeRead) {
  const long piece = bufferSize > 0 ? bufferSize : 1;
  for (long done = 0; done < length;) {
    const long chunk = length - done > piece ? piece : length - done;
    if (beforeRead) beforeRead();
    if (source.Read(buffer, static_cast<int>(chunk)) != chunk) return false;
    done += chunk;
  }
  return true;
}
