// The PPD keyword table and the classification of tokens by it. Internal
// to the PPD reader.
#pragma once

#include <cstdint>

#include "ppd/ppd_scan.h"

namespace qx {
namespace ppd_detail {

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

// Whether a row equals a token of bytes or of 16-bit units. The bytes are
// compared in a few word loads, the last one overlapping: a library call
// costs more than these short keywords take.
inline bool RowEquals(const KeywordRow &row, const unsigned char *token, int32_t length) {
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

inline bool RowEquals(const KeywordRow &row, const PpdUnit *token, int32_t length) {
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
inline int Classify(const Unit *token, int32_t length) {
  if (length < 2 || length > 17) return 0;  // row 0, the empty one, is code 0 too
  unsigned second = static_cast<unsigned>(token[1]) & 0xFFFFu;
  if (second >= 128) return 0;
  const unsigned char *slot = kRowsByShape.rows[length][second];
  for (int i = 0; i < 2 && slot[i] != 0; ++i) {
    if (RowEquals(kKeywords[slot[i]], token, length)) return slot[i];
  }
  return 0;
}

}  // namespace ppd_detail
}  // namespace qx
