// Stand-ins for the PostScript driver in the option tree tests: its
// IPrintOemDriverUI, its option items, and its calls that open a sheet.
#pragma once

#include <gtest/gtest.h>


#include "driversim/driver_items.h"
#include "platform/printoem.h"
#include "support/fake_driver_ui.h"

namespace qxtest {

using DriverItems = qxsim::DriverItems;

// The driver's block for a sheet over `items`, on the process heap.
inline OEMCUIPPARAM SheetParam(DriverItems &items, OEMUIOBJ *uiobj, HMODULE module, HANDLE printer) {
  OEMCUIPPARAM p = {};
  p.cbSize = sizeof p;
  p.poemuiobj = uiobj;
  p.hPrinter = printer;
  p.hModule = module;
  p.hOEMHeap = GetProcessHeap();
  p.pDrvOptItems = items.data();
  p.cDrvOptItems = items.count();
  return p;
}

// The driver's two calls for one sheet: count the plug-in's own items, then
// let it adjust the driver's (with an empty array of its own).
inline void OpenSheet(IPrintOemUI2 *plugin, OEMCUIPPARAM *p, DWORD mode = OEMCUIP_DOCPROP) {
  static OPTITEM noItems = {};
  ASSERT_EQ(plugin->CommonUIProp(mode, p), S_OK);
  p->pOEMOptItems = &noItems;
  ASSERT_EQ(plugin->CommonUIProp(mode, p), S_OK);
}

}  // namespace qxtest
