#include "plugin/plugin_object.h"

#include <new>

#include "optiontree/option_tree.h"
#include "platform/private_devmode.h"
#include "plugin/document_sheets.h"
#include "printersettings/printer_settings.h"
#include "printstart/document_event.h"

namespace qx {

volatile LONG liveObjectCount = 0;
volatile LONG serverLockCount = 0;

namespace {
constexpr WCHAR kColorProfile[] = L"OEMPROFILE.icm";
constexpr ULONG kColorProfileBufferSize = 32;  // what the driver is told to provide

// The item pass (the driver hands its own items) gets the callback of the
// subsystem that owns the sheet's items.
void InstallItemCallback(DWORD mode, POEMCUIPPARAM param, UiContext *ctx) {
  if (!param || !param->pOEMOptItems) return;
  if (mode == OEMCUIP_DOCPROP) {
    param->OEMCUIPCallback = DocPropItemCallback;
    param->pOEMUserData = ctx;
  } else if (mode == OEMCUIP_PRNPROP) {
    param->OEMCUIPCallback = PrnPropItemCallback;
  }
}
}  // namespace

PluginObject::PluginObject() { InterlockedIncrement(&liveObjectCount); }

PluginObject::~PluginObject() { InterlockedDecrement(&liveObjectCount); }

STDMETHODIMP PluginObject::QueryInterface(REFIID riid, void **ppv) {
  if (!ppv) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IPrintOemUI2)) {
    *ppv = static_cast<IPrintOemUI2 *>(this);
    AddRef();
    return S_OK;
  }
  *ppv = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) PluginObject::AddRef() { return InterlockedIncrement(&refCount_); }

STDMETHODIMP_(ULONG) PluginObject::Release() {
  LONG count = InterlockedDecrement(&refCount_);
  if (count == 0) delete this;
  return static_cast<ULONG>(count);
}

STDMETHODIMP PluginObject::GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) {
  if (!pcbNeeded) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  *pcbNeeded = sizeof(DWORD);
  if (cbSize < sizeof(DWORD) || !pBuffer) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  switch (dwMode) {
    case OEMGI_GETSIGNATURE:
      *static_cast<DWORD *>(pBuffer) = kPluginSignature;
      return S_OK;
    case OEMGI_GETVERSION:
      *static_cast<DWORD *>(pBuffer) = kPrivateDevmodeVersion;
      return S_OK;
    default:
      *pcbNeeded = 0;
      SetLastError(ERROR_NOT_SUPPORTED);
      return E_FAIL;
  }
}

STDMETHODIMP PluginObject::DevMode(DWORD dwMode, POEMDMPARAM p) {
  if (!p || dwMode < OEMDM_SIZE || dwMode > OEMDM_MERGE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  switch (dwMode) {
    case OEMDM_SIZE:
      p->cbBufSize = kPrivateDevmodeSize;
      break;
    case OEMDM_DEFAULT:
      InitPrivateDevmode(p->pOEMDMOut);
      break;
    default:  // convert and merge alike
      MergePrivateDevmode(p->pOEMDMIn, p->pOEMDMOut);
      break;
  }
  return S_OK;
}

STDMETHODIMP PluginObject::PublishDriverInterface(IUnknown *pIUnknown) {
  if (driver_) return S_OK;
  void *driver = nullptr;
  if (!pIUnknown || FAILED(pIUnknown->QueryInterface(IID_IPrintOemDriverUI, &driver)) || !driver) return E_FAIL;
  driver_ = ComPtr<IPrintOemDriverUI>(static_cast<IPrintOemDriverUI *>(driver));
  context_.pDriverUI = driver_.get();
  return S_OK;
}

STDMETHODIMP PluginObject::CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) {
  context_.bLegacySystem = FALSE;
  context_.pCuiParam = pOemCUIPParam;
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExW(reinterpret_cast<OSVERSIONINFOW *>(&version)) &&
      IsLegacySystem(version.dwMajorVersion, version.dwMinorVersion, version.wServicePackMajor))
    context_.bLegacySystem = TRUE;
  InstallItemCallback(dwMode, pOemCUIPParam, &context_);
  return CustomizeOptionTree(dwMode, pOemCUIPParam, &context_);
}

STDMETHODIMP PluginObject::DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
  return qx::DocumentPropertySheets(pPSUIInfo, lParam, &context_);
}

STDMETHODIMP PluginObject::DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) {
  return qx::DevicePropertySheets(pPSUIInfo, lParam, &context_);
}

STDMETHODIMP PluginObject::UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) {
  return qx::UpgradePrinter(dwLevel, pDriverUpgradeInfo, &context_);
}

STDMETHODIMP PluginObject::PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) {
  return qx::PrinterEvent(pPrinterName, iDriverEvent, dwFlags, lParam, &context_);
}

STDMETHODIMP PluginObject::QueryColorProfile(HANDLE, POEMUIOBJ, PDEVMODEW, PVOID, ULONG ulQueryMode,
                                             VOID *pvProfileData, ULONG *pcbProfileData, FLONG *pflProfileData) {
  if (ulQueryMode != QCP_DEVICEPROFILE) return E_FAIL;
  if (!pcbProfileData) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  if (!pvProfileData || *pcbProfileData < kColorProfileBufferSize) {
    *pcbProfileData = kColorProfileBufferSize;
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return E_FAIL;
  }
  CopyMemory(pvProfileData, kColorProfile, sizeof kColorProfile);
  *pcbProfileData = kColorProfileBufferSize;
  if (pflProfileData) *pflProfileData = QCP_PROFILEDISK;
  return S_OK;
}

STDMETHODIMP PluginObject::DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut,
                                         PVOID pvOut, PINT piResult) {
  if (!piResult) return E_FAIL;
  *piResult = qx::DocumentEvent(hPrinter, hdc, iEsc, cbIn, pvIn, cbOut, pvOut, &context_);
  return S_OK;
}

// Operations this plug-in leaves to the driver.
STDMETHODIMP PluginObject::DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) { return E_NOTIMPL; }
STDMETHODIMP PluginObject::DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD,
                                              DWORD *) {
  return E_NOTIMPL;
}
STDMETHODIMP PluginObject::DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) { return E_NOTIMPL; }
STDMETHODIMP PluginObject::FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) { return E_NOTIMPL; }
STDMETHODIMP PluginObject::UpdateExternalFonts(HANDLE, HANDLE, PWSTR) { return E_NOTIMPL; }
STDMETHODIMP PluginObject::QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) { return E_NOTIMPL; }
STDMETHODIMP PluginObject::HideStandardUI(DWORD) { return E_NOTIMPL; }

}  // namespace qx
