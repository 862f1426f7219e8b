// The 20 x 20 icons of the Layout page's lists.
#pragma once

#include <cairo.h>

namespace artwork {

enum class IconPicture {
  Warning,
  Portrait,
  Landscape,
  RotatedLandscape,
  OneSided,
  FlipShortPortrait,   // portrait pages one above the other
  FlipLongPortrait,    // portrait pages side by side
  FlipShortLandscape,  // landscape pages side by side
  FlipLongLandscape,   // landscape pages one above the other
};

// The picture, with a small warning sign in its lower right corner when
// `warned`.
cairo_surface_t *DrawIcon(IconPicture picture, bool warned);

}  // namespace artwork
