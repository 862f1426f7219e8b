#include "host/layout_choices.h"

#include <cctype>
#include <vector>

namespace qxhost {

const char kLayoutHelp[] =
    "orientation=portrait|landscape|rotated-landscape, pages=1|2|4|6|9|16|booklet, "
    "direction=right-then-down|down-then-right|left-then-down|down-then-left, "
    "order=front-to-back|back-to-front, booklet-edge=left|right, borders=on|off, color=color|monochrome";

namespace {

// One setting: its key, the values in the order of the driver's option
// indices, and where the index goes.
struct LayoutKey {
  const char *key;
  std::vector<const char *> values;
  int LayoutSettings::*field;
};

const std::vector<LayoutKey> &Keys() {
  static const std::vector<LayoutKey> keys = {
      {"orientation", {"portrait", "landscape", "rotated-landscape"}, &LayoutSettings::orientation},
      {"pages", {"1", "2", "4", "6", "9", "16", "booklet"}, &LayoutSettings::pagesPerSheet},
      {"direction", {"right-then-down", "down-then-right", "left-then-down", "down-then-left"},
       &LayoutSettings::nupDirection},
      {"order", {"front-to-back", "back-to-front"}, &LayoutSettings::pageOrder},
      {"booklet-edge", {"left", "right"}, &LayoutSettings::bookletEdge},
      {"color", {"monochrome", "color"}, &LayoutSettings::color},
  };
  return keys;
}

std::string Lower(std::string s) {
  for (char &c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool AssignOne(const std::string &pair, bool colorDevice, LayoutSettings *l, std::string *message) {
  size_t eq = pair.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == pair.size()) {
    *message = "'" + pair + "' is not key=value";
    return false;
  }
  std::string key = Lower(pair.substr(0, eq)), value = Lower(pair.substr(eq + 1));
  if (key == "borders") {
    if (value != "on" && value != "off") {
      *message = "borders is on or off, not '" + value + "'";
      return false;
    }
    l->drawBorders = value == "on";
    return true;
  }
  if (key == "color" && !colorDevice) {
    *message = "the printer has no colour setting";
    return false;
  }
  for (const LayoutKey &k : Keys()) {
    if (key != k.key) continue;
    for (size_t i = 0; i < k.values.size(); ++i) {
      if (value != k.values[i]) continue;
      l->*k.field = static_cast<int>(i);
      return true;
    }
    std::string known;
    for (const char *v : k.values) known += (known.empty() ? "" : ", ") + std::string(v);
    *message = key + " has no value '" + value + "' (values: " + known + ")";
    return false;
  }
  *message = "unknown layout setting '" + key + "'";
  return false;
}

}  // namespace

bool AssignLayout(const std::string &text, bool colorDevice, LayoutSettings *layout, std::string *message) {
  LayoutSettings trial = *layout;
  size_t at = 0;
  for (;;) {
    size_t comma = text.find(',', at);
    std::string pair = text.substr(at, comma == std::string::npos ? std::string::npos : comma - at);
    if (!AssignOne(pair, colorDevice, &trial, message)) return false;
    if (comma == std::string::npos) break;
    at = comma + 1;
  }
  *layout = trial;
  return true;
}

}  // namespace qxhost
