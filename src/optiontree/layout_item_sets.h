// Which of the driver's layout items the plug-in's Layout page replaces, and
// which of them it reports to the driver at Apply. The NT 5.2 builds show a
// reduced Layout page and so take over fewer items.
#pragma once

#include <cstdint>

#include "platform/build_variant.h"

namespace qx {

// The driver's public ids of its layout items.
enum LayoutPubId : uint32_t {
  kPubOrientation = 1,
  kPubColor = 6,
  kPubDuplex = 7,
  kPubNup = 16,
  kPubPageOrder = 17,
  kPubNupDirection = 18,
  kPubManualDuplex = 19,
  kPubStaple = 20,
  kPubBookletEdge = 21,
};

// Items hidden in document properties (outside legacy systems).
bool IsHiddenLayoutItem(uint32_t dmPubId, bool reducedLayout = kReducedLayoutBuild);

// Items whose changed selection is committed to the driver at Apply.
bool IsCommittedLayoutItem(uint32_t dmPubId, bool reducedLayout = kReducedLayoutBuild);

// The devmode's two-sided value for a selection of the two-sided item:
// 1 flip on short edge (horizontal, 3), 2 flip on long edge (vertical, 2),
// anything else one-sided (1).
int16_t DuplexFromSelection(long sel);

}  // namespace qx
