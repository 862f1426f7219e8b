// Hand-made stroke glyphs (digits and the letter A), so that the artwork
// does not depend on the fonts installed on the build machine.
#pragma once

#include <cairo.h>

#include <string>

namespace artwork {

constexpr double kPi = 3.14159265358979323846;

struct Rgb {
  double r, g, b;
};

// Width in pixels of a number drawn with the given digit height.
double NumberWidth(const std::string &digits, double height);

// Draws the digits centred on (cx, cy), each digit `height` pixels tall.
void DrawNumber(cairo_t *cr, const std::string &digits, double cx, double cy, double height, Rgb color);

// Draws a capital A in a box of width w, height h at (x, y), stroke `width`.
void DrawLetterA(cairo_t *cr, double x, double y, double w, double h, double width, Rgb color);

}  // namespace artwork
