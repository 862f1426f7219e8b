// The password-form and remote-printer rules, natively.
#include <gtest/gtest.h>

#include <vector>

#include "printersettings/password_region.h"
#include "printersettings/remote_rules.h"

namespace {

using namespace qx;

// The nations with numeric passwords as the product documents them.
const std::vector<int32_t> kDocumentedNations = {
    2,   3,   8,   10,  11,  12,  18,  20,  22,  23,  24,  26,  27,  30,  32,  34,  37,  38,  39,  40,  42,
    45,  46,  50,  51,  54,  56,  57,  63,  65,  66,  72,  78,  80,  81,  86,  90,  91,  93,  98,  99,  101,
    103, 104, 106, 111, 113, 114, 122, 124, 125, 127, 131, 133, 134, 138, 142, 148, 151, 154, 158, 165, 166,
    167, 174, 178, 180, 181, 182, 183, 184, 185, 187, 190, 192, 194, 195, 198, 199, 201, 202, 207, 208, 213,
    214, 215, 216, 218, 219, 220, 225, 227, 231, 233, 236, 237, 244, 246, 248, 249, 251, 252, 253, 257, 258,
    259, 273, 276, 300, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310, 311, 312, 313, 314, 315, 319, 322,
    323, 324, 325, 326, 327, 328, 329, 332, 335, 336, 337, 338, 339, 340, 341, 342, 343, 346, 347, 348, 349,
    351, 15126, 21242, 30967, 31706, 7299303, 10028789, 161832015, 161832256, 161832258};

TEST(NumericPasswordNations, MatchTheDocumentedList) {
  size_t count = 0;
  const int32_t *nations = NumericPasswordNations(&count);
  ASSERT_EQ(count, 157u);
  EXPECT_EQ(std::vector<int32_t>(nations, nations + count), kDocumentedNations);
  for (int32_t id : kDocumentedNations) EXPECT_TRUE(IsNumericPasswordNationId(id)) << id;
}

TEST(NumericPasswordNations, OthersAreNot) {
  for (int32_t id : {94, 242, 0, 1, -1, 4, 352, 161832257, 161832259}) EXPECT_FALSE(IsNumericPasswordNationId(id)) << id;
  EXPECT_TRUE(IsNumericPasswordNationId(39));   // Canada
  EXPECT_TRUE(IsNumericPasswordNationId(122));  // Japan
}

TEST(DetermineRegionValue, FromStartAndNation) {
  EXPECT_EQ(DetermineRegionValue(0, true), 5u);
  EXPECT_EQ(DetermineRegionValue(0, false), 3u);
  EXPECT_EQ(DetermineRegionValue(7, true), 5u);
  EXPECT_EQ(DetermineRegionValue(6, false), 7u);  // an upgrade keeps the numeric bit
  EXPECT_EQ(DetermineRegionValue(6, true), 5u);
  EXPECT_EQ(DetermineRegionValue(0xF0, false), 0xF3u);  // unused bits kept
}

TEST(PasswordModeItem, HiddenUnlessSelectable) {
  // Nothing cached: the value read decides.
  EXPECT_FALSE(IsPasswordModeItemHidden(0, true, 3));
  EXPECT_FALSE(IsPasswordModeItemHidden(0, true, 7));
  EXPECT_TRUE(IsPasswordModeItemHidden(0, true, 5));
  EXPECT_TRUE(IsPasswordModeItemHidden(0, true, 6));   // not determined
  EXPECT_TRUE(IsPasswordModeItemHidden(0, false, 3));  // read failed
  // A determined cached value decides without reading.
  EXPECT_FALSE(IsPasswordModeItemHidden(3, false, 0));
  EXPECT_TRUE(IsPasswordModeItemHidden(5, true, 3));
}

TEST(PasswordModeItem, SelectionAndApply) {
  EXPECT_EQ(PasswordModeSelection(3), 0);
  EXPECT_EQ(PasswordModeSelection(7), 1);
  EXPECT_EQ(PasswordModeSelection(5), 1);

  uint32_t out = 0xdead;
  ASSERT_TRUE(RegionAfterApply(3, 1, &out));
  EXPECT_EQ(out, 7u);
  ASSERT_TRUE(RegionAfterApply(7, 0, &out));
  EXPECT_EQ(out, 3u);
  out = 0xdead;
  EXPECT_FALSE(RegionAfterApply(3, 0, &out));
  EXPECT_FALSE(RegionAfterApply(7, 1, &out));
  EXPECT_FALSE(RegionAfterApply(3, 2, &out));
  EXPECT_FALSE(RegionAfterApply(7, -1, &out));
  EXPECT_EQ(out, 0xdeadu);
}

TEST(PasswordModeItem, KeywordPrefix) {
  EXPECT_TRUE(IsPasswordModeKeyword("PasswordMode"));
  EXPECT_TRUE(IsPasswordModeKeyword("PasswordModeExtra"));
  EXPECT_FALSE(IsPasswordModeKeyword("PasswordMod"));
  EXPECT_FALSE(IsPasswordModeKeyword("passwordmode"));
  EXPECT_FALSE(IsPasswordModeKeyword("QXPasswordMode"));
  EXPECT_FALSE(IsPasswordModeKeyword(""));
  EXPECT_FALSE(IsPasswordModeKeyword(nullptr));
}

TEST(RemoteByName, UncServerOtherThanThisComputer) {
  EXPECT_TRUE(IsOtherServerName(u"\\\\OTHERPC\\Laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\MYPC\\Laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\myPc\\Laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\MYPC\\Laser", u"mypc"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\MYPC", u"MYPC"));
  EXPECT_TRUE(IsOtherServerName(u"\\\\MYPC2\\Laser", u"MYPC"));
  EXPECT_TRUE(IsOtherServerName(u"\\\\MYP\\Laser", u"MYPC"));
  // Extra backslashes are skipped before the server part.
  EXPECT_FALSE(IsOtherServerName(u"\\\\\\\\mypc\\Laser", u"MYPC"));
  EXPECT_TRUE(IsOtherServerName(u"\\\\\\OTHERPC\\Laser", u"MYPC"));
}

TEST(RemoteByName, NotUncOrHttpIsNotRemote) {
  EXPECT_FALSE(IsOtherServerName(u"Laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\Laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\HTTP://print.example.com/printers/laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\http://print.example.com\\laser", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\HtTp://x", u"MYPC"));
  EXPECT_TRUE(IsOtherServerName(u"\\\\HTTP:/x\\laser", u"MYPC"));
  EXPECT_TRUE(IsOtherServerName(u"\\\\HTTP", u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(nullptr, u"MYPC"));
  EXPECT_FALSE(IsOtherServerName(u"\\\\OTHERPC\\Laser", nullptr));
}

TEST(RemoteByAttributes, SessionPrinterWithoutClientPort) {
  const uint32_t session = kPrinterAttributeTs | kPrinterAttributeLocal;
  EXPECT_TRUE(IsRedirectedSessionPrinter(session, u"TS001"));
  EXPECT_FALSE(IsRedirectedSessionPrinter(session, u"Client:Laser"));
  EXPECT_FALSE(IsRedirectedSessionPrinter(session, u"Client:"));
  EXPECT_TRUE(IsRedirectedSessionPrinter(session, u"client:Laser"));
  EXPECT_TRUE(IsRedirectedSessionPrinter(session, u"Client"));
  EXPECT_TRUE(IsRedirectedSessionPrinter(session | 0x4, nullptr));
  EXPECT_FALSE(IsRedirectedSessionPrinter(kPrinterAttributeLocal, u"TS001"));
  EXPECT_FALSE(IsRedirectedSessionPrinter(kPrinterAttributeTs, u"TS001"));
}

}  // namespace
