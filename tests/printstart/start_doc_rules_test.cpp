// The print-start decisions over plain values.
#include "printstart/start_doc_rules.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "printstart/path_parts.h"

namespace qx {
namespace {

std::unique_ptr<PrivateDevmode> Job(uint32_t type, const std::u16string &password) {
  auto block = std::make_unique<PrivateDevmode>();
  InitPrivateDevmode(block.get());
  block->dwReserveJobType = type;
  password.copy(block->wszReservePassword, kTextUnits);
  return block;
}

TEST(IsPasswordMalformed, SecureJobTakesThePrintersForm) {
  // Numeric mode: exactly four digits.
  EXPECT_FALSE(IsPasswordMalformed(Job(5, u"1234").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"12a4").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"123").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"12345").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"12345678").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"").get(), true));
  // Eight-character mode: exactly eight characters of any kind.
  EXPECT_FALSE(IsPasswordMalformed(Job(5, u"12345678").get(), false));
  EXPECT_FALSE(IsPasswordMalformed(Job(5, u"abcdefgh").get(), false));
  EXPECT_FALSE(IsPasswordMalformed(Job(5, u"a1 -_?\u00e9Z").get(), false));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"1234").get(), false));
  EXPECT_TRUE(IsPasswordMalformed(Job(5, u"abcdefghi").get(), false));
}

TEST(IsPasswordMalformed, NumericJobNeedsNumericModeAndFourDigits) {
  EXPECT_FALSE(IsPasswordMalformed(Job(4, u"0987").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(4, u"0987").get(), false));
  EXPECT_TRUE(IsPasswordMalformed(Job(4, u"098a").get(), true));
  EXPECT_TRUE(IsPasswordMalformed(Job(4, u"/987").get(), true));  // just below '0'
  EXPECT_TRUE(IsPasswordMalformed(Job(4, u"098:").get(), true));  // just above '9'
  EXPECT_TRUE(IsPasswordMalformed(Job(4, u"09876").get(), true));
}

TEST(IsPasswordMalformed, OtherJobsAndMissingBlockAreNeverMalformed) {
  EXPECT_FALSE(IsPasswordMalformed(nullptr, true));
  for (uint32_t type : {0u, 1u, 3u, 6u, 0xFFFFFFFFu}) {
    EXPECT_FALSE(IsPasswordMalformed(Job(type, u"x").get(), true)) << type;
    EXPECT_FALSE(IsPasswordMalformed(Job(type, u"x").get(), false)) << type;
  }
}

TEST(IsPasswordMalformed, UnterminatedPasswordCountsAsEmpty) {
  auto block = Job(5, u"");
  std::fill(std::begin(block->wszReservePassword), std::end(block->wszReservePassword), u'1');
  EXPECT_TRUE(IsPasswordMalformed(block.get(), true));
  EXPECT_TRUE(IsPasswordMalformed(block.get(), false));
}

TEST(IsRealPortName, FileAndNullPortsAreNotReal) {
  for (const char16_t *port : {u"FILE:", u"NUL", u"NUL:", u"NulPort"}) EXPECT_FALSE(IsRealPortName(port));
  EXPECT_FALSE(IsRealPortName(nullptr));
  // Matched whole and with case.
  for (const char16_t *port : {u"file:", u"nul", u"FILE", u"NUL::", u"LPT1:", u"FILE:,LPT1:", u"", u"IP_10.0.0.1"})
    EXPECT_TRUE(IsRealPortName(port));
}

TEST(IsNumericPasswordRegion, Bits) {
  EXPECT_FALSE(IsNumericPasswordRegion(0));
  EXPECT_TRUE(IsNumericPasswordRegion(1));            // bit 0 alone
  EXPECT_FALSE(IsNumericPasswordRegion(3));           // bits 0 and 1: eight characters...
  EXPECT_TRUE(IsNumericPasswordRegion(7));            // ...unless bit 2 chose four digits
  EXPECT_FALSE(IsNumericPasswordRegion(6));           // nothing counts without bit 0
  EXPECT_TRUE(IsNumericPasswordRegion(0xFFFFFFF9));   // higher bits do not count
}

RefusalAudience Audience(uint32_t attributes, bool despoolingIsZero, bool versionKnown = true, uint32_t major = 6,
                         uint32_t minor = 1) {
  RefusalAudience a;
  a.attributes = attributes;
  a.despoolingIsZero = despoolingIsZero;
  a.versionKnown = versionKnown;
  a.majorVersion = major;
  a.minorVersion = minor;
  return a;
}

TEST(CanShowRefusal, LocalPrinterAlwaysShows) {
  EXPECT_TRUE(CanShowRefusal(Audience(0, false)));
  EXPECT_TRUE(CanShowRefusal(Audience(0x1000 | 0x40, false, true, 10, 0)));
}

TEST(CanShowRefusal, SharedPrinterShowsWhenDespoolingOnTheClient) {
  EXPECT_TRUE(CanShowRefusal(Audience(0x8, true, true, 10, 0)));
  EXPECT_FALSE(CanShowRefusal(Audience(0x8, false)));
}

TEST(CanShowRefusal, SharedRawOnlyPrinterShowsBeforeVersion62) {
  constexpr uint32_t kSharedRawOnly = 0x8 | 0x1000;
  EXPECT_TRUE(CanShowRefusal(Audience(kSharedRawOnly, false, true, 5, 2)));
  EXPECT_TRUE(CanShowRefusal(Audience(kSharedRawOnly, false, true, 6, 1)));
  EXPECT_FALSE(CanShowRefusal(Audience(kSharedRawOnly, false, true, 6, 2)));
  EXPECT_FALSE(CanShowRefusal(Audience(kSharedRawOnly, false, true, 6, 3)));
  EXPECT_FALSE(CanShowRefusal(Audience(kSharedRawOnly, false, true, 10, 0)));
  EXPECT_TRUE(CanShowRefusal(Audience(kSharedRawOnly, false, false)));  // version unknown
}

PathParts Split(const char16_t *path) {
  PathParts parts;
  EXPECT_TRUE(SplitPath(path, &parts));
  return parts;
}
std::u16string Part(const char16_t *p, size_t n) { return std::u16string(p, n); }

TEST(SplitPath, DriveDirectoryAndExtension) {
  auto p = Split(u"C:\\windows\\spool\\drivers\\x64\\3\\qx.INI");
  EXPECT_EQ(Part(p.drive, p.driveLength), u"C:");
  EXPECT_EQ(Part(p.directory, p.directoryLength), u"\\windows\\spool\\drivers\\x64\\3\\");
  EXPECT_EQ(Part(p.extension, p.extensionLength), u".INI");

  p = Split(u"\\\\server\\share/dir.d/file");  // no drive; a dot in a folder is no extension
  EXPECT_EQ(p.driveLength, 0u);
  EXPECT_EQ(Part(p.directory, p.directoryLength), u"\\\\server\\share/dir.d/");
  EXPECT_EQ(p.extensionLength, 0u);

  p = Split(u"name.tar.gz");
  EXPECT_EQ(p.directoryLength, 0u);
  EXPECT_EQ(Part(p.extension, p.extensionLength), u".gz");

  p = Split(u"D:");
  EXPECT_EQ(Part(p.drive, p.driveLength), u"D:");
  EXPECT_EQ(p.directoryLength, 0u);

  PathParts parts;
  EXPECT_FALSE(SplitPath(nullptr, &parts));
}

}  // namespace
}  // namespace qx
