// The PostScript driver's IPrintOemDriverUI as a stand-in driver plays it:
// IUnknown, the reference count, and a record of every setting the plug-in
// asked for and every item it reported. What the driver answers is decided
// by the deriving class.
#pragma once

#include <string>
#include <vector>

#include "platform/printoem.h"

namespace qxsim {

class DriverInterface : public IPrintOemDriverUI {
 public:
  struct Query {
    PVOID pci;
    std::string feature;  // "(constant)" for a keyword given as a number
    DWORD bufferSize;
  };
  struct Update {
    PVOID pci;
    OPTITEM *item;
    LONG selAtCall;  // the item's selection when reported
    DWORD previous;
    DWORD mode;
  };

  std::vector<Query> queries;
  std::vector<Update> updates;
  LONG refs = 1;

  // The features asked for, in order.
  std::vector<std::string> QueriedFeatures() const;

  STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP DrvUpgradeRegistrySetting(HANDLE, PCSTR, PCSTR) override { return E_NOTIMPL; }

 protected:
  // `deleteOnLastRelease`: the object lives on the heap and goes with its
  // last reference, as a driver's does; otherwise its owner ends it.
  explicit DriverInterface(bool deleteOnLastRelease) : deleteOnLastRelease_(deleteOnLastRelease) {}
  virtual ~DriverInterface() = default;

  // Records a DrvGetDriverSetting call and returns its feature keyword.
  const std::string &RecordQuery(PVOID pci, PCSTR feature, DWORD bufferSize);
  // Records a DrvUpdateUISetting call.
  void RecordUpdate(PVOID pci, PVOID optItem, DWORD previousSelection, DWORD mode);

 private:
  bool deleteOnLastRelease_;
};

// A keyword passed as a small number rather than a string.
inline bool IsConstantKeyword(PCSTR feature) { return reinterpret_cast<ULONG_PTR>(feature) < 0x10000; }

}  // namespace qxsim
