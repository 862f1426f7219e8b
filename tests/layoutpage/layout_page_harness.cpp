#include "layoutpage/layout_page_harness.h"

#include <gtest/gtest.h>

#include "layoutpage/layout_page.h"

namespace qxtest {

namespace {

// The sheet's window procedure is replaced to count PSM_CHANGED.
WNDPROC g_sheetProc;
HWND g_page;
int g_changed;

LRESULT CALLBACK CountingSheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == PSM_CHANGED && reinterpret_cast<HWND>(wParam) == g_page) ++g_changed;
  return CallWindowProcW(g_sheetProc, hwnd, message, wParam, lParam);
}

}  // namespace

LayoutItems::LayoutItems(const std::vector<ItemSpec> &specs) {
  for (const ItemSpec &s : specs) {
    OPTITEM &item = AddUnnamed(s.dmPubId, nullptr, s.withOptions ? s.count : 0, s.sel);
    item.Flags = s.flags;
    for (WORD k = 0; k < s.count && s.withOptions; ++k)
      if (s.warned & (1u << k)) item.pOptType->pOptParam[k].Flags = OPTPF_OVERLAY_WARNING_ICON;
  }
}

OPTITEM &LayoutItems::Find(BYTE dmPubId) {
  if (OPTITEM *item = DriverItems::Find(dmPubId)) return *item;
  ADD_FAILURE() << "no item " << int(dmPubId);
  return (*this)[0];
}

LayoutPageHarness::LayoutPageHarness(const std::vector<ItemSpec> &specs, bool withContext, HMODULE resources,
                                     bool withDriverHeap)
    : items_(specs) {
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_USEREX_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  if (withDriverHeap) heap_ = HeapCreate(0, 0, 0);
  block_.cbSize = sizeof block_;
  block_.poemuiobj = &uiobj_;
  block_.hModule = resources ? resources : resources_;
  block_.hOEMHeap = heap_;
  block_.pDrvOptItems = items_.count() ? items_.data() : nullptr;
  block_.cDrvOptItems = items_.count();
  context_.pCuiParam = &block_;
  context_.pDriverUI = &driver_;

  PROPSHEETPAGEW psp = {};
  psp.dwSize = sizeof psp;
  psp.hInstance = resources_;
  psp.pszTemplate = MAKEINTRESOURCEW(IDD_LAYOUT_PAGE);
  psp.pfnDlgProc = qx::LayoutPageProc;
  psp.lParam = withContext ? reinterpret_cast<LPARAM>(&context_) : 0;
  HPROPSHEETPAGE handle = CreatePropertySheetPageW(&psp);
  EXPECT_NE(handle, nullptr);
  sheet_ = std::make_unique<ModelessSheet>(handle);
  EXPECT_NE(sheet(), nullptr);
  if (!sheet()) return;
  page_ = sheet_->page();
  EXPECT_NE(page_, nullptr);
  g_page = page_;
  g_changed = 0;
  g_sheetProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(sheet(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountingSheetProc)));
}

LayoutPageHarness::~LayoutPageHarness() {
  if (sheet()) {
    SetWindowLongPtrW(sheet(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_sheetProc));
    sheet_->Close();  // before the heap the page's strings live on
  }
  g_page = nullptr;
  if (heap_) HeapDestroy(heap_);
}

int LayoutPageHarness::changedCount() const { return g_changed; }

std::vector<ListEntryView> LayoutPageHarness::Entries(int listId) const {
  std::vector<ListEntryView> out;
  HWND list = Control(listId);
  const int n = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
  wchar_t buf[128];
  for (int i = 0; i < n; ++i) {
    WCHAR cls[32] = {};
    GetClassNameW(list, cls, 32);
    if (lstrcmpiW(cls, WC_COMBOBOXEXW) == 0) {
      COMBOBOXEXITEMW item = {};
      item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_LPARAM;
      item.iItem = i;
      item.pszText = buf;
      item.cchTextMax = 128;
      SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
      EXPECT_EQ(item.iSelectedImage, item.iImage);
      out.push_back({buf, item.iImage, item.lParam});
    } else {
      SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
      out.push_back({buf, -1, static_cast<LPARAM>(SendMessageW(list, CB_GETITEMDATA, i, 0))});
    }
  }
  return out;
}

std::wstring LayoutPageHarness::Text(int id) const {
  wchar_t buf[128] = {};
  GetWindowTextW(Control(id), buf, 128);
  return buf;
}

void LayoutPageHarness::Choose(int listId, int position) {
  SendMessageW(Control(listId), CB_SETCURSEL, position, 0);
  SendMessageW(page_, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(Control(listId)));
}

void LayoutPageHarness::Click(int id) {
  // A user cannot click a disabled control (and Wine's BM_CLICK on one never returns).
  if (!Enabled(id)) {
    ADD_FAILURE() << "control " << id << " is disabled";
    return;
  }
  SendMessageW(Control(id), BM_CLICK, 0, 0);
}

LRESULT LayoutPageHarness::Notify(UINT code) {
  PSHNOTIFY n = {};
  n.hdr.hwndFrom = sheet();
  n.hdr.code = code;
  // The dialog procedure's own result (SendMessage would give DWLP_MSGRESULT).
  return qx::LayoutPageProc(page_, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&n));
}

void LayoutPageHarness::Refill() { SendMessageW(page_, WM_SHOWWINDOW, TRUE, 0); }

}  // namespace qxtest
