// One plug-in object as the driver holds it: the DLL loaded, the object made
// through DllGetClassObject and the class factory, and the driver's interface
// published to it.
#pragma once

#include <string>

#include "host/driver_ui.h"

namespace qxhost {

class PluginSession {
 public:
  explicit PluginSession(CallLog *log);
  ~PluginSession();
  PluginSession(const PluginSession &) = delete;
  PluginSession &operator=(const PluginSession &) = delete;

  // Loads `dll` and creates the object; false with a reason when it cannot.
  bool Load(const std::wstring &dll, std::string *error);

  IPrintOemUI2 *plugin() const { return plugin_; }
  HMODULE module() const { return module_; }
  HostDriverUI *driver() const { return driver_; }
  POEMUIOBJ uiobj() { return &object_.obj; }
  CallLog *log() const { return log_; }

 private:
  struct UiObject {
    OEMUIOBJ obj;
    PluginSession *session;
  };
  static BOOL APIENTRY ProcGetDriverSetting(PVOID, PCSTR, PVOID, DWORD, PDWORD, PDWORD);
  static BOOL APIENTRY ProcUpdateUISetting(PVOID, PVOID, DWORD, DWORD);

  CallLog *log_;
  HMODULE module_ = nullptr;
  IPrintOemUI2 *plugin_ = nullptr;
  HostDriverUI *driver_ = nullptr;
  OEMUIPROCS procs_ = {};
  UiObject object_ = {};
};

}  // namespace qxhost
