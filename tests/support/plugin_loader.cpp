#include "support/plugin_loader.h"

#include <gtest/gtest.h>

namespace qxtest {

std::wstring BesideTestProgram(const wchar_t *name) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  dir.erase(dir.find_last_of(L"\\/") + 1);
  return dir + name;
}

PluginLoader::PluginLoader() {
  module_ = LoadLibraryW(BesideTestProgram(L"quillex.dll").c_str());
  EXPECT_NE(module_, nullptr) << "quillex.dll not loadable, error " << GetLastError();
  if (!module_) return;
  getClassObject_ = reinterpret_cast<decltype(getClassObject_)>(GetProcAddress(module_, "DllGetClassObject"));
  canUnloadNow_ = reinterpret_cast<decltype(canUnloadNow_)>(GetProcAddress(module_, "DllCanUnloadNow"));
  EXPECT_NE(getClassObject_, nullptr);
  EXPECT_NE(canUnloadNow_, nullptr);
}

PluginLoader::~PluginLoader() {
  if (module_) FreeLibrary(module_);
}

HRESULT PluginLoader::GetClassObject(REFCLSID clsid, REFIID riid, void **ppv) const {
  return getClassObject_ ? getClassObject_(clsid, riid, ppv) : E_FAIL;
}

HRESULT PluginLoader::CanUnloadNow() const { return canUnloadNow_ ? canUnloadNow_() : E_FAIL; }

IPrintOemUI2 *PluginLoader::Create() const {
  IClassFactory *factory = nullptr;
  IPrintOemUI2 *plugin = nullptr;
  if (FAILED(GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)))) {
    ADD_FAILURE() << "no class factory";
    return nullptr;
  }
  HRESULT hr = factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void **>(&plugin));
  factory->Release();
  EXPECT_EQ(hr, S_OK);
  return plugin;
}

bool DefaultPrivateBlock(IPrintOemUI2 *plugin, void *block) {
  OEMDMPARAM p = {};
  p.cbSize = sizeof p;
  p.pOEMDMOut = block;
  return plugin && plugin->DevMode(OEMDM_DEFAULT, &p) == S_OK;
}

}  // namespace qxtest
