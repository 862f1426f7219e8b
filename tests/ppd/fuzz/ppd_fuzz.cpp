// libFuzzer target: any bytes through the reader, the installed options and
// the marks. Crashes, leaks, reads past buffers, a difference between the
// indexed marks and their plain definition, and a difference between the
// FILE reader and the function source over the bytes the C runtime's text
// mode gives of the same file are failures.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

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
    for (const qx::PpdOption *option : feature->options) marks.push_back(option->bConstrained);
  }
  return marks;
}

void CheckMarks(qx::PpdModel &model, uint64_t work) {
  qx::MarkConstrainedOptions(&model);
  if (work > 2000000) return;  // the plain definition would take too long
  std::vector<uint8_t> indexed = Marks(model);
  qx::MarkConstrainedOptionsPlain(&model);
  if (indexed != Marks(model)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  Bytes bytes{data, size, 0};
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModel(&Bytes::Next, &bytes));
  if (!model) return 0;

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
  if (work <= 2000000) {
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
    const qx::PpdFeature *feature = model->FindFeature(installed->featureKeyword.text);
    if (feature == nullptr) continue;
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
  volatile size_t sink = qx::DumpPpdModel(*model).size() + qx::DescribeExcludedOptions(*model).size();
  (void)sink;
  return 0;
}
