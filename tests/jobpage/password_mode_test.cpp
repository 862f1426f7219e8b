// The printer's password form as the page decides it: the printer's QXRegion
// value in Wine's spooler and the driver's PasswordMode setting.
#include <gtest/gtest.h>

#include <memory>

#include "jobpage/job_settings_page.h"
#include "jobpage/page_harness.h"
#include "jobpage/password_mode.h"
#include "resource_ids.h"
#include "support/test_printer.h"

namespace {

using qxtest::PreferencesSetup;
using qxtest::TestPrinter;

class PasswordModeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(printer.ok());
    setup.param.hPrinter = printer.handle();
  }
  // A fresh plug-in object's caches.
  void Forget() {
    setup.ctx.dwCachedRegion = 0;
    setup.ctx.dwCachedPasswordMode = 1;
    setup.driver.queries.clear();
  }
  void SetRegion(bool present, DWORD region) {
    if (present)
      printer.SetDword(L"QXRegion", region);
    else
      printer.RemoveData(L"QXRegion");
  }

  TestPrinter printer{L"qx jobpage mode"};
  PreferencesSetup setup;
};

TEST_F(PasswordModeTest, RegionBitsAndDriverSetting) {
  struct Case {
    bool present;
    DWORD region;
    const char *answer;
    DWORD mode;
    size_t driverCalls;
  };
  const Case cases[] = {
      {false, 0, "ON", 1, 0},  {true, 0, "ON", 1, 0},  {true, 2, "ON", 1, 0},  {true, 1, "ON", 0, 0},
      {true, 5, "OFF", 0, 0},  {true, 3, "ON", 0, 1},  {true, 3, "OFF", 1, 1}, {true, 7, "ON", 0, 1},
      {true, 7, "OFF", 1, 1},  {true, 3, "on", 1, 1},  {true, 3, "", 1, 1},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(testing::Message() << "region " << (c.present ? int(c.region) : -1) << " answer " << c.answer);
    Forget();
    SetRegion(c.present, c.region);
    setup.driver.settings["PasswordMode"] = c.answer;
    size_t heapBlocks = setup.HeapBlocks();
    EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), c.mode);
    EXPECT_EQ(setup.ctx.dwCachedPasswordMode, c.mode);
    EXPECT_EQ(setup.ctx.dwCachedRegion, c.present ? c.region : 0u);
    EXPECT_EQ(setup.driver.queries.size(), c.driverCalls);
    EXPECT_EQ(setup.HeapBlocks(), heapBlocks);  // the answer buffer is freed
  }
  ASSERT_FALSE(setup.driver.queries.empty());
  EXPECT_EQ(setup.driver.queries.back().feature, "PasswordMode");
  EXPECT_EQ(setup.driver.queries.back().pci, &setup.driverObject);
  EXPECT_EQ(setup.driver.queries.back().bufferSize, 64u);
}

TEST_F(PasswordModeTest, DecidedRegionIsCachedForTheObjectsLife) {
  Forget();
  SetRegion(true, 3);
  setup.driver.settings["PasswordMode"] = "ON";
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 0u);
  SetRegion(false, 0);
  setup.driver.settings["PasswordMode"] = "OFF";
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 0u);
  EXPECT_EQ(setup.driver.queries.size(), 1u);

  // An undecided region is read again each time.
  Forget();
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 1u);
  SetRegion(true, 1);
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 0u);
}

TEST_F(PasswordModeTest, FallbacksWhenSomethingIsMissing) {
  SetRegion(true, 3);
  setup.driver.settings["PasswordMode"] = "ON";

  Forget();
  setup.driver.queryResult = E_FAIL;
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 1u);
  setup.driver.queryResult = S_OK;

  Forget();
  setup.ctx.pDriverUI = nullptr;
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 1u);
  setup.ctx.pDriverUI = &setup.driver;

  Forget();
  setup.param.hOEMHeap = nullptr;
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 1u);
  EXPECT_TRUE(setup.driver.queries.empty());
  setup.param.hOEMHeap = setup.heap;

  // A value of another size does not count.
  Forget();
  WORD shortValue = 3;
  printer.SetData(L"QXRegion", REG_BINARY, &shortValue, sizeof shortValue);
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 1u);
  EXPECT_EQ(setup.ctx.dwCachedRegion, 0u);

  Forget();
  setup.param.hPrinter = nullptr;
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 0u);
  EXPECT_EQ(qx::GetPasswordMode(nullptr), 0u);
  setup.ctx.pCuiParam = nullptr;
  EXPECT_EQ(qx::GetPasswordMode(&setup.ctx), 0u);
}

TEST_F(PasswordModeTest, PageFollowsThePrinter) {
  for (DWORD region : {1u, 0u}) {
    Forget();
    SetRegion(true, region);
    qxtest::FakeComPropSheet fake;
    ASSERT_EQ(setup.AddPages(fake), S_OK);
    qxtest::ModelessSheet sheet(fake.TakePage(&qx::JobSettingsPageProc));
    HWND password = sheet.item(IDC_JOB_RESERVE_PASSWORD);
    ASSERT_NE(password, nullptr);
    SendMessageW(sheet.item(IDC_JOB_RESERVE_JOB), BM_CLICK, 0, 0);
    qxtest::Type(password, L"12ab 5678");
    EXPECT_EQ(sheet.Text(IDC_JOB_RESERVE_PASSWORD), region == 1 ? L"1256" : L"12ab 567") << region;
  }
}

}  // namespace
