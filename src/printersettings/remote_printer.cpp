#include "printersettings/remote_printer.h"

#include "printersettings/remote_rules.h"

namespace qx {
namespace {

const char16_t *U16(LPCWSTR text) { return reinterpret_cast<const char16_t *>(text); }

MallocPtr<WCHAR> AllocateChars(DWORD count) {
  return MallocPtr<WCHAR>(static_cast<WCHAR *>(std::malloc(count * sizeof(WCHAR))));
}

}  // namespace

MallocPtr<WCHAR> GetLocalComputerName() {
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  MallocPtr<WCHAR> name = AllocateChars(size);
  if (!name) return nullptr;
  if (GetComputerNameW(name.get(), &size)) return name;
  DWORD error = GetLastError();
  name.reset();
  if (size == 0 || error != ERROR_BUFFER_OVERFLOW) return nullptr;
  name = AllocateChars(size);
  if (!name || !GetComputerNameW(name.get(), &size)) return nullptr;
  return name;
}

bool IsRemoteServerName(LPCWSTR printerName) {
  if (!printerName) return false;
  MallocPtr<WCHAR> computer = GetLocalComputerName();
  if (!computer) return false;
  return IsOtherServerName(U16(printerName), U16(computer.get()));
}

bool IsRemotePrinter(const PRINTER_INFO_2W *info) {
  if (!info) return false;
  if (IsRemoteServerName(info->pPrinterName)) return true;
  return IsRedirectedSessionPrinter(info->Attributes, U16(info->pPortName));
}

}  // namespace qx
