// The password-form determination called directly, against a real printer
// in Wine's spooler.
#include <gtest/gtest.h>

#include "printersettings/printer_events.h"
#include "printersettings/user_nation.h"
#include "support/test_printer.h"

namespace {

using qxtest::TestPrinter;
using qxtest::UserNation;

constexpr GEOID kGermany = 94;  // selectable

// The determination caches what it stored, for the job page of the same object.
TEST(DetermineRegion, CachesTheStoredValue) {
  TestPrinter printer(L"qx determine");
  ASSERT_TRUE(printer.ok());
  UserNation nation(kGermany);
  qx::UiContext ctx;
  ctx.dwCachedRegion = 0x55;
  qx::DetermineRegion(printer.handle(), 4, &ctx);
  EXPECT_EQ(ctx.dwCachedRegion, 7u);
  qx::DetermineRegion(printer.handle(), 0, nullptr);
  DWORD value = 0;
  ASSERT_TRUE(printer.GetDword(L"QXRegion", &value));
  EXPECT_EQ(value, 3u);

  // A failed write leaves the cache alone.
  qx::DetermineRegion(nullptr, 0, &ctx);
  EXPECT_EQ(ctx.dwCachedRegion, 7u);
}

}  // namespace
