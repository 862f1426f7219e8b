#include "optiontree/model_match.h"

namespace qx {

const PpdFeature *FindFeatureByKeyword(const PpdModel &model, const PpdUnit *keyword) {
  return keyword ? model.FindFeature(keyword) : nullptr;
}

const PpdFeature *FindFeatureByTranslation(const PpdModel &model, const PpdUnit *translation) {
  if (!translation) return nullptr;
  for (const PpdFeature *feature : model.features)
    if (feature->translation.Equals(translation)) return feature;
  return nullptr;
}

bool IsOptionTextMarked(const PpdFeature &feature, const PpdUnit *text) {
  if (!text) return false;
  for (const PpdOption *option : feature.options)
    if (option->translation.Equals(text)) return option->constrained != 0;
  return false;
}

void RefreshInstalledOptions(PpdModel &model, InstalledOptionReader read, void *context) {
  for (const PpdFeature *feature : model.features) {
    if (!feature->IsInstallable()) continue;
    PpdUnit option[kPpdTextUnits] = {};
    if (read(context, feature->keyword.text, option))
      SetInstalledOption(&model, feature->keyword.text, option, false);
  }
  MarkConstrainedOptions(&model);
}

}  // namespace qx
