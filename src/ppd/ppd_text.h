// Conversion of PPD bytes into model texts.
#pragma once

#include <cstddef>
#include <string>

#include "ppd/ppd_model.h"

namespace qx {

// Converts a byte string in the system's ANSI code page (Windows-1252 in the
// native build) into the field, up to the first zero byte or count bytes.
// Longer results are cut at 259 units.
void BytesToPpdText(PpdText &field, const unsigned char *bytes, size_t count);

// UTF-16 to UTF-8 (lone surrogates become U+FFFD), for the tools and tests.
std::string PpdUnitsToUtf8(const PpdUnit *units, size_t count);
inline std::string ToUtf8(const PpdText &text) {
  return PpdUnitsToUtf8(text.text, static_cast<size_t>(text.length));
}
inline std::string ToUtf8(const PpdWord &word) {
  return PpdUnitsToUtf8(word.text, static_cast<size_t>(word.length));
}
// UTF-8 to UTF-16; invalid bytes become U+FFFD.
std::basic_string<PpdUnit> Utf8ToPpdUnits(const std::string &utf8);

}  // namespace qx
