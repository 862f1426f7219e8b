// The C runtime's text mode, applied by the reader to the bytes of a file
// opened in binary mode, so that one file gives one model in every build:
// a carriage return before a line feed is dropped (CR LF reads as LF; a lone
// CR stays), and a 0x1A byte ends the input. Internal to the PPD reader.
#pragma once

#include <cstddef>

namespace qx {
namespace ppd_detail {

struct TextModeBlock {
  size_t length;  // bytes kept, at the start of the block
  bool ended;     // a 0x1A byte ended the input within the block
};

// Folds n bytes in place. A carriage return in the last byte is kept: the
// caller decides it with the next block's first byte.
TextModeBlock FoldTextMode(unsigned char *bytes, size_t n);

}  // namespace ppd_detail
}  // namespace qx
