// The PostScript driver's IPrintOemDriverUI as the tests see it: current
// settings answered from a map, and a log of what the plug-in asked and
// reported.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/printoem.h"

namespace qxtest {

class FakeDriverUI : public IPrintOemDriverUI {
 public:
  struct Query {
    PVOID pci;
    std::string feature;
    DWORD bufferSize;
  };
  struct Update {
    PVOID pci;
    OPTITEM *item;
    LONG selAtCall;  // the item's selection when reported
    DWORD previous;
    DWORD mode;
  };

  // Current options by PPD keyword without asterisk; features not listed
  // are unknown to the driver.
  std::map<std::string, std::string> settings;
  HRESULT queryResult = S_OK;  // a failure is returned for every query
  HRESULT updateResult = S_OK;
  std::vector<Query> queries;
  std::vector<Update> updates;
  LONG refs = 1;

  // The features asked for, in order.
  std::vector<std::string> QueriedFeatures() const;

  STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  STDMETHODIMP DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD cbSize, PDWORD pcbNeeded,
                                   PDWORD pdwOptionsReturned) override;
  STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }
  STDMETHODIMP DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) override;
};

}  // namespace qxtest
