// The driver calls this when the user changes an item of the document
// properties and when the sheet is applied.
#include "optiontree/driver_items.h"
#include "optiontree/layout_item_sets.h"
#include "optiontree/option_tree.h"

namespace qx {
namespace {

// The colour-mode item follows the colour item: disabled for monochrome,
// and given the colour item's selection where it has such an option.
void CoupleColorMode(const OPTITEM &color, POEMCUIPPARAM p, UiContext *ctx) {
  if (!p->pDrvOptItems) return;
  for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
    OPTITEM &item = p->pDrvOptItems[i];
    if (!IsColorModeItem(item)) continue;
    if (color.Sel == 0)
      item.Flags |= OPTIF_DISABLED;
    else
      item.Flags &= ~OPTIF_DISABLED;
    // A selection the colour-mode item does not have would send the driver
    // past the end of its options.
    if (ItemParam(item, color.Sel)) item.Sel = color.Sel;
    // The sheet redraws only the items marked changed.
    item.Flags |= OPTIF_CHANGED;
    if (ctx && ctx->pDriverUI) ctx->pDriverUI->DrvUpdateUISetting(p->poemuiobj, &item, 0, OEMCUIP_DOCPROP);
    return;
  }
}

// Hands the driver every layout item the Layout page changed, unless its
// selection shows the warning overlay.
void CommitLayoutItems(POEMCUIPPARAM p, UiContext *ctx) {
  if (!ctx || !ctx->pDriverUI || !p->pDrvOptItems) return;
  for (DWORD i = 0; i < p->cDrvOptItems; ++i) {
    OPTITEM &item = p->pDrvOptItems[i];
    if (!IsCommittedLayoutItem(item.DMPubID) || !item.pOptType || !(item.Flags & OPTIF_CHANGEONCE)) continue;
    const OPTPARAM *selected = ItemParam(item, item.Sel);
    if (!selected || (selected->Flags & OPTPF_OVERLAY_WARNING_ICON)) continue;
    HRESULT hr = ctx->pDriverUI->DrvUpdateUISetting(p->poemuiobj, &item, item.Sel, OEMCUIP_DOCPROP);
    if (hr == S_OK && item.DMPubID == DMPUB_DUPLEX && p->pPublicDM)
      p->pPublicDM->dmDuplex = DuplexFromSelection(item.Sel);
  }
}

}  // namespace

LONG APIENTRY DocPropItemCallback(PCPSUICBPARAM pCallbackParam, POEMCUIPPARAM pParam) {
  if (!pCallbackParam || !pParam) return CPSUICB_ACTION_OPTIF_CHANGED;
  auto *ctx = static_cast<UiContext *>(pParam->pOEMUserData);
  switch (pCallbackParam->Reason) {
    case CPSUICB_REASON_SEL_CHANGED:
      if (pCallbackParam->pCurItem && pCallbackParam->pCurItem->DMPubID == DMPUB_COLOR)
        CoupleColorMode(*pCallbackParam->pCurItem, pParam, ctx);
      return CPSUICB_ACTION_OPTIF_CHANGED;
    case CPSUICB_REASON_APPLYNOW:
      CommitLayoutItems(pParam, ctx);
      return CPSUICB_ACTION_ITEMS_APPLIED;
    default:
      return CPSUICB_ACTION_OPTIF_CHANGED;
  }
}

}  // namespace qx
