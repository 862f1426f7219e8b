// Printer properties through the plug-in DLL as the driver calls it, and the
// confirmation's text as the DLL stores it.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "optiontree/fake_driver.h"
#include "resource_ids.h"
#include "support/fake_driver_ui.h"
#include "support/plugin_loader.h"
#include "support/test_printer.h"

namespace {

using qxtest::DriverItems;
using qxtest::FakeDriverUI;
using qxtest::TestPrinter;

const wchar_t kConfirmation[] =
    L"Enabling this setting reduces the level of password security.\nOnly use it on a protected network.\n"
    L"Do you want to enable this setting?";

// The driver's order of calls: the object keeps the CommonUIProp block and
// adjusts its item (the password mode, between two others) when the sheet
// starts.
TEST(PrinterProperties, ThroughThePluginObject) {
  TestPrinter printer(L"qx props object");
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", 7);
  DriverItems items;
  items.AddUnnamed(0, "PageSize", 0);
  OPTITEM &password = items.AddUnnamed(0, "PasswordMode", 0);
  items.AddUnnamed(0, "Duplex", 0);
  HANDLE heap = HeapCreate(0, 0, 0);
  OEMUIOBJ uiobj = {sizeof(OEMUIOBJ), nullptr};
  OEMCUIPPARAM param = qxtest::SheetParam(items, &uiobj, nullptr, printer.handle());
  param.hOEMHeap = heap;
  FakeDriverUI driver;
  qxtest::PluginLoader loader;
  IPrintOemUI2 *plugin = loader.Create();
  ASSERT_NE(plugin, nullptr);
  {
    qxtest::ComRelease<IPrintOemUI2> release{plugin};
    ASSERT_EQ(plugin->PublishDriverInterface(&driver), S_OK);
    plugin->CommonUIProp(OEMCUIP_PRNPROP, &param);

    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = PROPSHEETUI_REASON_INIT;
    EXPECT_EQ(plugin->DevicePropertySheets(&info, 0), S_OK);
    EXPECT_EQ(password.Flags & OPTIF_HIDE, 0u);
    EXPECT_EQ(password.Sel, 1);
    ASSERT_EQ(driver.updates.size(), 1u);
    EXPECT_EQ(driver.updates[0].item, &password);
  }
  HeapDestroy(heap);
}

// The confirmation exists in every language of the plug-in.
TEST(ConfirmationText, InEveryLanguage) {
  qxtest::PluginLoader loader;
  const WORD languages[] = {MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),   MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN),
                            MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH),     MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
                            MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),  MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH),
                            MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN),
                            MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)};
  const UINT id = IDS_CONFIRM_NUMERIC_PASSWORD;
  for (WORD language : languages) {
    HRSRC found = FindResourceExW(loader.module(), RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
    ASSERT_NE(found, nullptr) << std::hex << language;
    auto *entry = static_cast<const WCHAR *>(LockResource(LoadResource(loader.module(), found)));
    for (UINT i = 0; i < id % 16; ++i) entry += 1 + *entry;  // counted strings
    std::wstring text(entry + 1, *entry);
    EXPECT_GT(text.size(), 40u) << std::hex << language;
    EXPECT_EQ(std::count(text.begin(), text.end(), L'\n'), 2) << std::hex << language;
    if (language == MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL)) EXPECT_EQ(text, kConfirmation);
  }
}

}  // namespace
