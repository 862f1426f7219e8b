// Records of the model: texts, destructors, lookups.
#include "ppd/ppd_model.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "ppd/ppd_memory.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qx {

bool PpdText::Equals(const PpdText &other) const {
  if (length != other.length) return false;
  for (int32_t i = 0; i < length; ++i) {
    if (text[i] != other.text[i]) return false;
  }
  return true;
}

bool PpdText::Equals(const PpdUnit *s) const {
  if (s == nullptr) return false;
  int32_t i = 0;
  for (; i < length; ++i) {
    if (s[i] != text[i]) return false;  // also stops at a shorter s's terminator
  }
  return s[i] == 0;
}

void PpdText::Assign(const PpdUnit *s) {
  int32_t n = 0;
  if (s != nullptr) {
    for (; n < kPpdTextUnits - 1 && s[n] != 0; ++n) text[n] = s[n];
  }
  text[n] = 0;
  length = n;
}

namespace {

// Units a text takes in a record's storage: none when empty.
size_t StoredUnits(const PpdText &text) { return text.length == 0 ? 0 : static_cast<size_t>(text.length) + 1; }

// The text copied to storage as a word (units one by one: most are a few);
// the storage after it is next.
PpdWord PlaceWord(PpdUnit *&storage, const PpdText &text) {
  if (text.length == 0) return PpdWord{};
  PpdWord word{text.length, storage};
  for (int32_t i = 0; i <= text.length; ++i) storage[i] = text.text[i];
  storage += text.length + 1;
  return word;
}

}  // namespace

bool StoreWord(PpdRecordStore &store, const PpdText &text, PpdWord &word) {
  if (text.length == 0) {
    word = PpdWord{};
    return true;
  }
  const size_t bytes = sizeof(PpdUnit) * (static_cast<size_t>(text.length) + 1);
  PpdUnit *storage = static_cast<PpdUnit *>(store.Allocate(bytes));
  if (storage == nullptr) return false;
  word = PlaceWord(storage, text);
  return true;
}

bool PpdWord::Equals(const PpdUnit *s) const {
  if (s == nullptr) return false;
  int32_t i = 0;
  for (; i < length; ++i) {
    if (s[i] != text[i]) return false;
  }
  return s[i] == 0;
}

namespace {

// Widens chunks of sixteen bytes into units of the same value.
void WidenAscii16(const unsigned char *bytes, size_t chunks, PpdUnit *units) {
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (size_t c = 0; c < chunks; ++c) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(bytes + 16 * c));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(units + 16 * c), _mm_unpacklo_epi8(v, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i *>(units + 16 * c + 8), _mm_unpackhi_epi8(v, zero));
  }
#else
  for (size_t i = 0; i < chunks * 16; ++i) units[i] = bytes[i];
#endif
}

}  // namespace

PpdRecordStore::~PpdRecordStore() {
  while (blocks_ != nullptr) {
    Block *next = blocks_->next;
    ReturnPpdBlock(blocks_, kHeader + blocks_->capacity);
    blocks_ = next;
  }
}

void *PpdRecordStore::AllocateInNewBlock(size_t bytes, size_t slack) {
  size_t capacity = blocks_ == nullptr                        ? kFirstBlockBytes
                    : blocks_->capacity < kLargestBlockBytes ? blocks_->capacity * 2
                                                              : kLargestBlockBytes;
  if (capacity < bytes + slack) capacity = bytes + slack;
  if (!TakeFrom(budget_, kHeader + capacity + kPpdHeapChunkBytes)) return nullptr;
  Block *block = static_cast<Block *>(TakePpdBlock(kHeader + capacity));
  if (block == nullptr) {
    if (budget_ != nullptr) budget_->Give(kHeader + capacity + kPpdHeapChunkBytes);
    return nullptr;
  }
  block->next = blocks_;
  block->used = bytes;
  block->capacity = capacity;
  blocks_ = block;
  return reinterpret_cast<unsigned char *>(block) + kHeader;
}

PpdConstraint *PpdConstraint::Create(PpdRecordStore &store, const PpdText *words, int count) {
  if (count > 4) count = 4;
  size_t units = 0;
  for (int i = 0; i < count; ++i) units += static_cast<size_t>(words[i].length) + 1;
  if (!TakeFrom(store.Budget(), kPpdIndexBytesPerConstraint)) return nullptr;
  void *block = store.Allocate(sizeof(PpdConstraint) + sizeof(PpdUnit) * units);
  if (block == nullptr) return nullptr;
  PpdConstraint *constraint = new (block) PpdConstraint;
  PpdUnit *storage = reinterpret_cast<PpdUnit *>(constraint + 1);
  PpdWord *targets[4] = {&constraint->feature1, &constraint->option1, &constraint->feature2,
                         &constraint->option2};
  for (int i = 0; i < count; ++i) {
    std::memcpy(storage, words[i].text, sizeof(PpdUnit) * (static_cast<size_t>(words[i].length) + 1));
    targets[i]->text = storage;
    targets[i]->length = words[i].length;
    storage += words[i].length + 1;
  }
  return constraint;
}

PpdConstraint *PpdConstraint::CreateFromAsciiLine(PpdRecordStore &store,
                                                  const unsigned char *line,
                                                  const uint32_t *starts, const uint32_t *ends) {
  size_t units = ends[3] - starts[0] + 1;
  size_t chunks = (units + 15) / 16;
  if (!TakeFrom(store.Budget(), kPpdIndexBytesPerConstraint)) return nullptr;
  void *block = store.Allocate(sizeof(PpdConstraint) + sizeof(PpdUnit) * units,
                               sizeof(PpdUnit) * (chunks * 16 - units));
  if (block == nullptr) return nullptr;
  PpdConstraint *constraint = new (block) PpdConstraint;
  PpdUnit *storage = reinterpret_cast<PpdUnit *>(constraint + 1);
  WidenAscii16(line + starts[0], chunks, storage);
  PpdWord *targets[4] = {&constraint->feature1, &constraint->option1, &constraint->feature2,
                         &constraint->option2};
  for (int i = 0; i < 4; ++i) {
    storage[ends[i] - starts[0]] = 0;
    targets[i]->text = storage + (starts[i] - starts[0]);
    targets[i]->length = static_cast<int32_t>(ends[i] - starts[i]);
  }
  return constraint;
}

PpdOption *PpdOption::Create(PpdRecordStore &store) {
  if (!TakeFrom(store.Budget(), kPpdIndexBytesPerOption)) return nullptr;
  void *block = store.Allocate(sizeof(PpdOption));
  return block != nullptr ? new (block) PpdOption : nullptr;
}

PpdOption *PpdOption::Create(PpdRecordStore &store, const PpdText &keywordText, const PpdText &translationText,
                             int32_t invocationLength) {
  const bool shared = translationText.Equals(keywordText);
  const size_t units = StoredUnits(keywordText) + (shared ? 0 : StoredUnits(translationText)) +
                       static_cast<size_t>(invocationLength) + 1;
  if (!TakeFrom(store.Budget(), kPpdIndexBytesPerOption)) return nullptr;
  void *block = store.Allocate(sizeof(PpdOption) + sizeof(PpdUnit) * units);
  if (block == nullptr) return nullptr;
  PpdOption *option = new (block) PpdOption;
  PpdUnit *storage = reinterpret_cast<PpdUnit *>(option + 1);
  // Words made here and stored once: the record's memory is new, and
  // reading it back right away would wait for the stores.
  const PpdWord keyword = PlaceWord(storage, keywordText);
  option->keyword = keyword;
  option->translation = shared ? keyword : PlaceWord(storage, translationText);
  option->invocation = storage;
  return option;
}

bool PpdOption::SetTexts(PpdRecordStore &store, const PpdText &keywordText, const PpdText &translationText) {
  if (!StoreWord(store, keywordText, keyword)) return false;
  if (translationText.Equals(keywordText)) {
    translation = keyword;
    return true;
  }
  return StoreWord(store, translationText, translation);
}

PpdFeature *PpdFeature::Create(PpdRecordStore &store) {
  void *block = store.Allocate(sizeof(PpdFeature));
  return block != nullptr ? new (block) PpdFeature : nullptr;
}

PpdFeature *PpdFeature::Create(PpdRecordStore &store, const PpdText &keywordText,
                               const PpdText &translationText) {
  const size_t units = StoredUnits(keywordText) + StoredUnits(translationText);
  void *block = store.Allocate(sizeof(PpdFeature) + sizeof(PpdUnit) * units);
  if (block == nullptr) return nullptr;
  PpdFeature *feature = new (block) PpdFeature;
  PpdUnit *storage = reinterpret_cast<PpdUnit *>(feature + 1);
  feature->keyword = PlaceWord(storage, keywordText);
  feature->translation = PlaceWord(storage, translationText);
  return feature;
}

InstalledOption *InstalledOption::Create(PpdRecordStore &store) {
  if (!TakeFrom(store.Budget(), kPpdIndexBytesPerInstalled)) return nullptr;
  void *block = store.Allocate(sizeof(InstalledOption));
  return block != nullptr ? new (block) InstalledOption : nullptr;
}

void InstalledOption::SetCurrentOption(const PpdUnit *s) {
  int32_t n = 0;
  while (n < kPpdTextUnits - 1 && s[n] != 0) ++n;
  PpdWord value{n, s};
  if (currentOption.Equals(value)) return;
  PpdWord shared;
  bool found = false;
  if (feature != nullptr && feature->defaultOption.Equals(value)) {
    shared = feature->defaultOption;
    found = true;
  }
  for (int32_t i = 0; feature != nullptr && !found && i < feature->options.Count(); ++i) {
    if (feature->options[i]->keyword.Equals(value)) {
      shared = feature->options[i]->keyword;
      found = true;
    }
  }
  std::unique_ptr<PpdUnit[]> copy;
  if (!found) {
    copy.reset(new (std::nothrow) PpdUnit[static_cast<size_t>(n) + 1]);
    if (copy != nullptr) {
      std::memcpy(copy.get(), s, sizeof(PpdUnit) * static_cast<size_t>(n));
      copy[n] = 0;
      shared = PpdWord{n, copy.get()};
    }
  }
  copy_ = std::move(copy);
  currentOption = shared;
}

bool PpdFeature::IsInstallable() const {
  return groupKeyword.Equals(QX_PPD_STR("InstallableOptions"));
}

PpdFeature *PpdModel::FindFeature(const PpdUnit *keyword) const {
  for (PpdFeature *feature : features) {
    if (feature->keyword.Equals(keyword)) return feature;
  }
  return nullptr;
}

}  // namespace qx
