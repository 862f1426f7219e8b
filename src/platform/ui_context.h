// The per-object record that every forwarded operation and both property
// pages share. The plug-in object owns it; the pages get it as their lParam.
#pragma once

#include <memory>

#include "platform/printoem.h"
#include "ppd/ppd_model.h"

namespace qx {

struct UiContext {
  std::unique_ptr<PpdModel> pPpdModel;    // built on first need by the option tree code
  HANDLE hComPropSheet = nullptr;         // the common property sheet, from PROPSHEETUI_INFO
  HANDLE hJobSettingsPage = nullptr;      // "Extended Settings" page as the sheet returned it
  POEMCUIPPARAM pCuiParam = nullptr;      // borrowed: latest CommonUIProp block
  PFNCOMPROPSHEET pfnComPropSheet = nullptr;
  IPrintOemDriverUI *pDriverUI = nullptr; // borrowed: the plug-in object holds the reference
  BOOL bLegacySystem = FALSE;             // older than NT 5.1 SP3: no Layout page
  HANDLE hLayoutPage = nullptr;           // "Layout" page as the sheet returned it
  DWORD dwCachedRegion = 0;               // last QXRegion value read or written
  DWORD dwCachedPasswordMode = 1;         // 1 = eight characters, 0 = four digits
};

}  // namespace qx
