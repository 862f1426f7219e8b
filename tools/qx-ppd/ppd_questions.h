// Questions an administrator asks of a PPD model on the command line: is this
// installed option one the file has, and why is an option excluded. Plain
// functions over the model; the answers are UTF-8 texts.
#pragma once

#include <string>
#include <vector>

#include "ppd/ppd_model.h"

namespace qx {

// Up to three of `names` closest to `wanted` (fewest single-character edits,
// case ignored), closest first; none further away than a third of its
// length plus 1.
std::vector<std::string> ClosestNames(const std::string &wanted, const std::vector<std::string> &names);

// Empty when the model has an installed option `keyword` (with asterisk) with
// an option `option`; otherwise the error to print, naming what it lacks and
// the closest candidates.
std::string CheckInstalledOption(const PpdModel &model, const std::string &keyword, const std::string &option);

// Empty when the model has feature `keyword` (with asterisk) with option
// `option`; otherwise the error to print, as above.
std::string CheckFeatureOption(const PpdModel &model, const std::string &keyword, const std::string &option);

// Which current installed options exclude `option` of `feature`, and through
// which *UIConstraints lines; or that none does. One line per constraint.
std::string ExplainExclusion(const PpdModel &model, const PpdFeature &feature, const PpdOption &option);

}  // namespace qx
