// What a process holds, counted the way that works under Wine as on Windows:
// busy blocks of every process heap (HeapWalk), and open handles by probing
// handle values (GetProcessHandleCount answers 0 under Wine).
#pragma once

#include <windows.h>

#include <vector>

namespace qxtest {

struct HeapCounts {
  size_t blocks = 0;
  size_t bytes = 0;
};

inline HeapCounts CountHeaps() {
  HeapCounts counts;
  DWORD wanted = GetProcessHeaps(0, nullptr);
  std::vector<HANDLE> heaps(wanted + 8);
  DWORD got = GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data());
  // The vector's own block is counted like any other: it is the same each time.
  for (DWORD i = 0; i < got && i < heaps.size(); ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) {
        ++counts.blocks;
        counts.bytes += entry.cbData;
      }
    HeapUnlock(heaps[i]);
  }
  return counts;
}

// Handle values are multiples of 4; the probe stops after a long run of
// unused values past the last open one.
inline size_t CountHandles() {
  size_t open = 0, unused = 0;
  for (ULONG_PTR value = 4; unused < 4096; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
      ++open;
      unused = 0;
    } else {
      ++unused;
    }
  }
  return open;
}

}  // namespace qxtest
