// The reader's steps: a selective scanner over PPD tokens. Exposed for tests.
#pragma once

#include <cstdio>

#include "ppd/ppd_model.h"

namespace qx {

// A byte source: a next-byte function and its context. The reader keeps the
// one byte it ever looks ahead (after an asterisk) itself.
class ByteSource {
 public:
  ByteSource(PpdNextByte nextByte, void *context) : nextByte_(nextByte), context_(context) {}
  virtual ~ByteSource() = default;

  // The end of the input is final; a value outside 0 to 255 from a broken
  // source ends it too.
  int Take() {
    if (ended_) return -1;
    int b = nextByte_(context_);
    if ((b & ~0xFF) == 0) return b;
    ended_ = true;
    return -1;
  }

 private:
  PpdNextByte nextByte_;
  void *context_;
  bool ended_ = false;
};

// The same over a FILE private to one reading, with the unlocked read.
class FileByteSource {
 public:
  explicit FileByteSource(FILE *file) : file_(file) {}

  int Take() {
#ifdef _WIN32
    return _fgetc_nolock(file_);
#else
    return getc_unlocked(file_);
#endif
  }

 private:
  FILE *file_;
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
bool ReadToken(ByteSource &source, PpdToken &token, bool spaces);

// Code of the keyword table row equal to the token, 0 when none.
int ClassifyKeyword(const unsigned char *token, int32_t length);
int ClassifyKeyword(const PpdUnit *token);  // zero-terminated

// Reads "keyword/translation" up to the colon or line end, decoding <hex>
// bytes. False at the end of the input.
bool ReadKeywordAndTranslation(ByteSource &source, PpdToken &token, PpdText &keyword,
                               PpdText &translation);

// Reads the rest of an *OpenUI block into the feature; true when the block
// was closed.
bool ReadFeatureBody(ByteSource &source, PpdToken &token, PpdFeature &feature);

}  // namespace qx
