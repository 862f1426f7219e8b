// Printer properties: the driver's "PasswordMode" device setting follows the
// printer's QXRegion. No page is added; one driver item is adjusted.
#include "activation/activation.h"
#include "platform/sheet_reasons.h"
#include "platform/spooler.h"
#include "printersettings/password_region.h"
#include "printersettings/printer_events.h"
#include "printersettings/printer_settings.h"
#include "printersettings/remote_printer.h"
#include "resource_ids.h"

#include <type_traits>

namespace qx {

// The option-tree code installs it as the driver's OEMCUIPCallback.
static_assert(std::is_same_v<decltype(&PrnPropItemCallback), OEMCUIPCALLBACK>, "PrnPropItemCallback");

namespace {

// Hides the item unless the region lets the administrator choose, and shows
// the stored form as its selection.
void PreparePasswordModeItem(POEMCUIPPARAM param, OPTITEM *item, UiContext *ctx) {
  const DWORD cached = ctx->dwCachedRegion;
  bool readOk = false;
  if (!(cached & kRegionDetermined) && param->hPrinter)
    readOk = ReadPrinterDword(param->hPrinter, kRegionValueName, &ctx->dwCachedRegion) == ERROR_SUCCESS;
  if (IsPasswordModeItemHidden(cached, readOk, ctx->dwCachedRegion)) item->Flags |= OPTIF_HIDE;

  if (param->hPrinter &&
      ReadPrinterDword(param->hPrinter, kRegionValueName, &ctx->dwCachedRegion) == ERROR_SUCCESS)
    item->Sel = PasswordModeSelection(ctx->dwCachedRegion);

  if (ctx->pDriverUI) ctx->pDriverUI->DrvUpdateUISetting(param->poemuiobj, item, 0, OEMCUIP_PRNPROP);
}

// Enabling four-digit passwords lowers security: the administrator confirms.
void ConfirmNumericPasswords(PCPSUICBPARAM cb, POEMCUIPPARAM param) {
  OPTITEM *item = cb->pCurItem;
  if (!IsPasswordModeItem(item) || item->Sel != 1) return;
  HeapString caption = LoadPluginString(PluginModule(), param->hOEMHeap, IDS_ERROR_CAPTION);
  HeapString text = LoadPluginString(PluginModule(), param->hOEMHeap, IDS_CONFIRM_NUMERIC_PASSWORD);
  if (MessageBoxW(cb->hDlg, text.get(), caption.get(), MB_OKCANCEL) == IDCANCEL) item->Sel = 0;
}

// QXRegion is the master copy of the form: apply writes the chosen one back,
// except on a printer that belongs to another computer.
void StorePasswordModes(POEMCUIPPARAM param) {
  if (!param->pDrvOptItems || !param->hPrinter) return;
  for (DWORD i = 0; i < param->cDrvOptItems; ++i) {
    const OPTITEM &item = param->pDrvOptItems[i];
    if (!IsPasswordModeItem(&item)) continue;
    DWORD region = 0;
    uint32_t next = 0;
    if (ReadPrinterDword(param->hPrinter, kRegionValueName, &region) != ERROR_SUCCESS) continue;
    if (!RegionAfterApply(region, item.Sel, &next)) continue;
    DWORD updated = next;
    SpoolerBlock<PRINTER_INFO_2W> info;
    HRESULT hr = FetchPrinterInfo(param->hPrinter, &info);
    if (hr == E_OUTOFMEMORY) break;
    if (FAILED(hr) || IsRemotePrinter(info.get())) continue;
    SetPrinterDataW(param->hPrinter, const_cast<LPWSTR>(kRegionValueName), REG_DWORD,
                    reinterpret_cast<LPBYTE>(&updated), sizeof updated);
  }
}

}  // namespace

bool IsPasswordModeItem(const OPTITEM *item) {
  if (!item || !item->UserData) return false;
  const auto *data = reinterpret_cast<const USERDATA *>(item->UserData);
  return IsPasswordModeKeyword(data->pKeyWordName);
}

HRESULT DevicePropertySheets(PPROPSHEETUI_INFO pInfo, LPARAM lParam, UiContext *ctx) {
  if (!pInfo || pInfo->Version != PROPSHEETUI_INFO_VERSION || !ctx || !ctx->pCuiParam ||
      !ctx->pCuiParam->pDrvOptItems) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  if (pInfo->Reason == PROPSHEETUI_REASON_INIT) {
    POEMCUIPPARAM param = ctx->pCuiParam;
    for (DWORD i = 0; i < param->cDrvOptItems; ++i)
      if (IsPasswordModeItem(&param->pDrvOptItems[i])) PreparePasswordModeItem(param, &param->pDrvOptItems[i], ctx);
  }
  AnswerSheetReason(pInfo, lParam);
  return S_OK;
}

LONG APIENTRY PrnPropItemCallback(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pOemCuipParam) {
  if (!pCallbackParam || !pOemCuipParam) return CPSUICB_ACTION_NONE;
  if (pCallbackParam->Reason == CPSUICB_REASON_SEL_CHANGED)
    ConfirmNumericPasswords(pCallbackParam, pOemCuipParam);
  else if (pCallbackParam->Reason == CPSUICB_REASON_APPLYNOW)
    StorePasswordModes(pOemCuipParam);
  return CPSUICB_ACTION_NONE;
}

}  // namespace qx
