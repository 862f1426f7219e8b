// The common property sheet as the driver runs it for its plug-ins: the
// plug-in adds pages through the sheet callback (pfnComPropSheet), the host
// shows them in a real property sheet after a page of its own that shows the
// driver's option items as the driver would (hidden items absent, disabled
// items grey, options with a warning overlay and their items marked "[!]"),
// and reports
// selection changes and Apply to the plug-in's item callback.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/option_items.h"

namespace qxhost {

constexpr int kItemLabelIdBase = 3000;  // + item index
constexpr int kItemListIdBase = 4000;   // + item index
constexpr wchar_t kWarningMark[] = L"[!] ";

struct SheetPage {
  HPROPSHEETPAGE handle = nullptr;
  std::wstring title;
  bool fromPlugin = false;
  SIZE pixels = {0, 0};  // as its template and font make it
};

class HostSheet {
 public:
  explicit HostSheet(CallLog *log);
  ~HostSheet();
  HostSheet(const HostSheet &) = delete;
  HostSheet &operator=(const HostSheet &) = delete;

  // The record for the plug-in's DocumentPropertySheets/DevicePropertySheets.
  PROPSHEETUI_INFO Info(WORD reason, LPARAM lParamInit);
  static LONG_PTR CALLBACK ComPropSheet(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2);

  // The driver's own page, shown first.
  void SetDriverPage(const std::wstring &title, ItemTree *items, POEMCUIPPARAM param);

  // Opens the sheet without blocking; false when no window can be made.
  bool Open(const std::wstring &caption);
  HWND window() const { return sheet_; }
  const std::vector<SheetPage> &pages() const { return pages_; }
  int startPage() const { return startPage_; }
  LRESULT pluginResult() const { return pluginResult_; }
  bool applied() const { return driverPage_.applied; }
  ItemTree *driverItems() const { return driverPage_.items; }
  HWND driverPageWindow() const { return driverPage_.window; }

  // Makes page `index` current and returns its window.
  HWND ShowPage(int index);
  // Lets the sheet handle its messages for about `ms` milliseconds.
  void Pump(DWORD ms);
  // Saves the sheet window's pixels as a 24-bit BMP.
  bool Capture(const std::wstring &path);
  // Presses OK (or Cancel) and waits until the sheet has closed.
  void Close(bool ok);
  // Runs until the person closes the sheet.
  void RunUntilClosed();
  // Changes the selection of driver item `item` as the user would, through
  // the page's list; false when the item or option is not shown.
  bool SelectOnDriverPage(int item, int option);

 private:
  struct DriverPage {
    HostSheet *sheet = nullptr;
    ItemTree *items = nullptr;
    POEMCUIPPARAM param = nullptr;
    HWND window = nullptr;
    bool applied = false;
    std::wstring title;
    std::vector<BYTE> templ;
    short labelWidth = 0;  // dialog units of the page's font, long enough
    short listWidth = 0;   // for the longest name and the longest option
  };
  static INT_PTR CALLBACK DriverPageProc(HWND, UINT, WPARAM, LPARAM);
  static void LayOutDriverPage(DriverPage *page);
  // Sizes the driver's page: columns for its longest texts, and at least as
  // large in pixels as every plug-in page.
  void SizeDriverPage(short *width, short *height);
  static void RefreshDriverPage(DriverPage *page);
  static LONG CallItemCallback(DriverPage *page, WORD reason, OPTITEM *current, LONG oldSel);
  bool Closed() const;

  CallLog *log_;
  std::vector<SheetPage> pages_;  // plug-in pages, in the order added
  DriverPage driverPage_;
  HWND sheet_ = nullptr;
  bool shown_ = false;
  int startPage_ = -1;
  LRESULT pluginResult_ = 0;
};

}  // namespace qxhost
