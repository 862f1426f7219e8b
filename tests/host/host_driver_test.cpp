// The host driver's parts under Wine: the option items it builds from a PPD,
// the devmode it assembles with the plug-in, and the driver interface it
// publishes to the plug-in.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/private_devmode.h"
#include "host/driver_ui.h"
#include "host/host_devmode.h"
#include "host/installed_printer.h"
#include "host/plugin_session.h"
#include "support/plugin_loader.h"

namespace {

using namespace qxhost;

PrinterDescription Example(const wchar_t *name) {
  PrinterDescription d;
  std::string error;
  EXPECT_TRUE(ReadDescriptionFile(qxtest::BesideTestProgram((std::wstring(L"..\\..\\examples\\") + name).c_str()),
                                  &d, &error))
      << error;
  return d;
}

int FindPub(ItemTree &t, BYTE id) {
  for (DWORD i = 0; i < t.count(); ++i)
    if (t.items()[i].DMPubID == id) return static_cast<int>(i);
  return -1;
}

const char *Keyword(const OPTITEM &item) {
  auto *data = reinterpret_cast<const USERDATA *>(item.UserData);
  return data && data->pKeyWordName ? data->pKeyWordName : "";
}

class DocumentItems : public ::testing::Test {
 protected:
  void SetUp() override {
    desc_ = Example(L"orvanta-ql-c5200.ppd");
    settings_.choices = DefaultChoices(desc_);
    items_.BuildDocument(desc_, settings_);
  }
  PrinterDescription desc_;
  DocumentSettings settings_;
  ItemTree items_;
};

TEST_F(DocumentItems, StandardItemsCarryTheirPublicIds) {
  struct { BYTE id; WORD count; const wchar_t *first; } expected[] = {
      {DMPUB_ORIENTATION, 3, L"Portrait"},      {DMPUB_DUPLEX, 3, L"Off"},
      {DMPUB_PAGEORDER, 2, L"Front to Back"},   {DMPUB_NUP, 7, L"1"},
      {DMPUB_NUP_DIRECTION, 4, L"Right then Down"}, {DMPUB_BOOKLET_EDGE, 2, L"Left Edge"},
      {DMPUB_COLOR, 2, L"Monochrome"},          {DMPUB_DEFSOURCE, 5, L"Auto Select"},
      {DMPUB_FORMNAME, 5, L"A4"},               {DMPUB_MEDIATYPE, 5, L"Plain Paper"},
      {DMPUB_PRINTQUALITY, 3, L"300 dpi"},
  };
  for (const auto &e : expected) {
    int i = FindPub(items_, e.id);
    ASSERT_GE(i, 0) << int(e.id);
    const OPTITEM &item = items_.items()[i];
    ASSERT_NE(item.pOptType, nullptr);
    EXPECT_EQ(item.pOptType->Count, e.count) << int(e.id);
    EXPECT_STREQ(item.pOptType->pOptParam[0].pData, e.first) << int(e.id);
  }
  EXPECT_STREQ(items_.items()[FindPub(items_, DMPUB_NUP)].pOptType->pOptParam[6].pData, L"Booklet");
  // The option texts of the input slot are the PPD's translations, so that
  // the plug-in can find the options it marks.
  EXPECT_STREQ(items_.items()[FindPub(items_, DMPUB_DEFSOURCE)].pOptType->pOptParam[3].pData, L"Cassette 2");
  EXPECT_STREQ(Keyword(items_.items()[FindPub(items_, DMPUB_DEFSOURCE)]), "InputSlot");
}

TEST_F(DocumentItems, EveryOtherDocumentFeatureIsOneItemNamedByItsTranslation) {
  int rendering = items_.FindByKeyword("QXRendering");
  ASSERT_GE(rendering, 0);
  EXPECT_LT(FindPub(items_, DMPUB_COLOR), rendering);  // the colour item comes first
  int features = 0;
  for (const HostFeature &f : desc_.features) {
    bool standard = f.keyword == "InputSlot" || f.keyword == "PageSize" || f.keyword == "PageRegion" ||
                    f.keyword == "MediaType" || f.keyword == "Resolution" || f.keyword == "Duplex";
    int i = items_.FindByKeyword(f.keyword);
    if (IsDeviceFeature(f) || f.keyword == "PageRegion") {
      EXPECT_LT(i, 0) << f.keyword;  // printer settings and the driver's own PageRegion are no document items
      continue;
    }
    ASSERT_GE(i, 0) << f.keyword;
    const OPTITEM &item = items_.items()[i];
    if (!standard) {
      ++features;
      EXPECT_EQ(std::wstring(item.pName), f.translation);
      EXPECT_EQ(item.DMPubID, 0);
    }
    ASSERT_EQ(item.pOptType->Count, f.options.size()) << f.keyword;
    for (size_t k = 0; k < f.options.size(); ++k)
      EXPECT_EQ(std::wstring(item.pOptType->pOptParam[k].pData), f.options[k].translation);
    EXPECT_EQ(item.Sel, f.DefaultIndex()) << f.keyword;
  }
  EXPECT_EQ(features, 18);  // 30 features: 6 printer settings, 5 standard items and PageRegion
}

TEST_F(DocumentItems, CommitWritesSelectionsIntoTheSettings) {
  int slot = FindPub(items_, DMPUB_DEFSOURCE);
  int nup = FindPub(items_, DMPUB_NUP);
  items_.items()[slot].Sel = 2;
  items_.items()[nup].Sel = 6;
  items_.items()[nup].Flags |= OPTIF_ECB_CHECKED;
  items_.items()[FindPub(items_, DMPUB_ORIENTATION)].Sel = 99;  // out of range: ignored
  items_.CommitAll(&settings_);
  EXPECT_EQ(ChosenKeyword(desc_, settings_.choices, desc_.FindFeature("InputSlot")), "LC1");
  EXPECT_EQ(settings_.layout.pagesPerSheet, 6);
  EXPECT_TRUE(settings_.layout.drawBorders);
  EXPECT_EQ(settings_.layout.orientation, 0);
}

TEST(MonochromeItems, NoColourItem) {
  PrinterDescription d = Example(L"orvanta-ql-m4100.ppd");
  DocumentSettings s;
  s.choices = DefaultChoices(d);
  ItemTree t;
  t.BuildDocument(d, s);
  EXPECT_LT(FindPub(t, DMPUB_COLOR), 0);
  EXPECT_LT(t.FindByKeyword("QXRendering"), 0);
}

TEST(DeviceItems, FormTrayGroupThenInstallableOptions) {
  PrinterDescription d = Example(L"orvanta-ql-c5200.ppd");
  FeatureChoices device = DefaultChoices(d);
  std::string message;
  ASSERT_TRUE(AssignChoice(d, "PasswordMode=ON", &device, &message));
  ItemTree t;
  t.BuildDevice(d, device);
  ASSERT_GE(t.count(), 9u);
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(t.items()[0].pName), kFormTrayNameId);
  EXPECT_EQ(t.items()[0].Level, 1);
  EXPECT_EQ(t.items()[0].pOptType, nullptr);
  int trays = 0, i = 1;
  for (; reinterpret_cast<ULONG_PTR>(t.items()[i].pName) >= 0x10000; ++i, ++trays) EXPECT_EQ(t.items()[i].Level, 2);
  EXPECT_EQ(trays, 5);  // one per input slot
  EXPECT_EQ(reinterpret_cast<ULONG_PTR>(t.items()[i].pName), kInstallableOptionsNameId);
  EXPECT_EQ(t.items()[i].Level, 1);
  int pm = t.FindByKeyword("PasswordMode");
  ASSERT_GT(pm, i);
  EXPECT_EQ(t.items()[pm].Sel, 1);
  EXPECT_EQ(t.items()[pm].Level, 2);
  for (const char *k : {"QXTrayUnit", "QXDuplexOption", "QXStackerOption", "QXCompactFlash", "InstalledMemory"})
    EXPECT_GT(t.FindByKeyword(k), i) << k;
  EXPECT_LT(t.FindByKeyword("InputSlot"), 0);
}

class WithPlugin : public ::testing::Test {
 protected:
  void SetUp() override {
    log_.set_echo(false);
    desc_ = Example(L"orvanta-ql-c5200.ppd");
    settings_.choices = DefaultChoices(desc_);
    std::string error;
    ASSERT_TRUE(session_.Load(qxtest::BesideTestProgram(L"quillex.dll"), &error)) << error;
  }
  CallLog log_;
  PluginSession session_{&log_};
  PrinterDescription desc_;
  DocumentSettings settings_;
};

TEST_F(WithPlugin, DevmodePlacesThePluginBlockWhereThePluginLooks) {
  std::string message;
  ASSERT_TRUE(AssignChoice(desc_, "Duplex=DuplexNoTumble", &settings_.choices, &message));
  HostDevmode dm;
  dm.Build(desc_, settings_, L"Test Printer", &session_, nullptr, nullptr, 0);
  EXPECT_TRUE(log_.Contains("DevMode(OEMDM_SIZE) -> S_OK, 6904 bytes"));
  ASSERT_EQ(dm.pluginSize(), qx::kPrivateDevmodeSize);
  EXPECT_EQ(dm.get()->dmSize, sizeof(DEVMODEW));
  EXPECT_EQ(dm.get()->dmDriverExtra, kDriverPartSize + qx::kPrivateDevmodeSize);
  EXPECT_EQ(dm.size(), sizeof(DEVMODEW) + kDriverPartSize + qx::kPrivateDevmodeSize);
  EXPECT_EQ(qx::FindPrivateDevmode(dm.get(), dm.size()), dm.pluginBlock());
  EXPECT_EQ(FindPluginBlock(dm.get(), dm.size()), dm.pluginBlock());
  EXPECT_EQ(dm.get()->dmDuplex, DMDUP_VERTICAL);
  EXPECT_EQ(dm.get()->dmColor, DMCOLOR_COLOR);
  EXPECT_STREQ(dm.get()->dmFormName, L"A4");
  EXPECT_STREQ(dm.get()->dmDeviceName, L"Test Printer");

  DocumentSettings back;
  ASSERT_TRUE(ReadDocumentSettings(desc_, dm.get(), dm.size(), &back));
  EXPECT_EQ(back.choices.index, settings_.choices.index);
  EXPECT_FALSE(ReadDocumentSettings(desc_, dm.get(), dm.size() - 1, &back));
}

TEST_F(WithPlugin, DevmodeKeepsThePluginSettingsOfThePreviousOne) {
  HostDevmode first;
  first.Build(desc_, settings_, L"P", &session_, nullptr, nullptr, 0);
  auto *block = static_cast<qx::PrivateDevmode *>(first.pluginBlock());
  block->bAccessControl = 1;
  block->dwReserveJobType = 5;
  HostDevmode second;
  second.Build(desc_, settings_, L"P", &session_, nullptr, first.get(), first.size());
  EXPECT_TRUE(log_.Contains("DevMode(OEMDM_MERGE) -> S_OK"));
  auto *merged = static_cast<qx::PrivateDevmode *>(second.pluginBlock());
  EXPECT_EQ(merged->bAccessControl, 1);
  EXPECT_EQ(merged->dwReserveJobType, 5u);
}

TEST(DevmodeWithoutPlugin, HasNoPluginBlock) {
  PrinterDescription d = Example(L"orvanta-ql-m4100.ppd");
  DocumentSettings s;
  s.choices = DefaultChoices(d);
  HostDevmode dm;
  dm.Build(d, s, L"P", nullptr, nullptr, nullptr, 0);
  EXPECT_EQ(dm.get()->dmDriverExtra, kDriverPartSize);
  EXPECT_EQ(dm.pluginBlock(), nullptr);
  EXPECT_EQ(qx::FindPrivateDevmode(dm.get(), dm.size()), nullptr);
  EXPECT_EQ(FindPluginBlock(dm.get(), dm.size()), nullptr);
  EXPECT_EQ(dm.get()->dmColor, DMCOLOR_MONOCHROME);
}

class DriverInterface : public ::testing::Test {
 protected:
  void SetUp() override {
    log_.set_echo(false);
    desc_ = Example(L"orvanta-ql-c5200.ppd");
    document_.choices = DefaultChoices(desc_);
    device_ = DefaultChoices(desc_);
    items_.BuildDocument(desc_, document_);
    driver_ = new HostDriverUI(&log_, &uiobj_);
    driver_->state() = {&desc_, &document_, &device_, &items_, &document_};
  }
  void TearDown() override { EXPECT_EQ(driver_->Release(), 0u); }
  CallLog log_;
  OEMUIOBJ uiobj_ = {sizeof(OEMUIOBJ), nullptr};
  PrinterDescription desc_;
  DocumentSettings document_;
  FeatureChoices device_;
  ItemTree items_;
  HostDriverUI *driver_ = nullptr;
};

TEST_F(DriverInterface, AnswersFromDeviceAndDocumentSettings) {
  char out[64];
  DWORD needed = 0, count = 0;
  std::memset(out, 'x', sizeof out);
  EXPECT_EQ(driver_->DrvGetDriverSetting(&uiobj_, "QXTrayUnit", out, sizeof out, &needed, &count), S_OK);
  EXPECT_STREQ(out, "None");
  EXPECT_EQ(out[5], '\0');  // a list of one option
  EXPECT_EQ(needed, 6u);
  EXPECT_EQ(count, 1u);
  std::string message;
  ASSERT_TRUE(AssignChoice(desc_, "PasswordMode=ON", &device_, &message));
  ASSERT_TRUE(AssignChoice(desc_, "InputSlot=LC1", &document_.choices, &message));
  EXPECT_EQ(driver_->DrvGetDriverSetting(&uiobj_, "PasswordMode", out, sizeof out, &needed, &count), S_OK);
  EXPECT_STREQ(out, "ON");
  EXPECT_EQ(driver_->DrvGetDriverSetting(&uiobj_, "InputSlot", out, sizeof out, &needed, &count), S_OK);
  EXPECT_STREQ(out, "LC1");
  EXPECT_TRUE(log_.Contains("DrvGetDriverSetting(InputSlot) -> S_OK \"LC1\""));
}

TEST_F(DriverInterface, RefusesWhatItCannotAnswer) {
  char out[64] = {};
  DWORD needed = 0, count = 0;
  EXPECT_EQ(driver_->DrvGetDriverSetting(&uiobj_, "QXTrayUnit", out, 5, &needed, &count), E_FAIL);
  EXPECT_EQ(needed, 6u);
  EXPECT_EQ(driver_->DrvGetDriverSetting(&uiobj_, "NoSuchFeature", out, sizeof out, &needed, &count), E_FAIL);
  OEMUIOBJ other = uiobj_;
  EXPECT_EQ(driver_->DrvGetDriverSetting(&other, "QXTrayUnit", out, sizeof out, &needed, &count), E_INVALIDARG);
  EXPECT_EQ(driver_->DrvGetDriverSetting(&uiobj_, reinterpret_cast<PCSTR>(1), out, sizeof out, &needed, &count),
            E_INVALIDARG);
  OPTITEM foreign = {};
  EXPECT_EQ(driver_->DrvUpdateUISetting(&uiobj_, &foreign, 0, OEMCUIP_DOCPROP), E_INVALIDARG);
}

TEST_F(DriverInterface, UpdateCommitsTheItemAndIsRecorded) {
  int slot = FindPub(items_, DMPUB_DEFSOURCE);
  items_.items()[slot].Sel = 4;
  EXPECT_EQ(driver_->DrvUpdateUISetting(&uiobj_, &items_.items()[slot], 0, OEMCUIP_DOCPROP), S_OK);
  EXPECT_EQ(ChosenKeyword(desc_, document_.choices, desc_.FindFeature("InputSlot")), "LC3");
  EXPECT_TRUE(log_.Contains("DrvUpdateUISetting(\"Input Slot\", Sel=4 \"Cassette 3\", previous=0, DOCPROP) -> S_OK"));
}

}  // namespace
