#include "host/choices.h"

#include <sstream>

namespace qxhost {

FeatureChoices DefaultChoices(const PrinterDescription &desc) {
  FeatureChoices c;
  for (const HostFeature &f : desc.features) c.index.push_back(f.DefaultIndex());
  return c;
}

std::string ChosenKeyword(const PrinterDescription &desc, const FeatureChoices &choices, int feature) {
  if (feature < 0 || feature >= static_cast<int>(desc.features.size()) ||
      feature >= static_cast<int>(choices.index.size()))
    return "";
  const HostFeature &f = desc.features[feature];
  int i = choices.index[feature];
  if (i < 0 || i >= static_cast<int>(f.options.size())) return "";
  return f.options[i].keyword;
}

bool AssignChoice(const PrinterDescription &desc, const std::string &assignment, FeatureChoices *choices,
                  std::string *message) {
  size_t eq = assignment.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == assignment.size()) {
    *message = "'" + assignment + "' is not KEYWORD=OPTION";
    return false;
  }
  std::string keyword = assignment.substr(0, eq);
  if (keyword[0] == '*') keyword.erase(0, 1);
  std::string option = assignment.substr(eq + 1);
  int feature = desc.FindFeature(keyword);
  if (feature < 0) {
    *message = "the printer description has no feature '" + keyword + "'";
    return false;
  }
  int index = desc.features[feature].FindOption(option);
  if (index < 0) {
    std::string known;
    for (const HostOption &o : desc.features[feature].options) known += (known.empty() ? "" : ", ") + o.keyword;
    *message = "feature '" + keyword + "' has no option '" + option + "' (options: " + known + ")";
    return false;
  }
  if (choices->index.size() < desc.features.size()) choices->index.resize(desc.features.size(), 0);
  choices->index[feature] = index;
  return true;
}

std::string FormatChoices(const PrinterDescription &desc, const FeatureChoices &choices, bool deviceOnly) {
  std::string text;
  for (size_t i = 0; i < desc.features.size(); ++i) {
    if (IsDeviceFeature(desc.features[i]) != deviceOnly) continue;
    text += desc.features[i].keyword + "=" + ChosenKeyword(desc, choices, static_cast<int>(i)) + "\n";
  }
  return text;
}

void ParseChoices(const PrinterDescription &desc, const std::string &text, FeatureChoices *choices) {
  std::istringstream lines(text);
  std::string line, ignored;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    AssignChoice(desc, line, choices, &ignored);
  }
}

}  // namespace qxhost
