#include "ppd/ppd_text_mode.h"

#include <cstring>

#include "ppd/ppd_scan.h"

namespace qx {
namespace ppd_detail {

namespace {

// Where the first carriage return or 0x1A byte from i on is; n when none.
// Most PPD blocks hold neither, or a line end every few dozen bytes.
size_t NextMark(const unsigned char *bytes, size_t i, size_t n) {
#ifdef QX_PPD_SSE2
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i eof = _mm_set1_epi8(0x1A);
  for (; n - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
    unsigned hits = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, eof))));
    if (hits != 0) return i + static_cast<size_t>(__builtin_ctz(hits));
  }
#endif
  while (i < n && bytes[i] != '\r' && bytes[i] != 0x1A) ++i;
  return i;
}

}  // namespace

TextModeBlock FoldTextMode(unsigned char *bytes, size_t n) {
  size_t in = NextMark(bytes, 0, n);
  size_t out = in;
  while (in < n) {
    if (bytes[in] == 0x1A) return {out, true};
    // A carriage return: dropped before a line feed, kept otherwise.
    if (in + 1 < n && bytes[in + 1] == '\n') {
      ++in;
    } else {
      bytes[out++] = bytes[in++];
    }
    size_t mark = NextMark(bytes, in, n);
    if (out != in) std::memmove(bytes + out, bytes + in, mark - in);
    out += mark - in;
    in = mark;
  }
  return {out, false};
}

}  // namespace ppd_detail
}  // namespace qx
