// The bitmap rule over every combination of option indices, checked against
// the published list of pictures and overlays.
#include <gtest/gtest.h>

#include <set>

#include "layoutpage/preview_choice.h"

namespace {

using qx::ChoosePreviewBitmaps;
using qx::PreviewSettings;

// The 82 sheet pictures that exist: per set n 0, n 1 (v 0 and, for portrait
// pages, v 1), n 2 to 5 (v 0 to 3) and the booklet (v 0 and 1).
std::set<std::uint32_t> SheetPictures() {
  std::set<std::uint32_t> ids;
  for (std::uint32_t base : {12101u, 12151u, 12201u, 12251u}) {
    const bool portraitSet = base == 12101u || base == 12201u;
    ids.insert(base);
    ids.insert(base + 4);
    if (portraitSet) ids.insert(base + 5);
    for (std::uint32_t i = 8; i < 24; ++i) ids.insert(base + i);
    ids.insert(base + 24);
    ids.insert(base + 25);
  }
  return ids;
}

std::set<std::uint32_t> Overlays() {
  std::set<std::uint32_t> ids;
  for (std::uint32_t n = 0; n < 6; ++n)
    for (std::uint32_t base : {12301u, 12302u, 12321u, 12322u}) ids.insert(base + 3 * n);
  return ids;
}

// Overlay table: [n is 1 or 3][d - 1][o is landscape] -> base, plus 3n.
constexpr std::uint32_t kOverlayTable[2][2][2] = {
    {{12302, 12321}, {12301, 12322}},  // n 0, 2, 4, 5
    {{12301, 12322}, {12302, 12321}},  // n 1, 3
};

struct Choice {
  std::uint32_t sheet = 12101, overlay = 0;
};

Choice Choose(const PreviewSettings &s, bool full = true) {
  Choice c;
  ChoosePreviewBitmaps(s, full, &c.sheet, &c.overlay);
  return c;
}

TEST(PreviewChoice, EveryValidCombinationNamesAnExistingPictureAndOverlay) {
  const auto pictures = SheetPictures();
  const auto overlays = Overlays();
  ASSERT_EQ(pictures.size(), 82u);
  ASSERT_EQ(overlays.size(), 24u);
  std::set<std::uint32_t> seenPictures, seenOverlays;
  for (bool full : {true, false})
    for (long c = 0; c < 2; ++c)
      for (long o = 0; o < 3; ++o)
        for (long d = 0; d < 3; ++d)
          for (long n = 0; n < 7; ++n)
            for (long r = 0; r < 4; ++r)
              for (long e = 0; e < 2; ++e) {
                SCOPED_TRACE(testing::Message() << "full " << full << " c " << c << " o " << o << " d " << d
                                                << " n " << n << " r " << r << " e " << e);
                const Choice got = Choose({c, o, d, n, r, e}, full);
                const std::uint32_t base = c ? (o == 0 ? 12101 : 12151) : (o == 0 ? 12201 : 12251);
                long v = 0;
                if (full && n == 1) v = (o == 0 && r >= 2) ? 1 : 0;
                else if (full && n == 6) v = e;
                else if (full && n != 0) v = r;
                EXPECT_EQ(got.sheet, base + 4 * n + v);
                EXPECT_TRUE(pictures.count(got.sheet));
                seenPictures.insert(got.sheet);

                std::uint32_t overlay = 0;
                if (d != 0 && n != 6)
                  overlay = kOverlayTable[n == 1 || n == 3][d - 1][o != 0] + 3 * n;
                EXPECT_EQ(got.overlay, overlay);
                if (overlay) {
                  EXPECT_TRUE(overlays.count(overlay));
                  seenOverlays.insert(overlay);
                }
              }
  EXPECT_EQ(seenPictures, pictures);  // every picture is reachable
  EXPECT_EQ(seenOverlays, overlays);
}

TEST(PreviewChoice, UndecidedColourOrOrientationKeepsThePassedIds) {
  for (long c : {-1L, 2L, 7L})
    for (long o = 0; o < 3; ++o) {
      std::uint32_t sheet = 4711, overlay = 0;
      ChoosePreviewBitmaps({c, o, 2, 0, 0, 0}, true, &sheet, &overlay);
      EXPECT_EQ(sheet, 4711u);
      EXPECT_NE(overlay, 0u);  // the overlay rule does not read the colour
    }
  for (long o : {-1L, 3L}) {
    std::uint32_t sheet = 4711, overlay = 815;
    ChoosePreviewBitmaps({1, o, 2, 0, 0, 0}, true, &sheet, &overlay);
    EXPECT_EQ(sheet, 4711u);
    EXPECT_EQ(overlay, 815u);
  }
  for (long d : {-1L, 0L, 3L}) {
    std::uint32_t sheet = 12101, overlay = 815;
    ChoosePreviewBitmaps({1, 0, d, 2, 0, 0}, true, &sheet, &overlay);
    EXPECT_EQ(sheet, 12109u);
    EXPECT_EQ(overlay, 815u);
  }
}

TEST(PreviewChoice, OutOfRangeIndicesStayDefinedAndKeepTheOverlay) {
  // Large or negative indices must neither overflow nor pick an overlay.
  for (long n : {-1L, 7L, 0x7fffffffL, -0x7fffffffL - 1}) {
    std::uint32_t sheet = 12101, overlay = 815;
    ChoosePreviewBitmaps({1, 0, 1, n, 0x7fffffff, 0}, true, &sheet, &overlay);
    EXPECT_EQ(overlay, 815u);
  }
}

TEST(PreviewChoice, NamedCases) {
  // No colour item: grayscale.
  EXPECT_EQ(Choose({0, 0, 0, 0, 0, 0}).sheet, 12201u);
  // Two pages, portrait, right to left; landscape always left to right.
  EXPECT_EQ(Choose({1, 0, 0, 1, 2, 0}).sheet, 12106u);
  EXPECT_EQ(Choose({1, 0, 0, 1, 3, 0}).sheet, 12106u);
  EXPECT_EQ(Choose({1, 1, 0, 1, 3, 0}).sheet, 12155u);
  EXPECT_EQ(Choose({0, 2, 0, 1, 2, 0}).sheet, 12255u);
  // Booklet bound right, never an overlay even two-sided.
  const Choice booklet = Choose({1, 0, 2, 6, 0, 1});
  EXPECT_EQ(booklet.sheet, 12126u);
  EXPECT_EQ(booklet.overlay, 0u);
  // Long-edge flip: left line on a portrait sheet, top line on the turned one.
  EXPECT_EQ(Choose({1, 0, 2, 0, 0, 0}).overlay, 12301u);
  EXPECT_EQ(Choose({1, 0, 2, 1, 0, 0}).overlay, 12305u);
  // Rotated landscape picks what landscape picks.
  for (long n = 0; n < 7; ++n) {
    const Choice a = Choose({1, 1, 1, n, 3, 1}), b = Choose({1, 2, 1, n, 3, 1});
    EXPECT_EQ(a.sheet, b.sheet);
    EXPECT_EQ(a.overlay, b.overlay);
  }
  // Older systems ignore direction and edge.
  EXPECT_EQ(Choose({1, 0, 0, 5, 3, 0}, false).sheet, 12121u);
  EXPECT_EQ(Choose({1, 0, 0, 6, 0, 1}, false).sheet, 12125u);
}

}  // namespace
