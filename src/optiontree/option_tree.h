#pragma once
#include "platform/ui_context.h"

namespace qx {
// Adapts the driver's option items in document and printer properties.
// Always S_OK. The item callbacks are installed by the caller.
HRESULT CustomizeOptionTree(DWORD dwMode, POEMCUIPPARAM pParam, UiContext *ctx);

// The name of a PPD feature in the plug-in's string table.
struct FeatureName {
  DWORD dwFeatureId;
  WCHAR wszName[256];
};

// Looks up the feature table row for `dmPubId` (or, when that is 0, for the
// PPD keyword) and loads its name from `hModule`. E_INVALIDARG without a
// result, or without keyword and id; E_FAIL when no row matches or the
// string does not load.
HRESULT FindFeatureName(HMODULE hModule, FeatureName *result, LPCWSTR keyword, DWORD dmPubId);

// The printer driver's data file (the PPD), from DRIVER_INFO_3 allocated on
// `heap`. False when the spooler does not answer or the path does not fit.
bool GetPpdFilePath(HANDLE heap, HANDLE hPrinter, WCHAR (&path)[MAX_PATH]);

// The driver's current option for a PPD feature given with its asterisk
// ("*QXTrayUnit"), as a wide option keyword. The driver's failure result is
// passed on; E_FAIL when a text cannot be converted or there is no driver.
HRESULT GetDriverFeatureSetting(POEMUIOBJ poemuiobj, UiContext *ctx, LPCWSTR keyword, WCHAR (&output)[MAX_PATH]);

// The item callback of document properties (an OEMCUIPCALLBACK): couples the
// colour-mode item to the colour item and commits the layout items at Apply.
LONG APIENTRY DocPropItemCallback(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pParam);
}  // namespace qx
