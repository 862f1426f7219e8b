#include "optiontree/layout_item_sets.h"

namespace qx {

bool IsCommittedLayoutItem(uint32_t dmPubId, bool reducedLayout) {
  switch (dmPubId) {
    case kPubOrientation:
    case kPubDuplex:
    case kPubNup:
    case kPubPageOrder:
      return true;
    case kPubNupDirection:
    case kPubBookletEdge:
      return !reducedLayout;
    default:
      return false;
  }
}

bool IsHiddenLayoutItem(uint32_t dmPubId, bool reducedLayout) {
  // The page replaces every item it reports at Apply; the full page also
  // replaces manual two-sided printing and stapling, which it never reports.
  if (IsCommittedLayoutItem(dmPubId, reducedLayout)) return true;
  return !reducedLayout && (dmPubId == kPubManualDuplex || dmPubId == kPubStaple);
}

int16_t DuplexFromSelection(long sel) {
  constexpr int16_t kSimplex = 1, kVertical = 2, kHorizontal = 3;  // DMDUP_*
  if (sel == 1) return kHorizontal;
  if (sel == 2) return kVertical;
  return kSimplex;
}

}  // namespace qx
