// Installation and driver upgrade: the printer's password form (QXRegion)
// from the console user's nation, and the EMF despooling default.
#pragma once

#include "platform/ui_context.h"
#include "printersettings/console_user.h"

namespace qx {

extern const WCHAR kRegionValueName[];       // "QXRegion"
extern const WCHAR kEmfDespoolingValueName[];  // "EMFDespoolingSetting"

// Decides QXRegion from `start` and the console user's nation and stores it;
// on a stored value, `ctx` (if any) caches it.
void DetermineRegion(HANDLE hPrinter, DWORD start, UiContext *ctx);
// Whether the console user's nation uses numeric passwords. `impersonation`
// comes inactive and goes back inactive. `nation`, when given, receives the
// nation looked up (GEOID_NOT_AVAILABLE when there is none).
bool IsNumericPasswordNation(ConsoleUserImpersonation &impersonation, GEOID *nation = nullptr);
// Stores EMFDespoolingSetting = 0 unless a four-byte value is there.
void EnsureEmfDespoolingSetting(HANDLE hPrinter);

}  // namespace qx
