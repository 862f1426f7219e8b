// The reader's steps: a selective scanner over PPD tokens. Exposed for tests.
#pragma once

#include <cstdio>
#include <memory>

#include "ppd/ppd_model.h"

namespace qx {

// A byte source: a next-byte function and its context. The reader scans the
// bytes a source has taken through a window [pos, end); this source takes
// one byte at a time, so it never takes more than the reader consumes.
class ByteSource {
 public:
  ByteSource(PpdNextByte nextByte, void *context) : nextByte_(nextByte), context_(context) {}
  ByteSource(const ByteSource &) = delete;
  ByteSource &operator=(const ByteSource &) = delete;
  virtual ~ByteSource() = default;

  // Puts the next byte into the window; false at the end of the input. The
  // end is final; a value outside 0 to 255 from a broken source ends it too.
  bool Refill() {
    if (ended_) return false;
    int b = nextByte_(context_);
    if ((b & ~0xFF) != 0) {
      ended_ = true;
      return false;
    }
    byte_ = static_cast<unsigned char>(b);
    pos = &byte_;
    end = &byte_ + 1;
    return true;
  }

  const unsigned char *pos = nullptr;  // window of taken, unconsumed bytes
  const unsigned char *end = nullptr;

 private:
  PpdNextByte nextByte_;
  void *context_;
  bool ended_ = false;
  unsigned char byte_ = 0;
};

// A file private to one reading, opened in binary mode and read in blocks,
// through the C runtime or a block function of the caller's. The reader sees
// the bytes the runtime's text mode would give (line-end pairs folded, 0x1A
// ends the input) in every build, in blocks. Bytes after the point where the
// reading stops are taken as well.
class FileByteSource {
 public:
  static constexpr size_t kBlockBytes = 65536;
  // blockBytes other than the default only for tests of block boundaries.
  explicit FileByteSource(FILE *file, size_t blockBytes = kBlockBytes);
  FileByteSource(PpdReadBlock readBlock, void *context, size_t blockBytes = kBlockBytes);
  FileByteSource(const FileByteSource &) = delete;
  FileByteSource &operator=(const FileByteSource &) = delete;
  ~FileByteSource();

  // Puts the next block into the window; false at the end of the input.
  bool Refill();

  const unsigned char *pos = nullptr;
  const unsigned char *end = nullptr;

 private:
  static constexpr size_t kFallbackBytes = 512;  // when the block cannot be allocated
  PpdReadBlock readBlock_;
  void *context_;
  // One byte before the bytes read: a carriage return that ended the last
  // block, decided by the next block's first byte.
  unsigned char *block_;
  size_t capacity_;  // bytes read at a time
  bool heldReturn_ = false;
  bool ended_ = false;
  unsigned char fallback_[kFallbackBytes + 1];
};

// Token buffer: every byte of a token is one unit of the same value, so the
// bytes are kept as they are. At most kPpdTokenLimit bytes and a terminator.
constexpr int32_t kPpdTokenUnits = 1048576;
constexpr int32_t kPpdTokenLimit = kPpdTokenUnits - 1;

struct PpdToken {
  unsigned char *bytes = nullptr;  // kPpdTokenUnits, zero-terminated
  int32_t length = 0;
};

// Skips white space and comments, then reads one plain or quoted token. With
// spaces set, blanks, tabs and double quotes stay inside a plain token. False at the end of
// the input (the token is then empty).
// ReadPpdModelFromFile over a source the caller made.
std::unique_ptr<PpdModel> ReadPpdModelFromSource(FileByteSource &source);

}  // namespace qx
