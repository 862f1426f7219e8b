// The bytes one PPD model may hold. A hostile file of minimal lines would
// otherwise make a model a hundred times its own size and exhaust a 32-bit
// process: reading ends at the limit as it does on a failed allocation.
#pragma once

#include <cstddef>

namespace qx {

constexpr size_t kPpdModelByteLimit = size_t{64} << 20;

// What the C runtime's heap adds to each allocation of its own.
constexpr size_t kPpdHeapChunkBytes = 2 * sizeof(void *);

// What the constraint index, built after reading, may need per record; taken
// with each record, so that the index of any model fits in its budget.
constexpr size_t kPpdIndexBytesPerInstalled = 24;
constexpr size_t kPpdIndexBytesPerConstraint = 64;
constexpr size_t kPpdIndexBytesPerOption = 4;

class PpdByteBudget {
 public:
  // False, taking nothing, when the bytes would pass the limit.
  bool Take(size_t bytes) {
    if (bytes > kPpdModelByteLimit - held_) return false;
    held_ += bytes;
    return true;
  }
  void Give(size_t bytes) { held_ -= bytes; }
  size_t Held() const { return held_; }

 private:
  size_t held_ = 0;
};

// Takes from a budget when there is one (hand-made models in tests have none).
inline bool TakeFrom(PpdByteBudget *budget, size_t bytes) {
  return budget == nullptr || budget->Take(bytes);
}

}  // namespace qx
