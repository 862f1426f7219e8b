#include "layoutpage/preview_choice.h"

#include "resources/ids_artwork.h"

namespace qx {
namespace {

constexpr std::uint32_t kColorPortrait = IDB_SHEET_COLOR_PORTRAIT;
constexpr std::uint32_t kColorLandscape = IDB_SHEET_COLOR_LANDSCAPE;
constexpr std::uint32_t kGrayPortrait = IDB_SHEET_GRAY_PORTRAIT;
constexpr std::uint32_t kGrayLandscape = IDB_SHEET_GRAY_LANDSCAPE;
constexpr std::uint32_t kLeftLinePortrait = IDB_BIND_LEFT_PORTRAIT;
constexpr std::uint32_t kTopLinePortrait = IDB_BIND_TOP_PORTRAIT;
constexpr std::uint32_t kLeftLineLandscape = IDB_BIND_LEFT_LANDSCAPE;
constexpr std::uint32_t kTopLineLandscape = IDB_BIND_TOP_LANDSCAPE;

long Variant(const PreviewSettings &s, bool useDirectionAndEdge) {
  if (!useDirectionAndEdge) return 0;
  switch (s.pagesPerSheet) {
    case 0: return 0;
    // Two pages: right-to-left order exists only for portrait pages.
    case 1: return s.orientation == 0 && (s.direction == 2 || s.direction == 3) ? 1 : 0;
    case kBookletOption: return s.bookletEdge != 0 ? 1 : 0;
    default: return s.direction;
  }
}

}  // namespace

void ChoosePreviewBitmaps(const PreviewSettings &s, bool useDirectionAndEdge,
                          std::uint32_t *sheetId, std::uint32_t *overlayId) {
  const long n = s.pagesPerSheet;
  const bool portrait = s.orientation == 0;
  const bool landscape = s.orientation == 1 || s.orientation == 2;
  if (!portrait && !landscape) return;

  if (s.color == 0 || s.color == 1) {
    std::uint32_t base = s.color == 1 ? (portrait ? kColorPortrait : kColorLandscape)
                                      : (portrait ? kGrayPortrait : kGrayLandscape);
    // Unsigned arithmetic: an out-of-range index names no bitmap, never overflows.
    *sheetId = base + 4u * static_cast<std::uint32_t>(n) +
               static_cast<std::uint32_t>(Variant(s, useDirectionAndEdge));
  }

  if (s.duplex != 1 && s.duplex != 2) return;
  if (n == kBookletOption) {
    *overlayId = 0;
    return;
  }
  // The line marks the short or the long edge of the sheet as drawn; 2 and 6
  // pages per sheet turn the sheet against the orientation.
  bool sheetTurned;
  if (n == 0 || n == 2 || n == 4 || n == 5) sheetTurned = false;
  else if (n == 1 || n == 3) sheetTurned = true;
  else return;
  const bool portraitShaped = portrait != sheetTurned;
  const bool flipShort = s.duplex == 1;
  const bool lineOnTop = flipShort == portraitShaped;  // a portrait sheet's short edge is its top
  const std::uint32_t step = 3u * static_cast<std::uint32_t>(n);
  if (portrait) *overlayId = (lineOnTop ? kTopLinePortrait : kLeftLinePortrait) + step;
  else *overlayId = (lineOnTop ? kTopLineLandscape : kLeftLineLandscape) + step;
}

}  // namespace qx
