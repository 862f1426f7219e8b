#include "support/fake_driver_ui.h"

#include <cstring>

namespace qxtest {

std::vector<std::string> FakeDriverUI::QueriedFeatures() const {
  std::vector<std::string> features;
  for (const Query &query : queries) features.push_back(query.feature);
  return features;
}

STDMETHODIMP FakeDriverUI::QueryInterface(REFIID riid, void **ppv) {
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemDriverUI)) {
    *ppv = static_cast<IPrintOemDriverUI *>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP FakeDriverUI::DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD cbSize,
                                               PDWORD pcbNeeded, PDWORD pdwOptionsReturned) {
  queries.push_back({pci, feature ? feature : "", cbSize});
  if (FAILED(queryResult)) return queryResult;
  auto it = settings.find(feature ? feature : "");
  if (it == settings.end()) return E_INVALIDARG;
  DWORD needed = static_cast<DWORD>(it->second.size() + 1);
  if (pcbNeeded) *pcbNeeded = needed;
  if (pdwOptionsReturned) *pdwOptionsReturned = 1;
  if (!output || cbSize < needed) return E_OUTOFMEMORY;
  std::memcpy(output, it->second.c_str(), needed);
  return S_OK;
}

STDMETHODIMP FakeDriverUI::DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) {
  auto *item = static_cast<OPTITEM *>(pOptItem);
  updates.push_back({pci, item, item ? item->Sel : -1, dwPreviousSelection, dwMode});
  return updateResult;
}

}  // namespace qxtest
