// Which preview bitmaps show a set of layout choices: a plain rule over the
// current option indices of the driver's layout items.
#pragma once

#include <cstdint>

namespace qx {

// Current option index (Sel) of each layout item, 0 when the item is absent.
struct PreviewSettings {
  long color = 0;        // 0 grayscale, 1 colour
  long orientation = 0;  // 0 portrait, 1 landscape, 2 rotated landscape
  long duplex = 0;       // 0 one-sided, 1 flip on short edge, 2 flip on long edge
  long pagesPerSheet = 0;  // 0..5 for 1, 2, 4, 6, 9, 16 pages; 6 booklet
  long direction = 0;    // 0 right then down, 1 down then right, 2 left then down, 3 down then left
  long bookletEdge = 0;  // 0 left, 1 right
};

constexpr long kBookletOption = 6;

// Sets the sheet picture id and the binding overlay id (0: none) for the
// settings. An id the rule does not decide (unknown colour, orientation or
// two-sided option) keeps the value passed in. Without page layout direction
// and booklet edge (older systems) every picture is the first variant.
void ChoosePreviewBitmaps(const PreviewSettings &s, bool useDirectionAndEdge,
                          std::uint32_t *sheetId, std::uint32_t *overlayId);

}  // namespace qx
