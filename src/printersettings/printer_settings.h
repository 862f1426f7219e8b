#pragma once
#include "frame/ui_context.h"

namespace qx {
// Printer properties: the password-mode setting.
HRESULT DevicePropertySheets(PPROPSHEETUI_INFO pInfo, LPARAM lParam, UiContext *ctx);
// Installation and driver upgrade: the printer's password form.
HRESULT PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam, UiContext *ctx);
HRESULT UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo, UiContext *ctx);
}  // namespace qx
