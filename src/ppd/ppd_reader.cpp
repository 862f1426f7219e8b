// The PPD scanner: tokens, the keyword table, and the model built from the
// few keywords the plug-in needs. Every other token is skipped one by one.
// Nothing is reported: what was read before a problem stays in the model.
#include "ppd/ppd_reader.h"

#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ppd/ppd_marks.h"
#include "ppd/ppd_text.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#define QX_PPD_SSE2 1
#endif

// Steps that read common lines straight from the bytes in view. They rely on
// ASCII bytes standing for units of the same value, which the native code
// page gives; the DLL converts every text through the system.
#if defined(QX_PPD_SSE2) && !defined(_WIN32)
#define QX_PPD_LINE_STEPS 1
#endif

// The scanner's small steps run for every token: keep them in the loops.
#define QX_PPD_INLINE inline __attribute__((always_inline))

namespace qx {

namespace {

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
      const void *quote = std::memchr(p_, '"', count);
      if (quote != nullptr) count = static_cast<size_t>(static_cast<const unsigned char *>(quote) - p_);
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

// The keyword table, sorted by code units; the index is the code.
struct KeywordRow {
  const char *text;
  int32_t length;
};
#define QX_ROW(s) {s, static_cast<int32_t>(sizeof(s) - 1)}
constexpr KeywordRow kKeywords[22] = {
    QX_ROW(""), QX_ROW("*?"), QX_ROW("*CloseGroup"), QX_ROW("*CloseUI"),
    QX_ROW("*Default"), QX_ROW("*End"), QX_ROW("*FileVersion"), QX_ROW("*FormatVersion"),
    QX_ROW("*LanguageEncoding"), QX_ROW("*LanguageVersion"), QX_ROW("*Manufacturer"),
    QX_ROW("*ModelName"), QX_ROW("*NickName"), QX_ROW("*OpenGroup"), QX_ROW("*OpenUI"),
    QX_ROW("*OrderDependency"), QX_ROW("*PCFileName"), QX_ROW("*PPD-Adobe"),
    QX_ROW("*PSVersion"), QX_ROW("*Product"), QX_ROW("*ShortNickName"),
    QX_ROW("*UIConstraints")};
#undef QX_ROW

enum KeywordCode {
  kCloseGroup = 2, kCloseUI = 3, kLanguageEncoding = 8, kLanguageVersion = 9,
  kManufacturer = 10, kModelName = 11, kOpenGroup = 13, kOpenUI = 14,
  kOrderDependency = 15, kProduct = 19, kUIConstraints = 21
};

uint64_t Load8(const void *p) {
  uint64_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

uint32_t Load4(const void *p) {
  uint32_t v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

// Whether a row equals a token of bytes or of 16-bit units. The bytes are
// compared in a few word loads, the last one overlapping: a library call
// costs more than these short keywords take.
bool RowEquals(const KeywordRow &row, const unsigned char *token, int32_t length) {
  if (row.length != length) return false;
  const char *text = row.text;
  if (length >= 8) {
    for (int32_t i = 0; i + 8 <= length; i += 8) {
      if (Load8(text + i) != Load8(token + i)) return false;
    }
    return Load8(text + length - 8) == Load8(token + length - 8);
  }
  if (length >= 4) return Load4(text) == Load4(token) && Load4(text + length - 4) == Load4(token + length - 4);
  for (int32_t i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(text[i]) != token[i]) return false;
  }
  return true;
}

bool RowEquals(const KeywordRow &row, const PpdUnit *token, int32_t length) {
  if (row.length != length) return false;
  for (int32_t i = 0; i < length; ++i) {
    if (static_cast<unsigned char>(row.text[i]) != token[i]) return false;
  }
  return true;
}

// The rows by (length, second unit): at most two rows share one, so a token
// is compared with at most two rows instead of searched for. The result is
// the search's: the one row equal to the token, or 0.
struct RowsByShape {
  unsigned char rows[18][128][2];
  constexpr RowsByShape() : rows() {
    for (int code = 1; code < 22; ++code) {
      const KeywordRow &row = kKeywords[code];
      unsigned char *slot = rows[row.length][static_cast<unsigned char>(row.text[1])];
      slot[slot[0] == 0 ? 0 : 1] = static_cast<unsigned char>(code);
    }
  }
};
constexpr RowsByShape kRowsByShape;

template <class Unit>
int Classify(const Unit *token, int32_t length) {
  if (length < 2 || length > 17) return 0;  // row 0, the empty one, is code 0 too
  unsigned second = static_cast<unsigned>(token[1]) & 0xFFFFu;
  if (second >= 128) return 0;
  const unsigned char *slot = kRowsByShape.rows[length][second];
  for (int i = 0; i < 2 && slot[i] != 0; ++i) {
    if (RowEquals(kKeywords[slot[i]], token, length)) return slot[i];
  }
  return 0;
}

bool StartsWith(const PpdToken &token, const char *prefix, int32_t length) {
  if (token.length < length) return false;
  for (int32_t i = 0; i < length; ++i) {
    if (token.bytes[i] != static_cast<unsigned char>(prefix[i])) return false;
  }
  return true;
}

bool TokenEquals(const PpdToken &token, const PpdText &text) {
  if (token.length != text.length) return false;
  for (int32_t i = 0; i < token.length; ++i) {
    if (text.text[i] != token.bytes[i]) return false;
  }
  return true;
}

// A copy of the token as a zero-terminated UTF-16 string, byte for unit:
// new[] storage, or storage in a record store.
PpdUnit *CopyBytesTo(const unsigned char *bytes, int32_t length, PpdUnit *copy) {
  if (copy == nullptr) return nullptr;
  int32_t i = 0;
#ifdef QX_PPD_SSE2
  const __m128i zero = _mm_setzero_si128();
  for (; length - i >= 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(copy + i), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(copy + i + 8), _mm_unpackhi_epi8(v, zero));
  }
#endif
  for (; i < length; ++i) copy[i] = bytes[i];
  copy[length] = 0;
  return copy;
}

PpdUnit *CopyBytes(const unsigned char *bytes, int32_t length, PpdRecordStore &store) {
  size_t size = sizeof(PpdUnit) * (static_cast<size_t>(length) + 1);
  return CopyBytesTo(bytes, length, static_cast<PpdUnit *>(store.Allocate(size)));
}

PpdUnit *CopyToken(const PpdToken &token) {
  return CopyBytesTo(token.bytes, token.length, new (std::nothrow) PpdUnit[static_cast<size_t>(token.length) + 1]);
}

PpdUnit *CopyToken(const PpdToken &token, PpdRecordStore &store) {
  return CopyBytes(token.bytes, token.length, store);
}

bool IsHexSpace(unsigned c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D); }

int HexDigit(unsigned c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

// The standard string-to-long conversion of a two-character string in base
// 16: leading white space, an optional sign, hexadecimal digits (after an
// optional "0x"), nothing convertible gives 0. Returns the low byte, which
// is all that the text conversion keeps of the resulting unit.
unsigned char HexPairValue(unsigned a, unsigned b) {
  unsigned s[3] = {a, b, 0};
  int i = 0;
  while (i < 2 && IsHexSpace(s[i])) ++i;
  bool negative = false;
  if (s[i] == '+' || s[i] == '-') {
    negative = s[i] == '-';
    ++i;
  }
  long value = 0;
  for (; HexDigit(s[i]) >= 0; ++i) value = value * 16 + HexDigit(s[i]);
  if (negative) value = -value;
  return static_cast<unsigned char>(value & 0xFF);
}

// The leading decimal integer of a token, saturated to 32 bits.
int32_t LeadingInteger(const PpdToken &token) {
  const unsigned char *p = token.bytes;
  while (IsHexSpace(*p)) ++p;
  bool negative = false;
  if (*p == '+' || *p == '-') negative = *p++ == '-';
  long long value = 0;
  for (; *p >= '0' && *p <= '9'; ++p) {
    if (value <= INT32_MAX) value = value * 10 + (*p - '0');
  }
  if (negative) value = -value;
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(value);
}

// Whether length bytes hold "<" or ">", which switch hexadecimal decoding on
// and off (and are dropped); if not, where the first slash is (-1: none).
// readable bytes from bytes on may be loaded (at least length); the bits of
// those past length are masked off.
bool HasHexMarks(const unsigned char *bytes, int32_t length, int32_t readable, int32_t &slash) {
  int32_t i = 0;
#ifdef QX_PPD_SSE2
  for (; i < length && i <= readable - 16; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + i));
    unsigned inToken = length - i >= 16 ? 0xFFFFu : (1u << (length - i)) - 1;
    unsigned hex = static_cast<unsigned>(_mm_movemask_epi8(
                       _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('<')), _mm_cmpeq_epi8(v, _mm_set1_epi8('>'))))) &
                   inToken;
    if (hex != 0) return true;
    unsigned slashes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_set1_epi8('/')))) & inToken;
    if (slashes != 0 && slash < 0) slash = i + static_cast<int32_t>(__builtin_ctz(slashes));
  }
#else
  (void)readable;
#endif
  for (; i < length; ++i) {
    unsigned char c = bytes[i];
    if (kClasses.hexMark[c] != 0) return true;
    if (c == '/' && slash < 0) slash = i;
  }
  return false;
}

// The texts from the decoded bytes after the slash (all of them when there
// is none), at most 259: the translation without a leading asterisk, and the
// keyword too when the part before the slash gave none.
void SetTexts(PpdText &keyword, PpdText &translation, const unsigned char *bytes, size_t count) {
  if (keyword.IsEmpty()) BytesToPpdText(keyword, bytes, count);
  if (count > 0 && bytes[0] == '*') {
    BytesToPpdText(translation, bytes + 1, count - 1);
  } else {
    BytesToPpdText(translation, bytes, count);
  }
}

// The texts of a "keyword/translation" token without hexadecimal parts,
// split at its first slash (-1: none).
void SetPlainTexts(PpdText &keyword, PpdText &translation, const unsigned char *bytes, int32_t length,
                   int32_t slash) {
  size_t count = static_cast<size_t>(length);
  if (slash >= 0) {
    size_t before = static_cast<size_t>(slash);
    BytesToPpdText(keyword, bytes, before < kPpdTextUnits - 1 ? before : kPpdTextUnits - 1);
    bytes += before + 1;
    count -= before + 1;
  }
  SetTexts(keyword, translation, bytes, count < kPpdTextUnits - 1 ? count : kPpdTextUnits - 1);
}

template <class Source>
bool ReadKeywordAndTranslationFrom(Source &source, PpdToken &token, PpdText &keyword,
                                   PpdText &translation) {
  if (!ReadTokenFrom(source, token, true)) return false;
  int32_t slash = -1;
  if (!HasHexMarks(token.bytes, token.length, kPpdTokenUnits, slash)) {
    SetPlainTexts(keyword, translation, token.bytes, token.length, slash);
    return true;
  }
  unsigned char work[kPpdTextUnits];
  work[0] = 0;
  int32_t n = 0;
  bool hex = false;
  int pending = -1;
  bool split = false;
  for (int32_t i = 0; i < token.length; ++i) {
    unsigned char c = token.bytes[i];
    if (c == '/' && !split) {
      // Only the first slash separates: a translation may hold slashes
      // ("Perfect/Ring/Twin Loop Binder").
      BytesToPpdText(keyword, work, static_cast<size_t>(n));
      n = 0;
      split = true;
    } else if (c == '<') {
      hex = true;
      pending = -1;
    } else if (c == '>') {
      hex = false;
      pending = -1;
    } else if (!hex) {
      if (n < kPpdTextUnits - 1) work[n++] = c;
    } else if (pending < 0) {
      pending = c;
    } else {
      if (n < kPpdTextUnits - 1) work[n++] = HexPairValue(static_cast<unsigned>(pending), c);
      pending = -1;
    }
  }
  SetTexts(keyword, translation, work, static_cast<size_t>(n));
  return true;
}

#ifdef QX_PPD_LINE_STEPS
// The common case of ReadTextFrom in one step: a plain token of ASCII bytes
// that ends within the sixteen bytes in view becomes the text directly (the
// native code page maps ASCII to the same units). Anything else is left to
// the token reader, with at most white space consumed.
template <class Source>
QX_PPD_INLINE bool ReadShortAsciiText(Source &source, PpdText &field) {
  Scan<Source> scan(source);
  while (scan.More() && kClasses.of[scan.Peek()] == kWhite) scan.Take();
  if (!scan.More() || scan.Available() < 16) return false;
  const unsigned char *p = scan.Data();
  if (p[0] == '"' || p[0] == '%' || (p[0] == '*' && p[1] == '%')) return false;
  __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
  __m128i hit = _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(':')),
                                          _mm_cmpeq_epi8(v, _mm_set1_epi8('"'))),
                             _mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8(0x20)), v));
  unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hit)) & ~1u;  // the first byte starts it
  unsigned end = 16;
  while (mask != 0) {
    unsigned i = static_cast<unsigned>(__builtin_ctz(mask));
    if (kClasses.endsPlain[p[i]]) {
      end = i;
      break;
    }
    mask &= mask - 1;
  }
  if (end == 16) return false;
  unsigned high = static_cast<unsigned>(_mm_movemask_epi8(v)) & ((1u << end) - 1);
  if (high != 0) return false;
  const __m128i zero = _mm_setzero_si128();
  _mm_storeu_si128(reinterpret_cast<__m128i *>(field.text), _mm_unpacklo_epi8(v, zero));
  _mm_storeu_si128(reinterpret_cast<__m128i *>(field.text + 8), _mm_unpackhi_epi8(v, zero));
  field.text[end] = 0;
  field.length = static_cast<int32_t>(end);
  scan.Consume(end + 1);  // the byte that ends the token is dropped
  return true;
}
#endif

#ifdef QX_PPD_LINE_STEPS
// Bit i set where byte i of the 64 in view is a blank or tab; special: where
// it is anything a simple constraint word may not hold (control and high
// bytes, the delimiters, and "%", which may start a comment).
struct LineMasks {
  uint64_t blank = 0;
  uint64_t special = 0;
};

QX_PPD_INLINE LineMasks ClassifyLine64(const unsigned char *p) {
  LineMasks masks;
  for (int k = 0; k < 4; ++k) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 16 * k));
    __m128i blank = _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(' ')),
                                 _mm_cmpeq_epi8(v, _mm_set1_epi8('\t')));
    // Signed: bytes from 0x80 on are negative, so below 0x21 as well.
    __m128i odd = _mm_or_si128(_mm_cmplt_epi8(v, _mm_set1_epi8(0x21)),
                               _mm_cmpeq_epi8(v, _mm_set1_epi8(0x7F)));
    odd = _mm_or_si128(odd, _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('"')),
                                         _mm_cmpeq_epi8(v, _mm_set1_epi8(':'))));
    odd = _mm_or_si128(odd, _mm_cmpeq_epi8(v, _mm_set1_epi8('%')));
    masks.blank |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(blank))) << (16 * k);
    masks.special |= static_cast<uint64_t>(static_cast<unsigned>(_mm_movemask_epi8(odd))) << (16 * k);
  }
  masks.special &= ~masks.blank;
  return masks;
}

// Takes the keyword token "*UIConstraints" when it comes next and is in
// view, with the white space before it and the byte that ends it, as the
// token reader would. Otherwise at most white space is taken.
template <class Source>
QX_PPD_INLINE bool TakeConstraintKeyword(Source &source) {
  Scan<Source> scan(source);
  while (scan.More() && kClasses.of[scan.Peek()] == kWhite) scan.Take();
  if (scan.Available() < 15) return false;
  const unsigned char *p = scan.Data();
  if (Load8(p) != Load8("*UIConst") || Load8(p + 6) != Load8("straints") || !kClasses.endsPlain[p[14]]) {
    return false;
  }
  scan.Consume(15);
  return true;
}

// A *UIConstraints line in its common form, read in one step: four words of
// printable ASCII on one line, separated by blanks or tabs, all within the 64
// bytes in view, the fourth ended by a blank, a tab, a line end or a
// delimiter. Makes the constraint four token reads would make and consumes
// the same bytes; anything else is left to them, with nothing consumed.
template <class Source>
QX_PPD_INLINE bool ReadSimpleConstraint(Source &source, PpdRecordStore &store,
                                        PpdConstraint *&constraint) {
  Scan<Source> scan(source);
  // 64 bytes are classified; the widening reads up to 16 beyond the last word.
  if (scan.Available() < 80) return false;
  const unsigned char *p = scan.Data();
  LineMasks masks = ClassifyLine64(p);
  unsigned stop = masks.special != 0 ? static_cast<unsigned>(__builtin_ctzll(masks.special)) : 64;
  uint64_t inSegment = stop == 64 ? ~uint64_t{0} : (uint64_t{1} << stop) - 1;
  uint64_t word = ~masks.blank & inSegment;
  uint64_t starts = word & ~(word << 1);
  uint64_t ends = ~word & (word << 1);  // the byte after each word, within the 64
  uint32_t wordStarts[4], wordEnds[4];
  for (int i = 0; i < 4; ++i) {
    if (ends == 0) return false;  // fewer than four words, or the last may go on
    wordStarts[i] = static_cast<uint32_t>(__builtin_ctzll(starts));
    wordEnds[i] = static_cast<uint32_t>(__builtin_ctzll(ends));
    starts &= starts - 1;
    ends &= ends - 1;
  }
  unsigned end = wordEnds[3];
  // A word that runs into a special byte ends there only when the byte ends
  // plain tokens; "%", high and other control bytes would belong to it.
  if (end == stop && !kClasses.endsPlain[p[end]]) return false;
  constraint = PpdConstraint::CreateFromAsciiLine(store, p, wordStarts, wordEnds);
  if (constraint == nullptr) return false;
  scan.Consume(end + 1);
  return true;
}
#endif

template <class Source>
QX_PPD_INLINE bool ReadTextFrom(Source &source, PpdToken &token, PpdText &field) {
#ifdef QX_PPD_LINE_STEPS
  if (ReadShortAsciiText(source, field)) return true;
#endif
  if (!ReadTokenFrom(source, token, false)) return false;
  BytesToPpdText(field, token.bytes, static_cast<size_t>(token.length));
  return true;
}

#ifdef QX_PPD_LINE_STEPS
// The feature keyword as bytes, when option lines may be read in one step:
// every unit ASCII, and no keyword the block's other lines are known by.
struct OptionLineKeyword {
  unsigned char bytes[kPpdTextUnits];
  int32_t length = 0;  // 0: not in one step

  explicit OptionLineKeyword(const PpdText &keyword) {
    if (keyword.IsEmpty()) return;
    for (int32_t i = 0; i < keyword.length; ++i) {
      if (keyword.text[i] >= 0x80) return;
      bytes[i] = static_cast<unsigned char>(keyword.text[i]);
    }
    PpdToken token;
    token.bytes = bytes;
    token.length = keyword.length;
    if (bytes[0] == '*' && (Classify(bytes, keyword.length) == kCloseUI || StartsWith(token, "*Default", 8) ||
                            Classify(bytes, keyword.length) == kOrderDependency || StartsWith(token, "*?", 2))) {
      return;
    }
    length = keyword.length;
  }
};

enum class LineStep { kLeft, kRead, kOutOfMemory };

// An option line in its common form, read in one step: the feature keyword
// and a blank, "option/translation" without hexadecimal parts up to a colon
// or line end, blanks, and a quoted invocation, all in view. Makes the
// option the token reads would make and consumes the same bytes; any other
// line is left to them, with at most white space consumed.
template <class Source>
LineStep ReadSimpleOption(Source &source, const OptionLineKeyword &keyword, PpdFeature &feature,
                      PpdRecordStore &store) {
  Scan<Source> scan(source);
  while (scan.More() && kClasses.of[scan.Peek()] == kWhite) scan.Take();
  const int32_t length = keyword.length;
  if (scan.Available() < static_cast<size_t>(length) + 4) return LineStep::kLeft;
  const unsigned char *p = scan.Data();
  const int32_t available = static_cast<int32_t>(scan.Available());
  if (std::memcmp(p, keyword.bytes, static_cast<size_t>(length)) != 0) return LineStep::kLeft;
  if (p[length] != ' ' && p[length] != '\t') return LineStep::kLeft;
  int32_t start = length + 1;
  while (start < available && (p[start] == ' ' || p[start] == '\t')) ++start;
  if (start + 1 >= available) return LineStep::kLeft;
  unsigned char first = p[start];
  if (kClasses.of[first] == kWhite || first == '"' || first == '%' || (first == '*' && p[start + 1] == '%')) {
    return LineStep::kLeft;
  }
  int32_t end = start + 1;
  while (end < available && !kClasses.endsWithSpaces[p[end]]) ++end;
  int32_t open = end + 1;
  while (open < available && (p[open] == ' ' || p[open] == '\t')) ++open;
  if (open >= available || p[open] != '"') return LineStep::kLeft;
  const void *close = std::memchr(p + open + 1, '"', static_cast<size_t>(available - open - 1));
  if (close == nullptr) return LineStep::kLeft;
  int32_t slash = -1;
  if (HasHexMarks(p + start, end - start, available - start, slash)) return LineStep::kLeft;

  PpdOption *option = PpdOption::Create(store);
  if (option == nullptr || !feature.options.Append(option)) return LineStep::kOutOfMemory;
  SetPlainTexts(option->keyword, option->translation, p + start, end - start, slash);
  const unsigned char *invocation = p + open + 1;
  int32_t invocationLength = static_cast<int32_t>(static_cast<const unsigned char *>(close) - invocation);
  option->pwszInvocation = CopyBytes(invocation, invocationLength, store);
  if (option->pwszInvocation == nullptr) return LineStep::kOutOfMemory;
  scan.Consume(static_cast<size_t>(invocationLength + open + 2));
  return LineStep::kRead;
}
#endif

template <class Source>
bool ReadFeatureBodyFrom(Source &source, PpdToken &token, PpdFeature &feature, PpdRecordStore &store) {
  if (!feature.options.Reserve(64)) return false;
  if (!ReadKeywordAndTranslationFrom(source, token, feature.keyword, feature.translation)) return false;
  if (!ReadTokenFrom(source, token, false)) return false;
  if (StartsWith(token, "PickMany", 8) && token.length == 8) {
    feature.iUiType = kPpdPickMany;
  } else if (StartsWith(token, "Boolean", 7) && token.length == 7) {
    feature.iUiType = kPpdBoolean;
  } else {
    feature.iUiType = kPpdPickOne;
  }
#ifdef QX_PPD_LINE_STEPS
  const OptionLineKeyword lineKeyword(feature.keyword);
#endif
  for (;;) {
#ifdef QX_PPD_LINE_STEPS
    if (lineKeyword.length > 0) {
      LineStep step = ReadSimpleOption(source, lineKeyword, feature, store);
      if (step == LineStep::kRead) continue;
      if (step == LineStep::kOutOfMemory) return false;
    }
#endif
    if (!ReadTokenFrom(source, token, false)) return false;
    // Every case but the option line needs a leading asterisk.
    bool keywordLike = token.bytes[0] == '*';
    if (keywordLike && Classify(token.bytes, token.length) == kCloseUI) {
      return ReadTokenFrom(source, token, false);
    }
    if (keywordLike && StartsWith(token, "*Default", 8)) {
      if (!ReadTextFrom(source, token, feature.defaultOption)) return false;
    } else if (keywordLike && token.length == 16 && StartsWith(token, "*OrderDependency", 16)) {
      if (!ReadTokenFrom(source, token, false)) return false;
      feature.iOrder = LeadingInteger(token);
      if (!ReadTokenFrom(source, token, false) || !ReadTokenFrom(source, token, false)) return false;
    } else if (keywordLike && StartsWith(token, "*?", 2)) {
      if (feature.pwszQuery != nullptr) return false;
      if (!ReadTokenFrom(source, token, false)) return false;
      feature.pwszQuery = CopyToken(token);
      if (feature.pwszQuery == nullptr) return false;
    } else if (TokenEquals(token, feature.keyword)) {
      PpdOption *option = PpdOption::Create(store);
      if (option == nullptr || !feature.options.Append(option)) return false;
      if (!ReadKeywordAndTranslationFrom(source, token, option->keyword, option->translation)) {
        return false;
      }
      if (!ReadTokenFrom(source, token, false)) return false;
      option->pwszInvocation = CopyToken(token, store);
      if (option->pwszInvocation == nullptr) return false;
    }
  }
}

// The main loop over one source.
template <class Source>
class Reader {
 public:
  Reader(Source &source, PpdToken &token, PpdModel &model)
      : source_(source), token_(token), model_(model) {}

  void ReadAll() {
    for (;;) {
#ifdef QX_PPD_LINE_STEPS
      // Half of a large PPD's bytes are constraint lines.
      if (TakeConstraintKeyword(source_)) {
        if (!ReadConstraint()) return;
        continue;
      }
#endif
      if (!ReadTokenFrom(source_, token_, false) || !Act()) return;
    }
  }

 private:
  // Acts on the current token; false ends the reading.
  bool Act() {
    if (token_.bytes[0] != '*') return true;  // every keyword starts with it
    switch (Classify(token_.bytes, token_.length)) {
      case kCloseGroup:
        groupKeyword_.Clear();
        groupTranslation_.Clear();
        return true;
      case kLanguageEncoding: return ReadTextFrom(source_, token_, model_.languageEncoding);
      case kLanguageVersion: return ReadTextFrom(source_, token_, model_.languageVersion);
      case kManufacturer: return ReadTextFrom(source_, token_, model_.manufacturer);
      case kModelName: return ReadTextFrom(source_, token_, model_.modelName);
      case kProduct: return ReadTextFrom(source_, token_, model_.product);
      case kOpenGroup:
        groupKeyword_.Clear();
        groupTranslation_.Clear();
        return ReadKeywordAndTranslationFrom(source_, token_, groupKeyword_, groupTranslation_);
      case kOpenUI: return ReadFeature();
      case kUIConstraints: return ReadConstraint();
      default: return true;
    }
  }

  bool ReadFeature() {
    PpdFeature *feature = new (std::nothrow) PpdFeature;
    if (feature == nullptr) return false;
    if (!model_.features.Append(feature)) {
      delete feature;
      return false;
    }
    feature->groupKeyword = groupKeyword_;
    feature->groupTranslation = groupTranslation_;
    if (!ReadFeatureBodyFrom(source_, token_, *feature, model_.optionStore)) return false;
    if (!groupKeyword_.Equals(QX_PPD_STR("InstallableOptions"))) return true;
    InstalledOption *installed = new (std::nothrow) InstalledOption;
    if (installed == nullptr) return false;
    if (!model_.installedOptions.Append(installed)) {
      delete installed;
      return false;
    }
    installed->featureKeyword = feature->keyword;
    installed->currentOption = feature->defaultOption;
    return true;
  }

  // The constraint counts even when a word is missing at the end of the
  // input; reading then ends.
  bool ReadConstraint() {
#ifdef QX_PPD_LINE_STEPS
    PpdConstraint *simple = nullptr;
    if (ReadSimpleConstraint(source_, model_.constraintStore, simple)) return Keep(simple);
#endif
    int read = 0;
    while (read < 4 && ReadTextFrom(source_, token_, words_[read])) ++read;
    PpdConstraint *constraint = PpdConstraint::Create(model_.constraintStore, words_, read);
    return Keep(constraint) && read == 4;
  }

  bool Keep(PpdConstraint *constraint) {
    return constraint != nullptr && model_.constraints.Append(constraint);
  }

  Source &source_;
  PpdToken &token_;
  PpdModel &model_;
  PpdText groupKeyword_;
  PpdText groupTranslation_;
  PpdText words_[4];  // a constraint's words before they are stored
};

template <class Source>
PpdModel *ReadModelFrom(Source &source) {
  PpdModel *model = new (std::nothrow) PpdModel;
  if (model == nullptr) return nullptr;
  PpdToken token;
  token.bytes = static_cast<unsigned char *>(std::malloc(kPpdTokenUnits));
  Reader<Source> reader(source, token, *model);
  if (token.bytes != nullptr && model->features.Reserve(32) &&
      model->installedOptions.Reserve(32) && model->constraints.Reserve(512)) {
    reader.ReadAll();
  }
  std::free(token.bytes);
  MarkConstrainedOptionsInOnePass(model);
  return model;
}

}  // namespace

bool ReadToken(ByteSource &source, PpdToken &token, bool spaces) {
  return ReadTokenFrom(source, token, spaces);
}

bool ReadToken(FileByteSource &source, PpdToken &token, bool spaces) {
  return ReadTokenFrom(source, token, spaces);
}

int ClassifyKeyword(const unsigned char *token, int32_t length) { return Classify(token, length); }

int ClassifyKeyword(const PpdUnit *token) {
  int32_t length = 0;
  while (token[length] != 0) ++length;
  return Classify(token, length);
}

bool ReadKeywordAndTranslation(ByteSource &source, PpdToken &token, PpdText &keyword,
                               PpdText &translation) {
  return ReadKeywordAndTranslationFrom(source, token, keyword, translation);
}

bool ReadFeatureBody(ByteSource &source, PpdToken &token, PpdFeature &feature, PpdRecordStore &store) {
  return ReadFeatureBodyFrom(source, token, feature, store);
}

PpdModel *ReadPpdModel(PpdNextByte nextByte, void *context) {
  ByteSource source(nextByte, context);
  return ReadModelFrom(source);
}

FileByteSource::FileByteSource(FILE *file, size_t blockBytes)
    : file_(file),
      block_(static_cast<unsigned char *>(std::malloc(blockBytes > 0 ? blockBytes : 1))),
      capacity_(blockBytes > 0 ? blockBytes : 1) {
  if (block_ == nullptr) {
    block_ = fallback_;
    capacity_ = kFallbackBytes;
  }
}

FileByteSource::~FileByteSource() {
  if (block_ != fallback_) std::free(block_);
}

bool FileByteSource::Refill() {
  if (ended_) return false;
  size_t n = file_ != nullptr ? std::fread(block_, 1, capacity_, file_) : 0;
  if (n == 0) {
    ended_ = true;
    return false;
  }
  pos = block_;
  end = block_ + n;
  return true;
}

PpdModel *ReadPpdModelFromFile(FILE *file) {
  FileByteSource source(file);
  return ReadModelFrom(source);
}

PpdModel *ReadPpdModelFromSource(FileByteSource &source) { return ReadModelFrom(source); }

int ReadFileByte(void *file) { return std::fgetc(static_cast<FILE *>(file)); }

}  // namespace qx
