// qxtestdrv.dll: the smallest printer-driver UI module Wine's spooler
// accepts. It answers the devmode size and fills a default devmode, so that
// the tests can add printers and start jobs without the plug-in loaded.
#include <windows.h>
#include <winspool.h>

#include "platform/printoem.h"

namespace {
constexpr WORD kDriverExtra = 6904;  // room for the plug-in block at offset 0
}

extern "C" __declspec(dllexport) LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  if (info) return -1;
  auto *header = reinterpret_cast<DOCUMENTPROPERTYHEADER *>(lParam);
  if (!header) return -1;
  LONG size = sizeof(DEVMODEW) + kDriverExtra;
  if (header->fMode == 0 || !header->pdmOut) return size;
  if (header->cbOut < static_cast<DWORD>(size)) return -1;
  ZeroMemory(header->pdmOut, size);
  if (header->pdmIn && header->pdmIn->dmSize + header->pdmIn->dmDriverExtra <= static_cast<DWORD>(size))
    CopyMemory(header->pdmOut, header->pdmIn, header->pdmIn->dmSize + header->pdmIn->dmDriverExtra);
  DEVMODEW *dm = header->pdmOut;
  lstrcpynW(dm->dmDeviceName, header->pszPrinterName ? header->pszPrinterName : L"", CCHDEVICENAME);
  dm->dmSpecVersion = DM_SPECVERSION;
  dm->dmSize = sizeof(DEVMODEW);
  dm->dmDriverExtra = kDriverExtra;
  return 1;
}

extern "C" __declspec(dllexport) DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD, PVOID, PDEVMODEW) {
  return 0;
}
