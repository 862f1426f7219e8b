// A Layout page in a modeless property sheet, over driver items that a test
// builds, with a driver interface that logs what the page reports to it.
#pragma once

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui_context.h"
#include "driversim/driver_items.h"
#include "layoutpage/layout_page_items.h"
#include "resources/ids_layoutpage.h"
#include "support/fake_driver_ui.h"
#include "support/modeless_sheet.h"
#include "support/plugin_loader.h"

namespace qxtest {

// One driver option item as a test describes it.
struct ItemSpec {
  BYTE dmPubId;
  WORD count;
  LONG sel;
  DWORD warned = 0;  // bit k: option k has the warning overlay
  DWORD flags = 0;
  bool withOptions = true;
};

// The driver's items as the specs describe them.
class LayoutItems : public qxsim::DriverItems {
 public:
  explicit LayoutItems(const std::vector<ItemSpec> &specs);
  // First item with the id (the test fails without one).
  OPTITEM &Find(BYTE dmPubId);
};

struct ListEntryView {
  std::wstring text;
  int image;
  LPARAM data;
};

class LayoutPageHarness {
 public:
  // `resources`: the module the page loads its texts from (the plug-in's own
  // by default).
  explicit LayoutPageHarness(const std::vector<ItemSpec> &specs, bool withContext = true,
                             HMODULE resources = nullptr, bool withDriverHeap = true);
  ~LayoutPageHarness();
  LayoutPageHarness(const LayoutPageHarness &) = delete;
  LayoutPageHarness &operator=(const LayoutPageHarness &) = delete;

  HWND sheet() const { return sheet_ ? sheet_->sheet() : nullptr; }
  HWND page() const { return page_; }
  HWND Control(int id) const { return GetDlgItem(page_, id); }
  LayoutItems &items() { return items_; }
  OEMCUIPPARAM &block() { return block_; }
  qx::UiContext &context() { return context_; }
  FakeDriverUI &driver() { return driver_; }
  // PSM_CHANGED messages that named this page.
  int changedCount() const;

  std::vector<ListEntryView> Entries(int listId) const;
  std::wstring Text(int id) const;
  int Selection(int listId) const { return static_cast<int>(SendMessageW(Control(listId), CB_GETCURSEL, 0, 0)); }
  bool Enabled(int id) const { return IsWindowEnabled(Control(id)) != FALSE; }
  bool Checked(int id) const { return IsDlgButtonChecked(page_, id) == BST_CHECKED; }
  // Selects list position `position` as the user would, with its notification.
  void Choose(int listId, int position);
  void Click(int id);
  LRESULT Notify(UINT code);
  void Refill();

 private:
  HMODULE resources_ = GetModuleHandleW(nullptr);  // the module's, linked into the program
  LayoutItems items_;
  HANDLE heap_ = nullptr;
  OEMUIOBJ uiobj_ = {sizeof(OEMUIOBJ), nullptr};
  OEMCUIPPARAM block_ = {};
  qx::UiContext context_;
  FakeDriverUI driver_;
  std::unique_ptr<ModelessSheet> sheet_;
  HWND page_ = nullptr;
};

}  // namespace qxtest
