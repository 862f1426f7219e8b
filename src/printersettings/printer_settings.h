#pragma once
#include "platform/ui_context.h"

namespace qx {
// Printer properties: the password-mode setting.
HRESULT DevicePropertySheets(PPROPSHEETUI_INFO pInfo, LPARAM lParam, UiContext *ctx);
// Installation and driver upgrade: the printer's password form.
HRESULT PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam, UiContext *ctx);
HRESULT UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo, UiContext *ctx);

// The driver's item callback in printer properties (an OEMCUIPCALLBACK):
// confirms the numeric password form and writes the chosen form on apply.
// Always returns CPSUICB_ACTION_NONE.
LONG APIENTRY PrnPropItemCallback(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pOemCuipParam);

// True when the item's USERDATA names the PPD feature "PasswordMode" (or a
// keyword that begins with it). False for a missing item, user data or keyword.
bool IsPasswordModeItem(const OPTITEM *item);
}  // namespace qx
