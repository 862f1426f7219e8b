// The password form of the printer behind a printing-preferences sheet.
#pragma once

#include "platform/ui_context.h"

namespace qx {

// 1 for eight-character passwords, 0 for numeric (four-digit) ones. Reads the
// printer's QXRegion value and, when it leaves the choice to the driver, the
// driver's PasswordMode setting; once a region with bit 0 set is cached in the
// context, answers from the cache.
DWORD GetPasswordMode(UiContext *ctx);

}  // namespace qx
