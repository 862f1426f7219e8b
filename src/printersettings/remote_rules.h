// Which printers belong to another computer: the plug-in writes no printer
// data for them. Portable; the Win32 side supplies the names.
#pragma once

#include <cstdint>

namespace qx {

constexpr uint32_t kPrinterAttributeLocal = 0x40;   // PRINTER_ATTRIBUTE_LOCAL
constexpr uint32_t kPrinterAttributeTs = 0x8000;    // PRINTER_ATTRIBUTE_TS

// True when `printerName` is a UNC name ("\\server\printer", extra leading
// backslashes skipped) whose server is not `computerName` (ASCII letters
// compared in either case). A server part that begins with "HTTP://" (any
// case) is never another server. False when either name is missing.
bool IsOtherServerName(const char16_t *printerName, const char16_t *computerName);

// True for a redirected session printer (both the session and the local
// attribute) whose port does not begin with "Client:" (exact case). A missing
// port name counts as not beginning with it.
bool IsRedirectedSessionPrinter(uint32_t attributes, const char16_t *portName);

}  // namespace qx
