// Bounded operations on UTF-16 texts that come from devmodes and the spooler,
// where a terminator is never guaranteed.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qx {

// Appends `source` after the text in `dest` (capacity in characters). False
// when the capacity is 0 or above 0x7FFFFFFF, when `dest` has no terminator
// within it, or when `source` did not fit whole (what fits stays, terminated).
bool AppendBounded(char16_t *dest, size_t capacity, const char16_t *source);

// Characters before the first NUL within the first 128 units; 0 for a missing
// text or one with no NUL there.
size_t LengthBounded(const char16_t *text);

// Compares at most `count` characters: 0 equal, 1 different, -1 when either is
// missing. With `matchCase` false, ASCII letters match in either case. A text
// longer than `count` is never equal.
int EqualBounded(const char16_t *a, const char16_t *b, bool matchCase, size_t count);

}  // namespace qx
