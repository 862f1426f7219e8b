// Stand-ins for the driver and the common property sheet, so that the
// printing-preferences pages can be created and driven in a test process.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "platform/printoem.h"
#include "platform/private_devmode.h"
#include "platform/ui_context.h"
#include "support/fake_driver_ui.h"
#include "support/modeless_sheet.h"
#include "support/plugin_loader.h"

namespace qxtest {

// One call into the common property sheet, with a copy of what a page record
// held at the time (its title lives on the driver's heap).
struct SheetCall {
  UINT function = 0;
  LPARAM lParam1 = 0, lParam2 = 0;
  DWORD recordSize = 0, flags = 0;
  HINSTANCE instance = nullptr;
  LPCWSTR templateName = nullptr;
  std::wstring title;
  bool hasTitle = false;
  DLGPROC proc = nullptr;
  LPARAM pageParam = 0;
  HANDLE actCtx = nullptr;
  HANDLE result = nullptr;
};

// The common property sheet's callback: records every call and turns each
// added page record into a real page with CreatePropertySheetPageW.
class FakeComPropSheet {
 public:
  ~FakeComPropSheet();
  HANDLE handle() { return this; }
  static LONG_PTR CALLBACK Callback(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);

  std::vector<SheetCall> calls;
  bool createPages = true;
  // The page made for `proc`, taken out of this owner's care (a sheet that
  // shows it destroys it); null when none was added.
  HPROPSHEETPAGE TakePage(DLGPROC proc);
  const SheetCall *FindAdd(DLGPROC proc) const;

 private:
  std::vector<std::pair<DLGPROC, HPROPSHEETPAGE>> pages_;
};

// A plug-in object's state as the driver leaves it before the property-sheet
// call: a UI context with a saved OEMCUIPPARAM over a fresh private block,
// a heap of the driver's, the module's resources.
class PreferencesSetup {
 public:
  PreferencesSetup();
  ~PreferencesSetup();
  PreferencesSetup(const PreferencesSetup &) = delete;
  PreferencesSetup &operator=(const PreferencesSetup &) = delete;

  qx::PrivateDevmode &block() { return *reinterpret_cast<qx::PrivateDevmode *>(blockBytes.data()); }
  // Runs the sheet operation with reason INIT against `sheet`.
  HRESULT AddPages(FakeComPropSheet &sheet);
  // Busy blocks on the driver's heap.
  size_t HeapBlocks() const;

  // The module's resources, linked into the test program.
  HMODULE resources = GetModuleHandleW(nullptr);
  HANDLE heap = nullptr;
  OEMUIOBJ driverObject = {sizeof(OEMUIOBJ), nullptr};
  std::vector<BYTE> blockBytes;
  OEMCUIPPARAM param = {};
  FakeDriverUI driver;
  qx::UiContext ctx;
};

// Types `text` into a control, one WM_CHAR each.
void Type(HWND control, const std::wstring &text);
// Pastes `text` through the clipboard; false when the clipboard refused.
bool Paste(HWND control, const std::wstring &text);

}  // namespace qxtest
