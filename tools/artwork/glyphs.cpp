#include "glyphs.h"

#include <algorithm>
#include <cmath>

namespace artwork {
namespace {

// Digits are designed on a box 5 units wide and 8 high, y pointing down;
// their centre lines are stroked.
constexpr double kUnitsWide = 5.0, kUnitsHigh = 8.0;

double Rad(double degrees) { return degrees * kPi / 180.0; }

void DigitPath(cairo_t *cr, char digit) {
  switch (digit) {
    case '0':
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 2.5, 2.5, Rad(180), Rad(360));
      cairo_line_to(cr, 5, 5.5);
      cairo_arc(cr, 2.5, 5.5, 2.5, 0, Rad(180));
      cairo_close_path(cr);
      break;
    case '1':
      cairo_move_to(cr, 0.7, 1.9);
      cairo_line_to(cr, 3.0, 0);
      cairo_line_to(cr, 3.0, 8);
      break;
    case '2':
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 2.4, 2.4, Rad(175), Rad(385));
      cairo_line_to(cr, 0.1, 8);
      cairo_line_to(cr, 5, 8);
      break;
    case '3':
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 1.95, 1.95, Rad(195), Rad(450));
      cairo_arc(cr, 2.5, 5.9, 2.1, Rad(270), Rad(515));
      break;
    case '4':
      cairo_move_to(cr, 3.7, 8);
      cairo_line_to(cr, 3.7, 0);
      cairo_line_to(cr, 0, 5.6);
      cairo_line_to(cr, 5, 5.6);
      break;
    case '5':
      cairo_move_to(cr, 4.6, 0);
      cairo_line_to(cr, 0.9, 0);
      cairo_line_to(cr, 0.6, 3.7);
      cairo_arc(cr, 2.45, 5.55, 2.45, Rad(228), Rad(515));
      break;
    case '6':
      cairo_move_to(cr, 3.9, 0);
      cairo_line_to(cr, 0.45, 4.6);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 5.5, 2.5, 0, Rad(360));
      cairo_close_path(cr);
      break;
    case '7':
      cairo_move_to(cr, 0, 0);
      cairo_line_to(cr, 5, 0);
      cairo_line_to(cr, 1.6, 8);
      break;
    case '8':
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 1.9, 1.9, 0, Rad(360));
      cairo_close_path(cr);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 5.85, 2.15, 0, Rad(360));
      cairo_close_path(cr);
      break;
    case '9':
      cairo_move_to(cr, 1.1, 8);
      cairo_line_to(cr, 4.55, 3.4);
      cairo_new_sub_path(cr);
      cairo_arc(cr, 2.5, 2.5, 2.5, 0, Rad(360));
      cairo_close_path(cr);
      break;
    default:
      break;
  }
}

double StrokeFor(double height) { return std::max(1.4, height * 0.16); }

}  // namespace

double NumberWidth(const std::string &digits, double height) {
  const double stroke = StrokeFor(height);
  const double scale = (height - stroke) / kUnitsHigh;
  const double digitWidth = kUnitsWide * scale + stroke;
  const double gap = stroke * 0.7;
  return digits.size() * digitWidth + (digits.empty() ? 0 : (digits.size() - 1) * gap);
}

void DrawNumber(cairo_t *cr, const std::string &digits, double cx, double cy, double height, Rgb color) {
  const double stroke = StrokeFor(height);
  const double scale = (height - stroke) / kUnitsHigh;
  const double digitWidth = kUnitsWide * scale + stroke;
  const double gap = stroke * 0.7;
  double x = cx - NumberWidth(digits, height) / 2;
  const double y = cy - height / 2;
  cairo_save(cr);
  cairo_set_source_rgb(cr, color.r, color.g, color.b);
  cairo_set_line_width(cr, stroke);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (char d : digits) {
    cairo_save(cr);
    cairo_translate(cr, x + stroke / 2, y + stroke / 2);
    cairo_scale(cr, scale, scale);
    cairo_new_path(cr);
    DigitPath(cr, d);
    cairo_restore(cr);  // stroke in device units, not in the scaled ones
    cairo_stroke(cr);
    x += digitWidth + gap;
  }
  cairo_restore(cr);
}

void DrawLetterA(cairo_t *cr, double x, double y, double w, double h, double width, Rgb color) {
  cairo_save(cr);
  cairo_set_source_rgb(cr, color.r, color.g, color.b);
  cairo_set_line_width(cr, width);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_MITER);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_move_to(cr, x, y + h);
  cairo_line_to(cr, x + w / 2, y);
  cairo_line_to(cr, x + w, y + h);
  cairo_move_to(cr, x + w * 0.22, y + h * 0.64);
  cairo_line_to(cr, x + w * 0.78, y + h * 0.64);
  cairo_stroke(cr);
  cairo_restore(cr);
}

}  // namespace artwork
