// libFuzzer target: any bytes through the reader, the installed options and
// the marks. Crashes, leaks, reads past buffers, a difference between the
// indexed marks and their plain definition, and a difference between the
// FILE reader and the function source over the bytes the C runtime's text
// mode gives of the same file are failures.
//
// Built with QX_PPD_FUZZ_LARGE (ppd_fuzz_large), an input "head NUL body
// [NUL tail]" stands for head, body repeated up to 1 MB, and tail, so that
// mutations reach files whose cost grows with the square of their size:
// a model holding more heap than its byte budget allows fails at once, and
// its runs' -timeout fails a reading whose time grows so.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#ifdef QX_PPD_FUZZ_LARGE
#include <sanitizer/allocator_interface.h>
#endif

#include "ppd/ppd_dump.h"
#include "ppd/ppd_marks.h"
#include "ppd/ppd_model.h"

namespace {

struct Bytes {
  const uint8_t *data;
  size_t size;
  size_t next;
  static int Next(void *context) {
    auto *self = static_cast<Bytes *>(context);
    return self->next < self->size ? self->data[self->next++] : -1;
  }
};

// CR LF as LF, nothing from a 0x1A byte on.
std::vector<uint8_t> TextModeBytes(const uint8_t *data, size_t size) {
  std::vector<uint8_t> text;
  for (size_t i = 0; i < size && data[i] != 0x1A; ++i) {
    if (data[i] == '\r' && i + 1 < size && data[i + 1] == '\n') continue;
    text.push_back(data[i]);
  }
  return text;
}

std::vector<uint8_t> Marks(const qx::PpdModel &model) {
  std::vector<uint8_t> marks;
  for (const qx::PpdFeature *feature : model.features) {
    for (const qx::PpdOption *option : feature->options) marks.push_back(option->constrained);
  }
  return marks;
}

// The most comparisons the plain definition may take for one check: the
// large mode keeps each input's checks well within its time limit.
#ifdef QX_PPD_FUZZ_LARGE
constexpr uint64_t kPlainWork = 100000;
#else
constexpr uint64_t kPlainWork = 2000000;
#endif

void CheckMarks(qx::PpdModel &model, uint64_t work) {
  qx::MarkConstrainedOptions(&model);
  if (work > kPlainWork) return;  // the plain definition would take too long
  std::vector<uint8_t> indexed = Marks(model);
  qx::MarkConstrainedOptionsPlain(&model);
  if (indexed != Marks(model)) std::abort();
}

#ifdef QX_PPD_FUZZ_LARGE
constexpr size_t kLargeBytes = 1 << 20;
// The heap of a model read and indexed: its budget, and a margin for what
// the budget does not see of the allocator's own.
constexpr size_t kModelHeapLimit = (size_t{64} + 16) << 20;

std::vector<uint8_t> Expand(const uint8_t *data, size_t size) {
  const uint8_t *end = data + size;
  const uint8_t *head = std::find(data, end, 0);
  if (head == end) return std::vector<uint8_t>(data, end);
  const uint8_t *body = head + 1;
  const uint8_t *bodyEnd = std::find(body, end, 0);
  const uint8_t *tail = bodyEnd == end ? end : bodyEnd + 1;
  std::vector<uint8_t> out(data, head);
  out.reserve(kLargeBytes + static_cast<size_t>(end - tail));
  while (body != bodyEnd && out.size() + static_cast<size_t>(bodyEnd - body) <= kLargeBytes) {
    out.insert(out.end(), body, bodyEnd);
  }
  out.insert(out.end(), tail, end);
  return out;
}
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *input, size_t inputSize) {
#ifdef QX_PPD_FUZZ_LARGE
  const std::vector<uint8_t> expanded = Expand(input, inputSize);
  const uint8_t *data = expanded.data();
  const size_t size = expanded.size();
#else
  const uint8_t *data = input;
  const size_t size = inputSize;
#endif
  Bytes bytes{data, size, 0};
#ifdef QX_PPD_FUZZ_LARGE
  const size_t heapBefore = __sanitizer_get_current_allocated_bytes();
#endif
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModel(&Bytes::Next, &bytes));
  if (!model) return 0;
#ifdef QX_PPD_FUZZ_LARGE
  if (__sanitizer_get_current_allocated_bytes() - heapBefore > kModelHeapLimit) std::abort();
#endif

  // The FILE reader must build the same model.
  if (size > 0) {
    FILE *file = fmemopen(const_cast<uint8_t *>(data), size, "rb");
    if (file != nullptr) {
      std::unique_ptr<qx::PpdModel> fromFile(qx::ReadPpdModelFromFile(file));
      std::fclose(file);
      std::vector<uint8_t> text = TextModeBytes(data, size);
      Bytes textBytes{text.data(), text.size(), 0};
      std::unique_ptr<qx::PpdModel> fromText(qx::ReadPpdModel(&Bytes::Next, &textBytes));
      if (fromFile && fromText && qx::DumpPpdModel(*fromFile) != qx::DumpPpdModel(*fromText)) std::abort();
    }
  }

  uint64_t options = 0;
  for (const qx::PpdFeature *feature : model->features) options += feature->options.Count();
  uint64_t work = options * static_cast<uint64_t>(model->InstalledOptionCount()) *
                  static_cast<uint64_t>(model->ConstraintCount());
  if (work <= kPlainWork) {
    // Reading marks in its own pass over the constraints.
    std::vector<uint8_t> afterReading = Marks(*model);
    qx::MarkConstrainedOptionsPlain(model.get());
    if (afterReading != Marks(*model)) std::abort();
  }
  CheckMarks(*model, work);

  // Move every installed option through the options its feature offers, and
  // once to an option read from the input's last bytes.
  int32_t steps = 0;
  for (qx::InstalledOption *installed : model->installedOptions) {
    if (steps > 64) break;
    const qx::PpdFeature *feature = installed->feature;
    for (const qx::PpdOption *option : feature->options) {
      if (++steps > 64) break;
      qx::SetInstalledOption(model.get(), installed->featureKeyword.text, option->keyword.text, false);
      CheckMarks(*model, work);
    }
  }
  if (size >= 2 && model->InstalledOptionCount() > 0) {
    qx::PpdUnit tail[3] = {static_cast<qx::PpdUnit>(data[size - 2]),
                           static_cast<qx::PpdUnit>(data[size - 1]), 0};
    qx::SetInstalledOption(model.get(), model->Installed(0)->featureKeyword.text, tail, true);
  }
  // Describing the exclusions compares every marked option with every
  // constraint for every installed option.
  volatile size_t sink = qx::DumpPpdModel(*model).size() +
                         (work <= kPlainWork ? qx::DescribeExcludedOptions(*model).size() : 0);
  (void)sink;
  return 0;
}
