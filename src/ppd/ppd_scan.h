// The token scanner shared by the reader's steps: byte classes, a scan over
// a source's window of taken bytes, and the token reader itself. Internal to
// the PPD reader.
#pragma once

#include <cstdint>
#include <cstring>

#include "ppd/ppd_reader.h"

// QX_PPD_SCALAR keeps a build to the byte-by-byte forms (tests of the x86
// form on x64).
#if defined(__SSE2__) && !defined(QX_PPD_SCALAR)
#include <emmintrin.h>
#define QX_PPD_SSE2 1
#endif

// The scanner's small steps run for every token: keep them in the loops.
#define QX_PPD_INLINE inline __attribute__((always_inline))

namespace qx {
namespace ppd_detail {

inline uint64_t Load8(const void *p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

inline uint32_t Load4(const void *p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Sixteen bytes at a time: SSE2 where the target has it (every x64), the
// same steps byte by byte elsewhere (x86 processors without SSE2). Bit i of
// a mask stands for byte i.

// Bytes 0x00 to 0x20, ':' and '"': every byte that may end a plain token.
QX_PPD_INLINE unsigned PlainEndCandidates16(const unsigned char *p) {
#ifdef QX_PPD_SSE2
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
  __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(':')),
                                          _mm_cmpeq_epi8(v, _mm_set1_epi8('"'))),
                             _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x20)), v));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
#else
  unsigned mask = 0;
  for (unsigned i = 0; i < 16; ++i) {
    if (p[i] <= 0x20 || p[i] == ':' || p[i] == '"') mask |= 1u << i;
  }
  return mask;
#endif
}

// Bytes from 0x80 on.
QX_PPD_INLINE unsigned HighBytes16(const unsigned char *p) {
#ifdef QX_PPD_SSE2
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p))));
#else
  unsigned mask = 0;
  for (unsigned i = 0; i < 16; ++i) mask |= static_cast<unsigned>(p[i] >> 7) << i;
  return mask;
#endif
}

// "<", ">", "/" and NUL: the bytes that make the texts of a
// "keyword/translation" token more than its bytes widened (NUL ends a text).
QX_PPD_INLINE unsigned TextMarks16(const unsigned char *p) {
#ifdef QX_PPD_SSE2
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
  __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('>'))),
                             _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('/')), _mm_cmpeq_epi8(v, _mm_setzero_si128())));
  return static_cast<unsigned>(_mm_movemask_epi8(hit));
#else
  unsigned mask = 0;
  for (unsigned i = 0; i < 16; ++i) {
    if (p[i] == '<' || p[i] == '>' || p[i] == '/' || p[i] == 0) mask |= 1u << i;
  }
  return mask;
#endif
}

// Bytes from 0x80 on, and zero bytes: a zero less one is the only byte
// below 0x80 that comes out with its top bit set.
QX_PPD_INLINE unsigned ZeroOrHighBytes16(const unsigned char *p) {
#ifdef QX_PPD_SSE2
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
  return static_cast<unsigned>(_mm_movemask_epi8(_mm_or_si128(v, _mm_sub_epi8(v, _mm_set1_epi8(1)))));
#else
  unsigned mask = 0;
  for (unsigned i = 0; i < 16; ++i) {
    if (p[i] == 0 || p[i] >= 0x80) mask |= 1u << i;
  }
  return mask;
#endif
}

// The first byte c in [p, p + n), or null. Sixteen bytes at a time where
// SSE2 is there: the Windows C runtime of Wine goes byte by byte, at the
// cost of a call.
QX_PPD_INLINE const unsigned char *FindByte(const unsigned char *p, size_t n, unsigned char c) {
#ifdef QX_PPD_SSE2
  const __m128i wanted = _mm_set1_epi8(static_cast<char>(c));
  for (; n >= 16; p += 16, n -= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, wanted)));
    if (mask != 0) return p + __builtin_ctz(mask);
  }
  for (; n > 0; ++p, --n) {
    if (*p == c) return p;
  }
  return nullptr;
#else
  return static_cast<const unsigned char *>(std::memchr(p, c, n));
#endif
}

// Sixteen bytes as sixteen units of the same value.
template <class Unit>
QX_PPD_INLINE void Widen16(const unsigned char *p, Unit *units) {
#ifdef QX_PPD_SSE2
  const __m128i zero = _mm_setzero_si128();
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
  _mm_storeu_si128(reinterpret_cast<__m128i *>(units), _mm_unpacklo_epi8(v, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i *>(units + 8), _mm_unpackhi_epi8(v, zero));
#else
  for (unsigned i = 0; i < 16; ++i) units[i] = p[i];
#endif
}

// Blanks and tabs (blank), and bytes a simple constraint word may not hold
// (odd): control and high bytes, space, DEL, the delimiters and "%".
struct WordMasks16 {
  unsigned blank;
  unsigned odd;
};

QX_PPD_INLINE WordMasks16 ClassifyWords16(const unsigned char *p) {
#ifdef QX_PPD_SSE2
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
  __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
  // Signed: bytes from 0x80 on are negative, so below 0x21 as well.
  __m128i odd = _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x21)), _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
  odd = _mm_or_si128(odd, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')), _mm_cmpeq_epi8(v, _mm_set1_epi8(':'))));
  odd = _mm_or_si128(odd, _mm_cmpeq_epi8(v, _mm_set1_epi8('%')));
  return {static_cast<unsigned>(_mm_movemask_epi8(blank)), static_cast<unsigned>(_mm_movemask_epi8(odd))};
#else
  WordMasks16 masks = {0, 0};
  for (unsigned i = 0; i < 16; ++i) {
    unsigned char c = p[i];
    if (c == ' ' || c == '\t') masks.blank |= 1u << i;
    if (c < 0x21 || c >= 0x7F || c == '"' || c == ':' || c == '%') masks.odd |= 1u << i;
  }
  return masks;
#endif
}

// Byte classes.
enum : unsigned char { kOrdinary = 0, kWhite = 1, kDelimiter = 2 };

struct ByteClasses {
  unsigned char of[256];
  bool endsPlain[256];       // white space and delimiters end a plain token
  bool endsWithSpaces[256];  // ... except blanks, tabs and quotes in display texts
  bool endsComment[256];     // line ends
  unsigned char hexMark[256];  // "<" and ">"
  constexpr ByteClasses() : of(), endsPlain(), endsWithSpaces(), endsComment(), hexMark() {
    of[0x00] = of[0x09] = of[0x0A] = of[0x0C] = of[0x0D] = of[0x20] = kWhite;
    of[0x22] = of[0x3A] = kDelimiter;
    for (int c = 0; c < 256; ++c) {
      endsPlain[c] = of[c] != kOrdinary;
      endsWithSpaces[c] = endsPlain[c] && c != 0x09 && c != 0x20 && c != 0x22;
    }
    endsComment[0x0A] = endsComment[0x0D] = true;
    hexMark['<'] = hexMark['>'] = 1;
  }
};
constexpr ByteClasses kClasses;

// Copies the bytes of a plain token from p on into out, up to stop or the
// first byte that ends the token, and returns where it stopped. Sixteen
// bytes at a time where SSE2 is there: most tokens end in the first block.
template <bool kSpaces>
QX_PPD_INLINE const unsigned char *CopyPlainBytes(const unsigned char *p, const unsigned char *stop,
                                    unsigned char *&out) {
  const bool *ends = kSpaces ? kClasses.endsWithSpaces : kClasses.endsPlain;
  unsigned char *o = out;
#ifdef QX_PPD_SSE2
  // Candidates: the colon, the quote (unless kSpaces), and every byte up to
  // the highest white space byte that ends the token; the table sorts out
  // the control bytes among them that do not.
  const __m128i colon = _mm_set1_epi8(':');
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i low = _mm_set1_epi8(kSpaces ? 0x0D : 0x20);
  while (stop - p >= 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(o), v);  // the caller keeps room
    __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, colon), _mm_cmpeq_epi8(_mm_min_epu8(v, low), v));
    if (!kSpaces) hit = _mm_or_si128(hit, _mm_cmpeq_epi8(v, quote));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit));
    while (mask != 0) {
      unsigned i = static_cast<unsigned>(__builtin_ctz(mask));
      if (ends[p[i]]) {
        out = o + i;
        return p + i;
      }
      mask &= mask - 1;
    }
    p += 16;
    o += 16;
  }
#endif
  while (p != stop && !ends[*p]) *o++ = *p++;
  out = o;
  return p;
}

// Scans a source's window of taken bytes; a byte is consumed when the scan
// moves past it. The window goes back to the source when the scan ends.
template <class Source>
class Scan {
 public:
  QX_PPD_INLINE explicit Scan(Source &source) : source_(source), p_(source.pos), e_(source.end) {}
  QX_PPD_INLINE ~Scan() {
    source_.pos = p_;
    source_.end = e_;
  }
  Scan(const Scan &) = delete;
  Scan &operator=(const Scan &) = delete;

  // True when a byte is there to look at; false at the end of the input.
  QX_PPD_INLINE bool More() {
    if (p_ != e_) return true;
    if (!source_.Refill()) return false;
    p_ = source_.pos;
    e_ = source_.end;
    return true;
  }
  unsigned char Peek() const { return *p_; }
  // Drops white space, which the token reader drops too.
  QX_PPD_INLINE void SkipWhite() {
    while (More() && kClasses.of[*p_] == kWhite) ++p_;
  }
  unsigned char Take() { return *p_++; }
  const unsigned char *Data() const { return p_; }
  size_t Available() const { return static_cast<size_t>(e_ - p_); }
  void Consume(size_t count) { p_ += count; }

  // Drops bytes up to the next line end, which is dropped too; false when
  // the input ends first.
  bool SkipComment() {
    for (;;) {
      if (!More()) return false;
#ifdef QX_PPD_SSE2
      // Comment lines run to dozens of bytes: sixteen at a time.
      while (e_ - p_ >= 16) {
        __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p_));
        unsigned ends = static_cast<unsigned>(_mm_movemask_epi8(
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\n')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\r')))));
        if (ends != 0) {
          p_ += __builtin_ctz(ends);
          break;
        }
        p_ += 16;
      }
#endif
      while (p_ != e_ && !kClasses.endsComment[*p_]) ++p_;
      if (p_ != e_) {
        ++p_;
        return true;
      }
    }
  }

  // Stores the bytes of a plain token from token.bytes + n on (with kSpaces,
  // blanks, tabs and quotes belong to it). The byte that ends the token is
  // consumed and dropped; so is the byte taken when the token is full.
  // Returns the token's length.
  template <bool kSpaces>
  QX_PPD_INLINE int32_t ReadPlain(PpdToken &token, int32_t n) {
    for (;;) {
      if (!More()) return n;
      const unsigned char *stop = e_;
      if (stop - p_ > kPpdTokenLimit - n) stop = p_ + (kPpdTokenLimit - n);
      unsigned char *o = token.bytes + n;
      const unsigned char *p = CopyPlainBytes<kSpaces>(p_, stop, o);
      n += static_cast<int32_t>(p - p_);
      p_ = p;
      if (p_ != stop) {
        ++p_;
        return n;
      }
      if (n == kPpdTokenLimit) {
        if (More()) ++p_;
        return n;
      }
    }
  }

  // Stores bytes up to the closing double quote, which is dropped, like
  // ReadPlain otherwise.
  int32_t ReadQuoted(PpdToken &token, int32_t n) {
    for (;;) {
      if (!More()) return n;
      size_t room = static_cast<size_t>(kPpdTokenLimit - n);
      size_t count = static_cast<size_t>(e_ - p_);
      if (count > room) count = room;
      const unsigned char *quote = FindByte(p_, count, '"');
      if (quote != nullptr) count = static_cast<size_t>(quote - p_);
      std::memcpy(token.bytes + n, p_, count);
      n += static_cast<int32_t>(count);
      p_ += count;
      if (quote != nullptr) {
        ++p_;
        return n;
      }
      if (n == kPpdTokenLimit) {
        if (More()) ++p_;
        return n;
      }
    }
  }

 private:
  Source &source_;
  const unsigned char *p_;
  const unsigned char *e_;
};

template <class Source>
QX_PPD_INLINE bool ReadTokenFrom(Source &source, PpdToken &token, bool spaces) {
  Scan<Source> scan(source);
  unsigned char *out = token.bytes;
  int32_t n;
  for (;;) {
    if (!scan.More()) {
      out[0] = 0;
      token.length = 0;
      return false;
    }
    unsigned char c = scan.Take();
    if (kClasses.of[c] == kWhite) continue;
    if (c == '*') {
      // An asterisk and "%" start a comment; any other asterisk a token.
      if (!scan.More() || scan.Peek() != '%') {
        out[0] = c;
        n = spaces ? scan.template ReadPlain<true>(token, 1) : scan.template ReadPlain<false>(token, 1);
        break;
      }
      scan.Take();
    } else if (c == '"') {
      // Quoted: everything up to the closing quote, line ends included.
      n = scan.ReadQuoted(token, 0);
      break;
    } else if (c != '%') {
      // With the spaces flag a display text runs to the colon or the line
      // end: blanks, tabs and double quotes (13" x 19") stay in it.
      out[0] = c;
      n = spaces ? scan.template ReadPlain<true>(token, 1) : scan.template ReadPlain<false>(token, 1);
      break;
    }
    // A comment runs to the line end; every byte of it is dropped.
    if (!scan.SkipComment()) {
      out[0] = 0;
      token.length = 0;
      return false;
    }
  }
  token.bytes[n] = 0;
  token.length = n;
  return true;
}

}  // namespace ppd_detail
}  // namespace qx
