#include "layoutpage/layout_page_items.h"

#include <commctrl.h>
#include <prsht.h>

#include "platform/spooler.h"
#include "resources/ids_layoutpage.h"

namespace qx {

OPTITEM *FindLayoutItem(const OEMCUIPPARAM *block, BYTE dmPubId) {
  if (!block || !block->pDrvOptItems) return nullptr;
  for (DWORD i = 0; i < block->cDrvOptItems; ++i)
    if (block->pDrvOptItems[i].DMPubID == dmPubId) return &block->pDrvOptItems[i];
  return nullptr;
}

bool PageOrderPresent(const OEMCUIPPARAM *block) { return FindLayoutItem(block, DMPUB_PAGEORDER) != nullptr; }

OptionList ReadOptionList(const OPTITEM &item) {
  OptionList list;
  list.sel = item.Sel;
  if (!item.pOptType) return list;
  list.count = item.pOptType->Count;
  if (item.pOptType->pOptParam) {
    for (int k = 0; k < list.count && k < 32; ++k)
      if (item.pOptType->pOptParam[k].Flags & OPTPF_OVERLAY_WARNING_ICON) list.warned |= 1u << k;
  }
  return list;
}

bool SelWarned(const OPTITEM &item) {
  // Only an option that exists is looked at.
  return IsWarned(ReadOptionList(item), item.Sel);
}

bool StoreOption(OPTITEM &item, long option) {
  if (!item.pOptType || option < 0 || option >= item.pOptType->Count) return false;
  item.Sel = option;
  item.Flags |= OPTIF_CHANGEONCE;
  return true;
}

static OptionList OptionsOf(const OPTITEM *item) { return item ? ReadOptionList(*item) : OptionList{}; }

bool BookletOfferedBy(const OEMCUIPPARAM *block) {
  return BookletOffered(OptionsOf(FindLayoutItem(block, DMPUB_NUP)).count, PageOrderPresent(block),
                        OptionsOf(FindLayoutItem(block, DMPUB_DUPLEX)));
}

static bool IsIconList(int listId) {
  return listId == IDC_ORIENTATION_LIST || listId == IDC_DUPLEX_LIST || listId == IDC_PAGEORDER_LIST;
}

void FillList(HWND page, int listId, const OEMCUIPPARAM *block, int firstText, const ListEntries &entries) {
  HWND list = GetDlgItem(page, listId);
  SendMessageW(list, CB_RESETCONTENT, 0, 0);
  auto *module = static_cast<HMODULE>(block->hModule);
  for (int i = 0; i < entries.count; ++i) {
    const ListEntry &e = entries.entry[i];
    HeapString text = LoadPluginString(module, block->hOEMHeap, firstText + e.option);
    if (!text) continue;
    if (IsIconList(listId)) {
      COMBOBOXEXITEMW item = {};
      item.mask = CBEIF_TEXT | CBEIF_IMAGE | CBEIF_SELECTEDIMAGE | CBEIF_INDENT | CBEIF_LPARAM;
      item.iItem = -1;  // append
      item.pszText = text.get();
      item.iImage = e.image;
      item.iSelectedImage = e.image;
      item.iIndent = 0;
      item.lParam = e.option;
      SendMessageW(list, CBEM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    } else {
      LRESULT pos = SendMessageW(list, CB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(text.get()));
      if (pos >= 0) SendMessageW(list, CB_SETITEMDATA, pos, e.option);
    }
  }
}

static long OptionAt(HWND list, int listId, int position) {
  if (IsIconList(listId)) {
    COMBOBOXEXITEMW item = {};
    item.mask = CBEIF_LPARAM;
    item.iItem = position;
    if (!SendMessageW(list, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return -1;
    return static_cast<long>(item.lParam);
  }
  LRESULT data = SendMessageW(list, CB_GETITEMDATA, position, 0);
  return data == CB_ERR ? -1 : static_cast<long>(data);
}

void SelectOption(HWND page, int listId, long option) {
  HWND list = GetDlgItem(page, listId);
  const int count = ListEntryCount(page, listId);
  int found = -1;
  for (int pos = 0; pos < count && found < 0; ++pos)
    if (OptionAt(list, listId, pos) == option) found = pos;
  SendMessageW(list, CB_SETCURSEL, static_cast<WPARAM>(found), 0);
}

long SelectedOption(HWND page, int listId) {
  const int pos = ListPosition(page, listId);
  if (pos < 0) return -1;
  return OptionAt(GetDlgItem(page, listId), listId, pos);
}

int ListPosition(HWND page, int listId) {
  return static_cast<int>(SendDlgItemMessageW(page, listId, CB_GETCURSEL, 0, 0));
}

int ListEntryCount(HWND page, int listId) {
  const LRESULT n = SendDlgItemMessageW(page, listId, CB_GETCOUNT, 0, 0);
  return n < 0 ? 0 : static_cast<int>(n);
}

void EnablePair(HWND page, int listId, int labelId, bool enable) {
  EnableWindow(GetDlgItem(page, listId), enable);
  EnableWindow(GetDlgItem(page, labelId), enable);
}

static void Check(HWND page, int id, Set s) {
  if (s != Set::Leave) CheckDlgButton(page, id, s == Set::On ? BST_CHECKED : BST_UNCHECKED);
}
static void Enable(HWND page, int id, Set s) {
  if (s != Set::Leave) EnableWindow(GetDlgItem(page, id), s == Set::On);
}

void ApplyPageFormat(HWND page, const PageFormatControls &c) {
  Check(page, IDC_BOOKLET_RADIO, c.bookletCheck);
  Check(page, IDC_PERSHEET_RADIO, c.perSheetCheck);
  Enable(page, IDC_BOOKLET_RADIO, c.bookletEnable);
  Enable(page, IDC_PERSHEET_LIST, c.perSheetEnable);
  if (c.perSheetSelect >= 0) SelectOption(page, IDC_PERSHEET_LIST, c.perSheetSelect);
  Enable(page, IDC_NUPDIRECTION_LIST, c.directionEnable);
  Enable(page, IDC_NUPDIRECTION_LABEL, c.directionEnable);
  Enable(page, IDC_BINDINGEDGE_LIST, c.edgeEnable);
  Enable(page, IDC_BINDINGEDGE_LABEL, c.edgeEnable);
  Check(page, IDC_BORDERS_CHECK, c.bordersCheck);
  Enable(page, IDC_BORDERS_CHECK, c.bordersEnable);
}

void UpdateBookletRadio(HWND page, const OEMCUIPPARAM *block) {
  EnableWindow(GetDlgItem(page, IDC_BOOKLET_RADIO), BookletOfferedBy(block));
}

void NotifyChanged(HWND page) {
  SendMessageW(GetParent(page), PSM_CHANGED, reinterpret_cast<WPARAM>(page), 0);
}

void Repaint(HWND page) { InvalidateRect(page, nullptr, TRUE); }

}  // namespace qx
