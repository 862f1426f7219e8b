// The option tree as the driver sees it: both CommonUIProp passes through the
// plug-in object, against a real Wine printer whose data file is a PPD.
#include <gtest/gtest.h>

#include <memory>

#include "platform/build_variant.h"
#include "support/plugin_loader.h"
#include "support/test_printer.h"
#include "optiontree/fake_driver.h"

namespace {

using qxtest::DriverItems;
using qxtest::FakeDriverUI;
using qxtest::PluginLoader;
using qxtest::TestPrinter;
using qxtest::TestPrinterOptions;

constexpr DWORD W = OPTPF_OVERLAY_WARNING_ICON;
// Public ids that the NT 5.2 headers do not declare.
constexpr BYTE kPubNupDirection = 18, kPubManualDuplex = 19, kPubStaple = 20, kPubBookletEdge = 21;
using Flags = std::vector<DWORD>;

const wchar_t kSamplePpd[] = L"optiontree\\quillex-sample.ppd";

TestPrinterOptions WithPpd(const wchar_t *file) {
  TestPrinterOptions options;
  options.ppdFile = file;
  return options;
}

std::wstring DataFileOf(HANDLE printer) {
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
  std::vector<BYTE> buffer(needed);
  if (!GetPrinterDriverW(printer, nullptr, 3, buffer.data(), needed, &needed)) return L"";
  return reinterpret_cast<DRIVER_INFO_3W *>(buffer.data())->pDataFile;
}

// The items the driver builds for the sample PPD's document properties, the
// colour item first.
void AddDocumentItems(DriverItems &items, LONG colorSel = 1) {
  items.Add(L"Color", DMPUB_COLOR, nullptr, {L"Monochrome", L"Color"}, colorSel);
  items.Add(L"Orientation", DMPUB_ORIENTATION, nullptr, {L"Portrait", L"Landscape", L"Rotated Landscape"});
  items.Add(L"Paper Source", DMPUB_DEFSOURCE, "InputSlot", {L"Automatic", L"Cassette 1", L"Cassette 2", L"Cassette 3"});
  items.Add(L"Print on Both Sides", DMPUB_DUPLEX, "Duplex", {L"Off", L"Flip on Short Edge", L"Flip on Long Edge"});
  items.Add(L"Pages per Sheet", DMPUB_NUP, nullptr, {L"1", L"2", L"4", L"6", L"9", L"16", L"Booklet"});
  items.Add(L"Page Order", DMPUB_PAGEORDER, nullptr, {L"Front to Back", L"Back to Front"});
  items.Add(L"Pages per Sheet Layout", kPubNupDirection, nullptr, {L"Right then Down", L"Down then Right"});
  items.Add(L"Manual Duplex", kPubManualDuplex, nullptr, {L"Off", L"On"});
  items.Add(L"Staple", kPubStaple, nullptr, {L"None", L"Top Left"});
  items.Add(L"Booklet Binding Edge", kPubBookletEdge, nullptr, {L"Left", L"Right"});
  items.Add(L"Start Page", 0, "QXStartSide", {L"Front Side", L"Back Side"});
  items.Add(L"Color Mode", 0, "QXRendering", {L"Vivid", L"Natural"});
  items.Add(L"Service Mode", 0, "QXSecret", {L"Off", L"Cassette 2"});
}

OPTITEM *FindItem(DriverItems &items, const wchar_t *name) {
  for (DWORD i = 0; i < items.count(); ++i)
    if (!IS_INTRESOURCE(items[i].pName) && wcscmp(items[i].pName, name) == 0) return &items[i];
  ADD_FAILURE() << "no item named " << name;
  static OPTITEM none = {};
  return &none;
}

Flags OverlaysOf(DriverItems &items, const wchar_t *name) {
  Flags flags = DriverItems::AllParamFlags(*FindItem(items, name));
  for (DWORD &f : flags) f &= W;
  return flags;
}

class OptionTreeTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { printer_ = new TestPrinter(L"qx optiontree", WithPpd(kSamplePpd)); }
  static void TearDownTestSuite() {
    delete printer_;
    printer_ = nullptr;
  }

  void SetUp() override {
    ASSERT_TRUE(printer_ && printer_->ok());
    plugin_ = loader_.Create();
    ASSERT_NE(plugin_, nullptr);
    ASSERT_EQ(plugin_->PublishDriverInterface(&driver_), S_OK);
    driver_.settings = {{"QXTrayUnit", "None"}, {"QXDuplexOption", "False"}, {"InstalledMemory", "256MB"}};
  }
  void TearDown() override {
    if (plugin_) EXPECT_EQ(plugin_->Release(), 0u);
    EXPECT_EQ(driver_.refs, 1);
  }

  OEMCUIPPARAM MakeParam(DriverItems &items, HANDLE printer) {
    OEMCUIPPARAM p = qxtest::SheetParam(items, &uiobj_, loader_.module(), printer);
    p.pPublicDM = reinterpret_cast<DEVMODEW *>(devmode_.data());
    return p;
  }

  // The driver's two calls for one sheet: count, then customise its items.
  void Open(DriverItems &items, DWORD mode = OEMCUIP_DOCPROP, HANDLE printer = printer_->handle()) {
    param_ = MakeParam(items, printer);
    param_.cOEMOptItems = 7;
    ASSERT_EQ(plugin_->CommonUIProp(mode, &param_), S_OK);
    EXPECT_EQ(param_.cOEMOptItems, 0u);
    param_.pOEMOptItems = &noItems_;
    ASSERT_EQ(plugin_->CommonUIProp(mode, &param_), S_OK);
  }

  LONG Callback(LONG reason, OPTITEM *current) {
    CPSUICBPARAM cb = {};
    cb.cbSize = sizeof cb;
    cb.Reason = static_cast<WORD>(reason);
    cb.pCurItem = current;
    if (!param_.OEMCUIPCallback) {
      ADD_FAILURE() << "no callback installed";
      return -1;
    }
    return param_.OEMCUIPCallback(&cb, &param_);
  }

  static TestPrinter *printer_;
  PluginLoader loader_;
  IPrintOemUI2 *plugin_ = nullptr;
  FakeDriverUI driver_;
  OEMUIOBJ uiobj_ = {sizeof(OEMUIOBJ), nullptr};
  OPTITEM noItems_ = {};
  std::vector<BYTE> devmode_ = qxtest::MakeDevmode(0);
  OEMCUIPPARAM param_ = {};
};

TestPrinter *OptionTreeTest::printer_ = nullptr;

TEST_F(OptionTreeTest, DocumentPropertiesHideTheLayoutItemsOfThisBuild) {
  DriverItems items;
  for (BYTE id = 1; id <= 21; ++id) items.Add(L"item " + std::to_wstring(id), id, nullptr, {L"a", L"b"});
  Open(items);
  const std::vector<int> hidden = qx::kReducedLayoutBuild ? std::vector<int>{1, 7, 16, 17}
                                                          : std::vector<int>{1, 7, 16, 17, 18, 19, 20, 21};
  for (DWORD i = 0; i < items.count(); ++i) {
    bool expected = std::find(hidden.begin(), hidden.end(), items[i].DMPubID) != hidden.end();
    EXPECT_EQ((items[i].Flags & OPTIF_HIDE) != 0, expected) << "DMPubID " << int(items[i].DMPubID);
    EXPECT_EQ(items[i].Flags & ~OPTIF_HIDE, 0u);
    EXPECT_EQ(DriverItems::AllParamFlags(items[i]), Flags({0, 0}));  // the driver's texts decide nothing here
  }
  EXPECT_NE(param_.OEMCUIPCallback, nullptr);
  EXPECT_NE(param_.pOEMUserData, nullptr);
}

TEST_F(OptionTreeTest, OptionsExcludedByMissingHardwareGetTheWarningOverlay) {
  DriverItems items;
  AddDocumentItems(items);
  Open(items);
  EXPECT_EQ(driver_.QueriedFeatures(), (std::vector<std::string>{"QXTrayUnit", "QXDuplexOption", "InstalledMemory"}));
  for (const auto &query : driver_.queries) EXPECT_EQ(query.bufferSize, 256u);
  // The later memory constraint on the paper source does not lift the
  // cassettes' marks.
  EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, W, W}));
  EXPECT_EQ(OverlaysOf(items, L"Print on Both Sides"), Flags({0, W, W}));
  EXPECT_EQ(OverlaysOf(items, L"Start Page"), Flags({0, W}));
  EXPECT_EQ(OverlaysOf(items, L"Color Mode"), Flags({0, 0}));
  // Excluded too, but its feature is not one the plug-in knows.
  EXPECT_EQ(OverlaysOf(items, L"Service Mode"), Flags({0, 0}));
  EXPECT_EQ(OverlaysOf(items, L"Orientation"), Flags({0, 0, 0}));
}

TEST_F(OptionTreeTest, OverlaysFollowTheHardwareTheDriverReportsAtEachOpening) {
  {
    DriverItems items;
    AddDocumentItems(items);
    Open(items);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, W, W}));
  }
  driver_.settings = {{"QXTrayUnit", "Installed"}, {"QXDuplexOption", "True"}, {"InstalledMemory", "512MB"}};
  {
    DriverItems items;
    AddDocumentItems(items);
    Open(items);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({W, 0, 0, 0}));
    EXPECT_EQ(OverlaysOf(items, L"Print on Both Sides"), Flags({0, 0, 0}));
    EXPECT_EQ(OverlaysOf(items, L"Start Page"), Flags({0, 0}));
  }
  // The driver cannot tell the tray unit: it keeps what was last reported.
  driver_.settings.erase("QXTrayUnit");
  driver_.settings["InstalledMemory"] = "256MB";
  {
    DriverItems items;
    AddDocumentItems(items);
    Open(items);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, 0, 0}));
  }
  EXPECT_EQ(driver_.queries.size(), 9u);
}

TEST_F(OptionTreeTest, OverlaysAreAddedButNeverCleared) {
  driver_.settings["QXTrayUnit"] = "Installed";
  DriverItems items;
  AddDocumentItems(items);
  FindItem(items, L"Paper Source")->pOptType->pOptParam[1].Flags = W | OPTPF_DISABLED;
  Open(items);
  EXPECT_EQ(DriverItems::AllParamFlags(*FindItem(items, L"Paper Source")), Flags({0, W | OPTPF_DISABLED, 0, 0}));
}

TEST_F(OptionTreeTest, ItemsAndTextsTheModelCannotNameAreLeftAlone) {
  DriverItems items;
  items.AddById(5000, 0, "InputSlot", {L"Cassette 2", L"Cassette 3"});
  // Named like the paper source, but only the public id links that feature.
  items.Add(L"Paper Source", 0, "InputSlot", {L"Cassette 2"});
  items.Add(L"Start Page", 0, "QXStartSide", {L"#123", L"Back Side", L"Back side", L"Back Side "});
  items.Add(L"start page", 0, "QXStartSide", {L"Back Side"});
  Open(items);
  EXPECT_EQ(DriverItems::AllParamFlags(items[0]), Flags({0, 0}));
  EXPECT_EQ(DriverItems::AllParamFlags(items[1]), Flags({0}));
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(items[2].pOptType->pOptParam[0].pData), 123u);
  EXPECT_EQ(DriverItems::AllParamFlags(items[2]), Flags({0, W, 0, 0}));
  EXPECT_EQ(DriverItems::AllParamFlags(items[3]), Flags({0}));
  for (DWORD i = 0; i < items.count(); ++i) EXPECT_EQ(items[i].Flags, 0u);
}

TEST_F(OptionTreeTest, WithoutModuleHandleOnlyTheLayoutItemsAreTouched) {
  DriverItems items;
  AddDocumentItems(items, 0);
  param_ = MakeParam(items, printer_->handle());
  param_.hModule = nullptr;
  ASSERT_NO_FATAL_FAILURE(qxtest::OpenSheet(plugin_, &param_));
  EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, 0, 0}));
  EXPECT_EQ(OverlaysOf(items, L"Start Page"), Flags({0, 0}));
  EXPECT_EQ(FindItem(items, L"Color Mode")->Flags, 0u);
  EXPECT_NE(FindItem(items, L"Orientation")->Flags & OPTIF_HIDE, 0u);
}

TEST_F(OptionTreeTest, ColourModeDisabledOnlyBehindAMonochromeColourItem) {
  {
    DriverItems items;
    AddDocumentItems(items, 0);  // colour item first, monochrome
    Open(items);
    EXPECT_EQ(FindItem(items, L"Color Mode")->Flags, static_cast<DWORD>(OPTIF_DISABLED));
  }
  {
    DriverItems items;
    AddDocumentItems(items, 1);
    Open(items);
    EXPECT_EQ(FindItem(items, L"Color Mode")->Flags, 0u);
  }
  {
    DriverItems items;  // the colour-mode item comes first: it sees colour
    items.Add(L"Color Mode", 0, "QXRendering", {L"Vivid", L"Natural"});
    items.Add(L"Color", DMPUB_COLOR, nullptr, {L"Monochrome", L"Color"}, 0);
    Open(items);
    EXPECT_EQ(items[0].Flags, 0u);
  }
  {
    DriverItems items;  // a colour-mode keyword on an item the table does not name
    items.Add(L"Color", DMPUB_COLOR, nullptr, {L"Monochrome", L"Color"}, 0);
    items.Add(L"Rendering", 0, "QXRendering", {L"Vivid", L"Natural"});
    Open(items);
    EXPECT_EQ(items[1].Flags, 0u);
  }
}

TEST_F(OptionTreeTest, ColourModeFollowsTheColourSelection) {
  DriverItems items;
  items.Add(L"Color Mode", 0, "QXRendering", {L"Vivid", L"Natural"});
  items.Add(L"Color", DMPUB_COLOR, nullptr, {L"Monochrome", L"Color"}, 0);
  items.Add(L"Color Mode", 0, "QXRendering", {L"Vivid", L"Natural"});
  Open(items);
  EXPECT_EQ(items[0].Flags, 0u);

  items[1].Sel = 1;
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items[1]), CPSUICB_ACTION_OPTIF_CHANGED);
  // Marked changed, so that the sheet redraws it.
  EXPECT_EQ(items[0].Flags, static_cast<DWORD>(OPTIF_CHANGED));
  EXPECT_EQ(items[0].Sel, 1);
  ASSERT_EQ(driver_.updates.size(), 1u);
  EXPECT_EQ(driver_.updates[0].item, &items[0]);  // the first colour-mode item only
  EXPECT_EQ(driver_.updates[0].pci, &uiobj_);
  EXPECT_EQ(driver_.updates[0].selAtCall, 1);
  EXPECT_EQ(driver_.updates[0].previous, 0u);
  EXPECT_EQ(driver_.updates[0].mode, static_cast<DWORD>(OEMCUIP_DOCPROP));
  EXPECT_EQ(items[2].Sel, 0);

  items[1].Sel = 0;
  items[0].Flags &= ~OPTIF_CHANGED;  // as the sheet does once it has redrawn the item
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items[1]), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(items[0].Flags, static_cast<DWORD>(OPTIF_DISABLED | OPTIF_CHANGED));
  EXPECT_EQ(items[0].Sel, 0);
  EXPECT_EQ(driver_.updates.size(), 2u);

  // Other items and other reasons change nothing.
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items[2]), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, nullptr), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(Callback(CPSUICB_REASON_ITEMS_REVERTED, &items[1]), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(driver_.updates.size(), 2u);
  EXPECT_EQ(items[0].Flags, static_cast<DWORD>(OPTIF_DISABLED | OPTIF_CHANGED));
  EXPECT_EQ(items[2].Flags & OPTIF_CHANGED, 0u);
}

TEST_F(OptionTreeTest, ColourModeNeverGetsASelectionItDoesNotHave) {
  DriverItems items;
  items.Add(L"Color", DMPUB_COLOR, nullptr, {L"Monochrome", L"Color"}, 0);
  items.Add(L"Color Mode", 0, "QXRendering", {L"Vivid"});
  Open(items);
  EXPECT_EQ(items[1].Flags, static_cast<DWORD>(OPTIF_DISABLED));
  items[0].Sel = 1;
  EXPECT_EQ(Callback(CPSUICB_REASON_SEL_CHANGED, &items[0]), CPSUICB_ACTION_OPTIF_CHANGED);
  EXPECT_EQ(items[1].Flags, static_cast<DWORD>(OPTIF_CHANGED));
  EXPECT_EQ(items[1].Sel, 0);
  ASSERT_EQ(driver_.updates.size(), 1u);
  EXPECT_EQ(driver_.updates[0].selAtCall, 0);
}

TEST_F(OptionTreeTest, ApplyCommitsChangedLayoutItemsWithoutWarning) {
  driver_.settings["QXDuplexOption"] = "True";
  DriverItems items;
  AddDocumentItems(items);
  Open(items);
  OPTITEM *duplex = FindItem(items, L"Print on Both Sides");
  OPTITEM *direction = FindItem(items, L"Pages per Sheet Layout");
  OPTITEM *manual = FindItem(items, L"Manual Duplex");
  OPTITEM *orientation = FindItem(items, L"Orientation");
  duplex->Flags |= OPTIF_CHANGEONCE;
  duplex->Sel = 2;
  direction->Flags |= OPTIF_CHANGEONCE;
  direction->Sel = 1;
  manual->Flags |= OPTIF_CHANGEONCE;  // hidden on the full build, but never committed
  orientation->Sel = 1;               // not changed on the Layout page
  auto *dm = reinterpret_cast<DEVMODEW *>(devmode_.data());
  dm->dmDuplex = DMDUP_SIMPLEX;

  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_ITEMS_APPLIED);
  std::vector<OPTITEM *> reported;
  for (const auto &u : driver_.updates) {
    reported.push_back(u.item);
    EXPECT_EQ(u.previous, static_cast<DWORD>(u.selAtCall));
    EXPECT_EQ(u.mode, static_cast<DWORD>(OEMCUIP_DOCPROP));
  }
  const std::vector<OPTITEM *> expected =
      qx::kReducedLayoutBuild ? std::vector<OPTITEM *>{duplex} : std::vector<OPTITEM *>{duplex, direction};
  EXPECT_EQ(reported, expected);
  EXPECT_EQ(dm->dmDuplex, DMDUP_VERTICAL);

  driver_.updates.clear();
  duplex->Sel = 1;
  direction->Flags &= ~OPTIF_CHANGEONCE;
  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_ITEMS_APPLIED);
  EXPECT_EQ(driver_.updates.size(), 1u);
  EXPECT_EQ(dm->dmDuplex, DMDUP_HORIZONTAL);

  // A warned selection is not committed; a refused one leaves the devmode.
  driver_.updates.clear();
  duplex->pOptType->pOptParam[1].Flags |= W;
  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_ITEMS_APPLIED);
  EXPECT_TRUE(driver_.updates.empty());
  EXPECT_EQ(dm->dmDuplex, DMDUP_HORIZONTAL);

  duplex->Sel = 0;
  driver_.updateResult = E_FAIL;
  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_ITEMS_APPLIED);
  EXPECT_EQ(driver_.updates.size(), 1u);
  EXPECT_EQ(dm->dmDuplex, DMDUP_HORIZONTAL);

  // A selection past the item's options is never reported.
  driver_.updates.clear();
  duplex->Sel = 3;
  EXPECT_EQ(Callback(CPSUICB_REASON_APPLYNOW, nullptr), CPSUICB_ACTION_ITEMS_APPLIED);
  EXPECT_TRUE(driver_.updates.empty());
}

TEST_F(OptionTreeTest, PrinterPropertiesHideTheGroupAndItsSubtree) {
  DriverItems items;
  items.AddById(400, 0, nullptr, {}, 0, 1);
  items.AddById(64798, 0, nullptr, {L"x", L"y"}, 0, 1);
  items.Add(L"Child", 0, "InputSlot", {L"Cassette 2", L"Cassette 3"}, 0, 2);
  items.Add(L"Grandchild", 0, nullptr, {L"a"}, 0, 3);
  items.Add(L"Shallower", 0, nullptr, {L"b"}, 0, 0);
  items.Add(L"Next", DMPUB_ORIENTATION, nullptr, {L"c", L"d"}, 0, 1);
  items.Add(L"After", 0, nullptr, {L"e"}, 0, 2);
  int marker = 0;
  param_ = MakeParam(items, printer_->handle());
  param_.pOEMUserData = &marker;
  ASSERT_NO_FATAL_FAILURE(qxtest::OpenSheet(plugin_, &param_, OEMCUIP_PRNPROP));

  EXPECT_EQ(items[0].Flags, static_cast<DWORD>(OPTIF_INITIAL_TVITEM));
  for (DWORD i = 1; i <= 4; ++i) {
    EXPECT_EQ(items[i].Flags, static_cast<DWORD>(OPTIF_HIDE)) << i;
    for (DWORD f : DriverItems::AllParamFlags(items[i])) EXPECT_EQ(f, static_cast<DWORD>(OPTPF_HIDE)) << i;
  }
  for (DWORD i = 5; i <= 6; ++i) {
    EXPECT_EQ(items[i].Flags, 0u) << i;
    for (DWORD f : DriverItems::AllParamFlags(items[i])) EXPECT_EQ(f, 0u) << i;
  }
  EXPECT_TRUE(driver_.queries.empty());  // installed options are a document matter

  // The password-mode callback of the plug-in, not the document one.
  HMODULE owner = nullptr;
  ASSERT_TRUE(GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<LPCWSTR>(param_.OEMCUIPCallback), &owner));
  EXPECT_EQ(owner, loader_.module());
  EXPECT_EQ(param_.pOEMUserData, &marker);
  EXPECT_EQ(Callback(CPSUICB_REASON_ITEMS_REVERTED, nullptr), CPSUICB_ACTION_NONE);
}

TEST_F(OptionTreeTest, UnknownModeCountsButChangesNoItem) {
  DriverItems items;
  AddDocumentItems(items, 0);
  Open(items, 3);
  for (DWORD i = 0; i < items.count(); ++i) EXPECT_EQ(items[i].Flags, 0u);
  EXPECT_EQ(param_.OEMCUIPCallback, nullptr);
}

TEST_F(OptionTreeTest, WithoutPrinterNoModelIsCachedAndTheNextOpeningReadsIt) {
  {
    DriverItems items;
    AddDocumentItems(items, 0);
    Open(items, OEMCUIP_DOCPROP, nullptr);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, 0, 0}));
    EXPECT_EQ(FindItem(items, L"Color Mode")->Flags, 0u);
    EXPECT_NE(FindItem(items, L"Orientation")->Flags & OPTIF_HIDE, 0u);
    EXPECT_TRUE(driver_.queries.empty());
  }
  DriverItems items;
  AddDocumentItems(items, 0);
  Open(items);
  EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, W, W}));
  EXPECT_EQ(FindItem(items, L"Color Mode")->Flags, static_cast<DWORD>(OPTIF_DISABLED));
}

TEST(OptionTreeModel, ThePpdIsReadOncePerPluginObject) {
  TestPrinter printer(L"qx optiontree once", WithPpd(kSamplePpd));
  ASSERT_TRUE(printer.ok());
  std::wstring dataFile = DataFileOf(printer.handle());
  PluginLoader loader;
  FakeDriverUI driver;
  driver.settings = {{"QXTrayUnit", "None"}};
  OEMUIOBJ uiobj = {sizeof uiobj, nullptr};
  auto open = [&](IPrintOemUI2 *plugin, DriverItems &items) {
    OEMCUIPPARAM p = qxtest::SheetParam(items, &uiobj, loader.module(), printer.handle());
    qxtest::OpenSheet(plugin, &p);
  };
  IPrintOemUI2 *first = loader.Create();
  ASSERT_NE(first, nullptr);
  ASSERT_EQ(first->PublishDriverInterface(&driver), S_OK);
  {
    DriverItems items;
    AddDocumentItems(items);
    open(first, items);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, W, W}));
  }
  // Another PPD behind the same printer: the object keeps the one it read.
  ASSERT_TRUE(CopyFileW((qxtest::TestDataDir() + L"ppd\\test.ppd").c_str(), dataFile.c_str(), FALSE));
  {
    DriverItems items;
    AddDocumentItems(items);
    open(first, items);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, W, W}));
  }
  EXPECT_EQ(first->Release(), 0u);

  IPrintOemUI2 *second = loader.Create();
  ASSERT_NE(second, nullptr);
  ASSERT_EQ(second->PublishDriverInterface(&driver), S_OK);
  DriverItems items;
  AddDocumentItems(items);
  open(second, items);
  EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, 0, 0}));
  EXPECT_EQ(second->Release(), 0u);
}

TEST(OptionTreeModel, AnUnreadableDataFileGivesAnEmptyModelOnce) {
  TestPrinter printer(L"qx optiontree nofile", WithPpd(L"optiontree\\no-such-file.ppd"));
  ASSERT_TRUE(printer.ok());
  std::wstring dataFile = DataFileOf(printer.handle());
  DeleteFileW(dataFile.c_str());  // an earlier run's copy under a reused name
  ASSERT_EQ(GetFileAttributesW(dataFile.c_str()), INVALID_FILE_ATTRIBUTES);
  PluginLoader loader;
  FakeDriverUI driver;
  driver.settings = {{"QXTrayUnit", "None"}, {"QXDuplexOption", "False"}};
  IPrintOemUI2 *plugin = loader.Create();
  ASSERT_NE(plugin, nullptr);
  ASSERT_EQ(plugin->PublishDriverInterface(&driver), S_OK);
  OEMUIOBJ uiobj = {sizeof uiobj, nullptr};
  for (int round = 0; round < 2; ++round) {
    DriverItems items;
    AddDocumentItems(items, 0);
    OEMCUIPPARAM p = qxtest::SheetParam(items, &uiobj, loader.module(), printer.handle());
    qxtest::OpenSheet(plugin, &p);
    EXPECT_EQ(OverlaysOf(items, L"Paper Source"), Flags({0, 0, 0, 0}));
    EXPECT_EQ(FindItem(items, L"Color Mode")->Flags, 0u);
    EXPECT_NE(FindItem(items, L"Orientation")->Flags & OPTIF_HIDE, 0u);
    EXPECT_NE(p.OEMCUIPCallback, nullptr);
    // The file appears later: the empty model stays.
    ASSERT_TRUE(CopyFileW((qxtest::TestDataDir() + kSamplePpd).c_str(), dataFile.c_str(), FALSE));
  }
  EXPECT_TRUE(driver.queries.empty());
  EXPECT_EQ(plugin->Release(), 0u);
  DeleteFileW(dataFile.c_str());
}

}  // namespace
