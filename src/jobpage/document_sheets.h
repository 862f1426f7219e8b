#pragma once
#include "frame/ui_context.h"

namespace qx {
// Adds the plug-in's pages to printing preferences.
HRESULT DocumentPropertySheets(PPROPSHEETUI_INFO pInfo, LPARAM lParam, UiContext *ctx);
}  // namespace qx
