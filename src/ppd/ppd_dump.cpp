// Text renderings of a model.
#include "ppd/ppd_dump.h"

#include "ppd/ppd_text.h"

namespace qx {

namespace {

void AppendField(std::string &line, const std::string &utf8) {
  line += '\t';
  for (char c : utf8) {
    switch (c) {
      case '\t': line += "\\t"; break;
      case '\n': line += "\\n"; break;
      case '\r': line += "\\r"; break;
      case '\\': line += "\\\\"; break;
      default: line += c;
    }
  }
}

void AppendField(std::string &line, const PpdText &text) { AppendField(line, ToUtf8(text)); }
void AppendField(std::string &line, const PpdWord &word) {
  AppendField(line, PpdUnitsToUtf8(word.text, static_cast<size_t>(word.length)));
}

// The display text of an installed option's current option: the option's
// translation when the feature has it, else the keyword.
std::string CurrentOptionText(const PpdModel &model, const InstalledOption &installed) {
  const PpdFeature *feature = model.FindFeature(installed.featureKeyword.text);
  if (feature != nullptr) {
    for (const PpdOption *option : feature->options) {
      if (option->keyword.Equals(installed.currentOption)) return ToUtf8(option->translation);
    }
  }
  return ToUtf8(installed.currentOption);
}

std::string FeatureText(const PpdModel &model, const PpdWord &keyword) {
  const PpdFeature *feature = model.FindFeature(keyword.text);
  return ToUtf8(feature != nullptr ? feature->translation : keyword);
}

}  // namespace

std::string DumpPpdModel(const PpdModel &model) {
  std::string out;
  const struct {
    const char *name;
    const PpdText &text;
  } headers[] = {{"ModelName", model.modelName},
                 {"Product", model.product},
                 {"Manufacturer", model.manufacturer},
                 {"LanguageEncoding", model.languageEncoding},
                 {"LanguageVersion", model.languageVersion}};
  for (const auto &header : headers) {
    out += "header\t";
    out += header.name;
    AppendField(out, header.text);
    out += '\n';
  }
  for (const PpdFeature *feature : model.features) {
    out += "feature";
    AppendField(out, feature->keyword);
    AppendField(out, feature->translation);
    AppendField(out, feature->defaultOption);
    AppendField(out, std::to_string(feature->uiType));
    AppendField(out, std::to_string(feature->order));
    AppendField(out, feature->groupKeyword);
    AppendField(out, feature->groupTranslation);
    out += '\n';
    for (const PpdOption *option : feature->options) {
      out += "option";
      AppendField(out, feature->keyword);
      AppendField(out, option->keyword);
      AppendField(out, option->translation);
      AppendField(out, option->constrained ? "1" : "0");
      out += '\n';
    }
  }
  for (const PpdConstraint *constraint : model.constraints) {
    out += "constraint";
    AppendField(out, constraint->feature1);
    AppendField(out, constraint->option1);
    AppendField(out, constraint->feature2);
    AppendField(out, constraint->option2);
    out += '\n';
  }
  for (const InstalledOption *installed : model.installedOptions) {
    out += "installed";
    AppendField(out, installed->featureKeyword);
    AppendField(out, installed->currentOption);
    out += '\n';
  }
  return out;
}

std::string DescribeExcludedOptions(const PpdModel &model) {
  std::string out;
  for (const PpdFeature *feature : model.features) {
    for (const PpdOption *option : feature->options) {
      if (!option->constrained) continue;
      std::string causes;
      for (const InstalledOption *installed : model.installedOptions) {
        if (MatchConstraint(&model, installed->featureKeyword, installed->currentOption, *feature,
                            *option) != 1) {
          continue;
        }
        if (!causes.empty()) causes += ", ";
        causes += FeatureText(model, installed->featureKeyword) + " = " +
                  CurrentOptionText(model, *installed);
      }
      out += ToUtf8(feature->translation) + ": " + ToUtf8(option->translation) +
             " \xE2\x80\x94 excluded by " + causes + "\n";
    }
  }
  return out;
}

}  // namespace qx
