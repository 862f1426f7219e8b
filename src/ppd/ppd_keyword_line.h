// "keyword/translation" as the reader reads it on *OpenUI, *OpenGroup and
// option lines. Internal to the PPD reader.
#pragma once

#include "ppd/ppd_line_steps.h"
#include "ppd/ppd_scan.h"
#include "ppd/ppd_text.h"
#include "ppd/ppd_token_text.h"

namespace qx {
namespace ppd_detail {

// The common case in one step: a short plain name of ASCII bytes that ends
// in view ("*OpenUI *Duplex: PickOne") becomes both texts directly, as the
// token read would make them; anything else is left to it, with at most
// white space consumed.
template <class Source>
QX_PPD_INLINE bool ReadShortNameFrom(Source &source, PpdText &keyword, PpdText &translation) {
  Scan<Source> scan(source);
  scan.SkipWhite();
  if (!scan.More() || scan.Available() < 17) return false;
  const unsigned char *p = scan.Data();
  if (p[0] == '"' || p[0] == '%' || (p[0] == '*' && p[1] == '%')) return false;
  int32_t end = 1;  // the first byte starts the token, whatever it is
  while (end < 16 && !kClasses.endsWithSpaces[p[end]]) ++end;
  if (end == 16 || !SetShortNameTexts(p, end, keyword, translation)) return false;
  scan.Consume(static_cast<size_t>(end) + 1);  // the byte that ends the token is dropped
  return true;
}

// Reads "keyword/translation" up to the colon or line end, decoding <hex>
// bytes. The caller passes empty texts. False at the end of the input.
template <class Source>
bool ReadKeywordAndTranslationFrom(Source &source, PpdToken &token, PpdText &keyword,
                                   PpdText &translation) {
  if (ReadShortNameFrom(source, keyword, translation)) return true;
  if (!ReadTokenFrom(source, token, true)) return false;
  // The token's buffer is far larger than any short token.
  if (SetShortNameTexts(token.bytes, token.length, keyword, translation)) return true;
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

}  // namespace ppd_detail
}  // namespace qx
