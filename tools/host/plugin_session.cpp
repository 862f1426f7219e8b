#include "host/plugin_session.h"

namespace qxhost {

PluginSession::PluginSession(CallLog *log) : log_(log) {
  procs_.DrvGetDriverSetting = ProcGetDriverSetting;
  procs_.DrvUpdateUISetting = ProcUpdateUISetting;
  object_.obj.cbSize = sizeof(OEMUIOBJ);
  object_.obj.pOemUIProcs = &procs_;
  object_.session = this;
  driver_ = new HostDriverUI(log, &object_.obj);
}

PluginSession::~PluginSession() {
  if (plugin_) {
    ULONG left = plugin_->Release();
    log_->Add("Release -> " + std::to_string(left));
  }
  driver_->Release();
  if (module_) FreeLibrary(module_);
}

bool PluginSession::Load(const std::wstring &dll, std::string *error) {
  module_ = LoadLibraryW(dll.c_str());
  // Another program may be putting the same file in place this moment.
  for (int retry = 0; !module_ && GetLastError() == ERROR_SHARING_VIOLATION && retry < 20; ++retry) {
    Sleep(50);
    module_ = LoadLibraryW(dll.c_str());
  }
  if (!module_) {
    *error = "cannot load " + Narrow(dll) + " (error " + std::to_string(GetLastError()) + ")";
    return false;
  }
  using GetClassObject = HRESULT(STDAPICALLTYPE *)(REFCLSID, REFIID, void **);
  auto getClassObject = reinterpret_cast<GetClassObject>(reinterpret_cast<void *>(GetProcAddress(module_, "DllGetClassObject")));
  if (!getClassObject) {
    *error = Narrow(dll) + " exports no DllGetClassObject";
    return false;
  }
  IClassFactory *factory = nullptr;
  HRESULT hr = getClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory));
  if (FAILED(hr) || !factory) {
    *error = "DllGetClassObject(CLSID_OEMUI) -> " + HResultText(hr);
    return false;
  }
  hr = factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void **>(&plugin_));
  factory->Release();
  if (FAILED(hr) || !plugin_) {
    plugin_ = nullptr;
    *error = "CreateInstance(IID_IPrintOemUI2) -> " + HResultText(hr);
    return false;
  }
  DWORD signature = 0, version = 0, needed = 0;
  plugin_->GetInfo(OEMGI_GETSIGNATURE, &signature, sizeof signature, &needed);
  plugin_->GetInfo(OEMGI_GETVERSION, &version, sizeof version, &needed);
  char sig[5] = {char(signature >> 24), char(signature >> 16), char(signature >> 8), char(signature), 0};
  log_->Add(std::string("GetInfo -> signature ") + sig + ", version " + std::to_string(version));
  hr = plugin_->PublishDriverInterface(static_cast<IPrintOemDriverUI *>(driver_));
  log_->Add("PublishDriverInterface -> " + HResultText(hr));
  return true;
}

BOOL APIENTRY PluginSession::ProcGetDriverSetting(PVOID obj, PCSTR feature, PVOID out, DWORD size, PDWORD needed,
                                                  PDWORD returned) {
  if (!obj) return FALSE;
  PluginSession *s = reinterpret_cast<UiObject *>(obj)->session;
  return SUCCEEDED(s->driver_->DrvGetDriverSetting(obj, feature, out, size, needed, returned));
}

BOOL APIENTRY PluginSession::ProcUpdateUISetting(PVOID obj, PVOID item, DWORD previous, DWORD mode) {
  if (!obj) return FALSE;
  PluginSession *s = reinterpret_cast<UiObject *>(obj)->session;
  return SUCCEEDED(s->driver_->DrvUpdateUISetting(obj, item, previous, mode));
}

}  // namespace qxhost
