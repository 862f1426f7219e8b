// The printer's password form, kept in its "QXRegion" data value, and the
// rules that decide it: at installation from the console user's nation, in
// printer properties from the administrator's choice. Portable.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

// Bits of QXRegion.
constexpr uint32_t kRegionDetermined = 0x1;  // a determination has run
constexpr uint32_t kRegionSelectable = 0x2;  // the administrator may choose the form
constexpr uint32_t kRegionNumeric = 0x4;     // four-digit passwords ("PasswordMode" ON)

// The nations (GEOCLASS_NATION ids) whose printers use numeric passwords
// without choice, in ascending order.
const int32_t *NumericPasswordNations(size_t *count);
bool IsNumericPasswordNationId(int32_t geoId);

// QXRegion after a determination from `start`: a numeric nation fixes four
// digits; any other nation (or none) makes the form selectable and keeps the
// numeric bit as it was. Bits 3 and up are kept.
uint32_t DetermineRegionValue(uint32_t start, bool numericNation);

// Whether printer properties hide the "PasswordMode" item. A cached value
// that has been determined decides; otherwise the value just read does, and a
// failed read (`readOk` false) hides the item.
bool IsPasswordModeItemHidden(uint32_t cachedRegion, bool readOk, uint32_t readValue);

// The item's selection for a stored region: 1 for numeric passwords, else 0.
long PasswordModeSelection(uint32_t region);

// The region to store after the administrator applied selection `sel`; false
// when nothing is to be written (no change, or a selection other than 0 and 1).
bool RegionAfterApply(uint32_t region, long sel, uint32_t *newRegion);

// True for the PPD keyword "PasswordMode" and any keyword that begins with it.
bool IsPasswordModeKeyword(const char *keyword);

}  // namespace qx
