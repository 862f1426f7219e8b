// A printer of the host driver in the spooler: its handle, its driver's
// files, the printer description read from the driver's data file, the
// device settings the driver keeps with it, and its data values.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <optional>
#include <string>
#include <vector>

#include "host/call_log.h"
#include "host/choices.h"
#include "host/description.h"

namespace qxhost {

// Printer data value in which the host driver keeps its device settings
// ("Keyword=Option" lines).
constexpr wchar_t kDeviceSettingsValue[] = L"HostDeviceSettings";

class InstalledPrinter {
 public:
  InstalledPrinter() = default;
  ~InstalledPrinter();
  InstalledPrinter(const InstalledPrinter &) = delete;
  InstalledPrinter &operator=(const InstalledPrinter &) = delete;

  // False with a reason when the printer does not exist or is not one of
  // this driver's (no readable PPD among its driver files).
  bool Open(const std::wstring &name, std::string *error);
  // Open, with a failure written to the command's log.
  bool OpenLogged(const std::wstring &name, CallLog *log);

  HANDLE handle() const { return handle_; }
  const std::wstring &name() const { return name_; }
  const PrinterDescription &description() const { return desc_; }
  // The user-interface plug-in named by the driver's configuration file.
  const std::wstring &pluginPath() const { return pluginPath_; }
  const std::wstring &driverName() const { return driverName_; }
  const std::wstring &driverDirectory() const { return driverDirectory_; }

  FeatureChoices LoadDeviceChoices() const;
  bool SaveDeviceChoices(const FeatureChoices &choices) const;
  // The printer's stored default devmode (empty when none).
  std::vector<BYTE> DefaultDevmode() const;
  bool SetDefaultDevmode(const DEVMODEW *dm) const;
  std::wstring Port() const;
  bool SetPort(const std::wstring &port) const;

 private:
  HANDLE handle_ = nullptr;
  std::wstring name_, driverName_, driverDirectory_, pluginPath_;
  PrinterDescription desc_;
};

std::optional<DWORD> ReadDwordValue(HANDLE printer, const wchar_t *name);
// "QXRegion: 0x00000003 (...)" or "QXRegion: absent".
std::string DescribeRegion(HANDLE printer);
std::string DescribeEmfDespooling(HANDLE printer);

// The plug-in module named by OEMConfigFile1 of section OEMFiles in the first
// .ini among the dependent files, in the driver directory; empty when none.
std::wstring FindConfiguredPlugin(const wchar_t *dependentFiles, const std::wstring &driverDirectory);

// The spooler's directory for the driver files of this environment ("...\3").
std::wstring DriverFileDirectory();

bool ReadDescriptionFile(const std::wstring &path, PrinterDescription *desc, std::string *error);

}  // namespace qxhost
