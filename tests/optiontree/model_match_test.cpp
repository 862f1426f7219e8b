// Finding features and options of a PPD model by the driver's texts, and the
// refresh of the installed options, over a model built by hand.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "optiontree/model_match.h"

namespace {
using namespace qx;
using Text = std::basic_string<PpdUnit>;

PpdFeature *AddFeature(PpdModel &model, const PpdUnit *keyword, const PpdUnit *translation, const PpdUnit *group,
                       std::vector<std::pair<const PpdUnit *, const PpdUnit *>> options) {
  model.features.Reserve(32);
  auto *feature = PpdFeature::Create(model.optionStore);
  feature->keyword = PpdWord::Of(keyword);
  feature->translation = PpdWord::Of(translation);
  feature->groupKeyword = PpdWord::Of(group);
  feature->options.Reserve(64);
  for (auto &[key, text] : options) {
    auto *option = PpdOption::Create(model.optionStore);
    option->keyword = PpdWord::Of(key);
    option->translation = PpdWord::Of(text);
    feature->options.Append(option);
  }
  model.features.Append(feature);
  return feature;
}

class ModelMatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tray_ = AddFeature(model_, QX_PPD_STR("*QXTrayUnit"), QX_PPD_STR("Lower Cassette Unit"),
                       QX_PPD_STR("InstallableOptions"), {{QX_PPD_STR("None"), QX_PPD_STR("Not Installed")}});
    slot_ = AddFeature(model_, QX_PPD_STR("*InputSlot"), QX_PPD_STR("Paper Source"), QX_PPD_STR(""),
                       {{QX_PPD_STR("LC1"), QX_PPD_STR("Cassette")},
                        {QX_PPD_STR("LC2"), QX_PPD_STR("Cassette")},
                        {QX_PPD_STR("LC3"), QX_PPD_STR("Cassette 3")}});
    again_ = AddFeature(model_, QX_PPD_STR("*InputSlot"), QX_PPD_STR("Paper Source"), QX_PPD_STR(""), {});
    duplex_ = AddFeature(model_, QX_PPD_STR("*QXDuplexOption"), QX_PPD_STR("Duplex Unit"),
                         QX_PPD_STR("InstallableOptions"), {});
    model_.installedOptions.Reserve(32);
    for (PpdFeature *feature : {tray_, duplex_}) {
      auto *installed = InstalledOption::Create(model_.optionStore);
      installed->featureKeyword = feature->keyword;
      installed->feature = feature;
      installed->SetCurrentOption(QX_PPD_STR("None"));
      model_.installedOptions.Append(installed);
    }
  }
  PpdModel model_;
  PpdFeature *tray_, *slot_, *again_, *duplex_;
};

TEST_F(ModelMatchTest, FeaturesByExactKeywordOrTranslationFirstWins) {
  EXPECT_EQ(FindFeatureByKeyword(model_, QX_PPD_STR("*InputSlot")), slot_);
  EXPECT_EQ(FindFeatureByKeyword(model_, QX_PPD_STR("InputSlot")), nullptr);
  EXPECT_EQ(FindFeatureByKeyword(model_, nullptr), nullptr);
  EXPECT_EQ(FindFeatureByTranslation(model_, QX_PPD_STR("Paper Source")), slot_);
  EXPECT_EQ(FindFeatureByTranslation(model_, QX_PPD_STR("paper source")), nullptr);
  EXPECT_EQ(FindFeatureByTranslation(model_, QX_PPD_STR("Paper Source ")), nullptr);
  EXPECT_EQ(FindFeatureByTranslation(model_, QX_PPD_STR("Paper")), nullptr);
  EXPECT_EQ(FindFeatureByTranslation(model_, nullptr), nullptr);
}

TEST_F(ModelMatchTest, OptionMarkOfTheFirstOptionWithTheText) {
  slot_->options[1]->constrained = 1;
  EXPECT_FALSE(IsOptionTextMarked(*slot_, QX_PPD_STR("Cassette")));  // LC1 decides
  slot_->options[0]->constrained = 1;
  slot_->options[1]->constrained = 0;
  EXPECT_TRUE(IsOptionTextMarked(*slot_, QX_PPD_STR("Cassette")));
  EXPECT_FALSE(IsOptionTextMarked(*slot_, QX_PPD_STR("LC1")));  // keywords are not texts
  EXPECT_FALSE(IsOptionTextMarked(*slot_, QX_PPD_STR("Cassette 3")));
  EXPECT_FALSE(IsOptionTextMarked(*slot_, nullptr));
}

struct Reader {
  std::vector<Text> asked;
  bool known = true;
  static bool Read(void *context, const PpdUnit *keyword, PpdUnit (&option)[kPpdTextUnits]) {
    auto *self = static_cast<Reader *>(context);
    self->asked.emplace_back(keyword);
    if (!self->known) return false;
    const PpdUnit installed[] = QX_PPD_STR("Installed");
    std::copy(std::begin(installed), std::end(installed), option);
    return true;
  }
};

TEST_F(ModelMatchTest, RefreshAsksForEachInstallableFeatureInFileOrder) {
  Reader reader;
  RefreshInstalledOptions(model_, Reader::Read, &reader);
  EXPECT_EQ(reader.asked, (std::vector<Text>{QX_PPD_STR("*QXTrayUnit"), QX_PPD_STR("*QXDuplexOption")}));
  for (const InstalledOption *installed : model_.installedOptions)
    EXPECT_TRUE(installed->currentOption.Equals(QX_PPD_STR("Installed")));
}

TEST_F(ModelMatchTest, AnOptionTheDriverCannotTellKeepsItsValue) {
  Reader reader;
  reader.known = false;
  RefreshInstalledOptions(model_, Reader::Read, &reader);
  EXPECT_EQ(reader.asked.size(), 2u);
  for (const InstalledOption *installed : model_.installedOptions)
    EXPECT_TRUE(installed->currentOption.Equals(QX_PPD_STR("None")));
}

}  // namespace

namespace {

// The sample printer's PPD, refreshed as the driver reports its hardware.
struct FixedDriver {
  const PpdUnit *trayUnit;
  static bool Read(void *context, const PpdUnit *keyword, PpdUnit (&option)[kPpdTextUnits]) {
    if (Text(keyword) != QX_PPD_STR("*QXTrayUnit")) return false;
    Text value = static_cast<FixedDriver *>(context)->trayUnit;
    std::copy(value.c_str(), value.c_str() + value.size() + 1, option);
    return true;
  }
};

TEST(SamplePpd, CassettesFollowTheReportedTrayUnit) {
  const char *root = std::getenv("QX_SOURCE_DIR");
  ASSERT_NE(root, nullptr);
  std::string path = std::string(root) + "/tests/data/optiontree/quillex-sample.ppd";
  FILE *file = std::fopen(path.c_str(), "rb");
  ASSERT_NE(file, nullptr) << path;
  std::unique_ptr<PpdModel> model(ReadPpdModelFromFile(file));
  std::fclose(file);
  ASSERT_NE(model, nullptr);
  const PpdFeature *slot = FindFeatureByKeyword(*model, QX_PPD_STR("*InputSlot"));
  ASSERT_NE(slot, nullptr);
  auto marks = [&] {
    std::vector<bool> m;
    for (const PpdOption *option : slot->options) m.push_back(option->constrained != 0);
    return m;
  };
  FixedDriver driver{QX_PPD_STR("Installed")};
  RefreshInstalledOptions(*model, FixedDriver::Read, &driver);
  EXPECT_EQ(marks(), (std::vector<bool>{false, false, false, false}));
  driver.trayUnit = QX_PPD_STR("None");
  RefreshInstalledOptions(*model, FixedDriver::Read, &driver);
  EXPECT_EQ(marks(), (std::vector<bool>{false, false, true, true}));
  EXPECT_TRUE(IsOptionTextMarked(*slot, QX_PPD_STR("Cassette 2")));
}

}  // namespace
