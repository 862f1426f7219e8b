// The feature table and the layout item sets, as plain rules.
#include <gtest/gtest.h>

#include <set>

#include "optiontree/feature_names.h"
#include "optiontree/layout_item_sets.h"

namespace {
using namespace qx;

TEST(FeatureTable, StandardItemsMatchByPublicIdAlone) {
  const FeatureNameRow *row = FindFeatureRow(nullptr, 4);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->featureId, 1u);
  EXPECT_EQ(row->stringId, 10001u);
  EXPECT_TRUE(EqualText(row->keyword, QX_PPD_STR("*InputSlot")));
  // The keyword plays no part for a standard id.
  EXPECT_EQ(FindFeatureRow(QX_PPD_STR("*QXToner"), 7), FindFeatureRow(nullptr, 7));
  EXPECT_EQ(FindFeatureRow(nullptr, 7)->stringId, 10025u);
  EXPECT_EQ(FindFeatureRow(nullptr, 1), nullptr);  // orientation has no row
}

TEST(FeatureTable, OtherFeaturesMatchByExactKeyword) {
  const FeatureNameRow *row = FindFeatureRow(QX_PPD_STR("*QXRendering"), 0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->featureId, 69u);
  EXPECT_EQ(row->stringId, 10013u);
  EXPECT_EQ(FindFeatureRow(QX_PPD_STR("*qxrendering"), 0), nullptr);
  EXPECT_EQ(FindFeatureRow(QX_PPD_STR("QXRendering"), 0), nullptr);
  EXPECT_EQ(FindFeatureRow(QX_PPD_STR("*QXRenderingX"), 0), nullptr);
  EXPECT_EQ(FindFeatureRow(nullptr, 0), nullptr);
  // Standard keywords belong to their public id, not to id 0.
  EXPECT_EQ(FindFeatureRow(QX_PPD_STR("*InputSlot"), 0), nullptr);
}

TEST(FeatureTable, RowsAreUniqueAndEndWithFeatureIdZero) {
  std::set<uint32_t> features, strings;
  size_t rows = 0;
  for (const FeatureNameRow *row = kFeatureNameTable; row->featureId != 0; ++row, ++rows) {
    EXPECT_TRUE(features.insert(row->featureId).second) << row->featureId;
    EXPECT_TRUE(strings.insert(row->stringId).second) << row->stringId;
    EXPECT_GE(row->stringId, 10001u);
    EXPECT_LE(row->stringId, 10028u);
    EXPECT_EQ(row->keyword[0], QX_PPD_STR('*'));
    EXPECT_EQ(FindFeatureRowById(row->featureId), row);
  }
  EXPECT_EQ(rows, 28u);
  EXPECT_EQ(FindFeatureRowById(0), nullptr);
  EXPECT_EQ(FindFeatureRowById(6), nullptr);
}

TEST(LayoutItems, FullLayoutPageTakesOverEveryLayoutItem) {
  std::set<uint32_t> hidden, committed;
  for (uint32_t id = 0; id < 64; ++id) {
    if (IsHiddenLayoutItem(id, false)) hidden.insert(id);
    if (IsCommittedLayoutItem(id, false)) committed.insert(id);
  }
  EXPECT_EQ(hidden, (std::set<uint32_t>{1, 7, 16, 17, 18, 19, 20, 21}));
  EXPECT_EQ(committed, (std::set<uint32_t>{1, 7, 16, 17, 18, 21}));
}

TEST(LayoutItems, ReducedLayoutPageTakesOverFourItems) {
  std::set<uint32_t> hidden, committed;
  for (uint32_t id = 0; id < 64; ++id) {
    if (IsHiddenLayoutItem(id, true)) hidden.insert(id);
    if (IsCommittedLayoutItem(id, true)) committed.insert(id);
  }
  EXPECT_EQ(hidden, (std::set<uint32_t>{1, 7, 16, 17}));
  EXPECT_EQ(committed, (std::set<uint32_t>{1, 7, 16, 17}));
}

TEST(LayoutItems, DuplexSelectionGivesDevmodeValue) {
  EXPECT_EQ(DuplexFromSelection(0), 1);
  EXPECT_EQ(DuplexFromSelection(1), 3);
  EXPECT_EQ(DuplexFromSelection(2), 2);
  EXPECT_EQ(DuplexFromSelection(3), 1);
  EXPECT_EQ(DuplexFromSelection(-1), 1);
}

}  // namespace
