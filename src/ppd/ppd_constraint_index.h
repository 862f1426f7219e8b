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
#include <type_traits>
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
  // An open-addressing table of ids; the caller compares the keys. Tagged,
  // each id has the high half of its key's hash beside it, so that a probe
  // rarely reads a key that differs (the group table's keys are scattered
  // over the model's records).
  template <bool kTagged>
  struct Slots {
    using Slot = typename std::conditional<kTagged, uint64_t, uint32_t>::type;
    std::vector<Slot> slots;  // 0: empty; else the id + 1, with the tag above it
    void Size(size_t keys) {
      size_t size = 4;
      while (size < keys + keys / 2 + 1) size *= 2;  // at most two thirds full
      slots.assign(size, 0);
    }
    // The id whose key matches, or else newId put in the free slot found
    // (-1: nothing is put). Every slot visited counts a probe.
    template <class Matches>
    int32_t Find(uint64_t hash, int32_t newId, int64_t &probes, Matches matches) {
      const size_t mask = slots.size() - 1;
      for (size_t slot = static_cast<size_t>(hash) & mask;; slot = (slot + 1) & mask) {
        ++probes;
        const Slot held = slots[slot];
        if (held == 0) {
          if (newId < 0) return newId;
          slots[slot] = static_cast<uint32_t>(newId + 1);
          if constexpr (kTagged) slots[slot] |= hash >> 32 << 32;
          return newId;
        }
        if constexpr (kTagged) {
          if (held >> 32 != hash >> 32) continue;  // another key
        }
        const int32_t id = static_cast<int32_t>(static_cast<uint32_t>(held)) - 1;
        if (matches(id)) return id;
      }
    }
  };
  // With newId >= 0 a keyword not yet held is added as newId.
  int32_t FindKeyword(const PpdModel &model, const PpdUnit *text, int32_t length, int32_t newId);
  int32_t FindCondition(const PpdModel &model, int32_t keyword, const PpdUnit *text, int32_t length,
                        bool add, int32_t constraint);
  // featureHash: the feature keyword's hash (HashUnits), once per feature.
  int32_t FindGroup(const PpdModel &model, uint64_t featureHash, const PpdWord &feature, const PpdWord &option,
                    bool add, int32_t constraint);

  Slots<false> keywordSlots_;                 // by installed feature keyword: first installed option
  std::vector<int32_t> keywordOf_;            // per installed option: its first namesake
  Slots<false> conditionSlots_;
  std::vector<int32_t> conditionKeyword_;     // per condition: the installed option's first namesake
  std::vector<int32_t> conditionConstraint_;  // per condition: a constraint holding its option
  Slots<true> groupSlots_;
  std::vector<int32_t> groupConstraint_;      // per group: a constraint holding its pair
  std::vector<int32_t> groupStart_;           // per group and one more: into entryCondition_
  std::vector<int32_t> entryCondition_;
  std::vector<int32_t> optionGroup_;          // per markable option in model order, or -1
  std::vector<uint8_t> conditionHit_;
  std::vector<uint8_t> groupHit_;
  PpdConstraintIndexStats stats_;
};

}  // namespace qx
