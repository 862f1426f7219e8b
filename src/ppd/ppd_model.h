// The printer description (PPD) as the plug-in uses it: header values, the
// user-interface features with their options, the *UIConstraints lines, and
// the installable features with the option currently installed for each.
// On top of that every option of every other feature carries a constrained
// mark: set when an installed option excludes it through a constraint.
//
// Ownership: every record (feature, option, constraint, installed option)
// lives in one of the model's record stores, which free their memory with
// the model; the array that lists a record ends its lifetime. The model is
// owned by its caller through std::unique_ptr, and owns its constraint index.
// Portable: builds natively and into the DLL.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <memory>

#include "ppd/ppd_budget.h"

namespace qx {

// One UTF-16 unit. wchar_t wherever it is 16 bits (WCHAR in the Windows
// builds), so the option tree code can compare model texts with the driver's
// strings directly.
#if WCHAR_MAX == 0xFFFF
using PpdUnit = wchar_t;
#define QX_PPD_STR(s) L##s
#else
using PpdUnit = char16_t;
#define QX_PPD_STR(s) u##s
#endif
static_assert(sizeof(PpdUnit) == 2, "PPD texts are UTF-16");

constexpr int kPpdTextUnits = 260;  // 259 characters and the terminator

// A fixed-size, zero-terminated UTF-16 text. Compared by exact units, without
// case folding. Only the used units are ever written, so a text costs what
// its length costs, not its 520 bytes (value-initialising a holder, T() or
// T{}, would zero them all).
class PpdText {
 public:
  // Only the used units are written: records hold many texts, most short.
  PpdText() { text[0] = 0; }
  PpdText(const PpdText &other) : length(other.length) { CopyUnits(other); }
  PpdText &operator=(const PpdText &other) {
    length = other.length;
    CopyUnits(other);
    return *this;
  }
  virtual ~PpdText() = default;

  bool IsEmpty() const { return length == 0; }
  bool Equals(const PpdText &other) const;
  bool Equals(const PpdUnit *zeroTerminated) const;  // null equals nothing
  void Clear() { length = 0; text[0] = 0; }
  // Copies up to 259 units of a zero-terminated string as they are.
  void Assign(const PpdUnit *zeroTerminated);

  int32_t length = 0;                 // units before the terminator
  PpdUnit text[kPpdTextUnits];        // zero-terminated; units after it unset

 private:
  void CopyUnits(const PpdText &other) {
    std::memmove(text, other.text, sizeof(PpdUnit) * (static_cast<size_t>(length) + 1));
  }
};

// The list of a model's records in file order. The records live in a record
// store; the list ends their lifetimes (destroys them) when it goes, and the
// store frees their memory after. Allocated at its first record with the
// capacity Reserve gave (many features have no options), in the store when
// the record is made there (most have a few), then on the heap, doubled
// when full; an allocation failure, or a budget that cannot take the
// growth, leaves it unchanged.
class PpdRecordStore;

template <class T>
class PpdArray {
 public:
  PpdArray() = default;
  PpdArray(const PpdArray &) = delete;
  PpdArray &operator=(const PpdArray &) = delete;
  ~PpdArray();

  int32_t Count() const { return count_; }
  T *operator[](int32_t index) const { return items_[index]; }
  T *const *begin() const { return items_; }
  T *const *end() const { return items_ + count_; }

  // The first capacity; the array's memory is taken from the budget, if
  // any. Without it no record can be appended.
  void Reserve(int32_t capacity, PpdByteBudget *budget = nullptr) {
    if (items_ != nullptr) return;
    first_ = capacity;
    budget_ = budget;
  }
  bool Append(T *item);  // the list destroys the record only on success
  // A new record made by T::Create in the store (with the arguments given)
  // and appended; null when out of memory or budget. Room is made first, so
  // that no record is left outside a list.
  template <class... Args>
  T *AppendNew(PpdRecordStore &store, const Args &...args) {
    if (count_ == capacity_ && !Grow(&store)) return nullptr;
    T *item = T::Create(store, args...);
    if (item != nullptr) items_[count_++] = item;
    return item;
  }

 private:
  // With a store, the first room is taken from it.
  bool Grow(PpdRecordStore *store = nullptr);
  T **items_ = nullptr;
  int32_t count_ = 0;
  int32_t capacity_ = 0;
  int32_t first_ = 0;
  bool inStore_ = false;  // items_ lives in a record store, not on the heap
  PpdByteBudget *budget_ = nullptr;
};

template <class T>
PpdArray<T>::~PpdArray() {
  for (int32_t i = 0; i < count_; ++i) items_[i]->~T();  // the store frees the memory
  if (!inStore_) std::free(items_);
}

template <class T>
bool PpdArray<T>::Append(T *item) {
  if (count_ == capacity_ && !Grow()) return false;
  items_[count_++] = item;
  return true;
}

// Storage for many small records freed together: a few blocks, growing
// from 4 KiB to 32 KiB, instead of one allocation per record (large PPDs
// have thousands of constraints, and features dozens of options). Blocks are
// taken from the budget, if any.
class PpdRecordStore {
 public:
  explicit PpdRecordStore(PpdByteBudget *budget = nullptr) : budget_(budget) {}
  PpdRecordStore(const PpdRecordStore &) = delete;
  PpdRecordStore &operator=(const PpdRecordStore &) = delete;
  ~PpdRecordStore();

  PpdByteBudget *Budget() const { return budget_; }

  // Pointer-aligned storage that lives as long as the store; null when out
  // of memory or budget. With slack, that many more bytes are writable
  // beyond the end of the allocation, which the next allocation may reuse.
  void *Allocate(size_t bytes, size_t slack = 0) {
    bytes = (bytes + kAlign - 1) / kAlign * kAlign;
    if (blocks_ == nullptr || blocks_->capacity - blocks_->used < bytes + slack) {
      return AllocateInNewBlock(bytes, slack);
    }
    void *storage = reinterpret_cast<unsigned char *>(blocks_) + kHeader + blocks_->used;
    blocks_->used += bytes;
    return storage;
  }

 private:
  struct Block {
    Block *next;
    size_t used;
    size_t capacity;
  };
  static constexpr size_t kAlign = alignof(void *) > alignof(Block) ? alignof(void *) : alignof(Block);
  static constexpr size_t kHeader = (sizeof(Block) + kAlign - 1) / kAlign * kAlign;
  void *AllocateInNewBlock(size_t bytes, size_t slack);
  static constexpr size_t kFirstBlockBytes = 4096;
  static constexpr size_t kLargestBlockBytes = 32768;
  Block *blocks_ = nullptr;  // the newest first
  PpdByteBudget *budget_;
};

// Here, where the store is complete.
template <class T>
bool PpdArray<T>::Grow(PpdRecordStore *store) {
  int32_t capacity = items_ == nullptr ? first_ : capacity_ > INT32_MAX / 2 ? 0 : capacity_ * 2;
  if (capacity <= 0) return false;
  const size_t bytes = sizeof(T *) * static_cast<size_t>(capacity);
  if (items_ == nullptr && store != nullptr) {
    // Most lists stay small (a feature's options): no heap block of their
    // own, and the store's blocks are taken from the budget already.
    void *room = store->Allocate(bytes);
    if (room == nullptr) return false;
    items_ = static_cast<T **>(room);
    capacity_ = capacity;
    inStore_ = true;
    return true;
  }
  const bool fresh = items_ == nullptr || inStore_;  // a heap block of its own from now on
  const size_t taken = bytes - (fresh ? 0 : sizeof(T *) * static_cast<size_t>(capacity_)) +
                       (fresh ? kPpdHeapChunkBytes : 0);
  if (!TakeFrom(budget_, taken)) return false;
  void *grown = inStore_ ? std::malloc(bytes) : std::realloc(items_, bytes);
  if (grown == nullptr) {
    if (budget_ != nullptr) budget_->Give(taken);
    return false;
  }
  if (inStore_) std::memcpy(grown, items_, sizeof(T *) * static_cast<size_t>(count_));
  items_ = static_cast<T **>(grown);
  capacity_ = capacity;
  inStore_ = false;
  return true;
}

// A zero-terminated text of at most 259 units, read and cut like a PpdText,
// kept compactly in its record's store: the texts of options, features,
// installed options and constraints (a PpdText takes 520 bytes whatever its
// length, and a hostile file of minimal lines would make a model hundreds of
// times its size).
struct PpdWord {
  int32_t length = 0;
  const PpdUnit *text = QX_PPD_STR("");

  // A word over a zero-terminated string of at most 259 units that the
  // caller keeps alive (models made by hand).
  static PpdWord Of(const PpdUnit *zeroTerminated) {
    int32_t n = 0;
    while (n < kPpdTextUnits - 1 && zeroTerminated[n] != 0) ++n;
    return PpdWord{n, zeroTerminated};
  }

  bool IsEmpty() const { return length == 0; }
  bool Equals(const PpdText &other) const { return EqualUnits(other.text, other.length); }
  bool Equals(const PpdWord &other) const { return EqualUnits(other.text, other.length); }
  bool Equals(const PpdUnit *zeroTerminated) const;  // null equals nothing

 private:
  bool EqualUnits(const PpdUnit *units, int32_t count) const {
    if (length != count) return false;
    for (int32_t i = 0; i < length; ++i) {
      if (text[i] != units[i]) return false;
    }
    return true;
  }
};

// The text as a word in the store (an empty text takes nothing); false when
// out of memory or budget.
bool StoreWord(PpdRecordStore &store, const PpdText &text, PpdWord &word);

// One option line of a feature. Options live in their model's record store,
// which outlives the features that hold them.
struct PpdOption {
  PpdWord keyword;                    // "LC1"
  PpdWord translation;                // display text; the keyword when none
  PpdUnit *invocation = nullptr;      // value after the colon, unquoted; in the store
  uint8_t constrained = 0;            // 1 when an installed option excludes it

  // A new option in the store, with its share of the index taken from the
  // store's budget; null when out of memory or budget.
  static PpdOption *Create(PpdRecordStore &store);
  // The same holding copies of the texts (once when they are equal) and room
  // for an invocation of invocationLength units and its terminator, where
  // invocation points, all in one piece: one allocation and one run of
  // memory per option line.
  static PpdOption *Create(PpdRecordStore &store, const PpdText &keywordText, const PpdText &translationText,
                           int32_t invocationLength);
  // Keeps the texts in the store, once when they are equal; false when out
  // of memory or budget.
  bool SetTexts(PpdRecordStore &store, const PpdText &keywordText, const PpdText &translationText);
  PpdOption(const PpdOption &) = delete;
  PpdOption &operator=(const PpdOption &) = delete;

 private:
  PpdOption() = default;
};

constexpr int32_t kPpdPickOne = 1;   // and any unknown word
constexpr int32_t kPpdPickMany = 2;
constexpr int32_t kPpdBoolean = 3;

// One *OpenUI ... *CloseUI block; its texts live in the model's option store.
struct PpdFeature {
  PpdWord keyword;                // "*InputSlot", with its asterisk
  PpdWord translation;            // "Input Slot"
  PpdWord defaultOption;          // value of the block's *Default... line
  PpdWord groupKeyword;           // enclosing *OpenGroup, empty outside one
  PpdWord groupTranslation;
  std::unique_ptr<PpdUnit[]> query;  // value of the first *?... line, or null
  int32_t uiType = kPpdPickOne;
  int32_t order = 0;                 // number of the *OrderDependency line
  PpdArray<PpdOption> options;    // in file order

  // A new feature in the store; null when out of memory or budget.
  static PpdFeature *Create(PpdRecordStore &store);
  // The same holding copies of its keyword and translation, in one piece.
  static PpdFeature *Create(PpdRecordStore &store, const PpdText &keywordText, const PpdText &translationText);
  PpdFeature(const PpdFeature &) = delete;
  PpdFeature &operator=(const PpdFeature &) = delete;

  bool IsInstallable() const;     // group keyword is "InstallableOptions"

 private:
  PpdFeature() = default;
};

// One *UIConstraints line, words in line order: when feature1 is at option1,
// option2 of feature2 is excluded. Words not read stay empty.
class PpdConstraint {
 public:
  // A constraint in the store holding copies of the first count (at most
  // four) texts as its words, all in one piece, with its share of the index
  // taken from the store's budget; null when out of memory or budget.
  static PpdConstraint *Create(PpdRecordStore &store, const PpdText *words, int count);
  // The same from four words of ASCII bytes in one line (each at most 259
  // bytes), which stand for units of the same value: the line from the first
  // word's start to the fourth word's end is kept widened, with terminators
  // written over the bytes that end the words. starts and ends are offsets
  // into line, which holds at least 16 bytes beyond the fourth word's end.
  static PpdConstraint *CreateFromAsciiLine(PpdRecordStore &store, const unsigned char *line,
                                            const uint32_t *starts, const uint32_t *ends);
  PpdConstraint(const PpdConstraint &) = delete;
  PpdConstraint &operator=(const PpdConstraint &) = delete;

  PpdWord feature1;  // with asterisk
  PpdWord option1;
  PpdWord feature2;  // with asterisk
  PpdWord option2;

 private:
  PpdConstraint() = default;
};

// A feature of the group InstallableOptions and its current option: the PPD
// default at first, later what the driver reports.
class InstalledOption {
 public:
  // A new installed option in the store, with its share of the index taken
  // from the store's budget; null when out of memory or budget.
  static InstalledOption *Create(PpdRecordStore &store);
  InstalledOption(const InstalledOption &) = delete;
  InstalledOption &operator=(const InstalledOption &) = delete;
  ~InstalledOption() = default;

  // Copies up to 259 units of a zero-terminated string as they are. A value
  // the feature holds (its default or an option keyword) is shared, anything
  // else copied; empty when the copy cannot be allocated.
  void SetCurrentOption(const PpdUnit *zeroTerminated);

  PpdWord featureKeyword;  // with asterisk; the feature's own
  PpdWord currentOption;
  const PpdFeature *feature = nullptr;  // whose texts may be shared

 private:
  std::unique_ptr<PpdUnit[]> copy_;  // a current option the feature does not hold
  InstalledOption() = default;
};

class PpdConstraintIndex;  // lookup built once per model for the marks

class PpdModel {
 public:
  PpdModel();
  PpdModel(const PpdModel &) = delete;
  PpdModel &operator=(const PpdModel &) = delete;
  virtual ~PpdModel();

  // Read access in file order.
  int32_t FeatureCount() const { return features.Count(); }
  PpdFeature *Feature(int32_t index) const { return features[index]; }
  int32_t ConstraintCount() const { return constraints.Count(); }
  PpdConstraint *Constraint(int32_t index) const { return constraints[index]; }
  int32_t InstalledOptionCount() const { return installedOptions.Count(); }
  InstalledOption *Installed(int32_t index) const { return installedOptions[index]; }
  // First feature whose keyword (with asterisk) equals the given one, or null.
  PpdFeature *FindFeature(const PpdUnit *keyword) const;

  // Every byte the model holds (records, arrays, stores, queries, and the
  // constraint index's shares) is taken from it; declared first, so that it
  // outlives everything that refers to it.
  PpdByteBudget budget;
  PpdRecordStore optionStore{&budget};      // before features: outlives their options
  PpdArray<PpdFeature> features;
  PpdRecordStore constraintStore{&budget};  // before constraints: outlives them
  PpdArray<PpdConstraint> constraints;
  PpdText modelName, product, manufacturer, languageEncoding, languageVersion;  // one each
  PpdArray<InstalledOption> installedOptions;

  // Built by the first MarkConstrainedOptions, at the end of reading. After
  // reading only the installed options' current options and the marks
  // change; the index relies on that.
  std::unique_ptr<PpdConstraintIndex> constraintIndex;

  // What the marks hold, so that a recompute writes only where something
  // changes: unknown (a model made by hand), all clear (as read), or what
  // the index wrote last. Marks are written only by the computations in
  // ppd_marks.h, which keep it.
  enum class Marks : uint8_t { kUnknown, kClear, kIndexed };
  Marks marks = Marks::kUnknown;
};

// The next byte, 0 to 255, or -1 at the end of the input.
using PpdNextByte = int (*)(void *context);

// Reads the whole source into a new model for the caller, and marks the
// options that the PPD's default installed options exclude. Never fails on
// the input: what was read before a problem stays, an empty source gives an
// empty model. Reading ends, as on a failed allocation, where the model would
// hold more than kPpdModelByteLimit bytes. Null only when the model itself
// cannot be allocated.
std::unique_ptr<PpdModel> ReadPpdModel(PpdNextByte nextByte, void *context);

// The same over a FILE the caller opened in binary mode and keeps private
// during the call; reads it in blocks through the C runtime and sees the
// bytes as the runtime's text mode would give them (CR LF as LF, a 0x1A byte
// ends the input), in every build; it may take bytes beyond those the
// reading consumes.
std::unique_ptr<PpdModel> ReadPpdModelFromFile(FILE *file);

// Reads up to `bytes` bytes of a file into `into` and says how many; fewer
// only at the end of the file or on an error, and either ends the input.
using PpdReadBlock = size_t (*)(void *context, unsigned char *into, size_t bytes);

// ReadPpdModelFromFile over a file that readBlock reads (the same text-mode
// rules), for callers that open files with other than the C runtime.
std::unique_ptr<PpdModel> ReadPpdModelFromBlocks(PpdReadBlock readBlock, void *context);

// Sets the current option of the first installed option whose feature
// keyword (with asterisk) equals featureKeyword to optionKeyword, copied as
// it is (already UTF-16; at most 259 units). Nothing changes when either
// keyword is null or nothing matches. With recompute set the marks are
// recomputed in any case.
void SetInstalledOption(PpdModel *model, const PpdUnit *featureKeyword,
                        const PpdUnit *optionKeyword, bool recompute);

// Recomputes every constrained mark: an option of a feature outside
// InstallableOptions is marked exactly when the current option of some
// installed option excludes it through a constraint.
void MarkConstrainedOptions(PpdModel *model);

// 1 when a constraint says installedFeature at installedOption excludes
// option of feature; else 2 when a constraint links installedFeature to
// feature at all; else 0.
int MatchConstraint(const PpdModel *model, const PpdWord &installedFeature,
                    const PpdWord &installedOption, const PpdFeature &feature,
                    const PpdOption &option);

}  // namespace qx
