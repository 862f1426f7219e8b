// The host driver's side of the plug-in interface: IPrintOemDriverUI, which
// the plug-in receives through PublishDriverInterface. It answers
// DrvGetDriverSetting from the current document and device choices and
// commits the items that DrvUpdateUISetting names, recording every call.
#pragma once

#include "driversim/driver_interface.h"
#include "platform/printoem.h"
#include "host/call_log.h"
#include "host/document_settings.h"
#include "host/option_items.h"

namespace qxhost {

// What the driver answers from; every pointer may be null while unset.
struct DriverState {
  const PrinterDescription *desc = nullptr;
  DocumentSettings *document = nullptr;  // document choices (document properties, print)
  FeatureChoices *device = nullptr;      // installed options and other device settings
  ItemTree *items = nullptr;             // the items of the open sheet
  DocumentSettings *itemTarget = nullptr;  // where committed items go
};

class HostDriverUI final : public qxsim::DriverInterface {
 public:
  // On the heap: it goes with its last reference.
  HostDriverUI(CallLog *log, POEMUIOBJ uiobj) : DriverInterface(true), log_(log), uiobj_(uiobj) {}

  STDMETHODIMP DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD cbSize, PDWORD needed,
                                   PDWORD optionsReturned) override;
  STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE hPrinter, PCSTR feature, PCSTR option) override;
  STDMETHODIMP DrvUpdateUISetting(PVOID pci, PVOID optItem, DWORD previousSelection, DWORD mode) override;

  DriverState &state() { return state_; }

 private:
  ~HostDriverUI() override = default;
  // The chosen option keyword of `feature`, or "" when the driver has none.
  std::string Current(const std::string &feature) const;

  CallLog *log_;
  POEMUIOBJ uiobj_;
  DriverState state_;
};

}  // namespace qxhost
