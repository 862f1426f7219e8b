#include "support/fake_driver_ui.h"

#include <cstring>

namespace qxtest {

STDMETHODIMP FakeDriverUI::DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD cbSize,
                                               PDWORD pcbNeeded, PDWORD pdwOptionsReturned) {
  const std::string &name = RecordQuery(pci, feature, cbSize);
  if (FAILED(queryResult)) return queryResult;
  auto it = settings.find(name);
  if (it == settings.end()) return E_INVALIDARG;
  DWORD needed = static_cast<DWORD>(it->second.size() + 1);
  if (pcbNeeded) *pcbNeeded = needed;
  if (pdwOptionsReturned) *pdwOptionsReturned = 1;
  if (!output || cbSize < needed) return E_OUTOFMEMORY;
  std::memcpy(output, it->second.c_str(), needed);
  return S_OK;
}

STDMETHODIMP FakeDriverUI::DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) {
  RecordUpdate(pci, pOptItem, dwPreviousSelection, dwMode);
  return updateResult;
}

}  // namespace qxtest
