// What the reader makes of a token's bytes.
#include "ppd/ppd_token_text.h"

#include <new>

#include "ppd/ppd_scan.h"
#include "ppd/ppd_text.h"

namespace qx {
namespace ppd_detail {

namespace {

bool IsHexSpace(unsigned c) { return c == 0x20 || (c >= 0x09 && c <= 0x0D); }

int HexDigit(unsigned c) {
  if (c >= '0' && c <= '9') return static_cast<int>(c - '0');
  if (c >= 'a' && c <= 'f') return static_cast<int>(c - 'a' + 10);
  if (c >= 'A' && c <= 'F') return static_cast<int>(c - 'A' + 10);
  return -1;
}

}  // namespace

bool StartsWith(const PpdToken &token, const char *prefix, int32_t length) {
  if (token.length < length) return false;
  for (int32_t i = 0; i < length; ++i) {
    if (token.bytes[i] != static_cast<unsigned char>(prefix[i])) return false;
  }
  return true;
}

bool TokenEquals(const PpdToken &token, const PpdWord &text) {
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

}  // namespace ppd_detail
}  // namespace qx
