// Installed options and constrained marks.
//
// An option of a feature outside InstallableOptions is marked exactly when
// some installed option, at its current option, excludes it: a constraint
// names the installed feature and its current option first, and the feature
// and the option second. Any one installed option suffices; a later one
// never clears what an earlier one set.
//
// The index keeps only the constraints led by an installed feature, grouped
// by the (feature, option) they exclude, and gives every markable option its
// group once. A recompute then checks each group's few (installed option,
// option it must be at) pairs once and passes over the options: no option is
// compared with every constraint.
#include "ppd/ppd_marks.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace qx {

namespace {

bool IsConstrainable(const PpdFeature &feature) { return !feature.IsInstallable(); }

using TextView = std::basic_string_view<PpdUnit>;

TextView View(const PpdText &text) { return TextView(text.text, static_cast<size_t>(text.length)); }
TextView View(const PpdWord &word) { return TextView(word.text, static_cast<size_t>(word.length)); }

struct PairKey {
  TextView feature, option;
  bool operator==(const PairKey &other) const {
    return feature == other.feature && option == other.option;
  }
};

struct PairKeyHash {
  size_t operator()(const PairKey &key) const {
    std::hash<TextView> hash;
    return hash(key.feature) * 31u ^ hash(key.option);
  }
};

}  // namespace

class PpdConstraintIndex {
 public:
  // Builds the index; may throw std::bad_alloc. Views point into the model's
  // records, which never move; the constraints never change after reading.
  explicit PpdConstraintIndex(const PpdModel &model) {
    // The installed options by feature keyword (a keyword may repeat), so
    // that each constraint costs one lookup.
    std::unordered_map<TextView, std::vector<int32_t>> installedOf;
    for (int32_t i = 0; i < model.InstalledOptionCount(); ++i) {
      installedOf[View(model.Installed(i)->featureKeyword)].push_back(i);
    }
    std::unordered_map<PairKey, int32_t, PairKeyHash> groupOf;
    for (const PpdConstraint *constraint : model.constraints) {
      auto installed = installedOf.find(View(constraint->feature1));
      if (installed == installedOf.end()) continue;
      for (int32_t i : installed->second) {
        PairKey key{View(constraint->feature2), View(constraint->option2)};
        auto found = groupOf.emplace(key, static_cast<int32_t>(groups_.size()));
        if (found.second) groups_.emplace_back();
        groups_[static_cast<size_t>(found.first->second)].push_back({i, View(constraint->option1)});
      }
    }
    for (std::vector<Exclusion> &group : groups_) {
      std::sort(group.begin(), group.end());
      group.erase(std::unique(group.begin(), group.end()), group.end());
    }
    for (const PpdFeature *feature : model.features) {
      if (!IsConstrainable(*feature)) continue;
      for (const PpdOption *option : feature->options) {
        auto found = groupOf.find(PairKey{View(feature->keyword), View(option->keyword)});
        optionGroups_.push_back(found == groupOf.end() ? -1 : found->second);
      }
    }
    hit_.assign(groups_.size(), 0);
  }

  void Mark(PpdModel &model) {
    for (size_t g = 0; g < groups_.size(); ++g) {
      uint8_t hit = 0;
      for (const Exclusion &exclusion : groups_[g]) {
        if (View(model.Installed(exclusion.installed)->currentOption) == exclusion.option1) {
          hit = 1;
          break;
        }
      }
      hit_[g] = hit;
    }
    size_t next = 0;
    for (PpdFeature *feature : model.features) {
      if (!IsConstrainable(*feature)) continue;
      for (PpdOption *option : feature->options) {
        int32_t group = optionGroups_[next++];
        option->bConstrained = group < 0 ? 0 : hit_[static_cast<size_t>(group)];
      }
    }
  }

 private:
  // The installed option that must be at option1 for the exclusion to hold.
  struct Exclusion {
    int32_t installed;
    TextView option1;
    bool operator<(const Exclusion &other) const {
      return installed != other.installed ? installed < other.installed : option1 < other.option1;
    }
    bool operator==(const Exclusion &other) const {
      return installed == other.installed && option1 == other.option1;
    }
  };

  std::vector<std::vector<Exclusion>> groups_;  // by excluded (feature, option)
  std::vector<int32_t> optionGroups_;           // per markable option, or -1
  std::vector<uint8_t> hit_;                    // per group, this recompute
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

namespace {

// Marks every option of a feature outside InstallableOptions whose feature
// and option keywords are the constraint's second pair.
void MarkExcluded(PpdModel &model, const PpdConstraint &constraint) {
  for (PpdFeature *feature : model.features) {
    if (!constraint.feature2.Equals(feature->keyword) || !IsConstrainable(*feature)) continue;
    for (PpdOption *option : feature->options) {
      if (constraint.option2.Equals(option->keyword)) option->bConstrained = 1;
    }
  }
}

// A filter over the installed feature keywords: most constraints are not
// led by an installed feature, and the bit each keeps of its first word
// tells.
class InstalledKeywordFilter {
 public:
  explicit InstalledKeywordFilter(const PpdModel &model) {
    for (const InstalledOption *installed : model.installedOptions) {
      uint32_t bit = PpdKeywordBit(installed->featureKeyword.text, installed->featureKeyword.length);
      bits_[bit / 64] |= uint64_t{1} << (bit % 64);
    }
  }
  bool MayLead(uint32_t feature1Bit) const { return (bits_[feature1Bit / 64] >> (feature1Bit % 64) & 1) != 0; }

 private:
  uint64_t bits_[16] = {};
};

}  // namespace

void MarkConstrainedOptionsInOnePass(PpdModel *model) {
  if (model->InstalledOptionCount() == 0) return;
  InstalledKeywordFilter filter(*model);
  for (const PpdConstraint *constraint : model->constraints) {
    if (!filter.MayLead(constraint->feature1Bit)) continue;
    for (const InstalledOption *installed : model->installedOptions) {
      if (constraint->feature1.Equals(installed->featureKeyword) &&
          constraint->option1.Equals(installed->currentOption)) {
        MarkExcluded(*model, *constraint);
        break;
      }
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
