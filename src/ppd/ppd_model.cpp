// Records of the model: texts, destructors, lookups.
#include "ppd/ppd_model.h"

#include <cstdlib>
#include <cstring>
#include <new>

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

bool PpdWord::Equals(const PpdUnit *s) const {
  if (s == nullptr) return false;
  int32_t i = 0;
  for (; i < length; ++i) {
    if (s[i] != text[i]) return false;
  }
  return s[i] == 0;
}

PpdConstraintStore::~PpdConstraintStore() {
  while (blocks_ != nullptr) {
    Block *next = blocks_->next;
    std::free(blocks_);
    blocks_ = next;
  }
}

void *PpdConstraintStore::Allocate(size_t bytes) {
  constexpr size_t kAlign = alignof(void *) > alignof(Block) ? alignof(void *) : alignof(Block);
  constexpr size_t kHeader = (sizeof(Block) + kAlign - 1) / kAlign * kAlign;
  bytes = (bytes + kAlign - 1) / kAlign * kAlign;
  if (blocks_ == nullptr || blocks_->capacity - blocks_->used < bytes) {
    size_t capacity = bytes > kBlockBytes ? bytes : kBlockBytes;
    Block *block = static_cast<Block *>(std::malloc(kHeader + capacity));
    if (block == nullptr) return nullptr;
    block->next = blocks_;
    block->used = 0;
    block->capacity = capacity;
    blocks_ = block;
  }
  void *storage = reinterpret_cast<unsigned char *>(blocks_) + kHeader + blocks_->used;
  blocks_->used += bytes;
  return storage;
}

PpdConstraint *PpdConstraint::Create(PpdConstraintStore &store, const PpdText *words, int count) {
  if (count > 4) count = 4;
  size_t units = 0;
  for (int i = 0; i < count; ++i) units += static_cast<size_t>(words[i].length) + 1;
  void *block = store.Allocate(sizeof(PpdConstraint) + sizeof(PpdUnit) * units);
  if (block == nullptr) return nullptr;
  PpdConstraint *constraint = new (block) PpdConstraint();
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

PpdOption::~PpdOption() { delete[] pwszInvocation; }

PpdFeature::~PpdFeature() { delete[] pwszQuery; }

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
