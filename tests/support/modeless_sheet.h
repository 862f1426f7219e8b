// A modeless property sheet around one page, as the common property sheet
// shows the plug-in's pages, and the message pump that drives it.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

namespace qxtest {

class ModelessSheet {
 public:
  // Shows `page` (the sheet takes it over); sheet() is null when that failed.
  explicit ModelessSheet(HPROPSHEETPAGE page);
  ~ModelessSheet();
  ModelessSheet(const ModelessSheet &) = delete;
  ModelessSheet &operator=(const ModelessSheet &) = delete;

  HWND sheet() const { return sheet_; }
  HWND page() const { return sheet_ ? PropSheet_GetCurrentPageHwnd(sheet_) : nullptr; }
  HWND item(int id) const { return GetDlgItem(page(), id); }
  std::wstring Text(int id) const;
  // Sends the notification to the page as the sheet would; returns the
  // page's DWLP_MSGRESULT.
  LONG_PTR Notify(UINT code);
  // Presses a sheet button and processes what it posted.
  void Press(int button);
  void Close();

 private:
  HWND sheet_ = nullptr;
};

// Dispatches every message waiting for this thread.
void PumpMessages();

}  // namespace qxtest
