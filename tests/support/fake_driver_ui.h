// The PostScript driver's IPrintOemDriverUI as the tests see it: current
// settings answered from a map, and the record of what the plug-in asked
// and reported.
#pragma once

#include <map>
#include <string>

#include "driversim/driver_interface.h"

namespace qxtest {

class FakeDriverUI : public qxsim::DriverInterface {
 public:
  FakeDriverUI() : DriverInterface(false) {}

  // Current options by PPD keyword without asterisk; features not listed
  // are unknown to the driver.
  std::map<std::string, std::string> settings;
  HRESULT queryResult = S_OK;  // a failure is returned for every query
  HRESULT updateResult = S_OK;

  STDMETHODIMP DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD cbSize, PDWORD pcbNeeded,
                                   PDWORD pdwOptionsReturned) override;
  STDMETHODIMP DrvUpdateUISetting(PVOID pci, PVOID pOptItem, DWORD dwPreviousSelection, DWORD dwMode) override;
};

}  // namespace qxtest
