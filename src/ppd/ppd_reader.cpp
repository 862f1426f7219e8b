// The PPD scanner's main loop and feature blocks: the model built from the
// few keywords the plug-in needs. Every other token is skipped one by one.
// Nothing is reported: what was read before a problem stays in the model.
#include "ppd/ppd_reader.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <new>

#include "ppd/ppd_keyword_line.h"
#include "ppd/ppd_keywords.h"
#include "ppd/ppd_line_steps.h"
#include "ppd/ppd_marks.h"
#include "ppd/ppd_memory.h"
#include "ppd/ppd_scan.h"
#include "ppd/ppd_text.h"
#include "ppd/ppd_text_mode.h"
#include "ppd/ppd_token_text.h"

namespace qx {

namespace {

using namespace ppd_detail;

template <class Source>
QX_PPD_INLINE bool ReadTextFrom(Source &source, PpdToken &token, PpdText &field) {
  if (ReadShortAsciiText(source, field)) return true;
  if (!ReadTokenFrom(source, token, false)) return false;
  BytesToPpdText(field, token.bytes, static_cast<size_t>(token.length));
  return true;
}

// The texts of the line being read, before they are kept in the store.
struct LineTexts {
  PpdText keyword, translation;
};

// The block after the feature's keyword and translation.
template <class Source>
bool ReadFeatureBodyFrom(Source &source, PpdToken &token, PpdFeature &feature, PpdRecordStore &store) {
  feature.options.Reserve(8, store.Budget());
  LineTexts texts;
  const PpdWord &featureKeyword = feature.keyword;
  if (!ReadTokenFrom(source, token, false)) return false;
  if (StartsWith(token, "PickMany", 8) && token.length == 8) {
    feature.uiType = kPpdPickMany;
  } else if (StartsWith(token, "Boolean", 7) && token.length == 7) {
    feature.uiType = kPpdBoolean;
  } else {
    feature.uiType = kPpdPickOne;
  }
  const OptionLineKeyword lineKeyword(featureKeyword);
  for (;;) {
    if (lineKeyword.length > 0) {
      LineStep step = ReadSimpleOption(source, lineKeyword, feature, store, texts.keyword, texts.translation);
      if (step == LineStep::kRead) continue;
      if (step == LineStep::kOutOfMemory) return false;
    }
    if (ReadSimpleCloseUI(source)) return true;
    if (!ReadTokenFrom(source, token, false)) return false;
    // Every case but the option line needs a leading asterisk.
    bool keywordLike = token.bytes[0] == '*';
    if (keywordLike && Classify(token.bytes, token.length) == kCloseUI) {
      return ReadTokenFrom(source, token, false);
    }
    if (keywordLike && StartsWith(token, "*Default", 8)) {
      if (!ReadTextFrom(source, token, texts.keyword) || !StoreWord(store, texts.keyword, feature.defaultOption)) {
        return false;
      }
    } else if (keywordLike && token.length == 16 && StartsWith(token, "*OrderDependency", 16)) {
      if (!ReadTokenFrom(source, token, false)) return false;
      feature.order = LeadingInteger(token);
      if (!ReadTokenFrom(source, token, false) || !ReadTokenFrom(source, token, false)) return false;
    } else if (keywordLike && StartsWith(token, "*?", 2)) {
      if (feature.query != nullptr) return false;
      if (!ReadTokenFrom(source, token, false)) return false;
      const size_t queryBytes = sizeof(PpdUnit) * (static_cast<size_t>(token.length) + 1) + kPpdHeapChunkBytes;
      if (!TakeFrom(store.Budget(), queryBytes)) return false;
      feature.query.reset(CopyToken(token));
      if (feature.query == nullptr) return false;
    } else if (TokenEquals(token, featureKeyword)) {
      PpdOption *option = feature.options.AppendNew(store);
      if (option == nullptr) return false;
      texts.keyword.Clear();
      texts.translation.Clear();
      bool read = ReadKeywordAndTranslationFrom(source, token, texts.keyword, texts.translation);
      // What was read counts even when the line ends early.
      if (!option->SetTexts(store, texts.keyword, texts.translation) || !read) return false;
      if (!ReadTokenFrom(source, token, false)) return false;
      option->invocation = CopyToken(token, store);
      if (option->invocation == nullptr) return false;
    }
  }
}

// The main loop over one source.
template <class Source>
class Reader {
 public:
  Reader(Source &source, PpdToken &token, PpdModel &model)
      : source_(source), token_(token), model_(model) {}

  void ReadAll() {
    for (;;) {
      // Half of a large PPD's bytes are constraint lines, in long runs.
      ConstraintRun run = ReadConstraintRun(source_, model_.constraintStore, model_.constraints);
      if (run == ConstraintRun::kOutOfMemory) return;
      if (run == ConstraintRun::kKeywordTaken) {
        if (!ReadConstraint()) return;
        continue;
      }
      if (!ReadTokenFrom(source_, token_, false) || !Act()) return;
    }
  }

 private:
  // Acts on the current token; false ends the reading.
  bool Act() {
    if (token_.bytes[0] != '*') return true;  // every keyword starts with it
    switch (Classify(token_.bytes, token_.length)) {
      case kCloseGroup:
        groupInstallable_ = false;
        groupKeyword_.Clear();
        groupTranslation_.Clear();
        groupWords_ = GroupWords{};
        return true;
      case kLanguageEncoding: return ReadTextFrom(source_, token_, model_.languageEncoding);
      case kLanguageVersion: return ReadTextFrom(source_, token_, model_.languageVersion);
      case kManufacturer: return ReadTextFrom(source_, token_, model_.manufacturer);
      case kModelName: return ReadTextFrom(source_, token_, model_.modelName);
      case kProduct: return ReadTextFrom(source_, token_, model_.product);
      case kOpenGroup: return ReadGroup();
      case kOpenUI: return ReadFeature();
      case kUIConstraints: return ReadConstraint();
      default: return true;
    }
  }

  // The group's texts are kept once, for all of its features.
  bool ReadGroup() {
    groupKeyword_.Clear();
    groupTranslation_.Clear();
    groupWords_ = GroupWords{};
    bool read = ReadKeywordAndTranslationFrom(source_, token_, groupKeyword_, groupTranslation_);
    groupInstallable_ = groupKeyword_.Equals(QX_PPD_STR("InstallableOptions"));
    return StoreWord(model_.optionStore, groupKeyword_, groupWords_.keyword) &&
           StoreWord(model_.optionStore, groupTranslation_, groupWords_.translation) && read;
  }

  // The feature is kept with what was read of its keyword and translation
  // even when the input ends there.
  bool ReadFeature() {
    featureTexts_.keyword.Clear();
    featureTexts_.translation.Clear();
    bool read = ReadKeywordAndTranslationFrom(source_, token_, featureTexts_.keyword, featureTexts_.translation);
    PpdFeature *feature =
        model_.features.AppendNew(model_.optionStore, featureTexts_.keyword, featureTexts_.translation);
    if (feature == nullptr) return false;
    feature->groupKeyword = groupWords_.keyword;
    feature->groupTranslation = groupWords_.translation;
    if (!read || !ReadFeatureBodyFrom(source_, token_, *feature, model_.optionStore)) return false;
    if (!groupInstallable_) return true;
    InstalledOption *installed = model_.installedOptions.AppendNew(model_.optionStore);
    if (installed == nullptr) return false;
    installed->featureKeyword = feature->keyword;
    installed->currentOption = feature->defaultOption;
    installed->feature = feature;
    return true;
  }

  // The constraint counts even when a word is missing at the end of the
  // input; reading then ends.
  bool ReadConstraint() {
    int read = 0;
    while (read < 4 && ReadTextFrom(source_, token_, words_[read])) ++read;
    PpdConstraint *constraint = PpdConstraint::Create(model_.constraintStore, words_, read);
    if (constraint == nullptr || !model_.constraints.Append(constraint)) return false;
    return read == 4;
  }

  Source &source_;
  PpdToken &token_;
  PpdModel &model_;
  PpdText groupKeyword_;
  PpdText groupTranslation_;
  bool groupInstallable_ = false;  // features in it are installable options
  struct GroupWords {
    PpdWord keyword, translation;
  } groupWords_;
  PpdText words_[4];  // a constraint's words before they are stored
  LineTexts featureTexts_;  // an *OpenUI line's texts before they are stored
};

template <class Source>
std::unique_ptr<PpdModel> ReadModelFrom(Source &source) {
  // Null only when the model itself cannot be allocated.
  std::unique_ptr<PpdModel> model(new (std::nothrow) PpdModel);
  if (model == nullptr) return nullptr;
  PpdToken token;
  token.bytes = static_cast<unsigned char *>(TakePpdBlock(kPpdTokenUnits));
  Reader<Source> reader(source, token, *model);
  PpdByteBudget *budget = &model->budget;
  model->features.Reserve(32, budget);
  model->installedOptions.Reserve(32, budget);
  model->constraints.Reserve(512, budget);
  if (token.bytes != nullptr && budget->Take(sizeof(PpdModel))) reader.ReadAll();
  ReturnPpdBlock(token.bytes, kPpdTokenUnits);
  model->marks = PpdModel::Marks::kClear;  // every record is made unmarked
  MarkConstrainedOptions(model.get());
  return model;
}

}  // namespace

std::unique_ptr<PpdModel> ReadPpdModel(PpdNextByte nextByte, void *context) {
  ByteSource source(nextByte, context);
  return ReadModelFrom(source);
}

namespace {

size_t ReadFileBlock(void *file, unsigned char *into, size_t bytes) {
  return file != nullptr ? std::fread(into, 1, bytes, static_cast<FILE *>(file)) : 0;
}

}  // namespace

FileByteSource::FileByteSource(FILE *file, size_t blockBytes) : FileByteSource(ReadFileBlock, file, blockBytes) {}

FileByteSource::FileByteSource(PpdReadBlock readBlock, void *context, size_t blockBytes)
    : readBlock_(readBlock),
      context_(context),
      block_(static_cast<unsigned char *>(std::malloc((blockBytes > 0 ? blockBytes : 1) + 1))),
      capacity_(blockBytes > 0 ? blockBytes : 1) {
  if (block_ == nullptr) {
    block_ = fallback_;
    capacity_ = kFallbackBytes;
  }
}

FileByteSource::~FileByteSource() {
  if (block_ != fallback_) std::free(block_);
}

bool FileByteSource::Refill() {
  while (!ended_) {
    unsigned char *start = block_ + 1;
    size_t n = std::min(readBlock_(context_, start, capacity_), capacity_);
    bool fileEnded = n < capacity_;  // short only at the end or on an error
    if (heldReturn_) {
      *--start = '\r';
      ++n;
      heldReturn_ = false;
    }
    ppd_detail::TextModeBlock block = ppd_detail::FoldTextMode(start, n);
    size_t kept = block.length;
    ended_ = fileEnded || block.ended;
    // A carriage return at the end waits for the next block's first byte;
    // at the end of the input it stays.
    if (!ended_ && kept > 0 && start[kept - 1] == '\r') {
      --kept;
      heldReturn_ = true;
    }
    if (kept == 0) continue;
    pos = start;
    end = start + kept;
    return true;
  }
  return false;
}

std::unique_ptr<PpdModel> ReadPpdModelFromFile(FILE *file) {
  FileByteSource source(file);
  return ReadModelFrom(source);
}

std::unique_ptr<PpdModel> ReadPpdModelFromBlocks(PpdReadBlock readBlock, void *context) {
  FileByteSource source(readBlock, context);
  return ReadModelFrom(source);
}

std::unique_ptr<PpdModel> ReadPpdModelFromSource(FileByteSource &source) { return ReadModelFrom(source); }

}  // namespace qx

