// The host driver's devmode: the public DEVMODEW, the driver's own part and
// the plug-in's block, sized and filled through the plug-in's DevMode
// operation as the PostScript driver does.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "host/driver_part.h"
#include "host/plugin_session.h"

namespace qxhost {

class HostDevmode {
 public:
  // Sizes the devmode (OEMDM_SIZE), fills the defaults (OEMDM_DEFAULT) and,
  // when `previous` is a devmode of this driver, merges its plug-in block
  // (OEMDM_MERGE). `session` may be null: then there is no plug-in block.
  void Build(const PrinterDescription &desc, const DocumentSettings &settings, const std::wstring &deviceName,
             PluginSession *session, HANDLE printer, const DEVMODEW *previous, size_t previousSize);
  // Rewrites the public fields and the driver part from `settings`.
  void Write(const PrinterDescription &desc, const DocumentSettings &settings);

  DEVMODEW *get() { return reinterpret_cast<DEVMODEW *>(bytes_.data()); }
  const DEVMODEW *get() const { return reinterpret_cast<const DEVMODEW *>(bytes_.data()); }
  size_t size() const { return bytes_.size(); }
  DriverPart *driverPart() { return reinterpret_cast<DriverPart *>(bytes_.data() + sizeof(DEVMODEW)); }
  void *pluginBlock() { return pluginSize_ ? bytes_.data() + sizeof(DEVMODEW) + kDriverPartSize : nullptr; }
  DWORD pluginSize() const { return pluginSize_; }

 private:
  std::vector<BYTE> bytes_;
  DWORD pluginSize_ = 0;
};

// The settings a devmode of this driver carries; false when it is not one.
bool ReadDocumentSettings(const PrinterDescription &desc, const DEVMODEW *dm, size_t available,
                          DocumentSettings *out);

// The plug-in's block inside a devmode of this driver, found the way the
// driver places it (the offset at byte 114 of the driver part); null when
// there is none.
void *FindPluginBlock(DEVMODEW *dm, size_t available);

// Lines that describe the settings, for printing.
std::vector<std::string> DescribeSettings(const PrinterDescription &desc, const DocumentSettings &settings);

}  // namespace qxhost
