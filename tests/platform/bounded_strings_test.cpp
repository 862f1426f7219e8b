#include "platform/bounded_strings.h"

#include <gtest/gtest.h>

#include <string>

namespace qx {
namespace {

TEST(AppendBounded, CutsAndTerminatesWhatDoesNotFit) {
  char16_t dest[3] = {0, u'x', u'x'};
  EXPECT_FALSE(AppendBounded(dest, 3, u"abc"));
  EXPECT_EQ(std::u16string(dest), u"ab");
  char16_t fits[8] = u"ab";
  EXPECT_TRUE(AppendBounded(fits, 8, u"cde"));
  EXPECT_EQ(std::u16string(fits), u"abcde");
}

TEST(AppendBounded, RefusesBadCapacitiesAndUnterminatedDestinations) {
  char16_t dest[4] = {u'a', u'b', u'c', u'd'};
  EXPECT_FALSE(AppendBounded(dest, 4, u"x"));
  EXPECT_EQ(dest[3], u'd');  // untouched
  char16_t empty[4] = {};
  EXPECT_FALSE(AppendBounded(empty, 0, u"x"));
  EXPECT_FALSE(AppendBounded(empty, size_t(0x80000000), u"x"));
}

TEST(LengthBounded, CountsWithinOneFieldOnly) {
  char16_t field[128];
  std::fill(field, field + 128, u'7');
  EXPECT_EQ(LengthBounded(field), 0u);  // no terminator in the field
  field[127] = 0;
  EXPECT_EQ(LengthBounded(field), 127u);
  field[4] = 0;
  EXPECT_EQ(LengthBounded(field), 4u);
  EXPECT_EQ(LengthBounded(nullptr), 0u);
}

TEST(EqualBounded, CaseFlagAndLength) {
  EXPECT_EQ(EqualBounded(u".INI", u".ini", false, 5), 0);
  EXPECT_EQ(EqualBounded(u".INI", u".ini", true, 5), 1);
  EXPECT_EQ(EqualBounded(u".ini", u".ini", true, 5), 0);
  EXPECT_EQ(EqualBounded(u".inix", u".ini", false, 5), 1);
  EXPECT_EQ(EqualBounded(u"longer", u"longer", true, 3), 1);  // never equal past the count
  EXPECT_EQ(EqualBounded(nullptr, u".ini", false, 5), -1);
  // Only ASCII letters fold: U+00C4 and U+00E4 differ.
  EXPECT_EQ(EqualBounded(u"\u00C4", u"\u00E4", false, 2), 1);
}

}  // namespace
}  // namespace qx
