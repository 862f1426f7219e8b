#include "platform/bounded_strings.h"

#include "platform/private_devmode.h"

namespace qx {

bool AppendBounded(char16_t *dest, size_t capacity, const char16_t *source) {
  if (!dest || !source || capacity == 0 || capacity > 0x7FFFFFFF) return false;
  size_t end = 0;
  while (end < capacity && dest[end] != 0) ++end;
  if (end == capacity) return false;
  for (; *source; ++source, ++end) {
    if (end + 1 >= capacity) {
      dest[capacity - 1] = 0;
      return false;
    }
    dest[end] = *source;
  }
  dest[end] = 0;
  return true;
}

size_t LengthBounded(const char16_t *text) {
  if (!text) return 0;
  for (size_t i = 0; i < kTextUnits; ++i)
    if (text[i] == 0) return i;
  return 0;
}

static char16_t FoldAscii(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c - u'A' + u'a') : c; }

int EqualBounded(const char16_t *a, const char16_t *b, bool matchCase, size_t count) {
  if (!a || !b) return -1;
  for (size_t i = 0; i < count; ++i) {
    char16_t x = a[i], y = b[i];
    if (!matchCase) x = FoldAscii(x), y = FoldAscii(y);
    if (x != y) return 1;
    if (x == 0) return 0;
  }
  return 1;  // no terminator within the span: longer than `count`
}

}  // namespace qx
