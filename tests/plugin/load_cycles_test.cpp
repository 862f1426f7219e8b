// The plug-in loaded and freed again and again, as a spooler or an
// application does: each load leaves the process's heaps and handles as it
// found them, and first sheets opened on many threads of a fresh load give
// all pages one activation context.
#include <gtest/gtest.h>

#include <set>

#include "support/page_recorder.h"
#include "support/plugin_loader.h"
#include "support/process_counts.h"
#include "support/thread_group.h"

namespace {

using qxtest::CountHandles;
using qxtest::CountHeaps;
using qxtest::HeapCounts;

// One load of the DLL: `threads` plug-in objects whose first sheets open at
// the same moment, then everything released and the DLL freed. Returns the
// contexts the pages were given.
std::set<HANDLE> OneLoad(int threads) {
  std::set<HANDLE> contexts;
  qxtest::PluginLoader loader;
  std::vector<IPrintOemUI2 *> plugins;
  for (int i = 0; i < threads; ++i) plugins.push_back(loader.Create());
  std::vector<qxtest::PageRecorder> recorders(threads);
  std::vector<HRESULT> results(threads, E_FAIL);
  bool started = qxtest::ThreadGroup::Race(threads, [&](int i) {
    if (!plugins[i]) return;
    PROPSHEETUI_INFO info = recorders[i].Info(PROPSHEETUI_REASON_INIT);
    results[i] = plugins[i]->DocumentPropertySheets(&info, 0);
  });
  EXPECT_TRUE(started);
  for (int i = 0; i < threads; ++i) {
    EXPECT_EQ(results[i], S_OK) << "thread " << i;
    EXPECT_EQ(recorders[i].contexts.size(), 2u) << "thread " << i;
    contexts.insert(recorders[i].contexts.begin(), recorders[i].contexts.end());
    if (plugins[i]) EXPECT_EQ(plugins[i]->Release(), 0u);
  }
  EXPECT_EQ(loader.CanUnloadNow(), S_OK);
  return contexts;
}

TEST(LoadCycles, LoadsAndFreesLeaveHeapsAndHandlesAsTheyWere) {
  // The driver's process keeps the system modules the plug-in imports loaded
  // for its whole life. This program imports none of them itself, and under
  // Wine loading them afresh with every plug-in load leaves a handle behind.
  for (const wchar_t *name : {L"winspool.drv", L"user32.dll", L"gdi32.dll", L"advapi32.dll"})
    ASSERT_NE(LoadLibraryW(name), nullptr);
  OneLoad(1);  // what the first load keeps for the process (comctl32, caches) stays
  OneLoad(1);
  HeapCounts heapBefore = CountHeaps();
  size_t handlesBefore = CountHandles();
  for (int load = 0; load < 10; ++load) OneLoad(1);
  HeapCounts heapAfter = CountHeaps();
  EXPECT_EQ(heapAfter.bytes, heapBefore.bytes) << "blocks " << heapBefore.blocks << " -> " << heapAfter.blocks;
  EXPECT_EQ(heapAfter.blocks, heapBefore.blocks);
  EXPECT_EQ(CountHandles(), handlesBefore);
}

TEST(LoadCycles, FirstSheetsRacingOnEightThreadsShareOneContext) {
  OneLoad(8);  // thread and heap caches of the process settle
  HeapCounts heapBefore = CountHeaps();
  for (int load = 0; load < 10; ++load) {
    std::set<HANDLE> contexts = OneLoad(8);
    ASSERT_EQ(contexts.size(), 1u) << "load " << load;
    EXPECT_NE(*contexts.begin(), INVALID_HANDLE_VALUE);
  }
  // Contexts created by the threads that lost the race are released.
  HeapCounts heapAfter = CountHeaps();
  EXPECT_EQ(heapAfter.bytes, heapBefore.bytes) << "blocks " << heapBefore.blocks << " -> " << heapAfter.blocks;
}

}  // namespace
