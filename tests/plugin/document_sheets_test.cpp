// The printing-preferences sheet operation: its answers per reason and the
// pages it adds through the common property sheet.
#include <gtest/gtest.h>

#include "activation/activation.h"
#include "platform/build_variant.h"
#include "plugin/document_sheets.h"
#include "jobpage/job_settings_page.h"
#include "jobpage/page_harness.h"
#include "layoutpage/layout_page.h"
#include "resource_ids.h"

namespace {

using qxtest::FakeComPropSheet;
using qxtest::PreferencesSetup;

constexpr DWORD kSentinel = 0xdeadbeef;

PROPSHEETUI_INFO Info(WORD reason) {
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = reason;
  info.Result = 77;
  return info;
}

// The full builds' records carry the header bitmap.
constexpr DWORD kRecordSize = sizeof(PROPSHEETPAGEW_V3) + (qx::kReducedLayoutBuild ? 0 : sizeof(void *));

TEST(DocumentSheets, MissingOrForeignInfoIsRefused) {
  qx::UiContext ctx;
  SetLastError(kSentinel);
  EXPECT_EQ(qx::DocumentPropertySheets(nullptr, 0, &ctx), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));

  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_DESTROY);
  info.Version = 0x0101;
  SetLastError(kSentinel);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, 0, &ctx), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(info.Result, 77u);
}

TEST(DocumentSheets, ReasonsAndTheirResults) {
  qx::UiContext ctx;
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_GET_INFO_HEADER);
  PROPSHEETUI_INFO_HEADER header = {};
  header.cbSize = sizeof header;
  SetLastError(kSentinel);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header), &ctx), S_OK);
  EXPECT_EQ(GetLastError(), kSentinel);
  ASSERT_NE(header.pTitle, nullptr);
  EXPECT_STREQ(header.pTitle, L"OEM UI Page");
  EXPECT_EQ(info.Result, 1u);

  info = Info(PROPSHEETUI_REASON_DESTROY);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, 0, &ctx), S_OK);
  EXPECT_EQ(info.Result, 1u);

  SETRESULT_INFO result = {sizeof result, 0, nullptr, CPSUI_OK};
  info = Info(PROPSHEETUI_REASON_SET_RESULT);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&result), &ctx), S_OK);
  EXPECT_EQ(info.Result, static_cast<ULONG_PTR>(CPSUI_OK));
  result.Result = 12345;
  EXPECT_EQ(qx::DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&result), &ctx), S_OK);
  EXPECT_EQ(info.Result, 12345u);

  info = Info(PROPSHEETUI_REASON_GET_ICON);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, 0, &ctx), S_OK);
  EXPECT_EQ(info.Result, 0u);
  info = Info(99);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, 0, &ctx), S_OK);
  EXPECT_EQ(info.Result, 0u);
}

TEST(DocumentSheets, InitAddsThePagesAndSetsTheStartPage) {
  PreferencesSetup setup;
  FakeComPropSheet sheet;
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
  info.hComPropSheet = sheet.handle();
  info.pfnComPropSheet = FakeComPropSheet::Callback;
  ASSERT_EQ(qx::DocumentPropertySheets(&info, 0, &setup.ctx), S_OK);
  EXPECT_EQ(info.Result, 0u);
  EXPECT_EQ(setup.ctx.hComPropSheet, sheet.handle());
  EXPECT_EQ(setup.ctx.pfnComPropSheet, &FakeComPropSheet::Callback);

  ASSERT_EQ(sheet.calls.size(), 3u);
  const qxtest::SheetCall &layout = sheet.calls[0];
  EXPECT_EQ(layout.function, static_cast<UINT>(CPSFUNC_ADD_PROPSHEETPAGEW));
  EXPECT_EQ(layout.proc, &qx::LayoutPageProc);
  EXPECT_EQ(layout.templateName, MAKEINTRESOURCEW(IDD_LAYOUT_PAGE));
  EXPECT_EQ(layout.title, L"Layout");
  EXPECT_EQ(setup.ctx.hLayoutPage, layout.result);
  EXPECT_NE(layout.result, nullptr);
  const qxtest::SheetCall &job = sheet.calls[sheet.calls.size() - 2];
  EXPECT_EQ(job.function, static_cast<UINT>(CPSFUNC_ADD_PROPSHEETPAGEW));
  EXPECT_EQ(job.lParam2, 0);
  EXPECT_EQ(job.recordSize, kRecordSize);
  EXPECT_EQ(job.instance, setup.resources);
  EXPECT_EQ(job.templateName, MAKEINTRESOURCEW(IDD_JOB_SETTINGS));
  EXPECT_EQ(job.title, L"Extended Settings");
  EXPECT_EQ(job.proc, &qx::JobSettingsPageProc);
  EXPECT_EQ(job.pageParam, reinterpret_cast<LPARAM>(&setup.ctx));
  EXPECT_NE(job.result, nullptr);
  EXPECT_EQ(setup.ctx.hJobSettingsPage, job.result);
  // The plug-in's manifest gives the pages their activation context here.
  ASSERT_NE(qx::PageActCtx, nullptr);
  ASSERT_NE(qx::PageActCtx, INVALID_HANDLE_VALUE);
  for (const qxtest::SheetCall *page : {&layout, &job}) {
    EXPECT_EQ(page->flags, static_cast<DWORD>(PSP_USETITLE | PSP_USEFUSIONCONTEXT));
    EXPECT_EQ(page->actCtx, qx::PageActCtx);
  }

  const qxtest::SheetCall &start = sheet.calls.back();
  EXPECT_EQ(start.function, static_cast<UINT>(CPSFUNC_SET_HSTARTPAGE));
  EXPECT_EQ(start.lParam1, 0);
  EXPECT_EQ(start.lParam2, SSP_STDPAGE2);
}

TEST(DocumentSheets, LegacySystemGetsOnlyTheExtendedSettingsPage) {
  PreferencesSetup setup;
  setup.ctx.bLegacySystem = TRUE;
  FakeComPropSheet sheet;
  ASSERT_EQ(setup.AddPages(sheet), S_OK);
  ASSERT_EQ(sheet.calls.size(), 2u);
  EXPECT_EQ(sheet.calls[0].proc, &qx::JobSettingsPageProc);
  EXPECT_EQ(sheet.calls[1].function, static_cast<UINT>(CPSFUNC_SET_HSTARTPAGE));
  EXPECT_EQ(sheet.calls[1].lParam2, SSP_STDPAGE2);
  EXPECT_EQ(setup.ctx.hLayoutPage, nullptr);
}

TEST(DocumentSheets, WithoutDriverParametersPagesHaveNoTitle) {
  PreferencesSetup setup;
  setup.ctx.pCuiParam = nullptr;
  FakeComPropSheet sheet;
  ASSERT_EQ(setup.AddPages(sheet), S_OK);
  const qxtest::SheetCall *job = sheet.FindAdd(&qx::JobSettingsPageProc);
  ASSERT_NE(job, nullptr);
  EXPECT_FALSE(job->hasTitle);
  EXPECT_EQ(setup.HeapBlocks(), 0u);
}

TEST(DocumentSheets, RefusedPagesAreIgnored) {
  PreferencesSetup setup;
  FakeComPropSheet sheet;
  sheet.createPages = false;
  ASSERT_EQ(setup.AddPages(sheet), S_OK);
  EXPECT_EQ(setup.ctx.hJobSettingsPage, nullptr);
  EXPECT_EQ(sheet.calls.back().function, static_cast<UINT>(CPSFUNC_SET_HSTARTPAGE));
}

TEST(DocumentSheets, MissingCallbackAddsNothing) {
  PreferencesSetup setup;
  PROPSHEETUI_INFO info = Info(PROPSHEETUI_REASON_INIT);
  EXPECT_EQ(qx::DocumentPropertySheets(&info, 0, &setup.ctx), S_OK);
  EXPECT_EQ(info.Result, 0u);
  EXPECT_EQ(setup.ctx.hJobSettingsPage, nullptr);
}

}  // namespace
