// Records of the model: texts, destructors, lookups.
#include "ppd/ppd_model.h"

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
