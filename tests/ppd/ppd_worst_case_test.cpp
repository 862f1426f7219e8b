// The generated worst cases: bounds on the index's entries, the lookups it
// makes and the bytes a model holds, none of which depends on timing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "ppd/ppd_budget.h"
#include "ppd/ppd_constraint_index.h"
#include "ppd/ppd_marks.h"
#include "ppd_test_support.h"
#include "ppd_worst_cases.h"

namespace qx {
namespace {

using test::ReadString;
using test::U8;
using test::WorstCase;
using test::WorstCasePpd;

int64_t OptionCount(const PpdModel &model) {
  int64_t options = 0;
  for (const PpdFeature *feature : model.features) options += feature->options.Count();
  return options;
}

// Lookups stay within a few probes per record, however the records repeat,
// and the index within the share of the budget its records took for it.
void ExpectLinearIndex(const PpdModel &model, int recomputes) {
  const PpdConstraintIndexStats *stats = ConstraintIndexStats(model);
  ASSERT_NE(stats, nullptr);
  int64_t records = model.ConstraintCount() + model.InstalledOptionCount() + OptionCount(model);
  EXPECT_LE(stats->probes, 4 * records * (1 + recomputes));
  EXPECT_LE(stats->bytes, kPpdIndexBytesPerConstraint * static_cast<size_t>(model.ConstraintCount()) +
                              kPpdIndexBytesPerInstalled * static_cast<size_t>(model.InstalledOptionCount()) +
                              kPpdIndexBytesPerOption * static_cast<size_t>(OptionCount(model)) + 256);
}

TEST(WorstCases, RepeatedInstallableKeywordsGiveOneIndexEntryPerDistinctPair) {
  auto model = ReadString(WorstCasePpd(WorstCase::kRepeatedInstallables, 288 << 10));
  ASSERT_GT(model->InstalledOptionCount(), 3000);
  ASSERT_EQ(model->ConstraintCount(), model->InstalledOptionCount());
  const PpdConstraintIndexStats &stats = *ConstraintIndexStats(*model);
  EXPECT_EQ(stats.conditions, 1);
  EXPECT_EQ(stats.groups, 1);
  EXPECT_EQ(stats.entries, 1);
  const PpdOption &excluded = *model->Feature(0)->options[0];
  EXPECT_EQ(excluded.constrained, 1);

  // Only the first namesake follows the driver; the others keep the default
  // that excludes the option. A value the feature does not hold is copied.
  SetInstalledOption(model.get(), QX_PPD_STR("*F"), QX_PPD_STR("elsewhere"), true);
  EXPECT_EQ(U8(model->Installed(0)->currentOption), "elsewhere");
  EXPECT_EQ(U8(model->Installed(1)->currentOption), "b");
  EXPECT_EQ(excluded.constrained, 1);
  ExpectLinearIndex(*model, 1);
}

TEST(WorstCases, FiringConstraintsMarkThroughLookupsNotScans) {
  auto model = ReadString(WorstCasePpd(WorstCase::kFiringConstraints, 400 << 10));
  ASSERT_GT(model->ConstraintCount(), 4000);
  ASSERT_EQ(model->FeatureCount(), model->ConstraintCount() + 1);
  for (int32_t i = 1; i < model->FeatureCount(); ++i) {
    ASSERT_EQ(model->Feature(i)->options[0]->constrained, 1) << i;
  }
  SetInstalledOption(model.get(), QX_PPD_STR("*F"), QX_PPD_STR("a"), true);
  EXPECT_EQ(model->Feature(model->FeatureCount() - 1)->options[0]->constrained, 0);
  ExpectLinearIndex(*model, 1);
}

// Past its byte budget reading ends as on a failed allocation; what was
// read is kept, marked and indexed.
TEST(WorstCases, AModelStopsAtItsByteBudget) {
  for (WorstCase family : {WorstCase::kOptionLines, WorstCase::kInstallableBlocks}) {
    SCOPED_TRACE(test::WorstCaseName(family));
    const std::string ppd = WorstCasePpd(family, 8 << 20);
    auto model = ReadString(ppd);
    EXPECT_LE(model->budget.Held(), kPpdModelByteLimit);
    // Short of the limit by at most the doubling of an array of records.
    EXPECT_GT(model->budget.Held(), kPpdModelByteLimit / 16 * 15);
    int64_t records = OptionCount(*model) + model->InstalledOptionCount();
    const int64_t linesPerRecord = family == WorstCase::kOptionLines ? 1 : 2;
    EXPECT_LT(records, std::count(ppd.begin(), ppd.end(), '\n') / linesPerRecord - 1000);
    EXPECT_GT(records, 100000);
    const PpdFeature &last = *model->Feature(model->FeatureCount() - 1);
    EXPECT_EQ(U8(last.keyword), "*F");
    if (family == WorstCase::kInstallableBlocks) ExpectLinearIndex(*model, 0);
  }
}

}  // namespace
}  // namespace qx
