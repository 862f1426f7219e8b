#include "support/test_printer.h"

#include <gtest/gtest.h>

#include <cstdio>

#include "support/plugin_loader.h"

namespace qxtest {
namespace {

std::wstring DriverDirectory() {
  wchar_t dir[MAX_PATH];
  DWORD needed = 0;
  if (!GetPrinterDriverDirectoryW(nullptr, nullptr, 1, reinterpret_cast<LPBYTE>(dir), sizeof dir, &needed))
    return L"";
  std::wstring path = std::wstring(dir) + L"\\3";
  CreateDirectoryW(path.c_str(), nullptr);
  return path;
}

bool WriteFileBytes(const std::wstring &path, const std::string &bytes) {
  FILE *f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  fwrite(bytes.data(), 1, bytes.size(), f);
  fclose(f);
  return true;
}

// Puts a copy of `source` at `target` in one step. Test programs run side by
// side and share the driver directory: one that loads the target meanwhile
// sees the old file or the new one, never a half-written one.
void ReplaceWithCopy(const std::wstring &source, const std::wstring &target) {
  std::wstring temporary = target + L"." + std::to_wstring(GetCurrentProcessId()) + L".new";
  if (!CopyFileW(source.c_str(), temporary.c_str(), FALSE)) return;
  // A target that cannot be replaced now is in use, and so already in place.
  if (!MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) DeleteFileW(temporary.c_str());
}

// A configuration text with "quillex.dll" replaced by this printer's copy.
std::string NamingModule(std::string text, const std::wstring &moduleName) {
  const std::string module(moduleName.begin(), moduleName.end());
  for (size_t at = text.find("quillex.dll"); at != std::string::npos; at = text.find("quillex.dll", at + module.size()))
    text.replace(at, 11, module);
  return text;
}

}  // namespace

std::wstring TestDataDir() {
  // The test programs run in build/<preset>; the data lives in tests/data.
  return BesideTestProgram(L"..\\..\\tests\\data\\");
}

std::vector<BYTE> MakeDevmode(WORD extraSize) {
  std::vector<BYTE> bytes(sizeof(DEVMODEW) + extraSize);
  auto *dm = reinterpret_cast<DEVMODEW *>(bytes.data());
  wcscpy(dm->dmDeviceName, L"quillex test");
  dm->dmSpecVersion = DM_SPECVERSION;
  dm->dmSize = sizeof(DEVMODEW);
  dm->dmDriverExtra = extraSize;
  return bytes;
}

TestPrinterOptions OnPort(const wchar_t *port, DWORD attributes) {
  TestPrinterOptions options;
  options.port = port;
  options.attributes = attributes;
  return options;
}

TestPrinter::TestPrinter(const std::wstring &baseName, const TestPrinterOptions &options) {
  // Wine reuses small process ids, and a driver or printer left by a program
  // that died would otherwise answer for this one: the names are unique.
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  unique_ = std::to_wstring(GetCurrentProcessId()) + L"." + std::to_wstring(now.QuadPart % 1000000007);
  name_ = baseName + L" " + unique_;
  driver_ = L"quillex test driver " + name_;
  Install(options);
}

void TestPrinter::Install(const TestPrinterOptions &options) {
  std::wstring dir = DriverDirectory();
  ASSERT_FALSE(dir.empty());
  // Wine keeps only the base names of driver files, all in one folder shared
  // by every suite (NT 6.0 and NT 5.2 builds alike) and every run: each
  // printer gets its own copy of the plug-in under a name of its own, and its
  // configuration file names that copy.
  std::wstring fileBase = L"qx" + unique_;
  std::wstring moduleName = fileBase + L".dll";
  std::wstring dll = dir + L"\\" + moduleName;
  ReplaceWithCopy(BesideTestProgram(L"quillex.dll"), dll);
  ownFiles_.push_back(dll);
  std::wstring ui = dir + L"\\qxtestdrv.dll";
  ReplaceWithCopy(BesideTestProgram(L"qxtestdrv.dll"), ui);

  std::wstring dependent = dll + L'\0';
  if (!options.ini.empty()) {
    std::wstring ini = dir + L"\\" + fileBase + L".ini";
    ASSERT_TRUE(WriteFileBytes(ini, NamingModule(options.ini, moduleName)));
    ownFiles_.push_back(ini);
    dependent = ini + L'\0' + dependent;
  }
  std::wstring extra;
  for (const auto &file : options.extraFiles) {
    std::wstring path = dir + L"\\" + fileBase + file.suffix;
    ASSERT_TRUE(WriteFileBytes(path, NamingModule(file.content, moduleName)));
    ownFiles_.push_back(path);
    extra += path + L'\0';
  }
  dependent = extra + dependent + L'\0';
  std::wstring data = dll;
  if (!options.ppdFile.empty()) {
    data = dir + L"\\" + fileBase + L".ppd";
    CopyFileW((TestDataDir() + options.ppdFile).c_str(), data.c_str(), FALSE);
    ownFiles_.push_back(data);
  }

  DRIVER_INFO_3W di = {};
  di.cVersion = 3;
  di.pName = const_cast<LPWSTR>(driver_.c_str());
  di.pEnvironment = const_cast<LPWSTR>(L"Windows x64");
  di.pDriverPath = const_cast<LPWSTR>(ui.c_str());
  di.pDataFile = const_cast<LPWSTR>(data.c_str());
  di.pConfigFile = const_cast<LPWSTR>(ui.c_str());
  di.pDependentFiles = const_cast<LPWSTR>(dependent.c_str());
  ASSERT_TRUE(AddPrinterDriverExW(nullptr, 3, reinterpret_cast<LPBYTE>(&di), APD_COPY_NEW_FILES))
      << "AddPrinterDriverExW error " << GetLastError();

  PRINTER_INFO_2W pi = {};
  pi.pPrinterName = const_cast<LPWSTR>(name_.c_str());
  pi.pPortName = const_cast<LPWSTR>(options.port.c_str());
  pi.pDriverName = const_cast<LPWSTR>(driver_.c_str());
  pi.pPrintProcessor = const_cast<LPWSTR>(L"winprint");
  pi.pDatatype = const_cast<LPWSTR>(L"RAW");
  pi.Attributes = options.attributes;
  handle_ = AddPrinterW(nullptr, 2, reinterpret_cast<LPBYTE>(&pi));
  ASSERT_NE(handle_, nullptr) << "AddPrinterW error " << GetLastError();
  // Reopen with full rights so that printer data can be written.
  ClosePrinter(handle_);
  handle_ = nullptr;
  PRINTER_DEFAULTSW defaults = {nullptr, nullptr, PRINTER_ALL_ACCESS};
  ASSERT_TRUE(OpenPrinterW(const_cast<LPWSTR>(name_.c_str()), &handle_, &defaults));
}

TestPrinter::~TestPrinter() {
  if (handle_) {
    DeletePrinter(handle_);
    ClosePrinter(handle_);
  }
  DeletePrinterDriverW(nullptr, nullptr, const_cast<LPWSTR>(driver_.c_str()));
  for (const auto &file : ownFiles_) DeleteFileW(file.c_str());
}

void TestPrinter::SetData(const wchar_t *value, DWORD type, const void *data, DWORD size) {
  DWORD rc = SetPrinterDataW(handle_, const_cast<LPWSTR>(value), type, static_cast<LPBYTE>(const_cast<void *>(data)),
                             size);
  EXPECT_EQ(rc, static_cast<DWORD>(ERROR_SUCCESS));
}

void TestPrinter::RemoveData(const wchar_t *value) {
  std::wstring key = L"System\\CurrentControlSet\\Control\\Print\\Printers\\" + name_ + L"\\PrinterDriverData";
  HKEY hkey;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_SET_VALUE, &hkey) == ERROR_SUCCESS) {
    RegDeleteValueW(hkey, value);
    RegCloseKey(hkey);
  }
}

bool TestPrinter::GetDword(const wchar_t *value, DWORD *out) const {
  DWORD type = 0, needed = 0;
  DWORD rc = GetPrinterDataW(handle_, const_cast<LPWSTR>(value), &type, reinterpret_cast<LPBYTE>(out), sizeof *out,
                             &needed);
  return rc == ERROR_SUCCESS && needed == sizeof *out;
}

DWORD TestPrinter::StartJob(const DEVMODEW *devmode, HANDLE *jobPrinter) {
  PRINTER_DEFAULTSW defaults = {nullptr, const_cast<DEVMODEW *>(devmode), PRINTER_ACCESS_USE};
  *jobPrinter = nullptr;
  if (!OpenPrinterW(const_cast<LPWSTR>(name_.c_str()), jobPrinter, &defaults)) return 0;
  DOC_INFO_1W doc = {const_cast<LPWSTR>(L"quillex test job"), nullptr, const_cast<LPWSTR>(L"RAW")};
  return StartDocPrinterW(*jobPrinter, 1, reinterpret_cast<LPBYTE>(&doc));
}

}  // namespace qxtest
