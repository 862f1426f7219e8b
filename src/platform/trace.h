// Diagnostics an administrator turns on for one printer: while the printer
// data value QXTrace is a nonzero DWORD, the plug-in writes one line per
// decision through OutputDebugStringW, led by "quillex: ". A line never holds
// a password or a user name.
//
// Off, a trace costs the one printer-data read of its construction: callers
// compute what only a line needs behind on().
#pragma once

#include <windows.h>

namespace qx {

extern const WCHAR kTraceValueName[];  // "QXTrace"

class Trace {
 public:
  explicit Trace(HANDLE hPrinter);
  bool on() const { return on_; }
  // printf-style (wide strings as %ls); cut at 1023 characters.
  void Line(const WCHAR *format, ...) const;

 private:
  bool on_ = false;
};

}  // namespace qx
