// The constraint index: three hash tables over texts held by the model, and
// the (group, condition) pairs in one flat array per group.
#include "ppd/ppd_constraint_index.h"

#include <algorithm>
#include <cstring>

namespace qx {

namespace {

// Four units at a time: keywords are short, and a lookup hashes one or two.
uint64_t HashUnits(const PpdUnit *text, int32_t length, uint64_t seed = 14695981039346656037ull) {
  constexpr uint64_t kOdd = 0x9e3779b97f4a7c15ull;
  uint64_t hash = seed ^ static_cast<uint64_t>(length);
  int32_t i = 0;
  for (; length - i >= 4; i += 4) {
    uint64_t chunk;
    std::memcpy(&chunk, text + i, sizeof chunk);
    hash = (hash ^ chunk) * kOdd;
    hash ^= hash >> 28;
  }
  if (i < length) {
    uint64_t chunk = 0;
    for (int32_t k = 0; i + k < length; ++k) {
      chunk |= static_cast<uint64_t>(static_cast<uint16_t>(text[i + k])) << (16 * k);
    }
    hash = (hash ^ chunk) * kOdd;
    hash ^= hash >> 28;
  }
  // The tables index by the low bits and tag with the high half.
  hash *= 0xbf58476d1ce4e5b9ull;
  return hash ^ (hash >> 31);
}

bool SameUnits(const PpdUnit *a, int32_t aLength, const PpdUnit *b, int32_t bLength) {
  if (aLength != bLength) return false;
  for (int32_t i = 0; i < aLength; ++i) {
    if (a[i] != b[i]) return false;
  }
  return true;
}

bool SameWord(const PpdWord &a, const PpdWord &b) {
  return a.length == b.length && (a.text == b.text || SameUnits(a.text, a.length, b.text, b.length));
}

int32_t UnitCount(const PpdUnit *text) {
  int32_t n = 0;
  while (text[n] != 0) ++n;
  return n;
}

// The features of a group share its keyword's storage, so the comparison
// with "InstallableOptions" runs once per group rather than per feature.
class InstallableTest {
 public:
  bool operator()(const PpdFeature &feature) {
    if (feature.groupKeyword.text != text_ || feature.groupKeyword.length != length_) {
      text_ = feature.groupKeyword.text;
      length_ = feature.groupKeyword.length;
      installable_ = feature.IsInstallable();
    }
    return installable_;
  }

 private:
  const PpdUnit *text_ = nullptr;
  int32_t length_ = -1;
  bool installable_ = false;
};

template <class T>
size_t BytesOf(const std::vector<T> &v) {
  return v.capacity() * sizeof(T);
}

}  // namespace

int32_t PpdConstraintIndex::FindKeyword(const PpdModel &model, const PpdUnit *text, int32_t length,
                                        int32_t newId) {
  return keywordSlots_.Find(HashUnits(text, length), newId, stats_.probes, [&](int32_t id) {
    const PpdWord &keyword = model.Installed(id)->featureKeyword;
    return SameUnits(keyword.text, keyword.length, text, length);
  });
}

int32_t PpdConstraintIndex::FindCondition(const PpdModel &model, int32_t keyword, const PpdUnit *text,
                                          int32_t length, bool add, int32_t constraint) {
  uint64_t hash = HashUnits(text, length, static_cast<uint64_t>(keyword) * 0x9e3779b97f4a7c15ull);
  const int32_t next = add ? static_cast<int32_t>(conditionKeyword_.size()) : -1;
  int32_t id = conditionSlots_.Find(hash, next, stats_.probes, [&](int32_t held) {
    const PpdWord &option = model.Constraint(conditionConstraint_[static_cast<size_t>(held)])->option1;
    return conditionKeyword_[static_cast<size_t>(held)] == keyword &&
           SameUnits(option.text, option.length, text, length);
  });
  if (add && id == next) {
    conditionKeyword_.push_back(keyword);
    conditionConstraint_.push_back(constraint);
  }
  return id;
}

int32_t PpdConstraintIndex::FindGroup(const PpdModel &model, uint64_t featureHash, const PpdWord &feature,
                                      const PpdWord &option, bool add, int32_t constraint) {
  uint64_t hash = HashUnits(option.text, option.length, featureHash);
  const int32_t next = add ? static_cast<int32_t>(groupConstraint_.size()) : -1;
  int32_t id = groupSlots_.Find(hash, next, stats_.probes, [&](int32_t held) {
    const PpdConstraint &pair = *model.Constraint(groupConstraint_[static_cast<size_t>(held)]);
    return SameUnits(pair.feature2.text, pair.feature2.length, feature.text, feature.length) &&
           SameUnits(pair.option2.text, pair.option2.length, option.text, option.length);
  });
  if (add && id == next) groupConstraint_.push_back(constraint);
  return id;
}

PpdConstraintIndex::PpdConstraintIndex(const PpdModel &model) {
  const int32_t installedCount = model.InstalledOptionCount();
  keywordSlots_.Size(static_cast<size_t>(installedCount));
  keywordOf_.reserve(static_cast<size_t>(installedCount));
  // Records come in runs that share words (a feature's constraints, repeated
  // blocks): a word equal to the one before has the id found before.
  for (int32_t i = 0; i < installedCount; ++i) {
    const PpdWord &keyword = model.Installed(i)->featureKeyword;
    if (i > 0 && SameWord(keyword, model.Installed(i - 1)->featureKeyword)) {
      keywordOf_.push_back(keywordOf_.back());
    } else {
      keywordOf_.push_back(FindKeyword(model, keyword.text, keyword.length, i));
    }
  }

  // The constraints led by an installed feature, with that feature's id.
  std::vector<int32_t> led, ledKeyword;
  led.reserve(static_cast<size_t>(model.ConstraintCount()));
  ledKeyword.reserve(static_cast<size_t>(model.ConstraintCount()));
  int32_t keyword = -1;
  for (int32_t c = 0; c < model.ConstraintCount(); ++c) {
    const PpdWord &feature1 = model.Constraint(c)->feature1;
    if (c == 0 || !SameWord(feature1, model.Constraint(c - 1)->feature1)) {
      keyword = FindKeyword(model, feature1.text, feature1.length, -1);
    }
    if (keyword < 0) continue;
    led.push_back(c);
    ledKeyword.push_back(keyword);
  }
  conditionSlots_.Size(led.size());
  groupSlots_.Size(led.size());
  conditionKeyword_.reserve(led.size());
  conditionConstraint_.reserve(led.size());
  groupConstraint_.reserve(led.size());
  std::vector<uint64_t> pairs;  // group in the high half, condition in the low
  pairs.reserve(led.size());
  int32_t condition = -1, group = -1;
  for (size_t k = 0; k < led.size(); ++k) {
    const PpdConstraint &constraint = *model.Constraint(led[k]);
    const PpdConstraint *previous = k > 0 ? model.Constraint(led[k - 1]) : nullptr;
    if (previous == nullptr || ledKeyword[k] != ledKeyword[k - 1] ||
        !SameWord(constraint.option1, previous->option1)) {
      condition = FindCondition(model, ledKeyword[k], constraint.option1.text, constraint.option1.length, true,
                                led[k]);
    }
    if (previous == nullptr || !SameWord(constraint.feature2, previous->feature2) ||
        !SameWord(constraint.option2, previous->option2)) {
      group = FindGroup(model, HashUnits(constraint.feature2.text, constraint.feature2.length),
                        constraint.feature2, constraint.option2, true, led[k]);
    }
    pairs.push_back(static_cast<uint64_t>(group) << 32 | static_cast<uint32_t>(condition));
  }
  std::sort(pairs.begin(), pairs.end());
  pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());

  groupStart_.assign(groupConstraint_.size() + 1, 0);
  entryCondition_.reserve(pairs.size());
  for (uint64_t pair : pairs) {
    ++groupStart_[static_cast<size_t>(pair >> 32) + 1];
    entryCondition_.push_back(static_cast<int32_t>(pair & 0xFFFFFFFFu));
  }
  for (size_t g = 1; g < groupStart_.size(); ++g) groupStart_[g] += groupStart_[g - 1];

  // Without a group no option can be marked, and none needs one.
  InstallableTest installable;
  for (const PpdFeature *feature : model.features) {
    if (groupConstraint_.empty()) break;
    if (installable(*feature)) continue;
    if (feature->options.Count() == 0) continue;
    const uint64_t featureHash = HashUnits(feature->keyword.text, feature->keyword.length);
    for (const PpdOption *option : feature->options) {
      optionGroup_.push_back(FindGroup(model, featureHash, feature->keyword, option->keyword, false, -1));
    }
  }
  optionGroup_.shrink_to_fit();
  conditionHit_.assign(conditionKeyword_.size(), 0);
  groupHit_.assign(groupConstraint_.size(), 0);

  stats_.conditions = static_cast<int64_t>(conditionKeyword_.size());
  stats_.groups = static_cast<int64_t>(groupConstraint_.size());
  stats_.entries = static_cast<int64_t>(entryCondition_.size());
  stats_.bytes = BytesOf(keywordSlots_.slots) + BytesOf(keywordOf_) + BytesOf(conditionSlots_.slots) +
                 BytesOf(conditionKeyword_) + BytesOf(conditionConstraint_) + BytesOf(groupSlots_.slots) +
                 BytesOf(groupConstraint_) + BytesOf(groupStart_) + BytesOf(entryCondition_) +
                 BytesOf(optionGroup_) + BytesOf(conditionHit_) + BytesOf(groupHit_);
}

void PpdConstraintIndex::Mark(PpdModel &model) {
  std::fill(conditionHit_.begin(), conditionHit_.end(), 0);
  if (!conditionHit_.empty()) {
    int32_t condition = -1;
    for (int32_t i = 0; i < model.InstalledOptionCount(); ++i) {
      const PpdWord &current = model.Installed(i)->currentOption;
      const size_t at = static_cast<size_t>(i);
      if (i == 0 || keywordOf_[at] != keywordOf_[at - 1] ||
          !SameWord(current, model.Installed(i - 1)->currentOption)) {
        condition = FindCondition(model, keywordOf_[at], current.text, current.length, false, -1);
      }
      if (condition >= 0) conditionHit_[static_cast<size_t>(condition)] = 1;
    }
  }
  bool anyHit = false, changed = false;
  for (size_t g = 0; g < groupHit_.size(); ++g) {
    uint8_t hit = 0;
    for (int32_t e = groupStart_[g]; e < groupStart_[g + 1] && hit == 0; ++e) {
      hit = conditionHit_[static_cast<size_t>(entryCondition_[static_cast<size_t>(e)])];
    }
    anyHit |= hit != 0;
    changed |= hit != groupHit_[g];
    groupHit_[g] = hit;
  }
  // Only the options of a group can be marked: the pass over every option
  // writes something only where a group's hit differs from its marks.
  if (model.marks == PpdModel::Marks::kClear && !anyHit) return;
  if (model.marks == PpdModel::Marks::kIndexed && !changed) return;
  size_t next = 0;
  InstallableTest installable;
  for (PpdFeature *feature : model.features) {
    if (installable(*feature)) continue;
    for (PpdOption *option : feature->options) {
      int32_t group = optionGroup_.empty() ? -1 : optionGroup_[next++];
      option->constrained = group < 0 ? 0 : groupHit_[static_cast<size_t>(group)];
    }
  }
  model.marks = PpdModel::Marks::kIndexed;
}

int32_t PpdConstraintIndex::FirstInstalled(const PpdModel &model, const PpdUnit *keyword) {
  return FindKeyword(model, keyword, UnitCount(keyword), -1);
}

}  // namespace qx
