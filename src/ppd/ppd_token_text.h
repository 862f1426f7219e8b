// What the reader makes of a token's bytes: comparisons, copies, numbers
// and the keyword/translation texts. Internal to the PPD reader.
#pragma once

#include <cstdint>
#include <cstddef>

#include "ppd/ppd_model.h"
#include "ppd/ppd_reader.h"

namespace qx {
namespace ppd_detail {

bool StartsWith(const PpdToken &token, const char *prefix, int32_t length);
bool TokenEquals(const PpdToken &token, const PpdWord &text);

// The bytes as a zero-terminated UTF-16 string, byte for unit: in copy (null
// gives null), or in storage from the store.
PpdUnit *CopyBytesTo(const unsigned char *bytes, int32_t length, PpdUnit *copy);
PpdUnit *CopyBytes(const unsigned char *bytes, int32_t length, PpdRecordStore &store);
PpdUnit *CopyToken(const PpdToken &token);  // new[] storage
PpdUnit *CopyToken(const PpdToken &token, PpdRecordStore &store);

// The low byte of the standard string-to-long conversion of two characters
// in base 16.
unsigned char HexPairValue(unsigned a, unsigned b);
// The leading decimal integer of a token, saturated to 32 bits.
int32_t LeadingInteger(const PpdToken &token);

// Whether length bytes hold "<" or ">", which switch hexadecimal decoding on
// and off (and are dropped); if not, where the first slash is (-1: none).
// readable bytes from bytes on may be loaded (at least length); the bits of
// those past length are masked off.
bool HasHexMarks(const unsigned char *bytes, int32_t length, int32_t readable, int32_t &slash);
// The texts from the decoded bytes after the slash (all of them when there
// is none), at most 259: the translation without a leading asterisk, and the
// keyword too when the part before the slash gave none.
void SetTexts(PpdText &keyword, PpdText &translation, const unsigned char *bytes, size_t count);
// The texts of a "keyword/translation" token without hexadecimal parts,
// split at its first slash (-1: none).
void SetPlainTexts(PpdText &keyword, PpdText &translation, const unsigned char *bytes, int32_t length,
                   int32_t slash);

}  // namespace ppd_detail
}  // namespace qx
