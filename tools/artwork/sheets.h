// The preview's sheet pictures and binding overlays, 200 x 170 pixels, drawn
// on a transparent image (WriteBitmap turns it into the keyed background).
#pragma once

#include <cairo.h>

namespace artwork {

constexpr int kPictureWidth = 200, kPictureHeight = 170;

// n: pages per sheet option (0..5 for 1, 2, 4, 6, 9, 16; 6 booklet);
// variant: reading order (0 right then down, 1 down then right, 2 left then
// down, 3 down then left) or, for the booklet, 0 bound left and 1 bound right.
cairo_surface_t *DrawSheetPicture(bool colour, bool landscape, int n, int variant);

// The sheet of the matching picture filled with the overlay key colour, a
// dotted binding line along its left or top edge and its back side (page 2)
// turned over that edge.
cairo_surface_t *DrawBindingOverlay(bool landscape, int n, bool topEdge);

}  // namespace artwork
