// The lookup behind the constrained marks, built once per model.
//
// Only constraints led by an installed feature matter. Each such constraint
// names a condition (installed feature keyword, option it must be at) and a
// group (feature and option it excludes); the index keeps each distinct
// (group, condition) pair once, however often the installed feature keyword
// repeats, and gives every markable option its group. A recompute looks up
// each installed option's condition once, then passes over the groups and
// the options: cost and memory grow with the model, never with its square.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "ppd/ppd_model.h"

namespace qx {

struct PpdConstraintIndexStats {
  int64_t conditions = 0;
  int64_t groups = 0;
  int64_t entries = 0;  // distinct (group, condition) pairs
  int64_t probes = 0;   // slots visited by every lookup so far
  size_t bytes = 0;     // held by the index's arrays
};

class PpdConstraintIndex {
 public:
  // May throw std::bad_alloc. The index refers to the model's records, which
  // never move; the constraints and keywords never change after reading.
  explicit PpdConstraintIndex(const PpdModel &model);

  // Sets every constrained mark from the installed options' current options,
  // writing them only where model.marks says they may differ.
  void Mark(PpdModel &model);
  // The first installed option with the feature keyword, or -1.
  int32_t FirstInstalled(const PpdModel &model, const PpdUnit *keyword);

  const PpdConstraintIndexStats &Stats() const { return stats_; }

 private:
  // An open-addressing table of ids; the caller compares the keys.
  struct Slots {
    std::vector<int32_t> ids;  // -1: empty; size a power of two
    void Size(size_t keys);
    // The id whose key matches, or else newId put in the free slot found
    // (-1: nothing is put). Every slot visited counts a probe.
    template <class Matches>
    int32_t Find(uint64_t hash, int32_t newId, int64_t &probes, Matches matches) {
      const size_t mask = ids.size() - 1;
      for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        ++probes;
        if (ids[slot] < 0) {
          if (newId >= 0) ids[slot] = newId;
          return newId;
        }
        if (matches(ids[slot])) return ids[slot];
      }
    }
  };
  // With newId >= 0 a keyword not yet held is added as newId.
  int32_t FindKeyword(const PpdModel &model, const PpdUnit *text, int32_t length, int32_t newId);
  int32_t FindCondition(const PpdModel &model, int32_t keyword, const PpdUnit *text, int32_t length,
                        bool add, int32_t constraint);
  int32_t FindGroup(const PpdModel &model, const PpdWord &feature, const PpdWord &option, bool add,
                    int32_t constraint);

  Slots keywordSlots_;                   // by installed feature keyword: first installed option
  std::vector<int32_t> keywordOf_;       // per installed option: its first namesake
  Slots conditionSlots_;
  std::vector<int32_t> conditionKeyword_;     // per condition: the installed option's first namesake
  std::vector<int32_t> conditionConstraint_;  // per condition: a constraint holding its option
  Slots groupSlots_;
  std::vector<int32_t> groupConstraint_;      // per group: a constraint holding its pair
  std::vector<int32_t> groupStart_;           // per group and one more: into entryCondition_
  std::vector<int32_t> entryCondition_;
  std::vector<int32_t> optionGroup_;          // per markable option in model order, or -1
  std::vector<uint8_t> conditionHit_;
  std::vector<uint8_t> groupHit_;
  PpdConstraintIndexStats stats_;
};

}  // namespace qx
