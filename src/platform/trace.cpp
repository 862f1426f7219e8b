#include "platform/trace.h"

#include <cstdarg>
#include <cstdio>
#include <cwchar>

#include "platform/spooler.h"

namespace qx {

const WCHAR kTraceValueName[] = L"QXTrace";

Trace::Trace(HANDLE hPrinter) {
  DWORD value = 0;
  on_ = hPrinter && ReadPrinterDword(hPrinter, kTraceValueName, &value) == ERROR_SUCCESS && value != 0;
}

void Trace::Line(const WCHAR *format, ...) const {
  if (!on_) return;
  constexpr size_t kPrefix = 9;  // "quillex: "
  WCHAR line[1024 + 2] = L"quillex: ";
  va_list args;
  va_start(args, format);
  int written = _vsnwprintf(line + kPrefix, 1024 - kPrefix, format, args);
  va_end(args);
  size_t end = written < 0 ? 1024 - 1 : kPrefix + static_cast<size_t>(written);
  line[end] = L'\n';
  line[end + 1] = 0;
  OutputDebugStringW(line);
}

}  // namespace qx
