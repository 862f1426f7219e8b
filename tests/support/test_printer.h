// A real printer in Wine's spooler for one test: its driver files are copied
// into the printer-driver directory (Wine records but does not copy them),
// the driver and the printer are added, and both are removed at the end.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>
#include <vector>

namespace qxtest {

struct TestPrinterOptions {
  std::wstring port = L"FILE:";
  DWORD attributes = 0;
  // Content of the driver's configuration file, written as "<driver>.ini";
  // empty: the driver has no .ini among its dependent files.
  std::string ini = "[OEMFiles]\r\nOEMConfigFile1=quillex.dll\r\n";
  // PPD data file copied from the test data folder (empty: none).
  std::wstring ppdFile;
  // More dependent files, listed first and in this order; each is written
  // into the driver directory under a name of this printer's own that ends
  // with `suffix` (for example "_a.INI").
  struct File {
    std::wstring suffix;
    std::string content;
  };
  std::vector<File> extraFiles;
};

// The default options with another port and printer attributes.
TestPrinterOptions OnPort(const wchar_t *port, DWORD attributes = 0);

class TestPrinter {
 public:
  explicit TestPrinter(const std::wstring &baseName, const TestPrinterOptions &options = {});
  ~TestPrinter();
  TestPrinter(const TestPrinter &) = delete;
  TestPrinter &operator=(const TestPrinter &) = delete;

  bool ok() const { return handle_ != nullptr; }
  HANDLE handle() const { return handle_; }
  const std::wstring &name() const { return name_; }
  const std::wstring &driverName() const { return driver_; }

  void SetData(const wchar_t *value, DWORD type, const void *data, DWORD size);
  void SetDword(const wchar_t *value, DWORD v) { SetData(value, REG_DWORD, &v, sizeof v); }
  // Wine has no DeletePrinterDataW: the value goes through the registry.
  void RemoveData(const wchar_t *value);
  // Reads a 4-byte value back; false when absent or of another size.
  bool GetDword(const wchar_t *value, DWORD *out) const;

  // Starts a job whose devmode is `devmode` (may be null); returns its id.
  DWORD StartJob(const DEVMODEW *devmode, HANDLE *jobPrinter);

 private:
  void Install(const TestPrinterOptions &options);

  std::wstring unique_, name_, driver_;
  std::vector<std::wstring> ownFiles_;  // removed with the printer
  HANDLE handle_ = nullptr;
};

// The test data folder (tests/data) as a Windows path.
std::wstring TestDataDir();

// A devmode of `extraSize` driver bytes after the public part, zeroed.
std::vector<BYTE> MakeDevmode(WORD extraSize);

}  // namespace qxtest
