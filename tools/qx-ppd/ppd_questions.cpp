#include "ppd_questions.h"

#include <algorithm>
#include <cctype>

#include "ppd/ppd_text.h"

namespace qx {
namespace {

size_t EditDistance(const std::string &a, const std::string &b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const bool same = std::tolower(static_cast<unsigned char>(a[i - 1])) ==
                        std::tolower(static_cast<unsigned char>(b[j - 1]));
      const size_t next = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
      diagonal = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

std::string Candidates(const std::string &wanted, const std::vector<std::string> &names) {
  std::vector<std::string> closest = ClosestNames(wanted, names);
  if (closest.empty() && names.size() <= 12) closest = names;  // nothing close: say what there is
  std::string text;
  for (const std::string &name : closest) text += (text.empty() ? "" : ", ") + name;
  if (text.empty()) return names.empty() ? " (the file has none)" : "";
  return " (did you mean " + text + "?)";
}

std::vector<std::string> OptionNames(const PpdFeature &feature) {
  std::vector<std::string> names;
  for (const PpdOption *option : feature.options) names.push_back(ToUtf8(option->keyword));
  return names;
}

const PpdOption *FindOption(const PpdFeature &feature, const std::string &option) {
  std::basic_string<PpdUnit> units = Utf8ToPpdUnits(option);
  for (const PpdOption *candidate : feature.options)
    if (candidate->keyword.Equals(units.c_str())) return candidate;
  return nullptr;
}

std::string Label(const PpdWord &keyword, const PpdWord &translation) {
  return ToUtf8(translation) + " (" + ToUtf8(keyword) + ")";
}

}  // namespace

std::vector<std::string> ClosestNames(const std::string &wanted, const std::vector<std::string> &names) {
  std::vector<std::pair<size_t, std::string>> ranked;
  const size_t limit = wanted.size() / 3 + 1;
  for (const std::string &name : names) {
    const size_t distance = EditDistance(wanted, name);
    if (distance <= limit) ranked.emplace_back(distance, name);
  }
  std::stable_sort(ranked.begin(), ranked.end(),
                   [](const auto &a, const auto &b) { return a.first < b.first; });
  std::vector<std::string> closest;
  for (size_t i = 0; i < ranked.size() && i < 3; ++i) closest.push_back(ranked[i].second);
  return closest;
}

std::string CheckInstalledOption(const PpdModel &model, const std::string &keyword, const std::string &option) {
  std::vector<std::string> keywords;
  for (const InstalledOption *installed : model.installedOptions) {
    if (ToUtf8(installed->featureKeyword) != keyword) {
      keywords.push_back(ToUtf8(installed->featureKeyword));
      continue;
    }
    const PpdFeature *feature = model.FindFeature(installed->featureKeyword.text);
    if (!feature || FindOption(*feature, option)) return {};
    return "installed option " + keyword + " has no option \"" + option + "\"" +
           Candidates(option, OptionNames(*feature));
  }
  return "the file has no installed option " + keyword + Candidates(keyword, keywords);
}

std::string CheckFeatureOption(const PpdModel &model, const std::string &keyword, const std::string &option) {
  const PpdFeature *feature = model.FindFeature(Utf8ToPpdUnits(keyword).c_str());
  if (!feature) {
    std::vector<std::string> keywords;
    for (const PpdFeature *f : model.features) keywords.push_back(ToUtf8(f->keyword));
    return "the file has no feature " + keyword + Candidates(keyword, keywords);
  }
  if (FindOption(*feature, option)) return {};
  return "feature " + keyword + " has no option \"" + option + "\"" + Candidates(option, OptionNames(*feature));
}

std::string ExplainExclusion(const PpdModel &model, const PpdFeature &feature, const PpdOption &option) {
  const std::string subject = ToUtf8(feature.translation) + ": " + Label(option.keyword, option.translation);
  if (feature.IsInstallable()) return subject + " is an installed option: installed options exclude no installed option\n";
  std::string lines;
  for (const InstalledOption *installed : model.installedOptions) {
    const PpdFeature *installedFeature = model.FindFeature(installed->featureKeyword.text);
    const PpdOption *current = installedFeature ? FindOption(*installedFeature, ToUtf8(installed->currentOption)) : nullptr;
    const std::string by = installedFeature && current
                               ? ToUtf8(installedFeature->translation) + " = " + Label(current->keyword, current->translation)
                               : ToUtf8(installed->featureKeyword) + " = " + ToUtf8(installed->currentOption);
    for (const PpdConstraint *c : model.constraints) {
      if (c->feature1.Equals(installed->featureKeyword) && c->option1.Equals(installed->currentOption) &&
          c->feature2.Equals(feature.keyword) && c->option2.Equals(option.keyword))
        lines += "  " + by + ": *UIConstraints: " + ToUtf8(c->feature1) + " " + ToUtf8(c->option1) + " " +
                 ToUtf8(c->feature2) + " " + ToUtf8(c->option2) + "\n";
    }
  }
  if (lines.empty()) return subject + " is not excluded by the installed options\n";
  return subject + " is excluded by\n" + lines;
}

}  // namespace qx
