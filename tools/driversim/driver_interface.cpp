#include "driversim/driver_interface.h"

namespace qxsim {

std::vector<std::string> DriverInterface::QueriedFeatures() const {
  std::vector<std::string> features;
  for (const Query &query : queries) features.push_back(query.feature);
  return features;
}

STDMETHODIMP DriverInterface::QueryInterface(REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
    *ppv = static_cast<IPrintOemDriverUI *>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) DriverInterface::AddRef() { return InterlockedIncrement(&refs); }

STDMETHODIMP_(ULONG) DriverInterface::Release() {
  LONG n = InterlockedDecrement(&refs);
  if (n == 0 && deleteOnLastRelease_) delete this;
  return static_cast<ULONG>(n);
}

const std::string &DriverInterface::RecordQuery(PVOID pci, PCSTR feature, DWORD bufferSize) {
  std::string name = !feature ? "" : IsConstantKeyword(feature) ? "(constant)" : feature;
  queries.push_back({pci, name, bufferSize});
  return queries.back().feature;
}

void DriverInterface::RecordUpdate(PVOID pci, PVOID optItem, DWORD previousSelection, DWORD mode) {
  auto *item = static_cast<OPTITEM *>(optItem);
  updates.push_back({pci, item, item ? item->Sel : -1, previousSelection, mode});
}

}  // namespace qxsim
