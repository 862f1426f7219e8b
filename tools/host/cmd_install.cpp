// Installing a printer of the host driver, and upgrading its driver: the
// spooler's side of the road, with the plug-in's printer events.
#include <cstdio>

#include "host/commands.h"
#include "host/host_devmode.h"
#include "host/installed_printer.h"
#include "host/plugin_session.h"

namespace qxhost {
namespace {

constexpr char kDefaultIni[] =
    "; Configuration file of the host PostScript driver.\r\n[OEMFiles]\r\nOEMConfigFile1=quillex.dll\r\n";

std::wstring BesideHost(const wchar_t *name) {
  wchar_t path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring dir(path, n);
  return dir.substr(0, dir.find_last_of(L"\\/") + 1) + name;
}

std::wstring BaseName(const std::wstring &path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

std::wstring Stem(const std::wstring &path) {
  std::wstring base = BaseName(path);
  size_t dot = base.find_last_of(L'.');
  return dot == std::wstring::npos ? base : base.substr(0, dot);
}

bool CopyInto(const std::wstring &from, const std::wstring &to, CallLog *log) {
  // Replaced in one step, so that nobody loads a half-written module.
  std::wstring partial = to + L".new";
  if (CopyFileW(from.c_str(), partial.c_str(), FALSE) &&
      MoveFileExW(partial.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING))
    return true;
  DWORD error = GetLastError();
  DeleteFileW(partial.c_str());
  // A module another process has loaded cannot be replaced; the copy in
  // place is the same build.
  if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES && to.size() > 4 &&
      lstrcmpiW(to.c_str() + to.size() - 4, L".dll") == 0)
    return true;
  log->Add("cannot copy " + Narrow(from) + " to " + Narrow(to) + " (error " + std::to_string(error) + ")");
  return false;
}

// The OEM configuration file: the one beside the PPD when there is one.
bool PlaceIni(const std::wstring &ppd, const std::wstring &target, CallLog *log) {
  std::wstring beside = ppd.substr(0, ppd.find_last_of(L"\\/") + 1) + L"orvanta-ps.ini";
  if (GetFileAttributesW(beside.c_str()) != INVALID_FILE_ATTRIBUTES) return CopyInto(beside, target, log);
  std::FILE *f = _wfopen(target.c_str(), L"wb");
  if (!f) return false;
  bool ok = std::fwrite(kDefaultIni, 1, sizeof kDefaultIni - 1, f) == sizeof kDefaultIni - 1;
  return std::fclose(f) == 0 && ok;
}

bool PrinterExists(const std::wstring &name) {
  HANDLE h = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &h, nullptr)) return false;
  ClosePrinter(h);
  return true;
}

// Removes what a failed installation added, so that the next run starts clean.
void RollBack(HANDLE printer, const std::wstring &driver, CallLog *log) {
  if (printer) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
  if (!driver.empty()) DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(driver.c_str()));
  log->Add("installation rolled back");
}

void ReportValues(HANDLE printer, CallLog *log) {
  log->Add(DescribeRegion(printer));
  log->Add(DescribeEmfDespooling(printer));
}

}  // namespace

int Install(const InstallRequest &r, CallLog *log) {
  PrinterDescription desc;
  std::string error;
  if (!ReadDescriptionFile(r.ppd, &desc, &error)) {
    log->Add("error: " + error);
    return kExitBadInput;
  }
  if (PrinterExists(r.name)) {
    log->Add("error: a printer named \"" + Narrow(r.name) + "\" exists already");
    return kExitFailed;
  }
  std::wstring dir = DriverFileDirectory();
  if (dir.empty()) {
    log->Add("error: the spooler names no printer-driver directory");
    return kExitFailed;
  }
  // Wine's spooler records the driver's files but does not copy them.
  std::wstring stem = Stem(r.ppd);
  std::wstring plugin = dir + L"\\quillex.dll", ui = dir + L"\\qxdrvui.dll";
  std::wstring data = dir + L"\\" + BaseName(r.ppd), ini = dir + L"\\" + stem + L".ini";
  if (!CopyInto(BesideHost(L"quillex.dll"), plugin, log) || !CopyInto(BesideHost(L"qxdrvui.dll"), ui, log) ||
      !CopyInto(r.ppd, data, log) || !PlaceIni(r.ppd, ini, log)) {
    log->Add("error: the driver files could not be put in place");
    return kExitFailed;
  }
  log->Add("driver files in " + Narrow(dir) + ": qxdrvui.dll, quillex.dll, " + Narrow(BaseName(data)) + ", " +
           Narrow(BaseName(ini)));

  std::wstring driver = desc.modelName.empty() ? stem : desc.modelName;
  std::wstring dependent = ini + L'\0' + plugin + L'\0' + L'\0';
  DRIVER_INFO_3W di = {};
  di.cVersion = 3;
  di.pName = const_cast<LPWSTR>(driver.c_str());
  di.pEnvironment = const_cast<LPWSTR>(L"Windows x64");
  di.pDriverPath = const_cast<LPWSTR>(ui.c_str());
  di.pDataFile = const_cast<LPWSTR>(data.c_str());
  di.pConfigFile = const_cast<LPWSTR>(ui.c_str());
  di.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
  di.pDefaultDataType = const_cast<LPWSTR>(L"RAW");
  if (!AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&di), APD_COPY_NEW_FILES)) {
    log->Add("error: AddPrinterDriverExW failed, error " + std::to_string(GetLastError()));
    return kExitFailed;
  }
  log->Add("driver \"" + Narrow(driver) + "\" added");

  PRINTER_INFO_2W pi = {};
  pi.pPrinterName = const_cast<LPWSTR>(r.name.c_str());
  pi.pPortName = const_cast<LPWSTR>(r.port.c_str());
  pi.pDriverName = const_cast<LPWSTR>(driver.c_str());
  pi.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
  pi.pDatatype = const_cast<LPWSTR>(L"RAW");
  if (r.shared) {
    pi.Attributes |= PRINTER_ATTRIBUTE_SHARED;
    pi.pShareName = const_cast<LPWSTR>(r.name.c_str());
  }
  if (r.rawOnly) pi.Attributes |= PRINTER_ATTRIBUTE_RAW_ONLY;
  HANDLE added = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&pi));
  if (!added) {
    log->Add("error: AddPrinterW failed, error " + std::to_string(GetLastError()));
    RollBack(nullptr, driver, log);
    return kExitFailed;
  }
  log->Add("printer \"" + Narrow(r.name) + "\" added on port " + Narrow(r.port) + (r.shared ? ", shared" : "") +
           (r.rawOnly ? ", raw only" : ""));
  ClosePrinter(added);

  InstalledPrinter printer;
  if (!printer.Open(r.name, &error)) {
    log->Add("error: " + error);
    HANDLE h = nullptr;
    PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    OpenPrinterW(const_cast<LPWSTR>(r.name.c_str()), &h, &all);
    RollBack(h, driver, log);
    return kExitFailed;
  }
  PluginSession session(log);
  if (!session.Load(printer.pluginPath(), &error)) {
    log->Add("error: " + error);
    RollBack(printer.handle(), driver, log);
    return kExitFailed;
  }
  // The printer's default devmode, as the driver makes it for the spooler.
  std::vector<BYTE> stored = printer.DefaultDevmode();
  if (stored.empty() || !FindPluginBlock(reinterpret_cast<DEVMODEW *>(stored.data()), stored.size())) {
    DocumentSettings settings;
    settings.choices = DefaultChoices(printer.description());
    HostDevmode dm;
    dm.Build(printer.description(), settings, r.name, &session, printer.handle(), nullptr, 0);
    bool set = printer.SetDefaultDevmode(dm.get());
    log->Add("default devmode of " + std::to_string(dm.size()) + " bytes " + (set ? "stored" : "not stored") +
             " with the printer");
  }
  GEOID previous = GetUserGeoID(GEOCLASS_NATION);
  if (r.nation) {
    SetUserGeoID(r.nation);
    log->Add("console user's nation set to " + std::to_string(r.nation) + " for the event (was " +
             std::to_string(previous) + ")");
  }
  HRESULT hr = session.plugin()->PrinterEvent(const_cast<LPWSTR>(r.name.c_str()), PRINTER_EVENT_INITIALIZE, 0, 0);
  if (r.nation) SetUserGeoID(previous);
  log->Add("PrinterEvent(PRINTER_EVENT_INITIALIZE) -> " + HResultText(hr));
  ReportValues(printer.handle(), log);
  return kExitOk;
}

int Upgrade(const std::wstring &name, CallLog *log) {
  InstalledPrinter printer;
  if (!printer.OpenLogged(name, log)) return kExitFailed;
  std::string error;
  PluginSession session(log);
  if (!session.Load(printer.pluginPath(), &error)) {
    log->Add("error: " + error);
    return kExitFailed;
  }
  log->Add("before: " + DescribeRegion(printer.handle()) + "; " + DescribeEmfDespooling(printer.handle()));
  DRIVER_UPGRADE_INFO_1 info = {const_cast<LPWSTR>(name.c_str()),
                                const_cast<LPWSTR>(printer.driverDirectory().c_str())};
  HRESULT hr = session.plugin()->UpgradePrinter(1, reinterpret_cast<PBYTE>(&info));
  log->Add("UpgradePrinter(1) -> " + HResultText(hr));
  log->Add("after: " + DescribeRegion(printer.handle()) + "; " + DescribeEmfDespooling(printer.handle()));
  return kExitOk;
}

}  // namespace qxhost
