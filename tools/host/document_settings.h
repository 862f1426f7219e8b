// Everything a document devmode of the host driver expresses: the choice of
// every PPD feature and the layout settings that have no PPD feature.
#pragma once

#include "host/choices.h"

namespace qxhost {

struct LayoutSettings {
  int orientation = 0;    // 0 portrait, 1 landscape, 2 rotated landscape
  int pagesPerSheet = 0;  // 0..5: 1, 2, 4, 6, 9, 16; 6 booklet
  int pageOrder = 0;      // 0 front to back, 1 back to front
  int nupDirection = 0;   // right then down, down then right, left then down, down then left
  int bookletEdge = 0;    // 0 left, 1 right
  bool drawBorders = false;
  int color = 1;          // 0 monochrome, 1 colour (colour devices only)
};

struct DocumentSettings {
  FeatureChoices choices;
  LayoutSettings layout;
};

}  // namespace qxhost
