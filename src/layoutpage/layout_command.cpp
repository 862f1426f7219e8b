// The page's reactions to the user: every choice is written into the
// driver's item at once and marked changed; orientation and two-sided choices
// reach the driver at Apply (or when the user leaves the page).
#include "layoutpage/layout_page_items.h"
#include "layoutpage/layout_page.h"
#include "resources/ids_layoutpage.h"

namespace qx {

namespace {

bool BordersFlag(const OPTITEM &nup) { return (nup.Flags & OPTIF_ECB_CHECKED) != 0; }

BYTE ItemOfList(int listId) {
  switch (listId) {
    case IDC_ORIENTATION_LIST: return DMPUB_ORIENTATION;
    case IDC_DUPLEX_LIST: return DMPUB_DUPLEX;
    case IDC_PAGEORDER_LIST: return DMPUB_PAGEORDER;
    case IDC_PERSHEET_LIST: return DMPUB_NUP;
    case IDC_NUPDIRECTION_LIST: return kReducedLayoutBuild ? 0 : DMPUB_NUP_DIRECTION;
    case IDC_BINDINGEDGE_LIST: return kReducedLayoutBuild ? 0 : DMPUB_BOOKLET_EDGE;
    default: return 0;
  }
}

// Two-sided set to "None" ends the booklet, which needs both sides.
void DropBooklet(HWND page, const OEMCUIPPARAM *block, bool pageOrder) {
  for (DWORD i = 0; i < block->cDrvOptItems; ++i) {
    OPTITEM &nup = block->pDrvOptItems[i];
    if (nup.DMPubID != DMPUB_NUP || nup.Sel != kNupBooklet || !StoreOption(nup, 1)) continue;
    ApplyPageFormat(page, BookletDroppedForOneSided(pageOrder, kReducedLayoutBuild));
  }
}

INT_PTR OnListChange(HWND page, int listId, const OEMCUIPPARAM *block) {
  const BYTE dmPubId = ItemOfList(listId);
  if (!dmPubId) return 1;
  OPTITEM *item = FindLayoutItem(block, dmPubId);
  if (!item || !item->pOptType) return 1;
  // Entries carry their option index; a list without a selection stores nothing.
  const long option = SelectedOption(page, listId);
  if (option < 0) return 1;
  const bool pageOrder = PageOrderPresent(block);

  if (dmPubId == DMPUB_ORIENTATION) {
    const bool turned = item->Sel != option;
    if (!StoreOption(*item, option)) return 1;
    OPTITEM *duplex = FindLayoutItem(block, DMPUB_DUPLEX);
    if (turned && duplex && duplex->pOptType) {
      RebuildDuplexList(page, block, duplex, option != 0);
      SelectOption(page, IDC_DUPLEX_LIST, duplex->Sel);
      UpdateBookletRadio(page, block);
    }
  } else if (dmPubId == DMPUB_NUP) {
    if (!StoreOption(*item, option)) return 1;
    ApplyPageFormat(page, PagesPerSheetChosen(pageOrder, option, BordersFlag(*item), kReducedLayoutBuild));
  } else {
    if (!StoreOption(*item, option)) return 1;
    if (dmPubId == DMPUB_DUPLEX && option == 0 && IsDlgButtonChecked(page, IDC_BOOKLET_RADIO) == BST_CHECKED)
      DropBooklet(page, block, pageOrder);
  }
  NotifyChanged(page);
  Repaint(page);
  return 1;
}

// Booklet: pages per sheet becomes the booklet option and two-sided printing
// an option that prints both sides; the list shows the option stored.
// Returns false, storing nothing, when the items offer no booklet.
bool ChooseBooklet(HWND page, const OEMCUIPPARAM *block, OPTITEM &nup) {
  if (!BookletOfferedBy(block)) return false;
  OPTITEM *duplex = FindLayoutItem(block, DMPUB_DUPLEX);
  const long twoSided = BookletDuplexOption(ReadOptionList(*duplex));
  if (duplex->Sel != twoSided) StoreOption(*duplex, twoSided);
  SelectOption(page, IDC_DUPLEX_LIST, duplex->Sel);
  return StoreOption(nup, kNupBooklet);
}

INT_PTR OnButtonClick(HWND page, int id, const OEMCUIPPARAM *block, IPrintOemDriverUI *driver) {
  if (id != IDC_PERSHEET_RADIO && id != IDC_BOOKLET_RADIO && id != IDC_BORDERS_CHECK) return 1;
  OPTITEM *nup = FindLayoutItem(block, DMPUB_NUP);
  if (!nup || !nup->pOptType) return 1;
  if (id == IDC_BORDERS_CHECK && kReducedLayoutBuild) return 1;  // hidden on this build
  const bool pageOrder = PageOrderPresent(block);
  if (id == IDC_BOOKLET_RADIO && !ChooseBooklet(page, block, *nup)) {
    // The radio may have checked itself: show the choice that stands.
    ApplyPageFormat(page, FillPageFormat(pageOrder, nup->Sel, BordersFlag(*nup), kReducedLayoutBuild));
    UpdateBookletRadio(page, block);
    return 1;
  }
  nup->Flags |= OPTIF_CHANGEONCE;

  if (id == IDC_BORDERS_CHECK) {
    if (pageOrder) {
      const bool checked = IsDlgButtonChecked(page, IDC_BORDERS_CHECK) == BST_CHECKED;
      if (checked) nup->Flags |= OPTIF_ECB_CHECKED;
      else nup->Flags &= ~OPTIF_ECB_CHECKED;
      driver->DrvUpdateUISetting(block->poemuiobj, nup, 0, OEMCUIP_DOCPROP);
      NotifyChanged(page);
      return 1;
    }
    EnableWindow(GetDlgItem(page, IDC_PERSHEET_LIST), TRUE);
  } else if (id == IDC_PERSHEET_RADIO) {
    if (nup->Sel == kNupBooklet && StoreOption(*nup, 1)) SelectOption(page, IDC_PERSHEET_LIST, 1);
    ApplyPageFormat(page, PerSheetRadioClicked(pageOrder, nup->Sel, BordersFlag(*nup), kReducedLayoutBuild));
  } else {
    ApplyPageFormat(page, BookletRadioClicked(pageOrder, BordersFlag(*nup), kReducedLayoutBuild));
  }
  NotifyChanged(page);
  Repaint(page);
  return 1;
}

}  // namespace

INT_PTR OnLayoutCommand(HWND page, WPARAM wParam, const OEMCUIPPARAM *block, IPrintOemDriverUI *driver) {
  if (!page || !block || !driver) return 0;
  const int code = HIWORD(wParam);
  const int id = LOWORD(wParam);
  if (code == CBN_SELCHANGE) return OnListChange(page, id, block);
  if (code == BN_CLICKED) return OnButtonClick(page, id, block, driver);
  return 0;
}

void CommitLayoutItems(const OEMCUIPPARAM *block, IPrintOemDriverUI *driver) {
  if (!block || !driver || !block->pDrvOptItems) return;
  for (DWORD i = 0; i < block->cDrvOptItems; ++i) {
    OPTITEM &item = block->pDrvOptItems[i];
    if (ShouldCommitItem(item.DMPubID, item.pOptType != nullptr, (item.Flags & OPTIF_CHANGEONCE) != 0,
                         item.pOptType && SelWarned(item)))
      driver->DrvUpdateUISetting(block->poemuiobj, &item, 0, OEMCUIP_DOCPROP);
  }
}

}  // namespace qx
