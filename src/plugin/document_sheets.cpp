#include "plugin/document_sheets.h"

#include <type_traits>

#include "activation/activation.h"
#include "jobpage/job_settings_page.h"
#include "layoutpage/layout_page.h"
#include "platform/build_variant.h"
#include "platform/sheet_reasons.h"
#include "platform/spooler.h"
#include "resource_ids.h"

namespace qx {
namespace {

// The full page record of the platform the build targets: version 4 (with
// the header bitmap) from NT 6.0 on, version 3 (activation context, no header
// bitmap) on NT 5.2. MinGW's headers stop at version 3.
struct PageRecordV4 {
  PROPSHEETPAGEW_V3 v3;
  union {
    HBITMAP hbmHeader;
    LPCWSTR pszbmHeader;
  };
};
using PageRecord = std::conditional_t<kReducedLayoutBuild, PROPSHEETPAGEW_V3, PageRecordV4>;

template <typename Record>
PROPSHEETPAGEW_V3 &Fields(Record &record) {
  if constexpr (std::is_same_v<Record, PROPSHEETPAGEW_V3>)
    return record;
  else
    return record.v3;
}

// Adds one page through the common property sheet and returns its handle.
HANDLE AddPage(PPROPSHEETUI_INFO info, UiContext *ctx, UINT templateId, UINT titleId, DLGPROC proc) {
  PageRecord record = {};
  PROPSHEETPAGEW_V3 &page = Fields(record);
  page.dwSize = sizeof record;
  page.dwFlags = PSP_USETITLE;
  page.hInstance = PluginModule();
  page.pszTemplate = MAKEINTRESOURCEW(templateId);
  // The title stays on the driver's heap until the driver releases the heap;
  // without that heap the page keeps its template's caption.
  const POEMCUIPPARAM param = ctx->pCuiParam;
  if (param && param->hOEMHeap)
    page.pszTitle = LoadHeapString(static_cast<HMODULE>(param->hModule), param->hOEMHeap, titleId);
  page.pfnDlgProc = proc;
  page.lParam = reinterpret_cast<LPARAM>(ctx);
  HANDLE context = SharedPageActCtx();
  if (context && context != INVALID_HANDLE_VALUE) {
    page.hActCtx = context;
    page.dwFlags |= PSP_USEFUSIONCONTEXT;
  }
  ctx->hComPropSheet = info->hComPropSheet;
  ctx->pfnComPropSheet = info->pfnComPropSheet;
  if (!ctx->pfnComPropSheet) return nullptr;
  return reinterpret_cast<HANDLE>(
      ctx->pfnComPropSheet(ctx->hComPropSheet, CPSFUNC_ADD_PROPSHEETPAGEW, reinterpret_cast<LPARAM>(&record), 0));
}

void AddPages(PPROPSHEETUI_INFO info, UiContext *ctx) {
  if (!ctx->bLegacySystem) ctx->hLayoutPage = AddPage(info, ctx, IDD_LAYOUT_PAGE, IDS_LAYOUT_TITLE, LayoutPageProc);
  ctx->hJobSettingsPage = AddPage(info, ctx, IDD_JOB_SETTINGS, IDS_JOB_PAGE_TITLE, JobSettingsPageProc);
  if (ctx->pfnComPropSheet) ctx->pfnComPropSheet(ctx->hComPropSheet, CPSFUNC_SET_HSTARTPAGE, 0, SSP_STDPAGE2);
}

}  // namespace

HRESULT DocumentPropertySheets(PPROPSHEETUI_INFO pInfo, LPARAM lParam, UiContext *ctx) {
  if (!pInfo || pInfo->Version != PROPSHEETUI_INFO_VERSION) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  if (pInfo->Reason == PROPSHEETUI_REASON_INIT && ctx) AddPages(pInfo, ctx);
  AnswerSheetReason(pInfo, lParam);
  return S_OK;
}

}  // namespace qx
