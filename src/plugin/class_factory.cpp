// The class factory and the module's two exports.
#include <new>

#include "activation/activation.h"
#include "plugin/plugin_object.h"
#include "ppd/ppd_memory.h"

namespace qx {
namespace {

class PluginClassFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override {
    if (!ppv) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
      *ppv = static_cast<IClassFactory *>(this);
      AddRef();
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refCount_); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG count = InterlockedDecrement(&refCount_);
    if (count == 0) delete this;
    return static_cast<ULONG>(count);
  }
  STDMETHODIMP CreateInstance(IUnknown *outer, REFIID riid, void **ppv) override {
    if (ppv) *ppv = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    auto *object = new (std::nothrow) PluginObject();
    if (!object) return E_OUTOFMEMORY;
    HRESULT hr = object->QueryInterface(riid, ppv);
    object->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&serverLockCount);
    else
      InterlockedDecrement(&serverLockCount);
    return S_OK;
  }

 private:
  volatile LONG refCount_ = 1;
};

}  // namespace
}  // namespace qx

// The statically linked C++ runtime's release of what it allocated at load
// (its emergency exception pool); no runtime header declares it.
namespace __gnu_cxx {
void __freeres() noexcept;
}

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    qx::OnProcessAttach(instance);
  } else if (reason == DLL_PROCESS_DETACH) {
    qx::OnProcessDetach();
    // A null `reserved` means FreeLibrary: the process lives on and would
    // keep the runtime's blocks and the reader's kept blocks after every
    // load. At process end the heap goes with the process (and other threads
    // are gone, perhaps inside the reader).
    if (!reserved) {
      qx::ReleaseKeptPpdBlocks();
      __gnu_cxx::__freeres();
    }
  }
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID riid, void **ppv) {
  if (!IsEqualCLSID(clsid, CLSID_OEMUI)) return CLASS_E_CLASSNOTAVAILABLE;
  auto *factory = new (std::nothrow) qx::PluginClassFactory();
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(riid, ppv);
  factory->Release();
  return hr;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return (qx::liveObjectCount == 0 && qx::serverLockCount == 0) ? S_OK : S_FALSE;
}
