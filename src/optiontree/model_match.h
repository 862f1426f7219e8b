// How the option tree code reads the PPD model: features and options found
// by their texts, and the installed options refreshed from the driver.
#pragma once

#include "ppd/ppd_model.h"

namespace qx {

// The first feature, in file order, whose keyword (with asterisk) or whose
// translation equals the text exactly; null when none does.
const PpdFeature *FindFeatureByKeyword(const PpdModel &model, const PpdUnit *keyword);
const PpdFeature *FindFeatureByTranslation(const PpdModel &model, const PpdUnit *translation);

// Whether the first option of `feature` whose translation equals `text`
// carries the constrained mark. False when no option has that text.
bool IsOptionTextMarked(const PpdFeature &feature, const PpdUnit *text);

// Asks for the current option of one installable feature (keyword with
// asterisk); true with the option keyword in `option` when it is known.
using InstalledOptionReader = bool (*)(void *context, const PpdUnit *featureKeyword,
                                       PpdUnit (&option)[kPpdTextUnits]);

// Sets every installable feature, in file order, to the option that `read`
// reports (a feature it cannot report keeps its option), then recomputes the
// constrained marks once.
void RefreshInstalledOptions(PpdModel &model, InstalledOptionReader read, void *context);

}  // namespace qx
