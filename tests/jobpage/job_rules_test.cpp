// The page's decisions, without windows.
#include <gtest/gtest.h>

#include "jobpage/job_rules.h"

namespace {

using qx::EditFilter;
using qx::FilterAccepts;

TEST(EditFilters, NamesRefuseQuoteAndPercentButTakeSpace) {
  EXPECT_TRUE(FilterAccepts(EditFilter::Name, ' '));
  EXPECT_TRUE(FilterAccepts(EditFilter::Name, '~'));
  EXPECT_TRUE(FilterAccepts(EditFilter::Name, 'a'));
  EXPECT_FALSE(FilterAccepts(EditFilter::Name, '"'));
  EXPECT_FALSE(FilterAccepts(EditFilter::Name, '%'));
  EXPECT_FALSE(FilterAccepts(EditFilter::Name, 0x7F));
  EXPECT_FALSE(FilterAccepts(EditFilter::Name, 0xE9));  // typed non-ASCII
}

TEST(EditFilters, AccessPasswordRefusesSpaceOnly) {
  EXPECT_FALSE(FilterAccepts(EditFilter::AccessPassword, ' '));
  EXPECT_TRUE(FilterAccepts(EditFilter::AccessPassword, '!'));
  EXPECT_TRUE(FilterAccepts(EditFilter::AccessPassword, '"'));
  EXPECT_TRUE(FilterAccepts(EditFilter::AccessPassword, '%'));
  EXPECT_TRUE(FilterAccepts(EditFilter::AccessPassword, '~'));
}

TEST(EditFilters, DigitsAndPrintable) {
  EXPECT_TRUE(FilterAccepts(EditFilter::Digit, '0'));
  EXPECT_TRUE(FilterAccepts(EditFilter::Digit, '9'));
  EXPECT_FALSE(FilterAccepts(EditFilter::Digit, 'a'));
  EXPECT_FALSE(FilterAccepts(EditFilter::Digit, ' '));
  EXPECT_TRUE(FilterAccepts(EditFilter::Printable, ' '));
  EXPECT_TRUE(FilterAccepts(EditFilter::Printable, '"'));
}

TEST(EditFilters, BackspacePassesAndOtherControlCharactersDoNot) {
  for (EditFilter f : {EditFilter::Name, EditFilter::AccessPassword, EditFilter::Printable, EditFilter::Digit}) {
    EXPECT_TRUE(FilterAccepts(f, 8));
    for (uint32_t c : {1u, 3u, 9u, 10u, 13u, 22u, 24u, 26u, 27u, 31u}) EXPECT_FALSE(FilterAccepts(f, c)) << c;
  }
}

TEST(PasswordForm, LimitsFiltersAndCompleteness) {
  EXPECT_EQ(qx::ReservePasswordLimit(qx::kNumericPasswords), 4u);
  EXPECT_EQ(qx::ReservePasswordLimit(qx::kEightCharPasswords), 8u);
  EXPECT_EQ(qx::ReservePasswordFilter(qx::kNumericPasswords), EditFilter::Digit);
  EXPECT_EQ(qx::ReservePasswordFilter(qx::kEightCharPasswords), EditFilter::Printable);

  EXPECT_TRUE(qx::ReserveEntriesComplete(1, 1, 4, qx::kNumericPasswords));
  EXPECT_FALSE(qx::ReserveEntriesComplete(1, 1, 3, qx::kNumericPasswords));
  EXPECT_FALSE(qx::ReserveEntriesComplete(1, 1, 7, qx::kEightCharPasswords));
  EXPECT_TRUE(qx::ReserveEntriesComplete(1, 1, 8, qx::kEightCharPasswords));
  EXPECT_FALSE(qx::ReserveEntriesComplete(0, 1, 8, qx::kEightCharPasswords));
  EXPECT_FALSE(qx::ReserveEntriesComplete(1, 0, 8, qx::kEightCharPasswords));
}

TEST(PasswordForm, StoredPasswordShownOnlyWhenPrintable) {
  EXPECT_TRUE(qx::ShowsReservePassword(4, 0, qx::kNumericPasswords));
  EXPECT_FALSE(qx::ShowsReservePassword(4, 4, qx::kEightCharPasswords));
  EXPECT_TRUE(qx::ShowsReservePassword(5, 8, qx::kEightCharPasswords));
  EXPECT_FALSE(qx::ShowsReservePassword(5, 6, qx::kEightCharPasswords));
  EXPECT_TRUE(qx::ShowsReservePassword(5, 4, qx::kNumericPasswords));
  EXPECT_FALSE(qx::ShowsReservePassword(5, 8, qx::kNumericPasswords));
  EXPECT_FALSE(qx::ShowsReservePassword(0, 8, qx::kEightCharPasswords));
}

TEST(PasswordForm, RegionBits) {
  EXPECT_EQ(qx::JudgeRegion(false, 3), qx::RegionVerdict::EightChars);
  EXPECT_EQ(qx::JudgeRegion(true, 0), qx::RegionVerdict::EightChars);
  EXPECT_EQ(qx::JudgeRegion(true, 2), qx::RegionVerdict::EightChars);
  EXPECT_EQ(qx::JudgeRegion(true, 1), qx::RegionVerdict::Numeric);
  EXPECT_EQ(qx::JudgeRegion(true, 5), qx::RegionVerdict::Numeric);
  EXPECT_EQ(qx::JudgeRegion(true, 3), qx::RegionVerdict::AskDriver);
  EXPECT_EQ(qx::JudgeRegion(true, 7), qx::RegionVerdict::AskDriver);
}

TEST(PasswordForm, DriverSettingMatchesExactly) {
  char on[64] = "ON", off[64] = "OFF", lower[64] = "on", longer[64] = "ONE";
  EXPECT_EQ(qx::PasswordModeFromSetting(on, sizeof on), qx::kNumericPasswords);
  EXPECT_EQ(qx::PasswordModeFromSetting(off, sizeof off), qx::kEightCharPasswords);
  EXPECT_EQ(qx::PasswordModeFromSetting(lower, sizeof lower), qx::kEightCharPasswords);
  EXPECT_EQ(qx::PasswordModeFromSetting(longer, sizeof longer), qx::kEightCharPasswords);
  EXPECT_EQ(qx::PasswordModeFromSetting(on, 2), qx::kEightCharPasswords);  // no room for the terminator
  EXPECT_EQ(qx::PasswordModeFromSetting(nullptr, 64), qx::kEightCharPasswords);
}

TEST(Utf8Cut, NeverSplitsACharacter) {
  const char *text = "ab\xC3\xA9" "c\xE2\x82\xAC" "\xF0\x9F\x98\x80";  // a b é c € 😀 : 1 1 2 1 3 4 bytes
  size_t length = 12;
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 70), 12u);
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 12), 12u);
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 11), 8u);  // inside the emoji
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 8), 8u);
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 7), 5u);   // inside the euro sign
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 3), 2u);   // inside the é
  EXPECT_EQ(qx::Utf8PrefixLength(text, length, 0), 0u);
  EXPECT_EQ(qx::Utf8PrefixLength(nullptr, 5, 3), 0u);
}

}  // namespace
