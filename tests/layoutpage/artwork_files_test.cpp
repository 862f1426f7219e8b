// The generated artwork files: their format, the keyed backgrounds, and that
// every picture is its own (a variant drawn like another is a wrong preview).
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Read(int id, const char *extension) {
  std::ifstream f(std::string(QX_ARTWORK_DIR) + "/" + std::to_string(id) + extension, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), {});
}

std::uint32_t U32(const Bytes &b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<std::uint32_t>(b[at + 3]) << 24;
}

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb &o) const { return r == o.r && g == o.g && b == o.b; }
};

// Pixel of a 200 x 170 24-bit file, (0, 0) at the top left.
Rgb Pixel(const Bytes &file, int x, int y) {
  const size_t at = 54 + (169 - y) * 600 + x * 3;
  return Rgb{file[at + 2], file[at + 1], file[at]};
}

std::vector<int> SheetIds() {
  std::vector<int> ids;
  for (int base : {12101, 12151, 12201, 12251}) {
    const bool portraitSet = base == 12101 || base == 12201;
    for (int offset = 0; offset < 26; ++offset) {
      if (offset >= 1 && offset <= 3) continue;
      if ((offset == 6 || offset == 7) || (offset == 5 && !portraitSet)) continue;
      ids.push_back(base + offset);
    }
  }
  return ids;
}

std::vector<int> OverlayIds() {
  std::vector<int> ids;
  for (int n = 0; n < 6; ++n)
    for (int base : {12301, 12302, 12321, 12322}) ids.push_back(base + 3 * n);
  return ids;
}

constexpr Rgb kKey{0, 128, 128};
constexpr Rgb kOverlayKey{255, 174, 201};

TEST(ArtworkFiles, BitmapsAre24BitUncompressed200By170OnTheKeyColour) {
  ASSERT_EQ(SheetIds().size(), 82u);
  std::vector<int> all = SheetIds();
  for (int id : OverlayIds()) all.push_back(id);
  for (int id : all) {
    SCOPED_TRACE(id);
    const Bytes f = Read(id, ".bmp");
    ASSERT_EQ(f.size(), 102056u);
    EXPECT_EQ(f[0], 'B');
    EXPECT_EQ(U32(f, 10), 54u);      // pixels right after the 40-byte header
    EXPECT_EQ(U32(f, 14), 40u);
    EXPECT_EQ(U32(f, 18), 200u);
    EXPECT_EQ(U32(f, 22), 170u);
    EXPECT_EQ(f[28], 24);
    EXPECT_EQ(U32(f, 30), 0u);       // BI_RGB
    EXPECT_EQ(U32(f, 34), 102002u);
    for (auto [x, y] : {std::pair{0, 0}, {199, 0}, {0, 169}, {199, 169}})
      EXPECT_EQ(Pixel(f, x, y), kKey);
  }
}

TEST(ArtworkFiles, GrayscalePicturesAreGrayAndColourOnesAreNot) {
  for (int id : SheetIds()) {
    SCOPED_TRACE(id);
    const Bytes f = Read(id, ".bmp");
    ASSERT_EQ(f.size(), 102056u);
    int coloured = 0;
    for (int y = 0; y < 170; ++y)
      for (int x = 0; x < 200; ++x) {
        const Rgb p = Pixel(f, x, y);
        if (!(p == kKey) && (p.r != p.g || p.g != p.b)) ++coloured;
      }
    if (id >= 12201) EXPECT_EQ(coloured, 0);
    else EXPECT_GT(coloured, 50);
  }
}

// (Overlays of sheets of one shape are alike by design.)
TEST(ArtworkFiles, EverySheetPictureDiffersFromEveryOther) {
  std::map<Bytes, int> seen;
  for (int id : SheetIds()) {
    const auto [it, fresh] = seen.emplace(Read(id, ".bmp"), id);
    EXPECT_TRUE(fresh) << id << " is drawn like " << it->second;
  }
}

// The overlay keeps the sheet's place transparent and draws outside it the
// turned back side: nothing of it falls on a drawn sheet pixel's place except
// the binding line.
TEST(ArtworkFiles, OverlaysCoverTheirSheetWithTheKeyAndMarkOneEdge) {
  for (int n = 0; n < 6; ++n)
    for (int landscape = 0; landscape < 2; ++landscape)
      for (int top = 0; top < 2; ++top) {
        const int id = (landscape ? 12321 : 12301) + top + 3 * n;
        const int sheetId = (landscape ? 12151 : 12101) + 4 * n;
        SCOPED_TRACE(id);
        const Bytes overlay = Read(id, ".bmp"), sheet = Read(sheetId, ".bmp");
        int keyed = 0, green = 0, overSheet = 0;
        for (int y = 0; y < 170; ++y)
          for (int x = 0; x < 200; ++x) {
            const Rgb o = Pixel(overlay, x, y);
            if (o == kOverlayKey) ++keyed;
            else if (o.g > 120 && o.r < 60 && o.b < 100) ++green;
            else if (!(o == kKey) && !(Pixel(sheet, x, y) == kKey)) ++overSheet;
          }
        EXPECT_GT(keyed, 8000);
        EXPECT_GT(green, 60);
        EXPECT_EQ(overSheet, 0);
      }
}

TEST(ArtworkFiles, IconsHold32BitImagesWithAMatchingMask) {
  std::set<Bytes> distinct;
  for (int id : {12001, 12011, 12012, 12013, 12014, 12015, 12016, 12021, 12022, 12023, 12024, 12025, 12026,
                 12027, 12028, 12029, 12030}) {
    SCOPED_TRACE(id);
    const Bytes f = Read(id, ".ico");
    ASSERT_EQ(f.size(), 6u + 16 + 40 + 1600 + 80);
    EXPECT_EQ(f[2], 1);   // icon
    EXPECT_EQ(f[4], 1);   // one image
    EXPECT_EQ(f[6], 20);
    EXPECT_EQ(f[7], 20);
    EXPECT_EQ(f[12], 32);
    EXPECT_EQ(U32(f, 22 + 8), 40u);  // height of colour and mask together
    int opaque = 0;
    for (int row = 0; row < 20; ++row)
      for (int x = 0; x < 20; ++x) {
        const std::uint8_t alpha = f[22 + 40 + (row * 20 + x) * 4 + 3];
        const bool masked = f[22 + 40 + 1600 + row * 4 + x / 8] & (0x80 >> (x % 8));
        EXPECT_EQ(masked, alpha == 0);
        opaque += alpha == 255;
      }
    EXPECT_GT(opaque, 60);
    EXPECT_TRUE(distinct.insert(f).second);
  }
}

}  // namespace
