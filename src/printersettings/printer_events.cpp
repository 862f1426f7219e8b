#include "printersettings/printer_events.h"

#include "platform/spooler.h"
#include "platform/trace.h"
#include "printersettings/password_region.h"
#include "printersettings/printer_settings.h"
#include "printersettings/remote_printer.h"

namespace qx {

const WCHAR kRegionValueName[] = L"QXRegion";
const WCHAR kEmfDespoolingValueName[] = L"EMFDespoolingSetting";

namespace {

DWORD WriteDword(HANDLE hPrinter, const WCHAR *name, DWORD value) {
  return SetPrinterDataW(hPrinter, const_cast<LPWSTR>(name), REG_DWORD, reinterpret_cast<LPBYTE>(&value),
                         sizeof value);
}

// The events run in the spooler as its own account: full access lets the
// plug-in write the printer's data.
bool OpenForWriting(LPWSTR printerName, PrinterHandle *printer) {
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE handle = nullptr;
  if (!OpenPrinterW(printerName, &handle, &defaults)) return false;
  printer->reset(handle);
  return true;
}

}  // namespace

bool IsNumericPasswordNation(ConsoleUserImpersonation &impersonation, GEOID *nation) {
  impersonation.ImpersonateConsoleUser();
  GEOID found = GetUserGeoID(GEOCLASS_NATION);
  bool numeric = found != GEOID_NOT_AVAILABLE && IsNumericPasswordNationId(static_cast<int32_t>(found));
  impersonation.RevertImpersonation();
  if (nation) *nation = found;
  return numeric;
}

void DetermineRegion(HANDLE hPrinter, DWORD start, UiContext *ctx) {
  ConsoleUserImpersonation impersonation;
  GEOID nation = GEOID_NOT_AVAILABLE;
  DWORD region = DetermineRegionValue(start, IsNumericPasswordNation(impersonation, &nation));
  DWORD written = WriteDword(hPrinter, kRegionValueName, region);
  if (written == ERROR_SUCCESS && ctx) ctx->dwCachedRegion = region;
  Trace(hPrinter).Line(L"password form: console user's nation %ld, QXRegion %lu (from %lu) %ls", static_cast<long>(nation),
                       region, start, written == ERROR_SUCCESS ? L"written" : L"could not be written");
}

void EnsureEmfDespoolingSetting(HANDLE hPrinter) {
  DWORD value = 0;
  if (ReadPrinterDword(hPrinter, kEmfDespoolingValueName, &value) != ERROR_SUCCESS)
    WriteDword(hPrinter, kEmfDespoolingValueName, 0);
}

HRESULT PrinterEvent(PWSTR pPrinterName, INT iDriverEvent, DWORD, LPARAM, UiContext *ctx) {
  if (iDriverEvent != PRINTER_EVENT_INITIALIZE) return S_OK;
  if (!pPrinterName) return E_FAIL;
  PrinterHandle printer;
  if (!OpenForWriting(pPrinterName, &printer)) return S_OK;
  SpoolerBlock<PRINTER_INFO_2W> info;
  if (FAILED(FetchPrinterInfo(printer.get(), &info))) return S_OK;
  const bool remote = IsRemotePrinter(info.get());
  if (remote) Trace(printer.get()).Line(L"installation: %ls is a remote printer, left alone", pPrinterName);
  if (!remote) {
    // Installation decides anew: a form chosen before is not kept.
    DetermineRegion(printer.get(), 0, ctx);
    EnsureEmfDespoolingSetting(printer.get());
  }
  return S_OK;
}

HRESULT UpgradePrinter(DWORD dwLevel, PBYTE pDriverUpgradeInfo, UiContext *ctx) {
  auto *upgrade = reinterpret_cast<DRIVER_UPGRADE_INFO_1 *>(pDriverUpgradeInfo);
  PrinterHandle printer;
  if (dwLevel != 1 || !upgrade || !upgrade->pPrinterName || !OpenForWriting(upgrade->pPrinterName, &printer)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return E_FAIL;
  }
  SpoolerBlock<PRINTER_INFO_2W> info;
  if (FAILED(FetchPrinterInfo(printer.get(), &info))) return E_FAIL;
  const bool remote = IsRemotePrinter(info.get());
  if (remote) Trace(printer.get()).Line(L"upgrade: %ls is a remote printer, left alone", upgrade->pPrinterName);
  if (!remote) {
    // An upgrade keeps a determined form, and completes one that is not.
    DWORD region = 0;
    bool read = ReadPrinterDword(printer.get(), kRegionValueName, &region) == ERROR_SUCCESS;
    if (!read) region = 0;
    if (region & kRegionDetermined) Trace(printer.get()).Line(L"upgrade: password form kept (QXRegion %lu)", region);
    if (!(region & kRegionDetermined)) DetermineRegion(printer.get(), region, ctx);
    EnsureEmfDespoolingSetting(printer.get());
  }
  return S_OK;
}

}  // namespace qx
