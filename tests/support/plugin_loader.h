// Loads the plug-in DLL built next to the test program and creates plug-in
// objects through its exports, as the driver does.
#pragma once

#include <string>

#include "platform/printoem.h"

namespace qxtest {

class PluginLoader {
 public:
  PluginLoader();
  ~PluginLoader();
  PluginLoader(const PluginLoader &) = delete;
  PluginLoader &operator=(const PluginLoader &) = delete;

  HMODULE module() const { return module_; }
  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void **ppv) const;
  HRESULT CanUnloadNow() const;
  // A new plug-in object, or null (the test fails).
  IPrintOemUI2 *Create() const;

 private:
  HMODULE module_ = nullptr;
  HRESULT(STDAPICALLTYPE *getClassObject_)(REFCLSID, REFIID, void **) = nullptr;
  HRESULT(STDAPICALLTYPE *canUnloadNow_)() = nullptr;
};

// Fills `block` with the plug-in's default private settings, asked of
// `plugin` as the driver asks (OEMDM_DEFAULT); false when it refuses.
bool DefaultPrivateBlock(IPrintOemUI2 *plugin, void *block);

// Path of a file next to the test program.
std::wstring BesideTestProgram(const wchar_t *name);

// Releases a COM pointer at scope end.
template <typename T>
struct ComRelease {
  T *p;
  ~ComRelease() { if (p) p->Release(); }
};

}  // namespace qxtest
