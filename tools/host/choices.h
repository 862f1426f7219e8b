// The driver's current choice for every PPD feature, and the text forms in
// which the host takes it from the command line and keeps it with the
// printer.
#pragma once

#include <string>
#include <vector>

#include "host/description.h"

namespace qxhost {

// Option index per feature, in the description's feature order.
struct FeatureChoices {
  std::vector<int> index;
};

FeatureChoices DefaultChoices(const PrinterDescription &desc);

// The keyword of the chosen option of feature `feature`, or "".
std::string ChosenKeyword(const PrinterDescription &desc, const FeatureChoices &choices, int feature);

// Applies "KEYWORD=OPTION" (keyword with or without asterisk). On failure the
// choices are unchanged and `message` says why.
bool AssignChoice(const PrinterDescription &desc, const std::string &assignment, FeatureChoices *choices,
                  std::string *message);

// "Keyword=Option" lines for the device features (deviceOnly) or the
// document features, in feature order.
std::string FormatChoices(const PrinterDescription &desc, const FeatureChoices &choices, bool deviceOnly);

// Reads lines written by FormatChoices; unknown keywords or options and
// malformed lines are ignored, so a changed PPD never breaks a printer.
void ParseChoices(const PrinterDescription &desc, const std::string &text, FeatureChoices *choices);

}  // namespace qxhost
