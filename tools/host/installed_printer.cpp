#include "host/installed_printer.h"

#include <cstdio>
#include <memory>

namespace qxhost {
namespace {

template <typename T>
std::vector<BYTE> Fetch(T call) {
  DWORD needed = 0;
  call(nullptr, 0, &needed);
  if (!needed) return {};
  std::vector<BYTE> buf(needed);
  if (!call(buf.data(), needed, &needed)) return {};
  return buf;
}

std::wstring DirectoryOf(const std::wstring &path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"" : path.substr(0, slash);
}

}  // namespace

InstalledPrinter::~InstalledPrinter() {
  if (handle_) ClosePrinter(handle_);
}

bool ReadDescriptionFile(const std::wstring &path, PrinterDescription *desc, std::string *error) {
  std::FILE *f = _wfopen(path.c_str(), L"rb");
  if (!f) {
    *error = "cannot read the printer description " + Narrow(path);
    return false;
  }
  std::string reason;
  bool ok = ReadPrinterDescription(f, desc, &reason);
  std::fclose(f);
  if (!ok) *error = Narrow(path) + ": " + reason;
  return ok;
}

std::wstring DriverFileDirectory() {
  wchar_t dir[MAX_PATH] = {};
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed))
    return L"";
  std::wstring path = std::wstring(dir) + L"\\3";
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

std::wstring FindConfiguredPlugin(const wchar_t *dependentFiles, const std::wstring &driverDirectory) {
  for (const wchar_t *p = dependentFiles; p && *p; p += lstrlenW(p) + 1) {
    std::wstring file = p;
    if (file.size() < 4 || lstrcmpiW(file.c_str() + file.size() - 4, L".ini") != 0) continue;
    wchar_t value[MAX_PATH] = {};
    GetPrivateProfileStringW(L"OEMFiles", L"OEMConfigFile1", L"", value, MAX_PATH, file.c_str());
    if (!*value) continue;
    std::wstring dir = DirectoryOf(file);
    return (dir.empty() ? driverDirectory : dir) + L"\\" + value;
  }
  return L"";
}

bool InstalledPrinter::OpenLogged(const std::wstring &name, CallLog *log) {
  std::string error;
  if (Open(name, &error)) return true;
  log->Add("error: " + error);
  return false;
}

bool InstalledPrinter::Open(const std::wstring &name, std::string *error) {
  name_ = name;
  PRINTER_DEFAULTSW all = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  if (!OpenPrinterW(const_cast<LPWSTR>(name.c_str()), &handle_, &all)) {
    handle_ = nullptr;
    *error = "there is no printer named \"" + Narrow(name) + "\"";
    return false;
  }
  std::vector<BYTE> info = Fetch([&](LPBYTE b, DWORD n, DWORD *need) {
    return GetPrinterDriverW(handle_, nullptr, 3, b, n, need);
  });
  if (info.empty()) {
    *error = "the driver of \"" + Narrow(name) + "\" cannot be read";
    return false;
  }
  auto *di = reinterpret_cast<DRIVER_INFO_3W *>(info.data());
  driverName_ = di->pName ? di->pName : L"";
  driverDirectory_ = di->pDriverPath ? DirectoryOf(di->pDriverPath) : L"";
  if (!di->pDataFile || !ReadDescriptionFile(di->pDataFile, &desc_, error)) {
    if (!di->pDataFile) *error = "the driver of \"" + Narrow(name) + "\" has no printer description";
    return false;
  }
  pluginPath_ = FindConfiguredPlugin(di->pDependentFiles, driverDirectory_);
  if (pluginPath_.empty()) {
    *error = "the driver's configuration file names no user-interface plug-in (OEMFiles/OEMConfigFile1)";
    return false;
  }
  return true;
}

FeatureChoices InstalledPrinter::LoadDeviceChoices() const {
  FeatureChoices c = DefaultChoices(desc_);
  DWORD type = 0, needed = 0;
  GetPrinterDataW(handle_, const_cast<LPWSTR>(kDeviceSettingsValue), &type, nullptr, 0, &needed);
  if (!needed) return c;
  std::vector<BYTE> buf(needed + 2, 0);
  if (GetPrinterDataW(handle_, const_cast<LPWSTR>(kDeviceSettingsValue), &type, buf.data(), needed, &needed) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return c;
  ParseChoices(desc_, Narrow(reinterpret_cast<const wchar_t *>(buf.data())), &c);
  return c;
}

bool InstalledPrinter::SaveDeviceChoices(const FeatureChoices &choices) const {
  std::wstring text = Widen(FormatChoices(desc_, choices, true));
  return SetPrinterDataW(handle_, const_cast<LPWSTR>(kDeviceSettingsValue), REG_SZ,
                         reinterpret_cast<LPBYTE>(const_cast<wchar_t *>(text.c_str())),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

std::vector<BYTE> InstalledPrinter::DefaultDevmode() const {
  std::vector<BYTE> info = Fetch([&](LPBYTE b, DWORD n, DWORD *need) { return GetPrinterW(handle_, 2, b, n, need); });
  if (info.empty()) return {};
  const DEVMODEW *dm = reinterpret_cast<PRINTER_INFO_2W *>(info.data())->pDevMode;
  if (!dm) return {};
  const BYTE *p = reinterpret_cast<const BYTE *>(dm);
  return std::vector<BYTE>(p, p + dm->dmSize + dm->dmDriverExtra);
}

bool InstalledPrinter::SetDefaultDevmode(const DEVMODEW *dm) const {
  std::vector<BYTE> info = Fetch([&](LPBYTE b, DWORD n, DWORD *need) { return GetPrinterW(handle_, 2, b, n, need); });
  if (info.empty()) return false;
  auto *pi = reinterpret_cast<PRINTER_INFO_2W *>(info.data());
  pi->pDevMode = const_cast<DEVMODEW *>(dm);
  pi->pSecurityDescriptor = nullptr;
  return SetPrinterW(handle_, 2, info.data(), 0) != FALSE;
}

std::wstring InstalledPrinter::Port() const {
  std::vector<BYTE> info = Fetch([&](LPBYTE b, DWORD n, DWORD *need) { return GetPrinterW(handle_, 2, b, n, need); });
  if (info.empty()) return L"";
  auto *pi = reinterpret_cast<PRINTER_INFO_2W *>(info.data());
  return pi->pPortName ? pi->pPortName : L"";
}

bool InstalledPrinter::SetPort(const std::wstring &port) const {
  std::vector<BYTE> info = Fetch([&](LPBYTE b, DWORD n, DWORD *need) { return GetPrinterW(handle_, 2, b, n, need); });
  if (info.empty()) return false;
  auto *pi = reinterpret_cast<PRINTER_INFO_2W *>(info.data());
  pi->pPortName = const_cast<LPWSTR>(port.c_str());
  pi->pSecurityDescriptor = nullptr;
  return SetPrinterW(handle_, 2, info.data(), 0) != FALSE;
}

std::optional<DWORD> ReadDwordValue(HANDLE printer, const wchar_t *name) {
  DWORD type = 0, needed = 0, value = 0;
  if (GetPrinterDataW(printer, const_cast<LPWSTR>(name), &type, reinterpret_cast<LPBYTE>(&value), sizeof value,
                      &needed) != ERROR_SUCCESS ||
      needed != sizeof value)
    return std::nullopt;
  return value;
}

std::string DescribeRegion(HANDLE printer) {
  std::optional<DWORD> v = ReadDwordValue(printer, L"QXRegion");
  if (!v) return "QXRegion: absent (eight-character passwords)";
  std::string meaning;
  if (!(*v & 1)) meaning = "not determined: eight-character passwords";
  else if (!(*v & 2)) meaning = "four-digit passwords, not selectable";
  else meaning = std::string("selectable, now ") + ((*v & 4) ? "four-digit" : "eight-character") + " passwords";
  return "QXRegion: " + std::to_string(*v) + " (" + meaning + ")";
}

std::string DescribeEmfDespooling(HANDLE printer) {
  std::optional<DWORD> v = ReadDwordValue(printer, L"EMFDespoolingSetting");
  return v ? "EMFDespoolingSetting: " + std::to_string(*v) : "EMFDespoolingSetting: absent";
}

}  // namespace qxhost
