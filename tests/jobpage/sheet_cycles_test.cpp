// Opening and closing the printing-preferences pages many times leaves no
// windows, GDI or USER objects, and no driver-heap blocks behind beyond the
// titles and labels that stay on the driver's heap until the driver frees it.
#include <gtest/gtest.h>

#include <cstdio>

#include "jobpage/job_settings_page.h"
#include "jobpage/page_harness.h"
#include "resource_ids.h"
#include "support/message_box_catcher.h"

namespace {

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<int *>(count);
  return TRUE;
}

int ThreadWindows() {
  int count = 0;
  EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
  return count;
}

struct Counts {
  DWORD gdi, user;
  int windows;
};

Counts Measure() {
  return {GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS), GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS),
          ThreadWindows()};
}

// One session as a user has it: open, type, fail a validation, fix it, OK.
void OneSession(qxtest::PreferencesSetup &setup, size_t *heapBlocksLeft) {
  setup.heap = HeapCreate(0, 0, 0);
  setup.param.hOEMHeap = setup.heap;
  qx::InitPrivateDevmode(setup.blockBytes.data());
  {
    qxtest::FakeComPropSheet fake;
    ASSERT_EQ(setup.AddPages(fake), S_OK);
    HPROPSHEETPAGE page = fake.TakePage(&qx::JobSettingsPageProc);
    ASSERT_NE(page, nullptr) << "CreatePropertySheetPageW failed";
    SetLastError(0);
    qxtest::ModelessSheet sheet(page);
    ASSERT_NE(sheet.page(), nullptr) << "sheet " << sheet.sheet() << " error " << GetLastError();
    SendMessageW(sheet.item(IDC_JOB_RESERVE_JOB), BM_CLICK, 0, 0);
    qxtest::Type(sheet.item(IDC_JOB_RESERVE_USER_NAME), L"user");
    {
      qxtest::MessageBoxCatcher catcher;
      EXPECT_EQ(sheet.Notify(PSN_KILLACTIVE), PSNRET_INVALID_NOCHANGEPAGE);
      EXPECT_EQ(catcher.count(), 1u);
    }
    qxtest::Type(sheet.item(IDC_JOB_RESERVE_JOB_NAME), L"job");
    qxtest::Type(sheet.item(IDC_JOB_RESERVE_PASSWORD), L"12345678");
    sheet.Press(PSBTN_OK);
  }
  *heapBlocksLeft = setup.HeapBlocks();
  HeapDestroy(setup.heap);
  setup.heap = nullptr;
}

TEST(SheetCycles, TwoHundredSessionsLeaveNothingBehind) {
  qxtest::PreferencesSetup setup;
  HeapDestroy(setup.heap);
  setup.ctx.dwCachedRegion = 3;
  setup.ctx.dwCachedPasswordMode = 1;

  size_t firstBlocks = 0;
  OneSession(setup, &firstBlocks);  // class registrations and caches settle in the first session
  // Titles of the pages added and the ten labels of the page stay on the
  // driver's heap; nothing else does.
  EXPECT_EQ(firstBlocks, 12u);
  Counts before = Measure();
  for (int i = 0; i < 200; ++i) {
    size_t blocks = 0;
    OneSession(setup, &blocks);
    ASSERT_EQ(blocks, firstBlocks) << "session " << i;
  }
  Counts after = Measure();
  EXPECT_EQ(after.windows, before.windows);
  EXPECT_EQ(after.gdi, before.gdi);
  EXPECT_EQ(after.user, before.user);
  EXPECT_EQ(setup.block().dwReserveJobType, 5u);
  std::printf("200 sessions: windows %d -> %d, GDI %lu -> %lu, USER %lu -> %lu, driver heap %zu blocks per session\n",
              before.windows, after.windows, before.gdi, after.gdi, before.user, after.user, firstBlocks);
}

}  // namespace
