// The description from the plug-in's PPD reader.
#include "host/description.h"

#include <memory>

#include "ppd/ppd_model.h"

namespace qxhost {
namespace {

// Over the model's texts: PpdText or PpdWord.
template <class Text>
std::wstring Wide(const Text &t) {
  std::wstring s;
  for (int32_t i = 0; i < t.length; ++i) s += static_cast<wchar_t>(t.text[i]);
  return s;
}

// Keywords are ASCII in every PPD the host drives.
std::string Ascii(const qx::PpdWord &t, bool dropAsterisk) {
  std::string s;
  for (int32_t i = 0; i < t.length; ++i) s += static_cast<char>(t.text[i] & 0xFF);
  if (dropAsterisk && !s.empty() && s[0] == '*') s.erase(0, 1);
  return s;
}

struct ByteTap {
  std::FILE *file;
  std::string *seen;  // every byte read, for the few header words the model does not keep
};

int ReadAndKeep(void *context) {
  auto *tap = static_cast<ByteTap *>(context);
  int c = std::fgetc(tap->file);
  if (c != EOF) tap->seen->push_back(static_cast<char>(c));
  return c == EOF ? -1 : c;
}

}  // namespace

PrinterDescription DescribeModel(const qx::PpdModel &model) {
  PrinterDescription d;
  d.modelName = Wide(model.modelName);
  for (int32_t i = 0; i < model.FeatureCount(); ++i) {
    const qx::PpdFeature &pf = *model.Feature(i);
    HostFeature f;
    f.keyword = Ascii(pf.keyword, true);
    f.translation = Wide(pf.translation);
    f.defaultOption = Ascii(pf.defaultOption, false);
    f.group = Ascii(pf.groupKeyword, false);
    for (int32_t k = 0; k < pf.options.Count(); ++k)
      f.options.push_back({Ascii(pf.options[k]->keyword, false), Wide(pf.options[k]->translation)});
    if (!f.options.empty()) d.features.push_back(std::move(f));
  }
  return d;
}

bool ReadPrinterDescription(std::FILE *file, PrinterDescription *out, std::string *reason) {
  std::string bytes;
  ByteTap tap = {file, &bytes};
  std::unique_ptr<qx::PpdModel> model(qx::ReadPpdModel(ReadAndKeep, &tap));
  if (!model) {
    *reason = "out of memory";
    return false;
  }
  *out = DescribeModel(*model);
  out->colorDevice = SaysColorDevice(bytes);
  if (out->features.empty()) {
    *reason = "no *OpenUI feature with options in it: not a printer description";
    return false;
  }
  return true;
}

}  // namespace qxhost
