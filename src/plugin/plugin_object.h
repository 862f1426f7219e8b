// The plug-in object the driver drives through IPrintOemUI2. It answers the
// informational operations itself and hands the rest, with its UI context, to
// the subsystems that own them.
#pragma once

#include "platform/com_ptr.h"
#include "platform/system_version.h"
#include "platform/ui_context.h"

namespace qx {

// Objects and server locks alive in this module; the DLL may unload at zero.
extern volatile LONG liveObjectCount;
extern volatile LONG serverLockCount;

class PluginObject final : public IPrintOemUI2 {
 public:
  PluginObject();
  PluginObject(const PluginObject &) = delete;
  PluginObject &operator=(const PluginObject &) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void **ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  STDMETHODIMP GetInfo(DWORD dwMode, PVOID pBuffer, DWORD cbSize, PDWORD pcbNeeded) override;
  STDMETHODIMP DevMode(DWORD dwMode, POEMDMPARAM pOemDMParam) override;
  STDMETHODIMP PublishDriverInterface(IUnknown *pIUnknown) override;
  STDMETHODIMP CommonUIProp(DWORD dwMode, POEMCUIPPARAM pOemCUIPParam) override;
  STDMETHODIMP DocumentPropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
  STDMETHODIMP DevicePropertySheets(PPROPSHEETUI_INFO pPSUIInfo, LPARAM lParam) override;
  STDMETHODIMP DevQueryPrintEx(POEMUIOBJ, PDEVQUERYPRINT_INFO, PDEVMODEW, PVOID) override;
  STDMETHODIMP DeviceCapabilities(POEMUIOBJ, HANDLE, PWSTR, WORD, PVOID, PDEVMODEW, PVOID, DWORD, DWORD *) override;
  STDMETHODIMP UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo) override;
  STDMETHODIMP PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD dwFlags, LPARAM lParam) override;
  STDMETHODIMP DriverEvent(DWORD, DWORD, LPBYTE, LPARAM) override;
  STDMETHODIMP QueryColorProfile(HANDLE hPrinter, POEMUIOBJ poemuiobj, PDEVMODEW pPublicDM, PVOID pOEMDM,
                                 ULONG ulQueryMode, VOID *pvProfileData, ULONG *pcbProfileData,
                                 FLONG *pflProfileData) override;
  STDMETHODIMP FontInstallerDlgProc(HWND, UINT, WPARAM, LPARAM) override;
  STDMETHODIMP UpdateExternalFonts(HANDLE, HANDLE, PWSTR) override;
  STDMETHODIMP QueryJobAttributes(HANDLE, PDEVMODEW, DWORD, LPBYTE) override;
  STDMETHODIMP HideStandardUI(DWORD) override;
  STDMETHODIMP DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut,
                             PINT piResult) override;

 private:
  ~PluginObject();

  volatile LONG refCount_ = 1;
  ComPtr<IPrintOemDriverUI> driver_;  // lent to the subsystems through context_
  UiContext context_;
};

}  // namespace qx
