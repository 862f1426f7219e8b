// The plug-in's two roads through the driver host, in Wine's spooler: a
// printer installation (printer event, upgrade, printer properties) and a
// print (printing preferences, then jobs with document events). They assert
// on printer data, devmode bytes, the host's call log and the pages'
// controls.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "platform/build_variant.h"
#include "platform/private_devmode.h"
#include "host/commands.h"
#include "host/host_devmode.h"
#include "host/installed_printer.h"
#include "support/plugin_loader.h"

namespace {

using namespace qxhost;

std::wstring ExamplePath(const wchar_t *name) {
  return qxtest::BesideTestProgram((std::wstring(L"..\\..\\examples\\") + name).c_str());
}

// The index of the first log line containing `text`, or -1.
int LineOf(const CallLog &log, const std::string &text) {
  const auto &l = log.lines();
  for (size_t i = 0; i < l.size(); ++i)
    if (l[i].find(text) != std::string::npos) return static_cast<int>(i);
  return -1;
}

// The whole log, for failure messages.
std::string Dump(const CallLog &log) {
  std::string all = "\n";
  for (const std::string &l : log.lines()) all += "  " + l + "\n";
  return all;
}

bool Answered(const CallLog &log, const std::string &call, const std::string &answer) {
  return LineOf(log, call + " -> " + answer) >= 0;
}

// A printer of the sample colour model, installed through the host and
// removed again with its driver.
class HostPrinter : public ::testing::Test {
 protected:
  void SetUp() override {
    quiet_.set_echo(false);
    name_ = L"qxhost scenario " + std::to_wstring(GetCurrentProcessId());
    // Wine reuses process ids: a printer left by a run that died goes first.
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE stale = nullptr;
    if (OpenPrinterW(const_cast<LPWSTR>(name_.c_str()), &stale, &all)) {
      DeletePrinter(stale);
      ClosePrinter(stale);
    }
    InstallRequest r;
    r.name = name_;
    r.ppd = ExamplePath(L"orvanta-ql-c5200.ppd");
    ASSERT_EQ(Install(r, &install_), kExitOk);
    ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(name_.c_str()), &handle_, &all));
  }
  void TearDown() override {
    if (handle_) {
      DeletePrinter(handle_);
      ClosePrinter(handle_);
    }
    DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(L"Orvanta QL-C5200 PS"));
  }
  void SetRegion(DWORD v) {
    ASSERT_EQ(SetPrinterDataW(handle_, const_cast<LPWSTR>(L"QXRegion"), REG_DWORD, reinterpret_cast<LPBYTE>(&v),
                              sizeof v),
              static_cast<DWORD>(ERROR_SUCCESS));
  }
  std::wstring name_;
  HANDLE handle_ = nullptr;
  CallLog install_, quiet_;
};

TEST_F(HostPrinter, InstallationRaisesThePrinterEventThroughThePlugin) {
  install_.set_echo(false);
  EXPECT_LT(LineOf(install_, "PublishDriverInterface -> S_OK"),
            LineOf(install_, "PrinterEvent(PRINTER_EVENT_INITIALIZE)"));
  InstalledPrinter p;
  std::string error;
  ASSERT_TRUE(p.Open(name_, &error)) << error;
  EXPECT_EQ(p.driverName(), L"Orvanta QL-C5200 PS");
  EXPECT_EQ(p.Port(), L"LPT1:");
  EXPECT_EQ(p.pluginPath(), p.driverDirectory() + L"\\quillex.dll");  // named by the configuration file
  std::optional<DWORD> region = ReadDwordValue(handle_, L"QXRegion");
  std::optional<DWORD> emf = ReadDwordValue(handle_, L"EMFDespoolingSetting");
  EXPECT_TRUE(Answered(install_, "PrinterEvent(PRINTER_EVENT_INITIALIZE)", "S_OK")) << Dump(install_);
  ASSERT_TRUE(region);
  // Determined for the console user's nation: selectable, or four digits.
  EXPECT_TRUE(*region == 3 || *region == 5) << *region;
  ASSERT_TRUE(emf);
  EXPECT_EQ(*emf, 0u);

  // Wine's spooler asks the driver module for devmodes; it answers with the
  // plug-in's block in place.
  LONG size = DocumentPropertiesW(nullptr, handle_, const_cast<LPWSTR>(name_.c_str()), nullptr, nullptr, 0);
  ASSERT_EQ(size, static_cast<LONG>(sizeof(DEVMODEW) + kDriverPartSize + qx::kPrivateDevmodeSize));
  std::vector<BYTE> dm(size);
  ASSERT_EQ(DocumentPropertiesW(nullptr, handle_, const_cast<LPWSTR>(name_.c_str()),
                                reinterpret_cast<DEVMODEW *>(dm.data()), nullptr, DM_OUT_BUFFER),
            IDOK);
  EXPECT_NE(qx::FindPrivateDevmode(dm.data(), dm.size()), nullptr);

  CallLog upgrade;
  upgrade.set_echo(false);
  SetRegion(7);
  EXPECT_EQ(Upgrade(name_, &upgrade), kExitOk) << Dump(upgrade);
  EXPECT_GE(LineOf(upgrade, "UpgradePrinter(1) -> "), 0);
  EXPECT_EQ(ReadDwordValue(handle_, L"QXRegion"), std::optional<DWORD>(7));  // a determined region stays
}

TEST_F(HostPrinter, BadInstallationsLeaveNothingBehind) {
  InstallRequest r;
  r.name = name_ + L" second";
  r.ppd = ExamplePath(L"no-such-file.ppd");
  EXPECT_EQ(Install(r, &quiet_), kExitBadInput);
  r.ppd = ExamplePath(L"orvanta-ps.ini");  // readable, but no printer description
  EXPECT_EQ(Install(r, &quiet_), kExitBadInput);
  HANDLE h = nullptr;
  EXPECT_FALSE(OpenPrinterW(const_cast<LPWSTR>(r.name.c_str()), &h, nullptr));

  r.name = name_;  // exists already: refused, the first one intact
  r.ppd = ExamplePath(L"orvanta-ql-c5200.ppd");
  EXPECT_EQ(Install(r, &quiet_), kExitFailed);
  InstalledPrinter p;
  std::string error;
  EXPECT_TRUE(p.Open(name_, &error)) << error;

  EXPECT_EQ(Upgrade(L"qxhost no such printer", &quiet_), kExitFailed);
}

TEST_F(HostPrinter, PrinterPropertiesSetTheNumericPasswordMode) {
  SetRegion(3);  // selectable, eight-character passwords
  SheetRequest r;
  r.printer = name_;
  r.assignments = {"PasswordMode=ON"};
  bool pageChecked = false;
  r.whileOpen = [&](HostSheet &sheet) {
    ItemTree *items = sheet.driverItems();
    HWND page = sheet.ShowPage(0);
    ASSERT_NE(page, nullptr);
    int pm = items->FindByKeyword("PasswordMode");
    ASSERT_GE(pm, 0);
    HWND list = GetDlgItem(page, kItemListIdBase + pm);
    ASSERT_NE(list, nullptr);  // selectable: shown
    EXPECT_EQ(SendMessageW(list, CB_GETITEMDATA, SendMessageW(list, CB_GETCURSEL, 0, 0), 0), 1);
    // The plug-in hides the form-to-tray group with its trays; the
    // installable options stay.
    EXPECT_EQ(GetDlgItem(page, kItemLabelIdBase + 0), nullptr);
    EXPECT_EQ(GetDlgItem(page, kItemListIdBase + 1), nullptr);
    EXPECT_NE(GetDlgItem(page, kItemListIdBase + items->FindByKeyword("QXTrayUnit")), nullptr);
    pageChecked = true;
  };
  CallLog log;
  log.set_echo(false);
  SheetOutcome outcome;
  ASSERT_EQ(Props(r, &log, &outcome), kExitOk) << Dump(log);
  EXPECT_TRUE(pageChecked);
  EXPECT_TRUE(outcome.applied);
  EXPECT_LT(LineOf(log, "CommonUIProp(OEMCUIP_PRNPROP, counting)"), LineOf(log, "CommonUIProp(OEMCUIP_PRNPROP, items)"));
  EXPECT_LT(LineOf(log, "CommonUIProp(OEMCUIP_PRNPROP, items)"), LineOf(log, "DevicePropertySheets(INIT)"));
  InstalledPrinter p;
  std::string error;
  ASSERT_TRUE(p.Open(name_, &error));
  FeatureChoices device = p.LoadDeviceChoices();
  EXPECT_EQ(ChosenKeyword(p.description(), device, p.description().FindFeature("PasswordMode")), "ON");
  EXPECT_GE(LineOf(log, "item callback installed"), 0);
  EXPECT_GE(LineOf(log, "message box \"Error\""), 0);  // the confirmation, answered OK
  EXPECT_LT(LineOf(log, "item callback(SEL_CHANGED \"Numeric Passwords\")"), LineOf(log, "item callback(APPLYNOW)"));
  EXPECT_EQ(ReadDwordValue(handle_, L"QXRegion"), std::optional<DWORD>(7));
}

TEST_F(HostPrinter, PrintingPreferencesShowTheDriverItemsAndThePluginPages) {
  SheetRequest r;
  r.printer = name_;
  r.assignments = {"InputSlot=LC1", "*QXToner=True"};
  int listsChecked = 0;
  std::vector<std::wstring> pluginTitles;
  r.whileOpen = [&](HostSheet &sheet) {
    for (const SheetPage &p : sheet.pages()) pluginTitles.push_back(p.title);
    ItemTree *items = sheet.driverItems();
    HWND page = sheet.ShowPage(0);
    ASSERT_NE(page, nullptr);
    for (DWORD i = 0; i < items->count(); ++i) {
      const OPTITEM &item = items->items()[i];
      HWND list = GetDlgItem(page, kItemListIdBase + i);
      if (item.Flags & OPTIF_HIDE) {
        EXPECT_EQ(list, nullptr) << "hidden items are absent";
        continue;
      }
      ASSERT_NE(list, nullptr);
      EXPECT_EQ(IsWindowEnabled(list) != FALSE, !(item.Flags & OPTIF_DISABLED));
      int shown = 0;
      for (int k = 0; k < item.pOptType->Count; ++k) {
        const OPTPARAM &p = item.pOptType->pOptParam[k];
        if (p.Flags & OPTPF_HIDE) continue;
        wchar_t text[128] = {};
        SendMessageW(list, CB_GETLBTEXT, shown++, reinterpret_cast<LPARAM>(text));
        EXPECT_EQ(std::wcsncmp(text, kWarningMark, 4) == 0, (p.Flags & OPTPF_OVERLAY_WARNING_ICON) != 0);
      }
      EXPECT_EQ(SendMessageW(list, CB_GETCOUNT, 0, 0), shown);
      bool warned = false;
      for (int k = 0; k < item.pOptType->Count; ++k)
        warned |= (item.pOptType->pOptParam[k].Flags & (OPTPF_OVERLAY_WARNING_ICON | OPTPF_HIDE)) ==
                  OPTPF_OVERLAY_WARNING_ICON;
      wchar_t label[128] = {};
      GetDlgItemTextW(page, kItemLabelIdBase + i, label, 128);
      EXPECT_EQ(std::wcsncmp(label, kWarningMark, 4) == 0, warned) << Narrow(label);
      ++listsChecked;
    }
    // Every page shows whole: each control lies inside the tab's display
    // area, whatever the page's own font.
    HWND tab = PropSheet_GetTabControl(sheet.window());
    RECT display;
    GetClientRect(tab, &display);
    TabCtrl_AdjustRect(tab, FALSE, &display);
    for (size_t i = 0; i <= sheet.pages().size(); ++i) {
      HWND shown = sheet.ShowPage(static_cast<int>(i));
      ASSERT_NE(shown, nullptr);
      RECT area = display;
      MapWindowPoints(tab, shown, reinterpret_cast<POINT *>(&area), 2);
      for (HWND c = GetWindow(shown, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r;
        GetWindowRect(c, &r);
        MapWindowPoints(nullptr, shown, reinterpret_cast<POINT *>(&r), 2);
        EXPECT_TRUE(r.right <= area.right && r.bottom <= area.bottom)
            << "page " << i << " control " << GetDlgCtrlID(c) << " ends at " << r.right << "," << r.bottom
            << " of " << area.right << "," << area.bottom;
      }
    }
  };
  CallLog log;
  log.set_echo(false);
  SheetOutcome outcome;
  ASSERT_EQ(Prefs(r, &log, &outcome), kExitOk) << Dump(log);
  EXPECT_GT(listsChecked, 0);
  EXPECT_TRUE(outcome.applied);

  // The driver's order of calls, which the plug-in's pages rely on.
  int publish = LineOf(log, "PublishDriverInterface -> S_OK");
  int counting = LineOf(log, "CommonUIProp(OEMCUIP_DOCPROP, counting)");
  int itemPass = LineOf(log, "CommonUIProp(OEMCUIP_DOCPROP, items)");
  int init = LineOf(log, "DocumentPropertySheets(INIT)");
  int setResult = LineOf(log, "DocumentPropertySheets(SET_RESULT)");
  int destroy = LineOf(log, "DocumentPropertySheets(DESTROY)");
  EXPECT_TRUE(publish >= 0 && publish < counting && counting < itemPass && itemPass < init && init < setResult &&
              setResult < destroy);

  EXPECT_FALSE(Answered(log, "DocumentPropertySheets(INIT)", "E_NOTIMPL"));
  EXPECT_EQ(pluginTitles, (std::vector<std::wstring>{L"Layout", L"Extended Settings"}));
  EXPECT_GE(LineOf(log, "CPSFUNC_SET_HSTARTPAGE(0, 10002)"), 0);
  EXPECT_GE(LineOf(log, "item callback installed"), 0);
  // The sample's default hardware has no lower cassettes and no duplex unit.
  EXPECT_GE(LineOf(log, "DrvGetDriverSetting(QXTrayUnit) -> S_OK \"None\""), 0);
  EXPECT_LT(LineOf(log, "DrvGetDriverSetting(QXTrayUnit)"), counting);
  EXPECT_GE(LineOf(log, "\"Input Slot\"/\"Cassette 2\""), 0);
  EXPECT_GE(LineOf(log, "\"Input Slot\"/\"Cassette 3\""), 0);
  EXPECT_EQ(LineOf(log, "\"Input Slot\"/\"Cassette 1\""), -1);
  EXPECT_GE(LineOf(log, "\"Two-Sided Printing\"/\"Flip on Long Edge\""), 0);
  // The Layout page replaces the driver's layout items.
  EXPECT_GE(LineOf(log, "items hidden: \"Orientation\", \"Two-Sided Printing\", \"Page Order\", \"Pages per Sheet\""), 0);
  EXPECT_EQ(LineOf(log, "\"Pages per Sheet Layout\", \"Booklet Binding Edge\"") >= 0, !qx::kReducedLayoutBuild);

  // The resulting devmode: the driver's settings and the plug-in's block.
  ASSERT_FALSE(outcome.devmode.empty());
  auto *dm = reinterpret_cast<DEVMODEW *>(outcome.devmode.data());
  InstalledPrinter p;
  std::string error;
  ASSERT_TRUE(p.Open(name_, &error));
  DocumentSettings settings;
  ASSERT_TRUE(ReadDocumentSettings(p.description(), dm, outcome.devmode.size(), &settings));
  EXPECT_EQ(ChosenKeyword(p.description(), settings.choices, p.description().FindFeature("InputSlot")), "LC1");
  EXPECT_EQ(ChosenKeyword(p.description(), settings.choices, p.description().FindFeature("QXToner")), "True");
  const qx::PrivateDevmode *block = qx::FindPrivateDevmode(dm, outcome.devmode.size());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->dwReserveJobType, 0u);
  // Kept as the printer's default for the next job.
  std::vector<BYTE> stored = p.DefaultDevmode();
  ASSERT_EQ(stored.size(), outcome.devmode.size());
  EXPECT_EQ(std::memcmp(stored.data() + sizeof(DEVMODEW), outcome.devmode.data() + sizeof(DEVMODEW),
                        kDriverPartSize), 0);
}

TEST_F(HostPrinter, PreferencesRefuseUnknownSettingsBeforeShowingAnything) {
  SheetRequest r;
  r.printer = name_;
  r.assignments = {"NoSuchFeature=On"};
  EXPECT_EQ(Prefs(r, &quiet_), kExitBadInput);
  r.assignments = {"QXTrayUnit=Tray2"};  // a printer setting
  EXPECT_EQ(Prefs(r, &quiet_), kExitBadInput);
  r.assignments = {"PasswordMode=ON"};
  r.printer = L"qxhost no such printer";
  EXPECT_EQ(Prefs(r, &quiet_), kExitFailed);
  EXPECT_EQ(Props(r, &quiet_), kExitFailed);
  r.printer = name_;
  r.assignments = {"InputSlot=LC1"};  // a document setting
  EXPECT_EQ(Props(r, &quiet_), kExitBadInput);
  EXPECT_FALSE(LineOf(quiet_, "PublishDriverInterface") >= 0);  // the plug-in was never loaded
}

// The text of the current entry of a combo box or ComboBoxEx on `page`.
std::wstring CurrentText(HWND page, int id) {
  HWND list = GetDlgItem(page, id);
  if (!list) return L"(absent)";
  wchar_t text[128] = {};
  LRESULT at = SendMessageW(list, CB_GETCURSEL, 0, 0);
  if (at < 0) return L"(none)";
  COMBOBOXEXITEMW entry = {};
  entry.mask = CBEIF_TEXT;
  entry.iItem = at;
  entry.pszText = text;
  entry.cchTextMax = 128;
  if (!SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&entry)))
    SendMessageW(list, CB_GETLBTEXT, at, reinterpret_cast<LPARAM>(text));
  return text;
}

TEST_F(HostPrinter, PreferencesOpenOnAChosenLayoutAndCaptureNamedPages) {
  wchar_t temp[MAX_PATH];
  ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
  std::wstring dir = std::wstring(temp) + L"qxhost-shots-" + std::to_wstring(GetCurrentProcessId());
  CreateDirectoryW(dir.c_str(), nullptr);
  SheetRequest r;
  r.printer = name_;
  r.layout = {"orientation=landscape,pages=4", "direction=down-then-left"};
  r.shotsDir = dir;
  r.shotName = "landscape-4up";
  r.shotPages = {"layout"};
  std::wstring orientation, perSheet, direction;
  bool booklet = true;
  r.whileOpen = [&](HostSheet &sheet) {
    HWND page = sheet.ShowPage(1);
    ASSERT_NE(page, nullptr);
    orientation = CurrentText(page, 11004);
    perSheet = CurrentText(page, 11012);
    direction = CurrentText(page, 11014);
    booklet = SendDlgItemMessageW(page, 11011, BM_GETCHECK, 0, 0) == BST_CHECKED;
  };
  CallLog log;
  log.set_echo(false);
  SheetOutcome outcome;
  ASSERT_EQ(Prefs(r, &log, &outcome), kExitOk) << Dump(log);
  // The page shows the chosen layout ...
  EXPECT_EQ(orientation, L"Landscape");
  EXPECT_EQ(perSheet, L"4");
  EXPECT_FALSE(booklet);
  if (!qx::kReducedLayoutBuild) {
    EXPECT_EQ(direction, L"Down then Left");
  }
  // ... only the named page is captured, under the given name ...
  std::wstring expected = dir + L"\\prefs-layout-landscape-4up.bmp";
  EXPECT_EQ(outcome.shots, std::vector<std::wstring>{expected});
  EXPECT_NE(GetFileAttributesW(expected.c_str()), INVALID_FILE_ATTRIBUTES);
  DeleteFileW(expected.c_str());
  // ... and OK keeps the layout in the devmode.
  InstalledPrinter p;
  std::string error;
  ASSERT_TRUE(p.Open(name_, &error));
  DocumentSettings settings;
  ASSERT_TRUE(ReadDocumentSettings(p.description(), reinterpret_cast<DEVMODEW *>(outcome.devmode.data()),
                                   outcome.devmode.size(), &settings));
  EXPECT_EQ(settings.layout.orientation, 1);
  EXPECT_EQ(settings.layout.pagesPerSheet, 2);
  EXPECT_EQ(settings.layout.nupDirection, 3);

  // A page that is not there fails the command after the sheet closed.
  r.whileOpen = nullptr;
  r.layout.clear();
  r.shotPages = {"no-such-page"};
  CallLog missing;
  missing.set_echo(false);
  EXPECT_EQ(Prefs(r, &missing), kExitFailed);
  EXPECT_GE(LineOf(missing, "no page \"no-such-page\" to capture"), 0) << Dump(missing);
  RemoveDirectoryW(dir.c_str());

  r.shotsDir.clear();
  r.shotPages.clear();
  r.layout = {"pages=5"};
  EXPECT_EQ(Prefs(r, &quiet_), kExitBadInput);
  r.layout = {"color=monochrome"};  // the colour model has the setting
  EXPECT_EQ(Prefs(r, &quiet_), kExitOk);
}

// With a person at the screen the host waits until the sheet is closed.
TEST_F(HostPrinter, InteractivePreferencesWaitForTheSheetToClose) {
  SheetRequest r;
  r.printer = name_;
  r.interactive = true;
  r.whileOpen = [](HostSheet &sheet) { PostMessageW(sheet.window(), PSM_PRESSBUTTON, PSBTN_CANCEL, 0); };
  CallLog log;
  log.set_echo(false);
  SheetOutcome outcome;
  ASSERT_EQ(Prefs(r, &log, &outcome), kExitOk) << Dump(log);
  EXPECT_FALSE(outcome.applied);
  EXPECT_GE(LineOf(log, "sheet closed with Cancel"), 0);
  EXPECT_GE(LineOf(log, "DocumentPropertySheets(SET_RESULT)"), 0);
}

TEST_F(HostPrinter, PrintRefusesAMalformedConfidentialJob) {
  SetRegion(1);  // four-digit passwords
  PrintRequest r;
  r.printer = name_;
  CallLog plain;
  plain.set_echo(false);
  PrintOutcome ordinary;
  ASSERT_EQ(Print(r, &plain, &ordinary), kExitOk) << Dump(plain);
  EXPECT_FALSE(ordinary.refused);
  EXPECT_GE(LineOf(plain, "printed"), 0);
  int pre = LineOf(plain, "DocumentEvent(CREATEDCPRE)"), post = LineOf(plain, "DocumentEvent(STARTDOCPOST)");
  EXPECT_TRUE(pre >= 0 && pre < LineOf(plain, "DocumentEvent(STARTDOC)") &&
              LineOf(plain, "DocumentEvent(STARTDOC)") < post);

  r.confidential = L"12ab";
  CallLog log;
  log.set_echo(false);
  PrintOutcome confidential;
  ASSERT_EQ(Print(r, &log, &confidential), kExitOk) << Dump(log);
  const qx::PrivateDevmode *block = qx::FindPrivateDevmode(confidential.devmode.data(), confidential.devmode.size());
  ASSERT_NE(block, nullptr);
  EXPECT_EQ(block->dwReserveJobType, 5u);
  EXPECT_EQ(std::u16string(block->wszReservePassword), u"12ab");
  EXPECT_TRUE(Answered(log, "DocumentEvent(STARTDOCPOST)", "S_OK, DOCUMENTEVENT_FAILURE")) << Dump(log);
  EXPECT_TRUE(confidential.refused);
  EXPECT_GE(LineOf(log, "DocumentEvent(ABORTDOC)"), 0);
  EXPECT_EQ(LineOf(log, "DocumentEvent(ENDDOC)"), -1);
  ASSERT_EQ(confidential.messages.size(), 1u);
  EXPECT_EQ(confidential.messages[0].rfind(L"Orvanta QL-C5200 PS: Cannot print the password protected job", 0), 0u)
      << Narrow(confidential.messages[0]);

  r.confidential = L"1234";  // the printer's form
  CallLog good;
  good.set_echo(false);
  PrintOutcome accepted;
  ASSERT_EQ(Print(r, &good, &accepted), kExitOk) << Dump(good);
  EXPECT_FALSE(accepted.refused);
  EXPECT_TRUE(accepted.messages.empty());

  EXPECT_EQ(Print({L"qxhost no such printer"}, &quiet_), kExitFailed);
}

}  // namespace
