// Rebuilding the page from the driver's items, on every WM_SHOWWINDOW, so
// that changes made on the driver's own pages show here too.
#include "layoutpage/layout_page.h"
#include "layoutpage/layout_page_items.h"
#include "resources/ids_layoutpage.h"

namespace qx {

void RebuildDuplexList(HWND page, const OEMCUIPPARAM *block, const OPTITEM *duplex, bool landscape) {
  if (!page || !block || !duplex) return;
  FillList(page, IDC_DUPLEX_LIST, block, IDS_DUPLEX_FIRST,
           LayoutListEntries(LayoutList::Duplex, ReadOptionList(*duplex), landscape));
}

static void FillOrientation(HWND page, const OEMCUIPPARAM *block, const OPTITEM &item) {
  if (item.Flags & OPTIF_DISABLED) EnablePair(page, IDC_ORIENTATION_LIST, IDC_ORIENTATION_LABEL, false);
  if (!item.pOptType) return;
  FillList(page, IDC_ORIENTATION_LIST, block, IDS_ORIENTATION_FIRST,
           LayoutListEntries(LayoutList::Orientation, ReadOptionList(item)));
  SelectOption(page, IDC_ORIENTATION_LIST, item.Sel);
}

static void FillDuplex(HWND page, const OEMCUIPPARAM *block, const OPTITEM &item) {
  if (item.Flags & OPTIF_DISABLED) EnablePair(page, IDC_DUPLEX_LIST, IDC_DUPLEX_LABEL, false);
  if (!item.pOptType) return;
  const OPTITEM *orientation = FindLayoutItem(block, DMPUB_ORIENTATION);
  RebuildDuplexList(page, block, &item, orientation && orientation->Sel != 0);
  SelectOption(page, IDC_DUPLEX_LIST, item.Sel);
}

static void FillPagesPerSheet(HWND page, const OEMCUIPPARAM *block, const OPTITEM &item, bool pageOrder) {
  if (item.Flags & OPTIF_DISABLED) {
    EnableWindow(GetDlgItem(page, IDC_PERSHEET_LIST), FALSE);
    EnableWindow(GetDlgItem(page, IDC_PERSHEET_RADIO), FALSE);
  }
  if (!item.pOptType) return;
  FillList(page, IDC_PERSHEET_LIST, block, IDS_PERSHEET_FIRST,
           LayoutListEntries(LayoutList::PagesPerSheet, ReadOptionList(item)));
  ApplyPageFormat(page, FillPageFormat(pageOrder, item.Sel, (item.Flags & OPTIF_ECB_CHECKED) != 0, kReducedLayoutBuild));
}

static void FillPlainList(HWND page, const OEMCUIPPARAM *block, const OPTITEM &item, LayoutList kind, int listId,
                          int labelId, int firstText) {
  if (item.Flags & OPTIF_DISABLED) EnablePair(page, listId, labelId, false);
  if (!item.pOptType) return;
  FillList(page, listId, block, firstText, LayoutListEntries(kind, ReadOptionList(item)));
  SelectOption(page, listId, item.Sel);
}

void FillLayoutPage(HWND page, const OEMCUIPPARAM *block) {
  if (!page || !block) return;
  const bool pageOrder = PageOrderPresent(block);
  const DWORD count = block->pDrvOptItems ? block->cDrvOptItems : 0;
  for (DWORD i = 0; i < count; ++i) {
    const OPTITEM &item = block->pDrvOptItems[i];
    switch (item.DMPubID) {
      case DMPUB_ORIENTATION:
        FillOrientation(page, block, item);
        break;
      case DMPUB_DUPLEX:
        FillDuplex(page, block, item);
        break;
      case DMPUB_NUP:
        FillPagesPerSheet(page, block, item, pageOrder);
        break;
      case DMPUB_PAGEORDER:
        FillPlainList(page, block, item, LayoutList::PageOrder, IDC_PAGEORDER_LIST, IDC_PAGEORDER_LABEL,
                      IDS_PAGEORDER_FIRST);
        break;
      case DMPUB_NUP_DIRECTION:
        if (!kReducedLayoutBuild)
          FillPlainList(page, block, item, LayoutList::Direction, IDC_NUPDIRECTION_LIST, IDC_NUPDIRECTION_LABEL,
                        IDS_NUPDIRECTION_FIRST);
        break;
      case DMPUB_BOOKLET_EDGE:
        if (!kReducedLayoutBuild)
          FillPlainList(page, block, item, LayoutList::BindingEdge, IDC_BINDINGEDGE_LIST, IDC_BINDINGEDGE_LABEL,
                        IDS_BINDINGEDGE_FIRST);
        break;
      default:
        break;
    }
  }
  if (!pageOrder) {
    EnablePair(page, IDC_PAGEORDER_LIST, IDC_PAGEORDER_LABEL, false);
    ApplyPageFormat(page, NoPageOrder(kReducedLayoutBuild));
  }
  // Decided once from all the items, whatever order the driver lists them in.
  UpdateBookletRadio(page, block);
}

}  // namespace qx
