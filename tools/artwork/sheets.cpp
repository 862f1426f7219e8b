#include "sheets.h"

#include <algorithm>
#include <string>

#include "glyphs.h"

namespace artwork {
namespace {

struct Rect {
  int x, y, w, h;
};

constexpr Rgb kInk{0.15, 0.15, 0.15};
constexpr Rgb kPaperEdge{0.43, 0.43, 0.43};
constexpr Rgb kPageEdge{0.70, 0.70, 0.70};
constexpr Rgb kTextLine{0.80, 0.80, 0.80};
constexpr Rgb kBackPaper{0.91, 0.92, 0.93};
constexpr Rgb kBindingLine{0.0, 0.6, 0.24};
constexpr Rgb kOverlayKey{1.0, 174 / 255.0, 201 / 255.0};
constexpr Rgb kAccents[] = {
    {0.13, 0.45, 0.80}, {0.93, 0.49, 0.13}, {0.20, 0.63, 0.29}, {0.80, 0.22, 0.27}, {0.52, 0.32, 0.72},
};

constexpr int kPagesPerSheet[] = {1, 2, 4, 6, 9, 16};
constexpr int kShadow = 3;

Rgb Gray(Rgb c) {
  const double l = 0.299 * c.r + 0.587 * c.g + 0.114 * c.b;
  return Rgb{l, l, l};
}

void SetColor(cairo_t *cr, Rgb c) { cairo_set_source_rgb(cr, c.r, c.g, c.b); }

void FillRect(cairo_t *cr, Rect r, Rgb c) {
  SetColor(cr, c);
  cairo_rectangle(cr, r.x, r.y, r.w, r.h);
  cairo_fill(cr);
}

// A one-pixel outline exactly on the rectangle's border pixels.
void OutlineRect(cairo_t *cr, Rect r, Rgb c) {
  SetColor(cr, c);
  cairo_set_line_width(cr, 1);
  cairo_rectangle(cr, r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1);
  cairo_stroke(cr);
}

// The sheet of 2 and 6 pages (and of the booklet) is turned against the
// orientation.
bool PortraitShaped(bool landscape, int n) {
  const bool turned = n == 1 || n == 3 || n == 6;
  return landscape ? turned : !turned;
}

// Placed to leave room on the left and at the top for a turned back side.
Rect SheetRect(bool portraitShaped) {
  return portraitShaped ? Rect{62, 28, 96, 136} : Rect{34, 40, 160, 113};
}

void DrawPaper(cairo_t *cr, Rect r) {
  // A soft shadow to the lower right: three steps of gray.
  const double shades[kShadow] = {0.55, 0.72, 0.87};
  for (int i = kShadow; i >= 1; --i) {
    const double s = shades[i - 1];
    FillRect(cr, Rect{r.x + i, r.y + i, r.w, r.h}, Rgb{s, s, s});
  }
  FillRect(cr, r, Rgb{1, 1, 1});
  OutlineRect(cr, r, kPaperEdge);
}

// A page image: a coloured title band, the page number and, when there is
// room, lines of text.
void DrawPageImage(cairo_t *cr, Rect r, int number, bool colour, bool framed) {
  if (framed) {
    FillRect(cr, r, Rgb{1, 1, 1});
    OutlineRect(cr, r, kPageEdge);
  }
  const int pad = r.w < 30 ? 1 : 2;
  const Rect inner{r.x + pad, r.y + pad, r.w - 2 * pad, r.h - 2 * pad};
  const Rgb accent = kAccents[(number - 1) % 5];
  const int band = std::max(2, inner.h / 9);
  FillRect(cr, Rect{inner.x, inner.y, inner.w, band}, colour ? accent : Gray(accent));

  const std::string digits = std::to_string(number);
  const bool roomForText = inner.h >= 50;
  const int textTop = roomForText ? inner.y + inner.h - inner.h / 4 : inner.y + inner.h;
  const double areaTop = inner.y + band, areaHeight = textTop - areaTop;
  double height = std::min(areaHeight * 0.7, 60.0);
  const double widest = inner.w * (digits.size() > 1 ? 0.92 : 0.8);
  while (height > 5 && NumberWidth(digits, height) > widest) height -= 0.5;
  height = std::max(5.0, static_cast<double>(static_cast<int>(height)));
  DrawNumber(cr, digits, r.x + r.w / 2.0, areaTop + areaHeight / 2.0, height, kInk);

  if (roomForText) {
    const int lineHeight = std::max(1, inner.h / 40);
    const int pitch = std::max(3, inner.h / 16);
    for (int i = 0, y = textTop + 1; i < 3 && y + lineHeight <= inner.y + inner.h; ++i, y += pitch) {
      const int width = i == 2 ? inner.w * 3 / 5 : inner.w - 2;
      FillRect(cr, Rect{inner.x + 1, y, width, lineHeight}, kTextLine);
    }
  }
}

// Columns and rows of the pages on the sheet as drawn.
void Grid(int pages, bool portraitShaped, int *cols, int *rows) {
  int a = 1, b = 1;  // long side, short side
  switch (pages) {
    case 2: a = 2; break;
    case 4: a = 2; b = 2; break;
    case 6: a = 3; b = 2; break;
    case 9: a = 3; b = 3; break;
    case 16: a = 4; b = 4; break;
  }
  *cols = portraitShaped ? b : a;
  *rows = portraitShaped ? a : b;
}

// Position in reading order of the page in column c, row r.
int PageAt(int c, int r, int cols, int rows, int order) {
  switch (order) {
    case 1: return c * rows + r;                    // down, then right
    case 2: return r * cols + (cols - 1 - c);       // left, then down
    case 3: return (cols - 1 - c) * rows + r;       // down, then left
    default: return r * cols + c;                   // right, then down
  }
}

// A page of the given shape, as large as fits into the cell, centred.
Rect FitPage(Rect cell, bool portraitPage) {
  const double ratio = 1.414;
  int w = cell.w, h = cell.h;
  if (portraitPage) {
    h = std::min(cell.h, static_cast<int>(cell.w * ratio));
    w = static_cast<int>(h / ratio);
  } else {
    w = std::min(cell.w, static_cast<int>(cell.h * ratio));
    h = static_cast<int>(w / ratio);
  }
  return Rect{cell.x + (cell.w - w) / 2, cell.y + (cell.h - h) / 2, w, h};
}

void DrawPages(cairo_t *cr, Rect sheet, bool landscape, int n, int order, bool colour) {
  const int pages = kPagesPerSheet[n];
  if (pages == 1) {
    DrawPageImage(cr, Rect{sheet.x + 6, sheet.y + 6, sheet.w - 12, sheet.h - 12}, 1, colour, false);
    return;
  }
  int cols, rows;
  Grid(pages, sheet.h > sheet.w, &cols, &rows);
  const int margin = pages >= 9 ? 5 : 6, gap = pages >= 9 ? 3 : 4;
  const Rect area{sheet.x + margin, sheet.y + margin, sheet.w - 2 * margin, sheet.h - 2 * margin};
  const int cw = (area.w - (cols - 1) * gap) / cols, ch = (area.h - (rows - 1) * gap) / rows;
  for (int r = 0; r < rows; ++r)
    for (int c = 0; c < cols; ++c) {
      const Rect cell{area.x + c * (cw + gap), area.y + r * (ch + gap), cw, ch};
      DrawPageImage(cr, FitPage(cell, !landscape), PageAt(c, r, cols, rows, order) + 1, colour, true);
    }
}

// An opened booklet: two pages either side of the fold, numbered in the
// reading direction of the binding.
void DrawOpenBooklet(cairo_t *cr, Rect sheet, bool landscape, bool boundRight, bool colour) {
  const Rect area{sheet.x + 6, sheet.y + 6, sheet.w - 12, sheet.h - 12};
  Rect first, second;
  if (!landscape) {
    first = Rect{area.x, area.y, area.w / 2, area.h};
    second = Rect{area.x + area.w / 2, area.y, area.w - area.w / 2, area.h};
  } else {
    first = Rect{area.x, area.y, area.w, area.h / 2};
    second = Rect{area.x, area.y + area.h / 2, area.w, area.h - area.h / 2};
  }
  DrawPageImage(cr, first, boundRight ? 3 : 2, colour, true);
  DrawPageImage(cr, second, boundRight ? 2 : 3, colour, true);
  // The fold: a shadow that deepens towards the middle.
  for (int i = 0; i < 4; ++i) {
    const double s = 0.62 + 0.09 * i;
    cairo_set_source_rgba(cr, s, s, s, 0.55 - 0.12 * i);
    if (!landscape) {
      cairo_rectangle(cr, second.x - 1 - i, area.y + 1, 1, area.h - 2);
      cairo_rectangle(cr, second.x + i, area.y + 1, 1, area.h - 2);
    } else {
      cairo_rectangle(cr, area.x + 1, second.y - 1 - i, area.w - 2, 1);
      cairo_rectangle(cr, area.x + 1, second.y + i, area.w - 2, 1);
    }
    cairo_fill(cr);
  }
}

// The folded booklet sign: a closed, stapled booklet with its spine on the
// binding side and the leaves showing on the other.
void DrawBookletSign(cairo_t *cr, Rect cover, bool boundRight, bool colour) {
  const Rgb accent = colour ? kAccents[0] : Gray(kAccents[0]);
  const Rgb dark{accent.r * 0.6, accent.g * 0.6, accent.b * 0.6};
  // A white margin keeps the sign apart from the sheet below it.
  FillRect(cr, Rect{cover.x - 2, cover.y - 2, cover.w + 6, cover.h + 6}, Rgb{1, 1, 1});
  // Leaves behind the cover, offset away from the spine.
  const int dx = boundRight ? -1 : 1;
  for (int i = 2; i >= 1; --i) {
    const Rect leaf{cover.x + dx * 2 * i, cover.y + i, cover.w, cover.h};
    FillRect(cr, leaf, Rgb{1, 1, 1});
    OutlineRect(cr, leaf, kPageEdge);
  }
  FillRect(cr, cover, Rgb{0.97, 0.97, 0.97});
  OutlineRect(cr, cover, kPaperEdge);
  const int spineWidth = std::max(4, cover.w / 6);
  const Rect spine{boundRight ? cover.x + cover.w - spineWidth : cover.x, cover.y, spineWidth, cover.h};
  FillRect(cr, spine, accent);
  OutlineRect(cr, spine, dark);
  // Two staples across the fold.
  for (int k = 1; k <= 2; ++k) {
    const int y = cover.y + cover.h * k / 3;
    const Rgb shine{0.85, 0.85, 0.88}, shade{0.35, 0.35, 0.38};
    FillRect(cr, Rect{spine.x + 1, y - 1, spine.w - 2, 2}, colour ? shine : Gray(shine));
    FillRect(cr, Rect{spine.x + 1, y, spine.w - 2, 1}, colour ? shade : Gray(shade));
  }
  const int bodyX = boundRight ? cover.x : cover.x + spineWidth;
  const int bodyW = cover.w - spineWidth;
  FillRect(cr, Rect{bodyX + 3, cover.y + 4, bodyW - 6, std::max(2, cover.h / 10)}, accent);
  DrawNumber(cr, "1", bodyX + bodyW / 2.0, cover.y + cover.h * 0.58, std::min(cover.h * 0.38, 14.0), kInk);
}

cairo_surface_t *NewPicture(cairo_t **cr) {
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kPictureWidth, kPictureHeight);
  *cr = cairo_create(s);
  return s;
}

}  // namespace

cairo_surface_t *DrawSheetPicture(bool colour, bool landscape, int n, int variant) {
  cairo_t *cr;
  cairo_surface_t *s = NewPicture(&cr);
  const bool portraitShaped = PortraitShaped(landscape, n);
  if (n == 6) {
    // The booklet never has an overlay: sheet and sign share the picture.
    const Rect sheet = portraitShaped ? Rect{44, 6, 104, 147} : Rect{10, 12, 162, 115};
    DrawPaper(cr, sheet);
    DrawOpenBooklet(cr, sheet, landscape, variant == 1, colour);
    const Rect sign = landscape ? Rect{142, 128, 46, 32} : Rect{156, 110, 30, 44};
    DrawBookletSign(cr, sign, variant == 1, colour);
  } else {
    const Rect sheet = SheetRect(portraitShaped);
    DrawPaper(cr, sheet);
    // Two pages read left to right or, as variant 1, right to left.
    const int order = n == 1 ? (variant == 1 ? 2 : 0) : variant;
    DrawPages(cr, sheet, landscape, n, order, colour);
  }
  cairo_destroy(cr);
  return s;
}

cairo_surface_t *DrawBindingOverlay(bool landscape, int n, bool topEdge) {
  cairo_t *cr;
  cairo_surface_t *s = NewPicture(&cr);
  const Rect sheet = SheetRect(PortraitShaped(landscape, n));

  // The back side, hinged on the binding edge and turned towards the viewer.
  cairo_new_path(cr);
  double cx, cy;
  if (topEdge) {
    const int depth = 22, inset = sheet.w / 10;
    cairo_move_to(cr, sheet.x, sheet.y);
    cairo_line_to(cr, sheet.x + inset, sheet.y - depth + 0.5);
    cairo_line_to(cr, sheet.x + sheet.w - inset, sheet.y - depth + 0.5);
    cairo_line_to(cr, sheet.x + sheet.w, sheet.y);
    cx = sheet.x + sheet.w / 2.0;
    cy = sheet.y - depth / 2.0;
  } else {
    const int depth = 26, inset = sheet.h / 10;
    cairo_move_to(cr, sheet.x, sheet.y);
    cairo_line_to(cr, sheet.x - depth + 0.5, sheet.y + inset);
    cairo_line_to(cr, sheet.x - depth + 0.5, sheet.y + sheet.h - inset);
    cairo_line_to(cr, sheet.x, sheet.y + sheet.h);
    cx = sheet.x - depth / 2.0;
    cy = sheet.y + sheet.h / 2.0;
  }
  cairo_close_path(cr);
  SetColor(cr, kBackPaper);
  cairo_fill_preserve(cr);
  SetColor(cr, kPaperEdge);
  cairo_set_line_width(cr, 1);
  cairo_stroke(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_scale(cr, topEdge ? 1.0 : 0.62, topEdge ? 0.62 : 1.0);
  DrawNumber(cr, "2", 0, 0, topEdge ? 24 : 26, Rgb{0.35, 0.35, 0.35});
  cairo_restore(cr);

  // Where the sheet is, the picture below shows through.
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  FillRect(cr, Rect{sheet.x, sheet.y, sheet.w + kShadow, sheet.h + kShadow}, kOverlayKey);
  // The dotted binding line, just inside the edge.
  const int dot = 3, pitch = 6, width = 2;
  if (topEdge) {
    for (int x = sheet.x + 3; x + dot <= sheet.x + sheet.w - 2; x += pitch)
      FillRect(cr, Rect{x, sheet.y + 2, dot, width}, kBindingLine);
  } else {
    for (int y = sheet.y + 3; y + dot <= sheet.y + sheet.h - 2; y += pitch)
      FillRect(cr, Rect{sheet.x + 2, y, width, dot}, kBindingLine);
  }
  cairo_destroy(cr);
  return s;
}

}  // namespace artwork
