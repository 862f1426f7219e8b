// Printer properties: the "PasswordMode" item against real printer data, and
// the item callback's confirmation and apply.
#include <gtest/gtest.h>

#include <vector>

#include "activation/activation.h"
#include "driversim/driver_items.h"
#include "printersettings/printer_settings.h"
#include "resource_ids.h"
#include "support/fake_driver_ui.h"
#include "support/message_box_catcher.h"
#include "support/test_printer.h"

namespace {

using qxtest::FakeDriverUI;
using qxtest::TestPrinter;

const wchar_t kConfirmation[] =
    L"Enabling this setting reduces the level of password security.\nOnly use it on a protected network.\n"
    L"Do you want to enable this setting?";

// The driver's option items: one password-mode item between two others.
struct DriverItems : qxsim::DriverItems {
  explicit DriverItems(const char *passwordKeyword = "PasswordMode") {
    for (const char *keyword : {"PageSize", passwordKeyword, "Duplex"}) AddUnnamed(0, keyword, 0);
  }
  OPTITEM &password() { return (*this)[1]; }
};

class PrinterProperties : public ::testing::Test {
 protected:
  void SetUp() override {
    // The confirmation's strings come from the module's resources, linked
    // into the test program.
    qx::OnProcessAttach(GetModuleHandleW(nullptr));
    heap_ = HeapCreate(0, 0, 0);
    param_.cbSize = sizeof param_;
    param_.poemuiobj = &uiobj_;
    param_.hOEMHeap = heap_;
    ctx_.pDriverUI = &driver_;
    ctx_.pCuiParam = &param_;
    info_.cbSize = sizeof info_;
    info_.Version = PROPSHEETUI_INFO_VERSION;
  }
  void TearDown() override { HeapDestroy(heap_); }

  void Use(DriverItems &items, HANDLE printer) {
    param_.hPrinter = printer;
    param_.pDrvOptItems = items.data();
    param_.cDrvOptItems = items.count();
  }
  HRESULT Init() {
    info_.Reason = PROPSHEETUI_REASON_INIT;
    info_.Result = 0xdead;
    return qx::DevicePropertySheets(&info_, 0, &ctx_);
  }
  LONG Callback(LONG reason, OPTITEM *current, HWND dialog = nullptr) {
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof cb;
    cb.Reason = static_cast<WORD>(reason);
    cb.hDlg = dialog;
    cb.pOptItem = param_.pDrvOptItems;
    cb.cOptItem = static_cast<WORD>(param_.cDrvOptItems);
    cb.pCurItem = current;
    return qx::PrnPropItemCallback(&cb, &param_);
  }

  HANDLE heap_ = nullptr;
  OEMUIOBJ uiobj_ = {sizeof(OEMUIOBJ), nullptr};
  OEMCUIPPARAM param_ = {};
  FakeDriverUI driver_;
  qx::UiContext ctx_;
  PROPSHEETUI_INFO info_ = {};
};

TEST_F(PrinterProperties, ItemFollowsTheStoredRegion) {
  TestPrinter printer(L"qx props region");
  ASSERT_TRUE(printer.ok());
  struct Case { DWORD region; LONG selBefore; bool hidden; LONG selAfter; } cases[] = {
      {3, 1, false, 0}, {7, 0, false, 1}, {5, 0, true, 1}};
  for (const Case &c : cases) {
    DriverItems items;
    items.password().Sel = c.selBefore;
    printer.SetDword(L"QXRegion", c.region);
    Use(items, printer.handle());
    ctx_.dwCachedRegion = 0;
    driver_.updates.clear();

    EXPECT_EQ(Init(), S_OK);
    EXPECT_EQ(info_.Result, 0);
    EXPECT_EQ((items.password().Flags & OPTIF_HIDE) != 0, c.hidden) << c.region;
    EXPECT_EQ(items.password().Sel, c.selAfter) << c.region;
    EXPECT_EQ(ctx_.dwCachedRegion, c.region);
    // The driver hears of the item, and of no other.
    ASSERT_EQ(driver_.updates.size(), 1u);
    EXPECT_EQ(driver_.updates[0].pci, &uiobj_);
    EXPECT_EQ(driver_.updates[0].item, &items.password());
    EXPECT_EQ(driver_.updates[0].previous, 0u);
    EXPECT_EQ(driver_.updates[0].mode, static_cast<DWORD>(OEMCUIP_PRNPROP));
    EXPECT_EQ(items[0].Flags | items[2].Flags, 0u);
  }
}

TEST_F(PrinterProperties, ItemHiddenWithoutARegion) {
  TestPrinter printer(L"qx props none");
  ASSERT_TRUE(printer.ok());
  for (LONG driverSel : {0, 1}) {
    DriverItems items;
    items.password().Sel = driverSel;
    Use(items, printer.handle());
    EXPECT_EQ(Init(), S_OK);
    EXPECT_NE(items.password().Flags & OPTIF_HIDE, 0u);
    EXPECT_EQ(items.password().Sel, driverSel);
  }
  // Without a printer handle as well; the driver still hears of the item.
  DriverItems items;
  Use(items, nullptr);
  driver_.updates.clear();
  EXPECT_EQ(Init(), S_OK);
  EXPECT_NE(items.password().Flags & OPTIF_HIDE, 0u);
  EXPECT_EQ(driver_.updates.size(), 1u);
}

TEST_F(PrinterProperties, LongerKeywordCountsAsTheItem) {
  TestPrinter printer(L"qx props prefix");
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", 7);
  DriverItems items("PasswordModeSecure");
  Use(items, printer.handle());
  EXPECT_EQ(Init(), S_OK);
  EXPECT_EQ(items.password().Flags & OPTIF_HIDE, 0u);
  EXPECT_EQ(items.password().Sel, 1);
  EXPECT_EQ(driver_.updates.size(), 1u);

  DriverItems shorter("PasswordMod");
  Use(shorter, printer.handle());
  driver_.updates.clear();
  EXPECT_EQ(Init(), S_OK);
  EXPECT_TRUE(driver_.updates.empty());
}

TEST_F(PrinterProperties, SheetReasons) {
  DriverItems items;
  Use(items, nullptr);
  PROPSHEETUI_INFO_HEADER header = {};
  info_.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
  EXPECT_EQ(qx::DevicePropertySheets(&info_, reinterpret_cast<LPARAM>(&header), &ctx_), S_OK);
  EXPECT_STREQ(header.pTitle, L"OEM UI Page");
  EXPECT_EQ(info_.Result, 1);

  info_.Reason = PROPSHEETUI_REASON_SET_RESULT;
  SETRESULT_INFO result = {sizeof result, 0, nullptr, 42};
  EXPECT_EQ(qx::DevicePropertySheets(&info_, reinterpret_cast<LPARAM>(&result), &ctx_), S_OK);
  EXPECT_EQ(info_.Result, 42);

  info_.Reason = PROPSHEETUI_REASON_DESTROY;
  EXPECT_EQ(qx::DevicePropertySheets(&info_, 0, &ctx_), S_OK);
  EXPECT_EQ(info_.Result, 1);

  info_.Reason = PROPSHEETUI_REASON_GET_ICON;
  EXPECT_EQ(qx::DevicePropertySheets(&info_, 0, &ctx_), S_OK);
  EXPECT_EQ(info_.Result, 0);
  // A missing header or result block is not dereferenced.
  info_.Reason = PROPSHEETUI_REASON_GET_INFO_HEADER;
  EXPECT_EQ(qx::DevicePropertySheets(&info_, 0, &ctx_), S_OK);
  info_.Reason = PROPSHEETUI_REASON_SET_RESULT;
  info_.Result = 7;
  EXPECT_EQ(qx::DevicePropertySheets(&info_, 0, &ctx_), S_OK);
  EXPECT_EQ(info_.Result, 0);  // nothing to copy
}

TEST_F(PrinterProperties, SheetRefusesBadArguments) {
  DriverItems items;
  Use(items, nullptr);
  auto expectRefused = [](PPROPSHEETUI_INFO info, qx::UiContext *ctx) {
    SetLastError(0xdeadbeef);
    EXPECT_EQ(qx::DevicePropertySheets(info, 0, ctx), E_FAIL);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  };
  expectRefused(nullptr, &ctx_);
  expectRefused(&info_, nullptr);
  info_.Version = 0x0200;
  expectRefused(&info_, &ctx_);
  info_.Version = PROPSHEETUI_INFO_VERSION;
  param_.pDrvOptItems = nullptr;
  expectRefused(&info_, &ctx_);
  ctx_.pCuiParam = nullptr;
  expectRefused(&info_, &ctx_);
}

TEST_F(PrinterProperties, EnablingAsksForConfirmation) {
  DriverItems items;
  Use(items, nullptr);
  HWND dialog = CreateWindowW(L"STATIC", L"sheet", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(dialog, nullptr);
  {
    qxtest::MessageBoxCatcher boxes(IDOK);
    items.password().Sel = 1;
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items.password(), dialog), CPSUICB_ACTION_NONE);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Error");
    EXPECT_EQ(boxes[0].text, kConfirmation);
    EXPECT_EQ(boxes[0].owner, dialog);
    EXPECT_EQ(boxes[0].buttons, std::vector<int>({IDOK, IDCANCEL}));
    EXPECT_EQ(items.password().Sel, 1);
  }
  {
    qxtest::MessageBoxCatcher boxes(IDCANCEL);
    items.password().Sel = 1;
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items.password(), dialog), CPSUICB_ACTION_NONE);
    ASSERT_EQ(boxes.count(), 1u);
    EXPECT_EQ(items.password().Sel, 0);

    // Choosing eight characters, or another item, asks nothing.
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items.password(), dialog), CPSUICB_ACTION_NONE);
    items[0].Sel = 1;
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items[0], dialog), CPSUICB_ACTION_NONE);
    EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, nullptr, dialog), CPSUICB_ACTION_NONE);
    EXPECT_EQ(boxes.count(), 1u);
    EXPECT_EQ(items[0].Sel, 1);
  }
  DestroyWindow(dialog);
}

TEST_F(PrinterProperties, CallbackIgnoresMissingArguments) {
  CPSUICBPARAM cb = {};
  cb.Reason = CPSUICB_REASON_APPLYNOW;
  EXPECT_EQ(qx::PrnPropItemCallback(nullptr, &param_), CPSUICB_ACTION_NONE);
  EXPECT_EQ(qx::PrnPropItemCallback(&cb, nullptr), CPSUICB_ACTION_NONE);
  // No driver items, no printer: nothing to do.
  EXPECT_EQ(qx::PrnPropItemCallback(&cb, &param_), CPSUICB_ACTION_NONE);
}

// When the printer's data was last written.
FILETIME DataWriteTime(const TestPrinter &printer) {
  FILETIME time = {};
  std::wstring key = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + printer.name() + L"\\PrinterDriverData";
  HKEY hkey;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE, &hkey) == ERROR_SUCCESS) {
    RegQueryInfoKeyW(hkey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &time);
    RegCloseKey(hkey);
  }
  return time;
}

TEST_F(PrinterProperties, ApplyStoresTheChosenForm) {
  TestPrinter printer(L"qx props apply");
  ASSERT_TRUE(printer.ok());
  DriverItems items;
  Use(items, printer.handle());
  DWORD region = 0;

  printer.SetDword(L"QXRegion", 3);
  items.password().Sel = 1;
  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_NONE);
  ASSERT_TRUE(printer.GetDword(L"QXRegion", &region));
  EXPECT_EQ(region, 7u);

  items.password().Sel = 0;
  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_NONE);
  ASSERT_TRUE(printer.GetDword(L"QXRegion", &region));
  EXPECT_EQ(region, 3u);

  // Unchanged, or a selection that is neither form: nothing is written.
  FILETIME before = DataWriteTime(printer);
  ASSERT_NE(before.dwLowDateTime | before.dwHighDateTime, 0u);
  Sleep(20);
  Callback(CPSUICB_REASON_APPLYNOW, nullptr);
  items.password().Sel = 2;
  Callback(CPSUICB_REASON_APPLYNOW, nullptr);
  FILETIME after = DataWriteTime(printer);
  EXPECT_EQ(CompareFileTime(&before, &after), 0);
  ASSERT_TRUE(printer.GetDword(L"QXRegion", &region));
  EXPECT_EQ(region, 3u);
  items.password().Sel = 1;  // and a write does show in the time
  Callback(CPSUICB_REASON_APPLYNOW, nullptr);
  after = DataWriteTime(printer);
  EXPECT_NE(CompareFileTime(&before, &after), 0);

  // Without a stored region the item is skipped.
  printer.RemoveData(L"QXRegion");
  items.password().Sel = 1;
  Callback(CPSUICB_REASON_APPLYNOW, nullptr);
  EXPECT_FALSE(printer.GetDword(L"QXRegion", &region));
}

TEST_F(PrinterProperties, ApplyNeverWritesARemotePrinter) {
  TestPrinter printer(L"qx props remote", qxtest::OnPort(L"TS002", PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL));
  ASSERT_TRUE(printer.ok());
  DriverItems items;
  Use(items, printer.handle());
  DWORD region = 0;
  for (DWORD stored : {3u, 7u}) {
    printer.SetDword(L"QXRegion", stored);
    items.password().Sel = stored == 3 ? 1 : 0;
    EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_NONE);
    ASSERT_TRUE(printer.GetDword(L"QXRegion", &region));
    EXPECT_EQ(region, stored);
  }
}

}  // namespace
