// Writes cairo images as Windows bitmap and icon files.
#pragma once

#include <cairo.h>

#include <string>

namespace artwork {

// A 24-bit uncompressed BMP. Pixels that the drawing left (nearly)
// transparent become `key`; the others are composed over white, the usual
// window colour, so anti-aliased edges meet the page's background cleanly.
// No drawn pixel is ever exactly `key`.
bool WriteBitmap(const std::string &path, cairo_surface_t *image, unsigned key);

// A one-image icon file: 32 bits with alpha plus the 1-bit AND mask
// (set where the image is fully transparent).
bool WriteIcon(const std::string &path, cairo_surface_t *image);

}  // namespace artwork
