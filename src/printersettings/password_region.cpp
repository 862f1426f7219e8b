#include "printersettings/password_region.h"

#include <algorithm>
#include <cstring>
#include <iterator>

namespace qx {
namespace {

// Ascending, so that a lookup is a binary search.
constexpr int32_t kNumericNations[] = {
    2,        3,        8,         10,        11,        12,   18,   20,    22,    23,       24,  26,  27,
    30,       32,       34,        37,        38,        39,   40,   42,    45,    46,       50,  51,  54,
    56,       57,       63,        65,        66,        72,   78,   80,    81,    86,       90,  91,  93,
    98,       99,       101,       103,       104,       106,  111,  113,   114,   122,      124, 125, 127,
    131,      133,      134,       138,       142,       148,  151,  154,   158,   165,      166, 167, 174,
    178,      180,      181,       182,       183,       184,  185,  187,   190,   192,      194, 195, 198,
    199,      201,      202,       207,       208,       213,  214,  215,   216,   218,      219, 220, 225,
    227,      231,      233,       236,       237,       244,  246,  248,   249,   251,      252, 253, 257,
    258,      259,      273,       276,       300,       301,  302,  303,   304,   305,      306, 307, 308,
    309,      310,      311,       312,       313,       314,  315,  319,   322,   323,      324, 325, 326,
    327,      328,      329,       332,       335,       336,  337,  338,   339,   340,      341, 342, 343,
    346,      347,      348,       349,       351,       15126, 21242, 30967, 31706, 7299303, 10028789,
    161832015, 161832256, 161832258,
};
static_assert(std::size(kNumericNations) == 157, "numeric-password nations");

constexpr char kPasswordModeKeyword[] = "PasswordMode";

}  // namespace

const int32_t *NumericPasswordNations(size_t *count) {
  if (count) *count = std::size(kNumericNations);
  return kNumericNations;
}

bool IsNumericPasswordNationId(int32_t geoId) {
  return std::binary_search(std::begin(kNumericNations), std::end(kNumericNations), geoId);
}

uint32_t DetermineRegionValue(uint32_t start, bool numericNation) {
  uint32_t region = start;
  if (numericNation)
    region = (region & ~kRegionSelectable) | kRegionNumeric;
  else
    region |= kRegionSelectable;
  return region | kRegionDetermined;
}

bool IsPasswordModeItemHidden(uint32_t cachedRegion, bool readOk, uint32_t readValue) {
  if (cachedRegion & kRegionDetermined) return !(cachedRegion & kRegionSelectable);
  return !readOk || !(readValue & kRegionDetermined) || !(readValue & kRegionSelectable);
}

long PasswordModeSelection(uint32_t region) { return (region & kRegionNumeric) ? 1 : 0; }

bool RegionAfterApply(uint32_t region, long sel, uint32_t *newRegion) {
  uint32_t value = region;
  if (sel == 1 && !(region & kRegionNumeric))
    value |= kRegionNumeric;
  else if (sel == 0 && (region & kRegionNumeric))
    value &= ~kRegionNumeric;
  else
    return false;
  if (newRegion) *newRegion = value;
  return true;
}

bool IsPasswordModeKeyword(const char *keyword) {
  return keyword && std::strncmp(keyword, kPasswordModeKeyword, sizeof kPasswordModeKeyword - 1) == 0;
}

}  // namespace qx
