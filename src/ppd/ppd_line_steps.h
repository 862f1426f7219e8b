// Steps that read the most common lines in one go from the bytes in view,
// where the token reads would take them token by token: short texts,
// *UIConstraints lines, and option lines. Each makes what the token reads
// would make and consumes the same bytes, or leaves the line to them. The
// reader takes them in every build: their texts are ASCII, which every ANSI
// code page maps to units of the same value.
#pragma once

#include "ppd/ppd_keywords.h"
#include "ppd/ppd_scan.h"
#include "ppd/ppd_token_text.h"

namespace qx {
namespace ppd_detail {

// The text of length (below 16) ASCII bytes from p on, with 16 readable.
QX_PPD_INLINE void WidenShortAscii(const unsigned char *p, int32_t length, PpdText &field) {
  Widen16(p, field.text);
  field.text[length] = 0;
  field.length = length;
}

// The texts of a short "keyword" token in one step, when it is ASCII without
// slash or hexadecimal parts and keyword is still empty: the token is the
// keyword, and without a leading asterisk the translation. 17 bytes from
// bytes on are readable. False leaves both texts as they are.
QX_PPD_INLINE bool SetShortNameTexts(const unsigned char *bytes, int32_t length, PpdText &keyword,
                                     PpdText &translation) {
  if (length < 1 || length >= 16 || !keyword.IsEmpty()) return false;
  if (((HighBytes16(bytes) | TextMarks16(bytes)) & ((1u << length) - 1)) != 0) return false;
  WidenShortAscii(bytes, length, keyword);
  const int32_t star = bytes[0] == '*' ? 1 : 0;
  WidenShortAscii(bytes + star, length - star, translation);
  return true;
}

// The common case of ReadTextFrom in one step: a plain token of ASCII bytes
// that ends within the sixteen bytes in view becomes the text directly
// (every ANSI code page maps ASCII to units of the same value). Anything else is left to
// the token reader, with at most white space consumed.
template <class Source>
QX_PPD_INLINE bool ReadShortAsciiText(Source &source, PpdText &field) {
  Scan<Source> scan(source);
  scan.SkipWhite();
  if (!scan.More() || scan.Available() < 16) return false;
  const unsigned char *p = scan.Data();
  if (p[0] == '"' || p[0] == '%' || (p[0] == '*' && p[1] == '%')) return false;
  unsigned mask = PlainEndCandidates16(p) & ~1u;  // the first byte starts it
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
  if ((HighBytes16(p) & ((1u << end) - 1)) != 0) return false;
  WidenShortAscii(p, static_cast<int32_t>(end), field);
  scan.Consume(end + 1);  // the byte that ends the token is dropped
  return true;
}

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
    WordMasks16 words = ClassifyWords16(p + 16 * k);
    masks.blank |= static_cast<uint64_t>(words.blank) << (16 * k);
    masks.special |= static_cast<uint64_t>(words.odd) << (16 * k);
  }
  masks.special &= ~masks.blank;
  return masks;
}

// The words of a *UIConstraints line after its keyword, in their common
// form: four words of printable ASCII on one line, separated by blanks or
// tabs, within the 64 bytes from p on, the fourth ended by a blank, a tab, a
// line end or a delimiter. Gives the bytes four token reads would consume
// (0 when the words have another form) and the words' offsets. available:
// the bytes in view from p on.
QX_PPD_INLINE size_t SimpleConstraintWords(const unsigned char *p, size_t available, uint32_t *wordStarts,
                                           uint32_t *wordEnds) {
  // 64 bytes are classified; the widening reads up to 16 beyond the last word.
  if (available < 80) return 0;
  LineMasks masks = ClassifyLine64(p);
  unsigned stop = masks.special != 0 ? static_cast<unsigned>(__builtin_ctzll(masks.special)) : 64;
  uint64_t inSegment = stop == 64 ? ~uint64_t{0} : (uint64_t{1} << stop) - 1;
  uint64_t word = ~masks.blank & inSegment;
  uint64_t starts = word & ~(word << 1);
  uint64_t ends = ~word & (word << 1);  // the byte after each word, within the 64
  for (int i = 0; i < 4; ++i) {
    if (ends == 0) return 0;  // fewer than four words, or the last may go on
    wordStarts[i] = static_cast<uint32_t>(__builtin_ctzll(starts));
    wordEnds[i] = static_cast<uint32_t>(__builtin_ctzll(ends));
    starts &= starts - 1;
    ends &= ends - 1;
  }
  unsigned end = wordEnds[3];
  // A word that runs into a special byte ends there only when the byte ends
  // plain tokens; "%", high and other control bytes would belong to it.
  if (end == stop && !kClasses.endsPlain[p[end]]) return 0;
  return end + 1;
}

enum class ConstraintRun { kNone, kKeywordTaken, kOutOfMemory };

// Reads *UIConstraints lines while they come next (large PPDs hold them in
// runs of thousands), each in one step where its words have the common
// form. kKeywordTaken: a keyword token was taken, with the white space
// before it and the byte that ends it, but its words are left to the token
// reads; kNone: something else comes next, and at most white space was
// taken; kOutOfMemory: a constraint could not be kept.
template <class Source>
ConstraintRun ReadConstraintRun(Source &source, PpdRecordStore &store, PpdArray<PpdConstraint> &constraints) {
  Scan<Source> scan(source);
  for (;;) {
    scan.SkipWhite();
    if (scan.Available() < 15) return ConstraintRun::kNone;
    const unsigned char *p = scan.Data();
    if (Load8(p) != Load8("*UIConst") || Load8(p + 6) != Load8("straints") || !kClasses.endsPlain[p[14]]) {
      return ConstraintRun::kNone;
    }
    scan.Consume(15);
    uint32_t wordStarts[4], wordEnds[4];
    size_t used = SimpleConstraintWords(scan.Data(), scan.Available(), wordStarts, wordEnds);
    if (used == 0) return ConstraintRun::kKeywordTaken;
    PpdConstraint *constraint = PpdConstraint::CreateFromAsciiLine(store, scan.Data(), wordStarts, wordEnds);
    if (constraint == nullptr || !constraints.Append(constraint)) return ConstraintRun::kOutOfMemory;
    scan.Consume(used);
  }
}

// The feature keyword as bytes, when option lines may be read in one step:
// every unit ASCII, a plain token's bytes that no comment starts with (a
// display text may hold blanks and quotes, which a line's first token never
// does), and no keyword the block's other lines are known by.
struct OptionLineKeyword {
  unsigned char bytes[kPpdTextUnits];
  int32_t length = 0;  // 0: not in one step
  // The first eight bytes, zeros past the keyword, as one value: loaded from
  // bytes right after they were written, they would wait for those stores.
  uint64_t head = 0;

  explicit OptionLineKeyword(const PpdWord &keyword) {
    if (keyword.IsEmpty()) return;
    for (int32_t i = 0; i < keyword.length; ++i) {
      if (keyword.text[i] >= 0x80 || kClasses.endsPlain[keyword.text[i]]) return;
      bytes[i] = static_cast<unsigned char>(keyword.text[i]);
      if (i < 8) head |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    }
    if (bytes[0] == '%' || (bytes[0] == '*' && keyword.length > 1 && bytes[1] == '%')) return;
    PpdToken token;
    token.bytes = bytes;
    token.length = keyword.length;
    if (bytes[0] == '*') {
      const int kind = Classify(bytes, keyword.length);
      if (kind == kCloseUI || kind == kOrderDependency || StartsWith(token, "*Default", 8) ||
          StartsWith(token, "*?", 2)) {
        return;
      }
    }
    length = keyword.length;
  }
};

enum class LineStep { kLeft, kRead, kOutOfMemory };

// An option line in its common form, read in one step: the feature keyword
// and a blank, "option/translation" without hexadecimal parts up to a colon
// or line end, blanks, and a quoted or plain invocation, all in view. Makes the
// option the token reads would make and consumes the same bytes; any other
// line is left to them, with at most white space consumed. The option's
// texts pass through keywordText and translationText.
template <class Source>
LineStep ReadSimpleOption(Source &source, const OptionLineKeyword &keyword, PpdFeature &feature,
                          PpdRecordStore &store, PpdText &keywordText, PpdText &translationText) {
  Scan<Source> scan(source);
  scan.SkipWhite();
  const int32_t length = keyword.length;
  if (scan.Available() < static_cast<size_t>(length) + 4) return LineStep::kLeft;
  const unsigned char *p = scan.Data();
  const int32_t available = static_cast<int32_t>(scan.Available());
  // Keywords of up to eight bytes are compared in one load (eight are readable).
  const bool same = length <= 8 && available >= 8
                        ? ((Load8(p) ^ keyword.head) << (64 - 8 * length)) == 0
                        : std::memcmp(p, keyword.bytes, static_cast<size_t>(length)) == 0;
  if (!same) return LineStep::kLeft;
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
  if (open >= available) return LineStep::kLeft;
  // The invocation: quoted, or a plain token (minimal files hold "*F a:b")
  // that starts with no byte the token reader treats apart. Either is taken
  // with the byte that ends it.
  const unsigned char *invocation = p + open + 1;
  const unsigned char *close;
  if (p[open] == '"') {
    close = FindByte(invocation, static_cast<size_t>(available - open - 1), '"');
  } else {
    if (kClasses.of[p[open]] != kOrdinary || p[open] == '%' || p[open] == '*') return LineStep::kLeft;
    invocation = p + open;
    close = invocation + 1;
    while (close < p + available && !kClasses.endsPlain[*close]) ++close;
    if (close == p + available) close = nullptr;
  }
  if (close == nullptr) return LineStep::kLeft;
  // The most common form: a short ASCII option name without translation or
  // hexadecimal parts, which is its own translation.
  const int32_t textLength = end - start;
  keywordText.Clear();  // an empty keyword is what takes the text before any slash
  translationText.Clear();
  const bool shortName =
      available - start >= 17 && SetShortNameTexts(p + start, textLength, keywordText, translationText);
  int32_t slash = -1;
  if (!shortName && HasHexMarks(p + start, textLength, available - start, slash)) return LineStep::kLeft;

  if (!shortName) SetPlainTexts(keywordText, translationText, p + start, textLength, slash);
  const int32_t invocationLength = static_cast<int32_t>(close - invocation);
  PpdOption *option = feature.options.AppendNew(store, keywordText, translationText, invocationLength);
  if (option == nullptr) return LineStep::kOutOfMemory;
  CopyBytesTo(invocation, invocationLength, option->invocation);
  scan.Consume(static_cast<size_t>(close + 1 - p));
  return LineStep::kRead;
}

// A feature's "*CloseUI: *Keyword" line in one step: the token reads take
// "*CloseUI" and the byte that ends it, then the next token with the byte
// that ends it, and drop both. Only the common form is taken: the next token
// plain, after blanks or tabs, and ending in view. True when it was taken;
// otherwise at most white space is consumed.
template <class Source>
bool ReadSimpleCloseUI(Source &source) {
  Scan<Source> scan(source);
  scan.SkipWhite();
  const int32_t available = static_cast<int32_t>(scan.Available());
  if (available < 16) return false;
  const unsigned char *p = scan.Data();
  if (std::memcmp(p, "*CloseUI", 8) != 0 || !kClasses.endsPlain[p[8]]) return false;
  int32_t start = 9;
  while (start < available && (p[start] == ' ' || p[start] == '\t')) ++start;
  if (start + 1 >= available) return false;
  const unsigned char first = p[start];
  if (kClasses.of[first] == kWhite || first == '"' || first == '%' || (first == '*' && p[start + 1] == '%')) {
    return false;
  }
  int32_t end = start + 1;
  while (end < available && !kClasses.endsPlain[p[end]]) ++end;
  if (end == available) return false;
  scan.Consume(static_cast<size_t>(end + 1));
  return true;
}

}  // namespace ppd_detail
}  // namespace qx
