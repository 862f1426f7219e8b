// The printer description as the host driver uses it: the PPD's features
// and options with their keywords (without asterisk, as the driver hands them
// to plug-ins) and display texts. Built from the plug-in's own PPD reader, so
// the host sees exactly what the plug-in sees.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace qx {
class PpdModel;
}

namespace qxhost {

struct HostOption {
  std::string keyword;
  std::wstring translation;
};

struct HostFeature {
  std::string keyword;  // "InputSlot"
  std::wstring translation;
  std::string defaultOption;
  std::string group;
  std::vector<HostOption> options;

  int FindOption(const std::string &kw) const;  // -1 when absent
  int DefaultIndex() const;                     // 0 when the default names no option
};

struct PrinterDescription {
  std::wstring modelName;
  bool colorDevice = false;
  std::vector<HostFeature> features;

  int FindFeature(const std::string &kw) const;  // -1 when absent
};

// Features of the "InstallableOptions" group are printer (device) settings;
// every other feature is a document setting.
bool IsDeviceFeature(const HostFeature &f);

// Fills `out` from a read model. `colorDevice` comes from the raw file.
PrinterDescription DescribeModel(const qx::PpdModel &model);

// Reads a whole PPD file. False (and a reason) when the file holds no
// feature at all: then it is no printer description the host can drive.
bool ReadPrinterDescription(std::FILE *file, PrinterDescription *out, std::string *reason);

// "*ColorDevice: True" somewhere in the text.
bool SaysColorDevice(const std::string &text);

std::string Narrow(const std::wstring &s);  // ASCII or UTF-8
std::wstring Widen(const std::string &s);   // ASCII or UTF-8

}  // namespace qxhost
