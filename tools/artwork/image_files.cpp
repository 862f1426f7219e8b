#include "image_files.h"

#include <cstdint>
#include <cstdio>
#include <vector>

namespace artwork {
namespace {

class Bytes {
 public:
  void U8(unsigned v) { data.push_back(static_cast<std::uint8_t>(v)); }
  void U16(unsigned v) { U8(v & 0xff); U8(v >> 8 & 0xff); }
  void U32(std::uint32_t v) { U16(v & 0xffff); U16(v >> 16); }
  std::vector<std::uint8_t> data;
};

bool Save(const std::string &path, const Bytes &bytes) {
  FILE *f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const bool ok = std::fwrite(bytes.data.data(), 1, bytes.data.size(), f) == bytes.data.size();
  return std::fclose(f) == 0 && ok;
}

void InfoHeader(Bytes &b, int width, int height, unsigned bits, std::uint32_t imageSize) {
  b.U32(40);
  b.U32(width);
  b.U32(height);
  b.U16(1);
  b.U16(bits);
  b.U32(0);  // BI_RGB
  b.U32(imageSize);
  b.U32(2835);  // 72 dpi
  b.U32(2835);
  b.U32(0);
  b.U32(0);
}

// Straight (not premultiplied) channels of one ARGB32 pixel.
struct Pixel {
  unsigned a, r, g, b;
};

Pixel At(cairo_surface_t *image, int x, int y) {
  const unsigned char *row = cairo_image_surface_get_data(image) + y * cairo_image_surface_get_stride(image);
  const std::uint32_t v = reinterpret_cast<const std::uint32_t *>(row)[x];
  return Pixel{v >> 24, v >> 16 & 0xff, v >> 8 & 0xff, v & 0xff};
}

}  // namespace

bool WriteBitmap(const std::string &path, cairo_surface_t *image, unsigned key) {
  cairo_surface_flush(image);
  const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
  const int rowBytes = (w * 3 + 3) & ~3;
  // Two spare bytes after the pixels, as the classic paint programs write them.
  const std::uint32_t imageSize = static_cast<std::uint32_t>(rowBytes * h + 2);
  Bytes b;
  b.U8('B');
  b.U8('M');
  b.U32(14 + 40 + imageSize);
  b.U32(0);
  b.U32(14 + 40);
  InfoHeader(b, w, h, 24, imageSize);
  const unsigned kr = key & 0xff, kg = key >> 8 & 0xff, kb = key >> 16 & 0xff;
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const Pixel p = At(image, x, y);  // premultiplied
      unsigned r = kr, g = kg, bl = kb;
      if (p.a >= 96) {
        r = p.r + (255 - p.a);
        g = p.g + (255 - p.a);
        bl = p.b + (255 - p.a);
        if (r == kr && g == kg && bl == kb) g += 1;
      }
      b.U8(bl);
      b.U8(g);
      b.U8(r);
    }
    for (int i = w * 3; i < rowBytes; ++i) b.U8(0);
  }
  b.U8(0);
  b.U8(0);
  return Save(path, b);
}

bool WriteIcon(const std::string &path, cairo_surface_t *image) {
  cairo_surface_flush(image);
  const int w = cairo_image_surface_get_width(image), h = cairo_image_surface_get_height(image);
  const int maskRow = ((w + 31) / 32) * 4;
  const std::uint32_t colorBytes = w * h * 4, maskBytes = maskRow * h;
  const std::uint32_t imageBytes = 40 + colorBytes + maskBytes;
  Bytes b;
  b.U16(0);
  b.U16(1);  // icon
  b.U16(1);  // one image
  b.U8(w);
  b.U8(h);
  b.U8(0);
  b.U8(0);
  b.U16(1);
  b.U16(32);
  b.U32(imageBytes);
  b.U32(6 + 16);
  InfoHeader(b, w, 2 * h, 32, colorBytes + maskBytes);
  for (int y = h - 1; y >= 0; --y)
    for (int x = 0; x < w; ++x) {
      const Pixel p = At(image, x, y);
      auto straight = [&](unsigned c) { return p.a ? (c * 255 + p.a / 2) / p.a : 0; };
      b.U8(straight(p.b));
      b.U8(straight(p.g));
      b.U8(straight(p.r));
      b.U8(p.a);
    }
  for (int y = h - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (int x = 0; x < w; ++x)
      if (At(image, x, y).a == 0) row[x / 8] |= 0x80 >> (x % 8);
    for (auto v : row) b.U8(v);
  }
  return Save(path, b);
}

}  // namespace artwork
