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

namespace qx {

namespace {

// Byte classes.
enum : unsigned char { kOrdinary = 0, kWhite = 1, kDelimiter = 2 };

struct ByteClasses {
  unsigned char of[256];
  bool endsPlain[256];       // white space and delimiters end a plain token
  bool endsWithSpaces[256];  // ... except blanks, tabs and quotes in display texts
  constexpr ByteClasses() : of(), endsPlain(), endsWithSpaces() {
    of[0x00] = of[0x09] = of[0x0A] = of[0x0C] = of[0x0D] = of[0x20] = kWhite;
    of[0x22] = of[0x3A] = kDelimiter;
    for (int c = 0; c < 256; ++c) {
      endsPlain[c] = of[c] != kOrdinary;
      endsWithSpaces[c] = endsPlain[c] && c != 0x09 && c != 0x20 && c != 0x22;
    }
  }
};
constexpr ByteClasses kClasses;

template <class Source>
bool ReadTokenFrom(Source &from, PpdToken &token, bool spaces) {
  Source source = from;  // a local copy stays in registers
  // Restrict: stores into the token never change the FILE, so the compiler
  // may keep its read position in a register.
  unsigned char *__restrict out = token.bytes;
  int c;
  int next = -2;  // the byte after a leading asterisk, taken to look for "%"
  for (;;) {
    c = source.Take();
    if (c < 0) {
      out[0] = 0;
      token.length = 0;
      return false;
    }
    if (kClasses.of[c] == kWhite) continue;
    if (c == '*') {
      next = source.Take();
      if (next != '%') break;  // a plain token starting with the asterisk
    } else if (c != '%') {
      break;
    }
    // A comment runs to the line end; every byte of it is dropped.
    next = -2;
    do c = source.Take();
    while (c >= 0 && c != 0x0A && c != 0x0D);
    if (c < 0) {
      out[0] = 0;
      token.length = 0;
      return false;
    }
  }

  int32_t n = 0;
  if (c == '"') {
    // Quoted: everything up to the closing quote, line ends included.
    for (;;) {
      c = source.Take();
      if (c < 0 || c == '"' || n == kPpdTokenLimit) break;
      out[n++] = static_cast<unsigned char>(c);
    }
  } else {
    out[n++] = static_cast<unsigned char>(c);
    // With the spaces flag a display text runs to the colon or the line end:
    // blanks, tabs and double quotes (13" x 19") stay in it.
    const bool *ends = spaces ? kClasses.endsWithSpaces : kClasses.endsPlain;
    c = next == -2 ? source.Take() : next;
    for (; c >= 0 && !ends[c]; c = source.Take()) {
      if (n == kPpdTokenLimit) break;  // the byte taken now is dropped
      out[n++] = static_cast<unsigned char>(c);
    }
  }
  out[n] = 0;
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
  kProduct = 19, kUIConstraints = 21
};

// Compares a row with a token of 16-bit units, as unsigned values.
template <class Unit>
int CompareRow(const KeywordRow &row, const Unit *token, int32_t length) {
  int32_t common = row.length < length ? row.length : length;
  for (int32_t i = 0; i < common; ++i) {
    unsigned r = static_cast<unsigned char>(row.text[i]);
    unsigned t = static_cast<unsigned>(token[i]) & 0xFFFFu;
    if (r != t) return r < t ? -1 : 1;
  }
  return row.length == length ? 0 : (row.length < length ? -1 : 1);
}

// Which (length, second unit) pairs some row has: rejects almost every
// other keyword before the search.
struct RowShapes {
  bool has[18][128];
  constexpr RowShapes() : has() {
    for (const KeywordRow &row : kKeywords) {
      if (row.length >= 2) has[row.length][static_cast<unsigned char>(row.text[1])] = true;
    }
  }
};
constexpr RowShapes kRowShapes;

template <class Unit>
int Classify(const Unit *token, int32_t length) {
  if (length < 2 || length > 17) return 0;  // row 0, the empty one, is code 0 too
  unsigned second = static_cast<unsigned>(token[1]) & 0xFFFFu;
  if (second >= 128 || !kRowShapes.has[length][second]) return 0;
  int low = -1, high = 22;
  while (high - low > 1) {
    int mid = (low + high) / 2;
    int order = CompareRow(kKeywords[mid], token, length);
    if (order == 0) return mid;
    if (order > 0) {
      high = mid;
    } else {
      low = mid;
    }
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

// A copy of the token as a zero-terminated UTF-16 string, byte for unit.
PpdUnit *CopyToken(const PpdToken &token) {
  PpdUnit *copy = new (std::nothrow) PpdUnit[static_cast<size_t>(token.length) + 1];
  if (copy == nullptr) return nullptr;
  for (int32_t i = 0; i < token.length; ++i) copy[i] = token.bytes[i];
  copy[token.length] = 0;
  return copy;
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

template <class Source>
bool ReadKeywordAndTranslationFrom(Source &source, PpdToken &token, PpdText &keyword,
                                   PpdText &translation) {
  if (!ReadTokenFrom(source, token, true)) return false;
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
  if (keyword.IsEmpty()) BytesToPpdText(keyword, work, static_cast<size_t>(n));
  if (n > 0 && work[0] == '*') {
    BytesToPpdText(translation, work + 1, static_cast<size_t>(n - 1));
  } else {
    BytesToPpdText(translation, work, static_cast<size_t>(n));
  }
  return true;
}

template <class Source>
bool ReadTextFrom(Source &source, PpdToken &token, PpdText &field) {
  if (!ReadTokenFrom(source, token, false)) return false;
  BytesToPpdText(field, token.bytes, static_cast<size_t>(token.length));
  return true;
}

template <class Source>
bool ReadFeatureBodyFrom(Source &source, PpdToken &token, PpdFeature &feature) {
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
  for (;;) {
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
      PpdOption *option = new (std::nothrow) PpdOption();
      if (option == nullptr) return false;
      if (!feature.options.Append(option)) {
        delete option;
        return false;
      }
      if (!ReadKeywordAndTranslationFrom(source, token, option->keyword, option->translation)) {
        return false;
      }
      if (!ReadTokenFrom(source, token, false)) return false;
      option->pwszInvocation = CopyToken(token);
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
    if (!ReadTokenFrom(source_, token_, false)) return;
    while (Act() && ReadTokenFrom(source_, token_, false)) {
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
    PpdFeature *feature = new (std::nothrow) PpdFeature();
    if (feature == nullptr) return false;
    if (!model_.features.Append(feature)) {
      delete feature;
      return false;
    }
    feature->groupKeyword = groupKeyword_;
    feature->groupTranslation = groupTranslation_;
    if (!ReadFeatureBodyFrom(source_, token_, *feature)) return false;
    if (!groupKeyword_.Equals(QX_PPD_STR("InstallableOptions"))) return true;
    InstalledOption *installed = new (std::nothrow) InstalledOption();
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
    int read = 0;
    while (read < 4 && ReadTextFrom(source_, token_, words_[read])) ++read;
    PpdConstraint *constraint = PpdConstraint::Create(words_, read);
    if (constraint == nullptr) return false;
    if (!model_.constraints.Append(constraint)) {
      delete constraint;
      return false;
    }
    return read == 4;
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
  PpdModel *model = new (std::nothrow) PpdModel();
  if (model == nullptr) return nullptr;
  PpdToken token;
  token.bytes = static_cast<unsigned char *>(std::malloc(kPpdTokenUnits));
  if (token.bytes != nullptr && model->features.Reserve(32) &&
      model->installedOptions.Reserve(32) && model->constraints.Reserve(512)) {
    Reader<Source> reader(source, token, *model);
    reader.ReadAll();
  }
  std::free(token.bytes);
  MarkConstrainedOptions(model);
  return model;
}

}  // namespace

bool ReadToken(ByteSource &source, PpdToken &token, bool spaces) {
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

bool ReadFeatureBody(ByteSource &source, PpdToken &token, PpdFeature &feature) {
  return ReadFeatureBodyFrom(source, token, feature);
}

PpdModel *ReadPpdModel(PpdNextByte nextByte, void *context) {
  ByteSource source(nextByte, context);
  return ReadModelFrom(source);
}

PpdModel *ReadPpdModelFromFile(FILE *file) {
  FileByteSource source(file);
  return ReadModelFrom(source);
}

int ReadFileByte(void *file) { return std::fgetc(static_cast<FILE *>(file)); }

}  // namespace qx
