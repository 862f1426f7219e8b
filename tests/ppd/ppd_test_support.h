// Reading models from strings and files in the PPD tests (native and Wine).
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ppd/ppd_model.h"
#include "ppd/ppd_reader.h"
#include "ppd/ppd_text.h"

namespace qx {
namespace test {

struct StringBytes {
  std::string data;
  size_t next = 0;
  static int Next(void *context) {
    auto *self = static_cast<StringBytes *>(context);
    if (self->next >= self->data.size()) return -1;
    return static_cast<unsigned char>(self->data[self->next++]);
  }
};

// fgetc as a PpdNextByte (context: the FILE): the runtime's own reading.
inline int ReadFileByte(void *file) { return std::fgetc(static_cast<FILE *>(file)); }

inline std::unique_ptr<PpdModel> ReadString(const std::string &ppd) {
  StringBytes bytes{ppd};
  return std::unique_ptr<PpdModel>(ReadPpdModel(&StringBytes::Next, &bytes));
}

// The same read in blocks, as files are: the one-step line readers see
// whole lines (ReadString's source shows them a byte at a time).
struct StringBlocks {
  std::string data;
  size_t next = 0;
  static size_t Read(void *context, unsigned char *into, size_t bytes) {
    auto *self = static_cast<StringBlocks *>(context);
    size_t n = std::min(bytes, self->data.size() - self->next);
    std::memcpy(into, self->data.data() + self->next, n);
    self->next += n;
    return n;
  }
};

inline std::unique_ptr<PpdModel> ReadStringInBlocks(const std::string &ppd) {
  StringBlocks blocks{ppd};
  return ReadPpdModelFromBlocks(&StringBlocks::Read, &blocks);
}

inline std::string U8(const PpdText &text) { return ToUtf8(text); }
inline std::string U8(const PpdWord &word) { return ToUtf8(word); }
inline std::string U8(const PpdUnit *units) {
  if (units == nullptr) return "(null)";
  size_t n = 0;
  while (units[n] != 0) ++n;
  return PpdUnitsToUtf8(units, n);
}
inline std::basic_string<PpdUnit> W(const std::string &utf8) { return Utf8ToPpdUnits(utf8); }

// The PPD samples of the test data.
std::string SampleDirectory();
std::vector<std::string> SampleNames();
std::string ReadWholeFile(const std::string &path);  // binary
unsigned long ProcessId();

// What the C runtime's text mode reads from a file of these bytes: CR LF as
// LF, nothing from a 0x1A byte on.
std::string TextModeBytes(const std::string &raw);

}  // namespace test
}  // namespace qx
