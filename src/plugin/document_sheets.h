#pragma once
#include "platform/ui_context.h"

namespace qx {
// Adds the plug-in's pages to printing preferences: "Layout" (unless the
// system is too old for it) and "Extended Settings".
HRESULT DocumentPropertySheets(PPROPSHEETUI_INFO pInfo, LPARAM lParam, UiContext *ctx);
}  // namespace qx
