#include "host/driver_ui.h"

#include <cstring>

namespace qxhost {

std::string HostDriverUI::Current(const std::string &feature) const {
  if (!state_.desc) return "";
  int f = state_.desc->FindFeature(feature);
  if (f < 0) return "";
  if (IsDeviceFeature(state_.desc->features[f])) {
    if (!state_.device) return ChosenKeyword(*state_.desc, DefaultChoices(*state_.desc), f);
    return ChosenKeyword(*state_.desc, *state_.device, f);
  }
  if (!state_.document) return ChosenKeyword(*state_.desc, DefaultChoices(*state_.desc), f);
  return ChosenKeyword(*state_.desc, state_.document->choices, f);
}

STDMETHODIMP HostDriverUI::DrvGetDriverSetting(PVOID pci, PCSTR feature, PVOID output, DWORD cbSize,
                                               PDWORD needed, PDWORD optionsReturned) {
  std::string name = RecordQuery(pci, feature, cbSize);
  if (!feature) name = "(constant)";
  if (pci != uiobj_ || !feature || qxsim::IsConstantKeyword(feature)) {
    log_->Add("driver: DrvGetDriverSetting(" + name + ") -> E_INVALIDARG (not a driver context or feature keyword)");
    return E_INVALIDARG;
  }
  std::string value = Current(name);
  if (value.empty()) {
    log_->Add("driver: DrvGetDriverSetting(" + name + ") -> E_FAIL (no such feature)");
    return E_FAIL;
  }
  DWORD size = static_cast<DWORD>(value.size() + 2);  // a list of one string
  if (needed) *needed = size;
  if (!output || cbSize < size) {
    log_->Add("driver: DrvGetDriverSetting(" + name + ") -> E_FAIL (buffer of " + std::to_string(cbSize) +
              " bytes, " + std::to_string(size) + " needed)");
    return E_FAIL;
  }
  std::memcpy(output, value.c_str(), value.size() + 1);
  static_cast<char *>(output)[value.size() + 1] = '\0';
  if (optionsReturned) *optionsReturned = 1;
  log_->Add("driver: DrvGetDriverSetting(" + name + ") -> S_OK \"" + value + "\"");
  return S_OK;
}

STDMETHODIMP HostDriverUI::DrvUpgradeRegistrySetting(HANDLE, PCSTR feature, PCSTR option) {
  log_->Add(std::string("driver: DrvUpgradeRegistrySetting(") + (feature ? feature : "") + ", " +
            (option ? option : "") + ") -> E_NOTIMPL");
  return E_NOTIMPL;
}

STDMETHODIMP HostDriverUI::DrvUpdateUISetting(PVOID pci, PVOID optItem, DWORD previousSelection, DWORD mode) {
  RecordUpdate(pci, optItem, previousSelection, mode);
  const char *modeName = mode == OEMCUIP_DOCPROP ? "DOCPROP" : mode == OEMCUIP_PRNPROP ? "PRNPROP" : "?";
  int i = state_.items ? state_.items->IndexOf(optItem) : -1;
  if (pci != uiobj_ || i < 0) {
    log_->Add(std::string("driver: DrvUpdateUISetting(unknown item, ") + modeName + ") -> E_INVALIDARG");
    return E_INVALIDARG;
  }
  const OPTITEM *item = static_cast<const OPTITEM *>(optItem);
  log_->Add("driver: DrvUpdateUISetting(\"" + Narrow(state_.items->Name(i)) + "\", Sel=" +
            std::to_string(item->Sel) + " \"" + Narrow(state_.items->OptionText(i, item->Sel)) +
            "\", previous=" + std::to_string(previousSelection) + ", " + modeName + ") -> S_OK");
  if (state_.itemTarget) state_.items->Commit(i, state_.itemTarget);
  return S_OK;
}

}  // namespace qxhost
