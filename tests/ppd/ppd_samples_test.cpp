// Real PPD files from many makers: read completely, the same way over both
// byte sources, and with the indexed marks equal to the plain definition.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "ppd/ppd_dump.h"
#include "ppd/ppd_marks.h"
#include "ppd_test_support.h"

namespace qx {
namespace {

using test::ReadFileByte;
using test::ReadWholeFile;
using test::SampleDirectory;
using test::SampleNames;
using test::U8;

std::unique_ptr<PpdModel> ReadSample(const std::string &name, const char *mode, bool unlocked) {
  FILE *file = std::fopen((SampleDirectory() + "/" + name).c_str(), mode);
  if (file == nullptr) return nullptr;
  std::unique_ptr<PpdModel> model = unlocked ? ReadPpdModelFromFile(file) : ReadPpdModel(&ReadFileByte, file);
  std::fclose(file);
  return model;
}

std::vector<std::string> Words(const std::string &line) {
  std::istringstream in(line);
  std::vector<std::string> words;
  for (std::string w; in >> w;) words.push_back(w);
  return words;
}

// What a line-by-line look at the file expects: the *OpenUI keywords in file
// order and the number of constraints, where a *UIConstraints line with fewer
// than four words takes the missing ones from the next lines and so swallows
// the line they come from.
struct Expected {
  std::vector<std::string> featureKeywords;
  int constraints = 0;
};

Expected ExpectFromLines(const std::string &data) {
  Expected expected;
  std::istringstream in(data);
  size_t missingWords = 0;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("%", 0) == 0 || line.rfind("*%", 0) == 0) continue;  // comment
    std::vector<std::string> words = Words(line);
    if (missingWords > 0 && !words.empty()) {
      missingWords = words.size() >= missingWords ? 0 : missingWords - words.size();
      continue;
    }
    if (line.rfind("*OpenUI ", 0) == 0) {
      std::string keyword = words[1];
      expected.featureKeywords.push_back(keyword.substr(0, keyword.find_first_of("/:")));
    } else if (line.rfind("*UIConstraints:", 0) == 0) {
      ++expected.constraints;
      size_t count = words.size() - 1;
      missingWords = count < 4 ? 4 - count : 0;
    }
  }
  return expected;
}

TEST(Samples, AreReadCompletely) {
  std::vector<std::string> names = SampleNames();
  ASSERT_EQ(names.size(), 19u) << SampleDirectory();
  for (const std::string &name : names) {
    SCOPED_TRACE(name);
    auto model = ReadSample(name, "rb", true);
    ASSERT_TRUE(model);
    Expected expected = ExpectFromLines(ReadWholeFile(SampleDirectory() + "/" + name));
    ASSERT_EQ(model->FeatureCount(), static_cast<int32_t>(expected.featureKeywords.size()));
    for (int32_t i = 0; i < model->FeatureCount(); ++i) {
      EXPECT_EQ(U8(model->Feature(i)->keyword), expected.featureKeywords[static_cast<size_t>(i)]);
    }
    EXPECT_EQ(model->ConstraintCount(), expected.constraints);
    EXPECT_FALSE(model->modelName.IsEmpty());
    int installable = 0;
    for (const PpdFeature *feature : model->features) installable += feature->IsInstallable();
    EXPECT_EQ(model->InstalledOptionCount(), installable);
  }
}

TEST(Samples, BothByteSourcesAndTextModeGiveTheSameModel) {
  for (const std::string &name : SampleNames()) {
    SCOPED_TRACE(name);
    auto unlocked = ReadSample(name, "rb", true);
    auto plain = ReadSample(name, "rb", false);
    auto text = ReadSample(name, "r", true);  // carriage returns dropped on Windows
    ASSERT_TRUE(unlocked && plain && text);
    std::string dump = DumpPpdModel(*unlocked);
    EXPECT_EQ(DumpPpdModel(*plain), dump);
    EXPECT_EQ(DumpPpdModel(*text), dump);
  }
}

std::vector<uint8_t> Marks(const PpdModel &model) {
  std::vector<uint8_t> marks;
  for (const PpdFeature *feature : model.features) {
    for (const PpdOption *option : feature->options) marks.push_back(option->constrained);
  }
  return marks;
}

void ExpectIndexedMarksEqualPlain(PpdModel &model, const std::string &state) {
  MarkConstrainedOptions(&model);
  std::vector<uint8_t> indexed = Marks(model);
  MarkConstrainedOptionsPlain(&model);
  EXPECT_EQ(indexed, Marks(model)) << state;
}

TEST(Samples, MarksEqualThePlainDefinition) {
  int markedStates = 0;
  for (const std::string &name : SampleNames()) {
    SCOPED_TRACE(name);
    auto model = ReadSample(name, "rb", true);
    ASSERT_TRUE(model);
    // Reading marks in its own pass over the constraints.
    std::vector<uint8_t> afterReading = Marks(*model);
    MarkConstrainedOptionsPlain(model.get());
    EXPECT_EQ(afterReading, Marks(*model)) << "after reading";
    ExpectIndexedMarksEqualPlain(*model, "defaults");
    // The options of the installable features, one at a time (every one,
    // or every second or third in the samples with the most constraints, to
    // keep the plain definition's time down).
    int32_t stride = model->ConstraintCount() > 5000 ? 3 : model->ConstraintCount() > 1000 ? 2 : 1;
#ifdef _WIN32
    stride *= 3;  // the same code is compared in full natively
#endif
    int32_t state = 0;
    for (InstalledOption *installed : model->installedOptions) {
      const PpdFeature *feature = model->FindFeature(installed->featureKeyword.text);
      if (feature == nullptr) continue;
      std::basic_string<PpdUnit> saved(installed->currentOption.text,
                                       static_cast<size_t>(installed->currentOption.length));
      for (const PpdOption *option : feature->options) {
        if (state++ % stride != 0) continue;
        SetInstalledOption(model.get(), installed->featureKeyword.text, option->keyword.text, false);
        ExpectIndexedMarksEqualPlain(*model, U8(installed->featureKeyword) + "=" + U8(option->keyword));
        for (uint8_t mark : Marks(*model)) markedStates += mark;
      }
      installed->SetCurrentOption(saved.c_str());
    }
    // All of them moved together.
    for (int round = 1; round <= 3; ++round) {
      for (InstalledOption *installed : model->installedOptions) {
        const PpdFeature *feature = model->FindFeature(installed->featureKeyword.text);
        if (feature == nullptr || feature->options.Count() == 0) continue;
        int32_t pick = (round * 7 + feature->options.Count()) % feature->options.Count();
        installed->currentOption = feature->options[pick]->keyword;
      }
      ExpectIndexedMarksEqualPlain(*model, "combined " + std::to_string(round));
    }
  }
  EXPECT_GT(markedStates, 100);  // the comparison saw real marks
}

}  // namespace
}  // namespace qx
