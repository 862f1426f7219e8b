#include "jobpage/document_sheets.h"

namespace qx {
HRESULT DocumentPropertySheets(PPROPSHEETUI_INFO, LPARAM, UiContext *) { return E_NOTIMPL; }
}  // namespace qx
