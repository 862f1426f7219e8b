// Installed options and constrained marks.
//
// An option of a feature outside InstallableOptions is marked exactly when
// some installed option, at its current option, excludes it: a constraint
// names the installed feature and its current option first, and the feature
// and the option second. Any one installed option suffices; a later one
// never clears what an earlier one set.
//
// The marks come from the constraint index (ppd_constraint_index.h), built
// when reading ends; its share of memory was taken from the model's budget
// with each record, so only a real out-of-memory keeps it from being built.
#include "ppd/ppd_marks.h"

#include <memory>
#include <new>

#include "ppd/ppd_constraint_index.h"

namespace qx {

namespace {

bool IsConstrainable(const PpdFeature &feature) { return !feature.IsInstallable(); }

// The most comparisons the plain definition may make where no index could be
// built: past that the marks are cleared rather than hang the application.
constexpr uint64_t kPlainComparisonLimit = 16000000;

uint64_t PlainComparisons(const PpdModel &model) {
  uint64_t options = 0;
  for (const PpdFeature *feature : model.features) options += static_cast<uint64_t>(feature->options.Count());
  return options * static_cast<uint64_t>(model.InstalledOptionCount()) *
         static_cast<uint64_t>(model.ConstraintCount());
}

void ClearMarks(PpdModel &model) {
  if (model.marks == PpdModel::Marks::kClear) return;
  for (PpdFeature *feature : model.features) {
    for (PpdOption *option : feature->options) option->constrained = 0;
  }
  model.marks = PpdModel::Marks::kClear;
}

}  // namespace

// Here, where the constraint index is complete.
PpdModel::PpdModel() = default;
PpdModel::~PpdModel() = default;

int MatchConstraint(const PpdModel *model, const PpdWord &installedFeature,
                    const PpdWord &installedOption, const PpdFeature &feature,
                    const PpdOption &option) {
  int result = 0;
  for (const PpdConstraint *constraint : model->constraints) {
    if (constraint->feature1.Equals(installedFeature) && constraint->feature2.Equals(feature.keyword)) {
      result = 2;
      if (constraint->option1.Equals(installedOption) && constraint->option2.Equals(option.keyword)) {
        return 1;
      }
    }
  }
  return result;
}

void MarkConstrainedOptionsPlain(PpdModel *model) {
  for (PpdFeature *feature : model->features) {
    if (!IsConstrainable(*feature)) continue;
    for (PpdOption *option : feature->options) {
      uint8_t mark = 0;
      for (const InstalledOption *installed : model->installedOptions) {
        if (MatchConstraint(model, installed->featureKeyword, installed->currentOption, *feature,
                            *option) == 1) {
          mark = 1;
          break;
        }
      }
      option->constrained = mark;
    }
  }
  model->marks = PpdModel::Marks::kUnknown;
}

const PpdConstraintIndexStats *ConstraintIndexStats(const PpdModel &model) {
  return model.constraintIndex != nullptr ? &model.constraintIndex->Stats() : nullptr;
}

void MarkConstrainedOptions(PpdModel *model) {
  if (model == nullptr) return;
  if (model->InstalledOptionCount() == 0) {
    ClearMarks(*model);  // nothing can exclude anything
    return;
  }
  if (model->constraintIndex == nullptr) {
    // Only a real out-of-memory fails here; the next recompute tries again,
    // at the cost of reading the model once more.
    try {
      model->constraintIndex = std::make_unique<PpdConstraintIndex>(*model);
    } catch (const std::bad_alloc &) {
      if (PlainComparisons(*model) <= kPlainComparisonLimit) {
        MarkConstrainedOptionsPlain(model);
      } else {
        ClearMarks(*model);
      }
      return;
    }
  }
  model->constraintIndex->Mark(*model);
}

void SetInstalledOption(PpdModel *model, const PpdUnit *featureKeyword,
                        const PpdUnit *optionKeyword, bool recompute) {
  if (model == nullptr) return;
  if (featureKeyword != nullptr && optionKeyword != nullptr) {
    if (model->constraintIndex != nullptr) {
      int32_t first = model->constraintIndex->FirstInstalled(*model, featureKeyword);
      if (first >= 0) model->Installed(first)->SetCurrentOption(optionKeyword);
    } else {
      for (InstalledOption *installed : model->installedOptions) {
        if (installed->featureKeyword.Equals(featureKeyword)) {
          installed->SetCurrentOption(optionKeyword);
          break;
        }
      }
    }
  }
  if (recompute) MarkConstrainedOptions(model);
}

}  // namespace qx
