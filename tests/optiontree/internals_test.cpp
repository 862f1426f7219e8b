// The option tree's own helpers, called directly: feature names from the
// string table, the PPD path from the spooler, settings from the driver.
#include <gtest/gtest.h>

#include "optiontree/fake_driver.h"
#include "optiontree/option_tree.h"
#include "support/plugin_loader.h"
#include "support/test_printer.h"

namespace {

using qxtest::FakeDriverUI;

constexpr DWORD kSentinel = 0xdeadbeef;

class FeatureNameTest : public ::testing::Test {
 protected:
  // The module's resources, linked into the test program.
  HMODULE module_ = GetModuleHandleW(nullptr);
  qx::FeatureName name_ = {kSentinel, L"unchanged"};
};

TEST_F(FeatureNameTest, StandardItemsByPublicId) {
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, nullptr, DMPUB_DEFSOURCE), S_OK);
  EXPECT_EQ(name_.dwFeatureId, 1u);
  EXPECT_STREQ(name_.wszName, L"Input Slot");
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, L"*QXToner", DMPUB_DUPLEX), S_OK);
  EXPECT_EQ(name_.dwFeatureId, 5u);
  EXPECT_STREQ(name_.wszName, L"Duplex");
}

TEST_F(FeatureNameTest, OtherFeaturesByKeyword) {
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, L"*QXRotate180Degrees", 0), S_OK);
  EXPECT_EQ(name_.dwFeatureId, 77u);
  EXPECT_STREQ(name_.wszName, L"Rotate By 180\u00b0");
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, L"*QXOUTPUTID", 0), S_OK);
  EXPECT_EQ(name_.dwFeatureId, 81u);
  EXPECT_STREQ(name_.wszName, L"Output");
}

TEST_F(FeatureNameTest, BadArgumentsAndMisses) {
  EXPECT_EQ(qx::FindFeatureName(module_, nullptr, L"*QXToner", 0), E_INVALIDARG);
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, nullptr, 0), E_INVALIDARG);
  EXPECT_EQ(name_.dwFeatureId, kSentinel);
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, L"*InputSlot", 0), E_FAIL);
  EXPECT_EQ(qx::FindFeatureName(module_, &name_, nullptr, DMPUB_COLOR), E_FAIL);
  EXPECT_EQ(name_.dwFeatureId, kSentinel);
  // A module without the strings: the row is found, the name is not.
  HMODULE stringless = LoadLibraryExW(qxtest::BesideTestProgram(L"qxtestdrv.dll").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(stringless, nullptr);
  EXPECT_EQ(qx::FindFeatureName(stringless, &name_, L"*QXToner", 0), E_FAIL);
  FreeLibrary(stringless);
  EXPECT_EQ(name_.dwFeatureId, 67u);
}

TEST_F(FeatureNameTest, EveryNameExistsInEightLanguages) {
  const LANGID languages[] = {
      MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL),       MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN),
      MAKELANGID(LANG_FRENCH, SUBLANG_FRENCH),         MAKELANGID(LANG_ITALIAN, SUBLANG_ITALIAN),
      MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT),      MAKELANGID(LANG_DUTCH, SUBLANG_DUTCH),
      MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN), MAKELANGID(LANG_SPANISH, SUBLANG_SPANISH_MODERN)};
  for (LANGID lang : languages) {
    for (UINT id = 10001; id <= 10028; ++id) {
      HRSRC block = FindResourceExW(module_, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), lang);
      ASSERT_NE(block, nullptr) << "language " << lang << " id " << id;
      // Walk the block's counted strings to the one asked for.
      auto *p = static_cast<const WCHAR *>(LockResource(LoadResource(module_, block)));
      for (UINT k = 0; k < id % 16; ++k) p += 1 + *p;
      EXPECT_GT(*p, 0) << "language " << lang << " id " << id;
    }
  }
}

TEST(PpdFilePath, TheDriversDataFile) {
  qxtest::TestPrinterOptions options;
  options.ppdFile = L"optiontree\\quillex-sample.ppd";
  qxtest::TestPrinter printer(L"qx optiontree path", options);
  ASSERT_TRUE(printer.ok());
  WCHAR path[MAX_PATH];
  ASSERT_TRUE(qx::GetPpdFilePath(GetProcessHeap(), printer.handle(), path));
  EXPECT_NE(wcsstr(path, L".ppd"), nullptr);
  EXPECT_NE(GetFileAttributesW(path), INVALID_FILE_ATTRIBUTES);

  EXPECT_FALSE(qx::GetPpdFilePath(GetProcessHeap(), nullptr, path));
  EXPECT_EQ(path[0], L'\0');
  EXPECT_FALSE(qx::GetPpdFilePath(nullptr, printer.handle(), path));
}

class DriverSettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    driver_.settings = {{"QXTrayUnit", "Installed"}, {"Long", std::string(255, 'x')}};
    ctx_.pDriverUI = &driver_;
  }
  FakeDriverUI driver_;
  qx::UiContext ctx_;
  OEMUIOBJ uiobj_ = {sizeof(OEMUIOBJ), nullptr};
  WCHAR out_[MAX_PATH] = L"unchanged";
};

TEST_F(DriverSettingTest, AsksWithoutTheAsteriskAndConvertsTheAnswer) {
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, L"*QXTrayUnit", out_), S_OK);
  EXPECT_STREQ(out_, L"Installed");
  ASSERT_EQ(driver_.queries.size(), 1u);
  EXPECT_EQ(driver_.queries[0].feature, "QXTrayUnit");
  EXPECT_EQ(driver_.queries[0].bufferSize, 256u);
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, L"*Long", out_), S_OK);
  EXPECT_EQ(wcslen(out_), 255u);
}

TEST_F(DriverSettingTest, DriverFailurePassesThrough) {
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, L"*Unknown", out_), E_INVALIDARG);
  driver_.settings["Huge"] = std::string(300, 'y');  // more than the driver is told it may write
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, L"*Huge", out_), E_OUTOFMEMORY);
}

TEST_F(DriverSettingTest, NoDriverOrKeywordFails) {
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, nullptr, out_), E_FAIL);
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, L"", out_), E_FAIL);
  ctx_.pDriverUI = nullptr;
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, &ctx_, L"*QXTrayUnit", out_), E_FAIL);
  EXPECT_EQ(qx::GetDriverFeatureSetting(&uiobj_, nullptr, L"*QXTrayUnit", out_), E_FAIL);
  EXPECT_TRUE(driver_.queries.empty());
}

}  // namespace
