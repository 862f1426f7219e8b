// ANSI code page conversion of PPD bytes. In every ANSI code page Windows
// uses, bytes 0x00 to 0x7F stand for U+0000 to U+007F, so an ASCII text is
// widened directly in every build. A text with any other byte is converted
// whole: by the system on Windows (MultiByteToWideChar, CP_ACP; a trail byte
// of a double-byte character may look like ASCII), as Windows-1252 natively,
// the ANSI code page of the western systems the plug-in usually runs on.
#include "ppd/ppd_text.h"

#include <cstring>
#include <memory>
#include <new>

#include "ppd/ppd_scan.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace qx {

namespace {

using ppd_detail::ZeroOrHighBytes16;
using ppd_detail::Widen16;

// Widens bytes up to limit while they are ASCII and not zero; returns where
// it stopped. Sixteen at a time while whole blocks qualify.
size_t WidenAsciiPrefix(const unsigned char *bytes, size_t limit, PpdUnit *units) {
  size_t i = 0;
  for (; limit - i >= 16; i += 16) {
    const unsigned char *p = bytes + i;
    if (ZeroOrHighBytes16(p) != 0) break;
    Widen16(p, units + i);
  }
  for (; i < limit; ++i) {
    unsigned char b = bytes[i];
    if (b == 0 || b >= 0x80) break;
    units[i] = b;
  }
  return i;
}

#ifdef _WIN32
// A plain loop: the texts are short, and a library memchr costs more to
// start than these take.
size_t BoundedLength(const unsigned char *bytes, size_t count) {
  size_t n = 0;
  while (n < count && bytes[n] != 0) ++n;
  return n;
}

void ConvertThroughSystem(PpdText &field, const unsigned char *bytes, size_t count) {
  size_t n = BoundedLength(bytes, count);
  const char *chars = reinterpret_cast<const char *>(bytes);
  int units = MultiByteToWideChar(CP_ACP, 0, chars, static_cast<int>(n), nullptr, 0);
  if (units <= 0) {
    field.Clear();
    return;
  }
  if (units < kPpdTextUnits) {
    MultiByteToWideChar(CP_ACP, 0, chars, static_cast<int>(n), field.text, units);
  } else {
    // Cut at 259 units; never leave half of a surrogate pair at the end.
    std::unique_ptr<wchar_t[]> all(new (std::nothrow) wchar_t[units]);
    if (!all) {
      field.Clear();
      return;
    }
    MultiByteToWideChar(CP_ACP, 0, chars, static_cast<int>(n), all.get(), units);
    units = kPpdTextUnits - 1;
    if (all[units - 1] >= 0xD800 && all[units - 1] <= 0xDBFF) --units;
    std::memcpy(field.text, all.get(), sizeof(wchar_t) * static_cast<size_t>(units));
  }
  field.text[units] = 0;
  field.length = units;
}
#else
// Windows-1252 bytes 0x80 to 0x9F; the five unassigned bytes map to the C1
// control of the same value, as Windows does.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Every byte's unit, for a loop without branches on the byte's value.
struct Cp1252Units {
  char16_t of[256];
  constexpr Cp1252Units() : of() {
    for (int b = 0; b < 256; ++b) {
      of[b] = b >= 0x80 && b <= 0x9F ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
    }
  }
};
constexpr Cp1252Units kCp1252;

// Goes on from byte i, the first that is not ASCII.
void ConvertCp1252From(PpdText &field, const unsigned char *bytes, size_t i, size_t limit) {
  for (; i < limit; ++i) {
    unsigned char b = bytes[i];
    if (b == 0) break;
    field.text[i] = kCp1252.of[b];
  }
  field.text[i] = 0;
  field.length = static_cast<int32_t>(i);
}
#endif

}  // namespace

void BytesToPpdText(PpdText &field, const unsigned char *bytes, size_t count) {
  // Up to 259 ASCII bytes give the first 259 units whatever follows them.
  size_t limit = count < kPpdTextUnits - 1 ? count : kPpdTextUnits - 1;
  size_t i = WidenAsciiPrefix(bytes, limit, field.text);
  if (i == limit || bytes[i] == 0) {
    field.text[i] = 0;
    field.length = static_cast<int32_t>(i);
    return;
  }
#ifdef _WIN32
  ConvertThroughSystem(field, bytes, count);
#else
  ConvertCp1252From(field, bytes, i, limit);
#endif
}

std::string PpdUnitsToUtf8(const PpdUnit *units, size_t count) {
  std::string out;
  out.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    uint32_t c = static_cast<uint16_t>(units[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < count) {
      uint32_t low = static_cast<uint16_t>(units[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    if (c >= 0xD800 && c <= 0xDFFF) c = 0xFFFD;
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::basic_string<PpdUnit> Utf8ToPpdUnits(const std::string &utf8) {
  std::basic_string<PpdUnit> out;
  size_t i = 0, n = utf8.size();
  while (i < n) {
    unsigned char b = static_cast<unsigned char>(utf8[i]);
    uint32_t c;
    size_t extra;
    if (b < 0x80) { c = b; extra = 0; }
    else if ((b & 0xE0) == 0xC0) { c = b & 0x1F; extra = 1; }
    else if ((b & 0xF0) == 0xE0) { c = b & 0x0F; extra = 2; }
    else if ((b & 0xF8) == 0xF0) { c = b & 0x07; extra = 3; }
    else { out += static_cast<PpdUnit>(0xFFFD); ++i; continue; }
    size_t j = 1;
    for (; j <= extra && i + j < n; ++j) {
      unsigned char t = static_cast<unsigned char>(utf8[i + j]);
      if ((t & 0xC0) != 0x80) break;
      c = (c << 6) | (t & 0x3F);
    }
    if (j <= extra || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      out += static_cast<PpdUnit>(0xFFFD);
      i += j;
      continue;
    }
    i += j;
    if (c >= 0x10000) {
      c -= 0x10000;
      out += static_cast<PpdUnit>(0xD800 + (c >> 10));
      out += static_cast<PpdUnit>(0xDC00 + (c & 0x3FF));
    } else {
      out += static_cast<PpdUnit>(c);
    }
  }
  return out;
}

}  // namespace qx
