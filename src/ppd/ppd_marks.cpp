// Installed options and constrained marks.
//
// An option of a feature outside InstallableOptions is marked exactly when
// some installed option, at its current option, excludes it: a constraint
// names the installed feature and its current option first, and the feature
// and the option second. Any one installed option suffices; a later one
// never clears what an earlier one set.
//
// The index interns every text once and maps each (first feature, first
// option) pair to the distinct (feature, option) targets it excludes, so a
// recompute is one lookup per installed option and one pass over the
// options, whatever the number of constraints.
#include "ppd/ppd_marks.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace qx {

namespace {

bool IsConstrainable(const PpdFeature &feature) { return !feature.IsInstallable(); }

bool LedByInstalledOption(const PpdModel &model, const PpdConstraint &constraint) {
  for (const InstalledOption *installed : model.installedOptions) {
    if (installed->featureKeyword.Equals(constraint.feature1)) return true;
  }
  return false;
}

using TextView = std::basic_string_view<PpdUnit>;

TextView View(const PpdText &text) { return TextView(text.text, static_cast<size_t>(text.length)); }

uint64_t PairKey(int32_t first, int32_t second) {
  return (static_cast<uint64_t>(static_cast<uint32_t>(first)) << 32) | static_cast<uint32_t>(second);
}

}  // namespace

class PpdConstraintIndex {
 public:
  // Builds the index; may throw std::bad_alloc.
  explicit PpdConstraintIndex(const PpdModel &model) {
    // Targets: one per distinct (feature keyword, option keyword) of the
    // options that can be marked, in the order the marks are written.
    std::unordered_map<uint64_t, int32_t> targetOf;
    for (const PpdFeature *feature : model.features) {
      if (!IsConstrainable(*feature)) continue;
      int32_t featureId = Intern(feature->keyword);
      for (const PpdOption *option : feature->options) {
        uint64_t key = PairKey(featureId, Intern(option->keyword));
        auto found = targetOf.emplace(key, targetCount_);
        if (found.second) ++targetCount_;
        optionTargets_.push_back(found.first->second);
      }
    }
    // Exclusions: what each (first feature, first option) excludes. Only
    // constraints led by an installable feature can ever mark an option.
    for (const PpdConstraint *constraint : model.constraints) {
      if (!LedByInstalledOption(model, *constraint)) continue;
      int32_t feature2 = Find(constraint->feature2);
      int32_t option2 = Find(constraint->option2);
      if (feature2 < 0 || option2 < 0) continue;
      auto target = targetOf.find(PairKey(feature2, option2));
      if (target == targetOf.end()) continue;
      uint64_t key = PairKey(Intern(constraint->feature1), Intern(constraint->option1));
      excluded_[key].push_back(target->second);
    }
    for (auto &entry : excluded_) {
      std::vector<int32_t> &targets = entry.second;
      std::sort(targets.begin(), targets.end());
      targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
    }
    hit_.assign(static_cast<size_t>(targetCount_), 0);
  }

  void Mark(PpdModel &model) {
    std::fill(hit_.begin(), hit_.end(), static_cast<uint8_t>(0));
    for (const InstalledOption *installed : model.installedOptions) {
      int32_t feature = Find(installed->featureKeyword);
      int32_t option = Find(installed->currentOption);
      if (feature < 0 || option < 0) continue;
      auto targets = excluded_.find(PairKey(feature, option));
      if (targets == excluded_.end()) continue;
      for (int32_t target : targets->second) hit_[static_cast<size_t>(target)] = 1;
    }
    size_t next = 0;
    for (PpdFeature *feature : model.features) {
      if (!IsConstrainable(*feature)) continue;
      for (PpdOption *option : feature->options) {
        option->bConstrained = hit_[static_cast<size_t>(optionTargets_[next++])];
      }
    }
  }

 private:
  // Views point into the model's records, which never move.
  int32_t Intern(const PpdText &text) {
    auto found = ids_.emplace(View(text), static_cast<int32_t>(ids_.size()));
    return found.first->second;
  }
  int32_t Find(const PpdText &text) const {
    auto found = ids_.find(View(text));
    return found == ids_.end() ? -1 : found->second;
  }

  std::unordered_map<TextView, int32_t> ids_;
  std::unordered_map<uint64_t, std::vector<int32_t>> excluded_;
  std::vector<int32_t> optionTargets_;
  std::vector<uint8_t> hit_;
  int32_t targetCount_ = 0;
};

void FreeConstraintIndex(PpdConstraintIndex *index) { delete index; }

PpdModel::~PpdModel() { FreeConstraintIndex(pConstraintIndex); }

int MatchConstraint(const PpdModel *model, const PpdText &installedFeature,
                    const PpdText &installedOption, const PpdFeature &feature,
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
      option->bConstrained = mark;
    }
  }
}

void MarkConstrainedOptions(PpdModel *model) {
  if (model == nullptr) return;
  if (model->InstalledOptionCount() == 0) {
    MarkConstrainedOptionsPlain(model);  // nothing to look up: every mark is 0
    return;
  }
  try {
    if (model->pConstraintIndex == nullptr) model->pConstraintIndex = new PpdConstraintIndex(*model);
    model->pConstraintIndex->Mark(*model);
  } catch (...) {
    // Out of memory for the index: the definition needs none.
    MarkConstrainedOptionsPlain(model);
  }
}

void SetInstalledOption(PpdModel *model, const PpdUnit *featureKeyword,
                        const PpdUnit *optionKeyword, bool recompute) {
  if (model == nullptr) return;
  if (featureKeyword != nullptr && optionKeyword != nullptr) {
    for (InstalledOption *installed : model->installedOptions) {
      if (installed->featureKeyword.Equals(featureKeyword)) {
        installed->currentOption.Assign(optionKeyword);
        break;
      }
    }
  }
  if (recompute) MarkConstrainedOptions(model);
}

}  // namespace qx
