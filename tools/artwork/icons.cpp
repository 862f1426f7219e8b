#include "icons.h"

#include "glyphs.h"

namespace artwork {
namespace {

constexpr int kSize = 20;
constexpr Rgb kEdge{0.33, 0.33, 0.36};
constexpr Rgb kLine{0.62, 0.62, 0.65};
constexpr Rgb kBlue{0.13, 0.45, 0.80};
constexpr Rgb kBinding{0.0, 0.6, 0.24};

struct Box {
  int x, y, w, h;
};

void SetColor(cairo_t *cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void Fill(cairo_t *cr, Box b, Rgb c) {
  SetColor(cr, c);
  cairo_rectangle(cr, b.x, b.y, b.w, b.h);
  cairo_fill(cr);
}

// A sheet of paper with a one-pixel edge; `back` shades the reverse side.
void Paper(cairo_t *cr, Box b, bool back = false) {
  Fill(cr, b, kEdge);
  Fill(cr, Box{b.x + 1, b.y + 1, b.w - 2, b.h - 2}, back ? Rgb{0.86, 0.88, 0.92} : Rgb{1, 1, 1});
}

// Text lines across a page (horizontal) or down it (vertical).
void Lines(cairo_t *cr, Box b, bool vertical, int first = 0) {
  if (!vertical) {
    for (int y = b.y + 3 + first; y < b.y + b.h - 2; y += 2) Fill(cr, Box{b.x + 2, y, b.w - 4, 1}, kLine);
  } else {
    for (int x = b.x + 3 + first; x < b.x + b.w - 2; x += 2) Fill(cr, Box{x, b.y + 2, 1, b.h - 4}, kLine);
  }
}

// A page with an A showing which way its content reads.
void OrientationPage(cairo_t *cr, IconPicture p) {
  if (p == IconPicture::Portrait) {
    Paper(cr, Box{3, 1, 14, 18});
    DrawLetterA(cr, 5.5, 4.5, 9, 11, 1.7, kBlue);
    return;
  }
  Paper(cr, Box{1, 3, 18, 14});
  // Landscape: the top of the content lies to the left; rotated: to the right.
  cairo_save(cr);
  cairo_translate(cr, 10, 10);
  cairo_rotate(cr, p == IconPicture::Landscape ? -kPi / 2 : kPi / 2);
  DrawLetterA(cr, -4.5, -5.5, 9, 11, 1.7, kBlue);
  cairo_restore(cr);
}

// Front (page 1) and back (page 2) joined along the binding edge.
void TwoSided(cairo_t *cr, Box front, Box back, bool stacked) {
  Paper(cr, front);
  Paper(cr, back, true);
  Lines(cr, front, false);
  Lines(cr, back, false);
  if (stacked) Fill(cr, Box{front.x, back.y - 1, front.w, 2}, kBinding);
  else Fill(cr, Box{back.x - 1, front.y, 2, front.h}, kBinding);
}

void Picture(cairo_t *cr, IconPicture p) {
  switch (p) {
    case IconPicture::Portrait:
    case IconPicture::Landscape:
    case IconPicture::RotatedLandscape:
      OrientationPage(cr, p);
      break;
    case IconPicture::OneSided:
      Paper(cr, Box{3, 1, 14, 18});
      Fill(cr, Box{5, 3, 10, 2}, kBlue);
      Lines(cr, Box{3, 4, 14, 15}, false, 1);
      break;
    case IconPicture::FlipShortPortrait:
      TwoSided(cr, Box{5, 0, 10, 10}, Box{5, 10, 10, 10}, true);
      break;
    case IconPicture::FlipLongPortrait:
      TwoSided(cr, Box{0, 3, 10, 14}, Box{10, 3, 10, 14}, false);
      break;
    case IconPicture::FlipShortLandscape:
      TwoSided(cr, Box{0, 5, 10, 9}, Box{10, 5, 10, 9}, false);
      break;
    case IconPicture::FlipLongLandscape:
      TwoSided(cr, Box{3, 1, 14, 9}, Box{3, 10, 14, 9}, true);
      break;
    case IconPicture::Warning:
      break;
  }
}

// A yellow warning triangle with an exclamation mark, `size` wide, its
// lower left corner at (x, y).
void WarningSign(cairo_t *cr, double x, double y, double size, bool halo) {
  const double h = size * 0.88;
  auto triangle = [&](double grow) {
    cairo_new_path(cr);
    cairo_move_to(cr, x + size / 2, y - h - grow);
    cairo_line_to(cr, x + size + grow, y + grow * 0.6);
    cairo_line_to(cr, x - grow, y + grow * 0.6);
    cairo_close_path(cr);
  };
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  if (halo) {
    triangle(1.2);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
  }
  triangle(0);
  cairo_set_source_rgb(cr, 1.0, 0.80, 0.0);
  cairo_fill_preserve(cr);
  cairo_set_source_rgb(cr, 0.72, 0.42, 0.0);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  // The mark: a bar and a dot on the centre line.
  const double cx = x + size / 2, stroke = size >= 14 ? 2 : 1.4;
  cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
  cairo_set_line_width(cr, stroke);
  cairo_move_to(cr, cx, y - h * 0.66);
  cairo_line_to(cr, cx, y - h * 0.34);
  cairo_stroke(cr);
  cairo_rectangle(cr, cx - stroke / 2, y - h * 0.22, stroke, stroke);
  cairo_fill(cr);
}

}  // namespace

cairo_surface_t *DrawIcon(IconPicture picture, bool warned) {
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
  cairo_t *cr = cairo_create(s);
  if (picture == IconPicture::Warning) {
    WarningSign(cr, 1, 18, 18, false);
  } else {
    Picture(cr, picture);
    if (warned) WarningSign(cr, 9.5, 19, 10.5, true);
  }
  cairo_destroy(cr);
  return s;
}

}  // namespace artwork
