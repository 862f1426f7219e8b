// qxdrvui.dll: the host driver's user-interface module as Wine's spooler
// sees it (the printer's configuration file). The spooler asks it for the
// size of the driver's devmode and for the printer's default devmode when a
// printer is added or a devmode is requested; it answers them the way the
// host builds every devmode: through the plug-in's DevMode operation.
#include <windows.h>
#include <winspool.h>

#include <cstring>
#include <memory>

#include "platform/printoem.h"
#include "host/host_devmode.h"
#include "host/installed_printer.h"

namespace {

// The default devmode of `printerName`, or empty when the printer or its
// plug-in cannot be read. Quiet: the spooler shows nothing.
std::vector<BYTE> DefaultDevmode(HANDLE printer, const wchar_t *printerName) {
  using namespace qxhost;
  std::vector<BYTE> info;
  DWORD needed = 0;
  GetPrinterDriverW(printer, nullptr, 3, nullptr, 0, &needed);
  if (!needed) return {};
  info.resize(needed);
  if (!GetPrinterDriverW(printer, nullptr, 3, info.data(), needed, &needed)) return {};
  auto *di = reinterpret_cast<DRIVER_INFO_3W *>(info.data());
  PrinterDescription desc;
  std::string error;
  if (!di->pDataFile || !ReadDescriptionFile(di->pDataFile, &desc, &error)) return {};
  std::wstring dir = di->pDriverPath ? std::wstring(di->pDriverPath) : L"";
  dir = dir.substr(0, dir.find_last_of(L"\\/"));
  std::wstring plugin = FindConfiguredPlugin(di->pDependentFiles, dir);
  CallLog log;
  log.set_echo(false);
  PluginSession session(&log);
  DocumentSettings settings;
  settings.choices = DefaultChoices(desc);
  HostDevmode dm;
  bool loaded = !plugin.empty() && session.Load(plugin, &error);
  dm.Build(desc, settings, printerName ? printerName : L"", loaded ? &session : nullptr, printer, nullptr, 0);
  const BYTE *bytes = reinterpret_cast<const BYTE *>(dm.get());
  return std::vector<BYTE>(bytes, bytes + dm.size());
}

}  // namespace

extern "C" __declspec(dllexport) LONG WINAPI DrvDocumentPropertySheets(PPROPSHEETUI_INFO info, LPARAM lParam) {
  if (info) return -1;  // the host shows its own sheets
  auto *header = reinterpret_cast<DOCUMENTPROPERTYHEADER *>(lParam);
  if (!header) return -1;
  // Wine's AddPrinterW asks before it hands out a handle: open by name.
  HANDLE printer = header->hPrinter, opened = nullptr;
  if (!printer && header->pszPrinterName && OpenPrinterW(header->pszPrinterName, &opened, nullptr)) printer = opened;
  std::vector<BYTE> dm = DefaultDevmode(printer, header->pszPrinterName);
  if (opened) ClosePrinter(opened);
  if (dm.empty()) return -1;
  if (header->fMode == 0 || !header->pdmOut) return static_cast<LONG>(dm.size());
  // Wine leaves cbOut 0 and means a buffer of the size it was told.
  if (header->cbOut != 0 && header->cbOut < dm.size()) return -1;
  // Keep the caller's settings when they come from this driver.
  const DEVMODEW *in = header->pdmIn;
  if (in && in->dmSize == sizeof(DEVMODEW) && in->dmSize + in->dmDriverExtra == dm.size() &&
      qxhost::IsDriverPart(reinterpret_cast<const BYTE *>(in) + in->dmSize, in->dmDriverExtra))
    std::memcpy(dm.data(), in, dm.size());
  std::memcpy(header->pdmOut, dm.data(), dm.size());
  return 1;
}

extern "C" __declspec(dllexport) DWORD WINAPI DrvDeviceCapabilities(HANDLE, PWSTR, WORD, PVOID, PDEVMODEW) {
  return 0;
}
