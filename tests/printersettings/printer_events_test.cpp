// Installation and upgrade events against real printers in Wine's spooler,
// through the plug-in DLL as the driver calls it.
#include <gtest/gtest.h>

#include "platform/printoem.h"
#include "printersettings/user_nation.h"
#include "support/plugin_test.h"
#include "support/test_printer.h"

namespace {

using qxtest::TestPrinter;
using qxtest::UserNation;

constexpr GEOID kUnitedStates = 244;  // numeric passwords
constexpr GEOID kGermany = 94;        // selectable

class PrinterEvents : public qxtest::PluginTest {
 protected:
  HRESULT Initialize(const std::wstring &name) {
    return plugin_->PrinterEvent(const_cast<PWSTR>(name.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0);
  }
  HRESULT Upgrade(const std::wstring &name) {
    DRIVER_UPGRADE_INFO_1 info = {const_cast<LPWSTR>(name.c_str()), nullptr};
    return plugin_->UpgradePrinter(1, reinterpret_cast<PBYTE>(&info));
  }
  static DWORD Region(const TestPrinter &printer) {
    DWORD value = 0xdeadbeef;
    return printer.GetDword(L"QXRegion", &value) ? value : 0xdeadbeef;
  }
  static bool Has(const TestPrinter &printer, const wchar_t *name) {
    DWORD type = 0, needed = 0;
    return GetPrinterDataW(printer.handle(), const_cast<LPWSTR>(name), &type, nullptr, 0, &needed) !=
           ERROR_FILE_NOT_FOUND;
  }
};

TEST_F(PrinterEvents, InstallDecidesFromTheConsoleUsersNation) {
  TestPrinter printer(L"qx install");
  ASSERT_TRUE(printer.ok());
  {
    UserNation nation(kUnitedStates);
    EXPECT_EQ(Initialize(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 5u);
  }
  {
    UserNation nation(kGermany);
    EXPECT_EQ(Initialize(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 3u);
  }
  DWORD emf = 0xdeadbeef;
  EXPECT_TRUE(printer.GetDword(L"EMFDespoolingSetting", &emf));
  EXPECT_EQ(emf, 0u);
}

TEST_F(PrinterEvents, InstallWithoutANationMakesTheFormSelectable) {
  TestPrinter printer(L"qx no nation");
  ASSERT_TRUE(printer.ok());
  UserNation nation(kUnitedStates);
  if (!UserNation::MakeUnavailable()) GTEST_SKIP() << "this Wine always has a nation";
  EXPECT_EQ(Initialize(printer.name()), S_OK);
  EXPECT_EQ(Region(printer), 3u);
}

TEST_F(PrinterEvents, InstallStartsAfresh) {
  TestPrinter printer(L"qx reinstall");
  ASSERT_TRUE(printer.ok());
  printer.SetDword(L"QXRegion", 7);
  {
    UserNation nation(kGermany);
    EXPECT_EQ(Initialize(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 3u);
  }
  printer.SetDword(L"QXRegion", 7 | 0x100);
  {
    UserNation nation(kUnitedStates);
    EXPECT_EQ(Initialize(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 5u);
  }
}

TEST_F(PrinterEvents, UpgradeKeepsADeterminedForm) {
  TestPrinter printer(L"qx upgrade keep");
  ASSERT_TRUE(printer.ok());
  struct Case { DWORD stored; GEOID nation; } cases[] = {{7, kUnitedStates}, {3, kUnitedStates}, {5, kGermany},
                                                          {0x107, kGermany}};
  for (const Case &c : cases) {
    UserNation nation(c.nation);
    printer.SetDword(L"QXRegion", c.stored);
    EXPECT_EQ(Upgrade(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), c.stored);
  }
}

TEST_F(PrinterEvents, UpgradeCompletesAnUndeterminedForm) {
  TestPrinter printer(L"qx upgrade complete");
  ASSERT_TRUE(printer.ok());
  {
    UserNation nation(kGermany);
    printer.SetDword(L"QXRegion", 6);
    EXPECT_EQ(Upgrade(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 7u);
  }
  {
    UserNation nation(kUnitedStates);
    printer.SetDword(L"QXRegion", 6);
    EXPECT_EQ(Upgrade(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 5u);
  }
  {
    UserNation nation(kGermany);
    printer.RemoveData(L"QXRegion");
    EXPECT_EQ(Upgrade(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 3u);
  }
  {
    // A value of the wrong size counts as none.
    UserNation nation(kGermany);
    WORD shortValue = 7;
    printer.SetData(L"QXRegion", REG_BINARY, &shortValue, sizeof shortValue);
    EXPECT_EQ(Upgrade(printer.name()), S_OK);
    EXPECT_EQ(Region(printer), 3u);
  }
}

TEST_F(PrinterEvents, EmfDespoolingSettingKeptOrReplaced) {
  TestPrinter printer(L"qx emf");
  ASSERT_TRUE(printer.ok());
  DWORD emf = 0;
  printer.SetDword(L"EMFDespoolingSetting", 1);
  EXPECT_EQ(Initialize(printer.name()), S_OK);
  EXPECT_EQ(Upgrade(printer.name()), S_OK);
  ASSERT_TRUE(printer.GetDword(L"EMFDespoolingSetting", &emf));
  EXPECT_EQ(emf, 1u);

  BYTE eight[8] = {1, 1, 1, 1, 1, 1, 1, 1};
  printer.SetData(L"EMFDespoolingSetting", REG_BINARY, eight, sizeof eight);
  EXPECT_EQ(Upgrade(printer.name()), S_OK);
  emf = 0xdeadbeef;
  ASSERT_TRUE(printer.GetDword(L"EMFDespoolingSetting", &emf));
  EXPECT_EQ(emf, 0u);

  WORD two = 1;
  printer.SetData(L"EMFDespoolingSetting", REG_BINARY, &two, sizeof two);
  EXPECT_EQ(Initialize(printer.name()), S_OK);
  emf = 0xdeadbeef;
  ASSERT_TRUE(printer.GetDword(L"EMFDespoolingSetting", &emf));
  EXPECT_EQ(emf, 0u);
}

TEST_F(PrinterEvents, RemoteSessionPrinterIsLeftAlone) {
  TestPrinter printer(L"qx session", qxtest::OnPort(L"TS001", PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL));
  ASSERT_TRUE(printer.ok());
  EXPECT_EQ(Initialize(printer.name()), S_OK);
  EXPECT_EQ(Upgrade(printer.name()), S_OK);
  EXPECT_FALSE(Has(printer, L"QXRegion"));
  EXPECT_FALSE(Has(printer, L"EMFDespoolingSetting"));
}

TEST_F(PrinterEvents, SessionPrinterOnAClientPortIsLocal) {
  TestPrinter printer(L"qx client port", qxtest::OnPort(L"Client:LPT1", PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL));
  ASSERT_TRUE(printer.ok());
  UserNation nation(kGermany);
  EXPECT_EQ(Initialize(printer.name()), S_OK);
  EXPECT_EQ(Region(printer), 3u);
}

TEST_F(PrinterEvents, OtherEventsWriteNothing) {
  TestPrinter printer(L"qx other events");
  ASSERT_TRUE(printer.ok());
  for (INT event : {0 /* configuration change */, PRINTER_EVENT_ADD_CONNECTION, PRINTER_EVENT_DELETE,
                    PRINTER_EVENT_ATTRIBUTES_CHANGED, 99}) {
    EXPECT_EQ(plugin_->PrinterEvent(const_cast<PWSTR>(printer.name().c_str()), event, 0, 0), S_OK) << event;
    EXPECT_EQ(plugin_->PrinterEvent(nullptr, event, 0, 0), S_OK) << event;
  }
  EXPECT_FALSE(Has(printer, L"QXRegion"));
  EXPECT_FALSE(Has(printer, L"EMFDespoolingSetting"));
}

TEST_F(PrinterEvents, UnknownOrMissingPrinter) {
  EXPECT_EQ(Initialize(L"qx no such printer"), S_OK);
  EXPECT_EQ(plugin_->PrinterEvent(nullptr, PRINTER_EVENT_INITIALIZE, 0, 0), E_FAIL);

  SetLastError(0xdeadbeef);
  EXPECT_EQ(Upgrade(L"qx no such printer"), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PrinterEvents, UpgradeRefusesBadArguments) {
  TestPrinter printer(L"qx upgrade args");
  ASSERT_TRUE(printer.ok());
  DRIVER_UPGRADE_INFO_1 info = {const_cast<LPWSTR>(printer.name().c_str()), nullptr};
  SetLastError(0xdeadbeef);
  EXPECT_EQ(plugin_->UpgradePrinter(2, reinterpret_cast<PBYTE>(&info)), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  SetLastError(0xdeadbeef);
  EXPECT_EQ(plugin_->UpgradePrinter(1, nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  DRIVER_UPGRADE_INFO_1 unnamed = {nullptr, nullptr};
  SetLastError(0xdeadbeef);
  EXPECT_EQ(plugin_->UpgradePrinter(1, reinterpret_cast<PBYTE>(&unnamed)), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_FALSE(Has(printer, L"QXRegion"));
}

}  // namespace
