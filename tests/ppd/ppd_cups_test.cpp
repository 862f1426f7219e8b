// Differential test against libcups on the real samples: wherever the two
// readers legitimately agree, they must agree.
//
// Where they differ by design: libcups drops the asterisk, cuts keywords at
// 40 bytes and texts at 80, decodes texts by *LanguageEncoding (this reader
// uses the ANSI code page, Windows-1252 natively), invents texts for
// features without one, merges repeated *OpenUI blocks, adds "Custom"
// options for *CustomXxx and renames real "Custom..." options "_Custom...",
// and reads constraints with fewer than four words as such.
#include <cups/ppd.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "ppd_test_support.h"

namespace qx {
namespace {

using test::SampleDirectory;
using test::SampleNames;
using test::U8;

std::string WithoutAsterisk(const std::string &keyword) {
  return !keyword.empty() && keyword[0] == '*' ? keyword.substr(1) : keyword;
}

bool IsAsciiOrLatin1(const PpdWord &text) {
  for (int32_t i = 0; i < text.length; ++i) {
    if (text.text[i] >= 0x80 && text.text[i] < 0xA0) return false;
    if (text.text[i] > 0xFF) return false;
  }
  return true;
}

bool IsAscii(const PpdWord &text) {
  for (int32_t i = 0; i < text.length; ++i) {
    if (text.text[i] >= 0x80) return false;
  }
  return true;
}

class CupsFile {
 public:
  explicit CupsFile(const std::string &path) : ppd_(ppdOpenFile(path.c_str())) {
    if (ppd_ == nullptr) return;
    ppd_attr_t *attr = ppdFindAttr(ppd_, "LanguageEncoding", nullptr);
    latin1_ = attr != nullptr && attr->value != nullptr && std::string(attr->value) == "ISOLatin1";
  }
  ~CupsFile() {
    if (ppd_ != nullptr) ppdClose(ppd_);
  }
  ppd_file_t *get() const { return ppd_; }

  // Whether the two readers decode this text the same way.
  bool TextComparable(const PpdWord &ours) const {
    return latin1_ ? IsAsciiOrLatin1(ours) : IsAscii(ours);
  }

  // libcups cuts texts and names; compare what it kept.
  static void ExpectSameText(const std::string &cups, const std::string &ours, size_t limit,
                             const std::string &what) {
    if (cups.size() + 4 >= limit) {
      EXPECT_EQ(ours.compare(0, cups.size(), cups), 0) << what << ": " << cups << " | " << ours;
    } else {
      EXPECT_EQ(cups, ours) << what;
    }
  }

 private:
  ppd_file_t *ppd_;
  bool latin1_ = false;
};

void CompareFeature(const CupsFile &cups, const PpdFeature &ours, ppd_option_t &option) {
  std::string keyword = WithoutAsterisk(U8(ours.keyword));
  // A feature without a translation gets its keyword from us, an invented
  // text from libcups.
  if (U8(ours.translation) != keyword && cups.TextComparable(ours.translation)) {
    CupsFile::ExpectSameText(option.text, U8(ours.translation), PPD_MAX_TEXT, keyword + " text");
  }
  if (!ours.defaultOption.IsEmpty()) {
    CupsFile::ExpectSameText(option.defchoice, U8(ours.defaultOption), PPD_MAX_NAME, keyword + " default");
  }
  std::vector<const ppd_choice_t *> choices;
  for (int i = 0; i < option.num_choices; ++i) {
    std::string name = option.choices[i].choice;
    if (name == "Custom") continue;  // made up for *CustomXxx
    choices.push_back(&option.choices[i]);
  }
  // Option lines repeat the feature keyword with its asterisk; a feature
  // read from a malformed "*OpenUI Keyword" line (no asterisk) has none.
  if (ours.keyword.text[0] != '*') return;
  ASSERT_EQ(static_cast<int32_t>(choices.size()), ours.options.Count()) << keyword;
  for (int32_t i = 0; i < ours.options.Count(); ++i) {
    const PpdOption &mine = *ours.options[i];
    std::string name = choices[static_cast<size_t>(i)]->choice;
    if (name.rfind("_Custom", 0) == 0) name.erase(0, 1);
    std::string what = keyword + " " + U8(mine.keyword);
    CupsFile::ExpectSameText(name, U8(mine.keyword), PPD_MAX_NAME, what);
    if (U8(mine.translation) != U8(mine.keyword) && cups.TextComparable(mine.translation)) {
      CupsFile::ExpectSameText(choices[static_cast<size_t>(i)]->text, U8(mine.translation),
                               PPD_MAX_TEXT, what + " text");
    }
  }
}

TEST(AgainstLibcups, FeaturesOptionsAndConstraintsAgree) {
  int featuresCompared = 0, constraintsCompared = 0;
  for (const std::string &name : SampleNames()) {
    SCOPED_TRACE(name);
    std::string path = SampleDirectory() + "/" + name;
    CupsFile cups(path);
    ASSERT_NE(cups.get(), nullptr) << ppdErrorString(ppdLastError(nullptr));
    FILE *file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    std::unique_ptr<PpdModel> model(ReadPpdModelFromFile(file));
    std::fclose(file);

    std::map<std::string, int> seen;
    for (const PpdFeature *feature : model->features) ++seen[U8(feature->keyword)];
    for (const PpdFeature *feature : model->features) {
      std::string keyword = U8(feature->keyword);
      if (seen[keyword] > 1) continue;  // merged by libcups
      ppd_option_t *option = ppdFindOption(cups.get(), WithoutAsterisk(keyword).c_str());
      ASSERT_NE(option, nullptr) << keyword;
      CompareFeature(cups, *feature, *option);
      ++featuresCompared;
    }

    // Our four-word constraints appear among libcups's, in the same order.
    int next = 0;
    for (const PpdConstraint *c : model->constraints) {
      std::string f1 = U8(c->feature1), o1 = U8(c->option1), f2 = U8(c->feature2), o2 = U8(c->option2);
      if (f1[0] != '*' || f2[0] != '*' || o1[0] == '*' || o2[0] == '*') continue;  // words of the next line
      while (next < cups.get()->num_consts) {
        const ppd_const_t &k = cups.get()->consts[next++];
        if (WithoutAsterisk(f1) == k.option1 && o1 == k.choice1 && WithoutAsterisk(f2) == k.option2 &&
            o2 == k.choice2) {
          ++constraintsCompared;
          break;
        }
        ASSERT_LT(next, cups.get()->num_consts) << "not in libcups: " << f1 << " " << o1 << " " << f2 << " " << o2;
      }
    }
  }
  EXPECT_GT(featuresCompared, 300);
  EXPECT_GT(constraintsCompared, 12000);
}

}  // namespace
}  // namespace qx
