#include "printersettings/printer_settings.h"

namespace qx {
HRESULT DevicePropertySheets(PPROPSHEETUI_INFO, LPARAM, UiContext *) { return E_NOTIMPL; }
HRESULT PrinterEvent(PWSTR, INT, DWORD, LPARAM, UiContext *) { return E_NOTIMPL; }
HRESULT UpgradePrinter(DWORD, PBYTE, UiContext *) { return E_NOTIMPL; }
LONG APIENTRY PrnPropItemCallback(PCPSUICBPARAM, POEMCUIPPARAM) { return CPSUICB_ACTION_NONE; }
bool IsPasswordModeItem(const OPTITEM *) { return false; }
}  // namespace qx
