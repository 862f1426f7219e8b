#pragma once
#include "platform/ui_context.h"

namespace qx {
// Answers one document event of a device context; at the start of a job it
// refuses a confidential job whose password does not have the printer's form.
INT DocumentEvent(HANDLE hPrinter, HDC hdc, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG cbOut, PVOID pvOut,
                  UiContext *ctx);
}  // namespace qx
