#pragma once
#include "frame/ui_context.h"

namespace qx {
// Adapts the driver's option items in document and printer properties.
HRESULT CustomizeOptionTree(DWORD dwMode, POEMCUIPPARAM pParam, UiContext *ctx);
}  // namespace qx
