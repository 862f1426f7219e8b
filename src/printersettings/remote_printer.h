// Printers that belong to another computer, or redirected session printers
// that do not use a client port: the plug-in writes no printer data for them.
#pragma once

#include "platform/win_handles.h"

namespace qx {

// False for missing information.
bool IsRemotePrinter(const PRINTER_INFO_2W *info);
// A UNC printer name on another server. False for a missing name, and for
// every name when this computer's name cannot be had.
bool IsRemoteServerName(LPCWSTR printerName);
// This computer's NetBIOS name, or null.
MallocPtr<WCHAR> GetLocalComputerName();

}  // namespace qx
