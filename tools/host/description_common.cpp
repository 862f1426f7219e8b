// The parts of the description that do not depend on how the PPD is read.
#include "host/description.h"

namespace qxhost {

int HostFeature::FindOption(const std::string &kw) const {
  for (size_t i = 0; i < options.size(); ++i)
    if (options[i].keyword == kw) return static_cast<int>(i);
  return -1;
}

int HostFeature::DefaultIndex() const {
  int i = FindOption(defaultOption);
  return i < 0 ? 0 : i;
}

int PrinterDescription::FindFeature(const std::string &kw) const {
  for (size_t i = 0; i < features.size(); ++i)
    if (features[i].keyword == kw) return static_cast<int>(i);
  return -1;
}

bool IsDeviceFeature(const HostFeature &f) { return f.group == "InstallableOptions"; }

bool SaysColorDevice(const std::string &text) {
  size_t at = text.find("*ColorDevice:");
  if (at == std::string::npos) return false;
  size_t v = text.find_first_not_of(" \t", at + 13);
  return v != std::string::npos && text.compare(v, 4, "True") == 0;
}

std::string Narrow(const std::wstring &s) {
  std::string out;
  for (wchar_t wc : s) {
    unsigned c = static_cast<unsigned>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | ((c >> 12) & 0x0F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

std::wstring Widen(const std::string &s) {
  std::wstring out;
  for (size_t i = 0; i < s.size();) {
    unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out += static_cast<wchar_t>(c);
      i += 1;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
      out += static_cast<wchar_t>(((c & 0x1F) << 6) | (s[i + 1] & 0x3F));
      i += 2;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < s.size()) {
      out += static_cast<wchar_t>(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F));
      i += 3;
    } else {
      out += static_cast<wchar_t>(c);  // a stray byte stands for itself
      i += 1;
    }
  }
  return out;
}

}  // namespace qxhost
