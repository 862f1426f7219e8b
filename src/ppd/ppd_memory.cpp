#include "ppd/ppd_memory.h"

#include <atomic>
#include <cstdlib>

namespace qx {

namespace {

// Kept: blocks up to 64 KiB, at most 4 MiB in all (a large PPD's model),
// and one larger block up to 1 MiB (the reader's token buffer) on its own.
constexpr size_t kLargestKept = 65536 + 64;
constexpr int kSlots = 128;
constexpr size_t kKeptBytesLimit = 4u << 20;
constexpr size_t kLargeKeptLimit = 1u << 20;

struct Kept {
  void *block;
  size_t bytes;
};

// A spin lock: taken for a few loads and stores, and the win32 thread model
// of the NT 5.2 builds has no std::mutex.
std::atomic_flag g_lock = ATOMIC_FLAG_INIT;
Kept g_kept[kSlots];
int g_count = 0;
size_t g_keptBytes = 0;
Kept g_large = {nullptr, 0};

class Locked {
 public:
  Locked() {
    while (g_lock.test_and_set(std::memory_order_acquire)) {
    }
  }
  ~Locked() { g_lock.clear(std::memory_order_release); }
  Locked(const Locked &) = delete;
  Locked &operator=(const Locked &) = delete;
};

}  // namespace

void *TakePpdBlock(size_t bytes) {
  if (bytes > kLargestKept && bytes <= kLargeKeptLimit) {
    Locked locked;
    if (g_large.block != nullptr && g_large.bytes == bytes) {
      void *block = g_large.block;
      g_large.block = nullptr;
      return block;
    }
  } else if (bytes <= kLargestKept) {
    Locked locked;
    for (int i = g_count - 1; i >= 0; --i) {
      if (g_kept[i].bytes != bytes) continue;
      void *block = g_kept[i].block;
      g_kept[i] = g_kept[--g_count];
      g_keptBytes -= bytes;
      return block;
    }
  }
  return std::malloc(bytes);
}

void ReturnPpdBlock(void *block, size_t bytes) {
  if (block == nullptr) return;
  if (bytes > kLargestKept && bytes <= kLargeKeptLimit) {
    Locked locked;
    if (g_large.block == nullptr) {
      g_large = {block, bytes};
      return;
    }
  } else if (bytes <= kLargestKept) {
    Locked locked;
    if (g_count < kSlots && g_keptBytes + bytes <= kKeptBytesLimit) {
      g_kept[g_count++] = {block, bytes};
      g_keptBytes += bytes;
      return;
    }
  }
  std::free(block);
}

void ReleaseKeptPpdBlocks() {
  Locked locked;
  while (g_count > 0) std::free(g_kept[--g_count].block);
  g_keptBytes = 0;
  std::free(g_large.block);
  g_large.block = nullptr;
}

}  // namespace qx
