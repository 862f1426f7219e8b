// The common property sheet's callback at its smallest: keeps the activation
// context of every page record added through it (INVALID_HANDLE_VALUE for a
// page without one) and answers each call with a non-null handle.
#pragma once

#include <windows.h>

#include <vector>

#include "frame/printoem.h"

namespace qxtest {

struct PageRecorder {
  std::vector<HANDLE> contexts;

  static LONG_PTR CALLBACK Callback(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 1;
    auto *record = reinterpret_cast<const PROPSHEETPAGEW *>(lParam1);
    static_cast<PageRecorder *>(sheet)->contexts.push_back(
        (record->dwFlags & PSP_USEFUSIONCONTEXT) ? record->hActCtx : INVALID_HANDLE_VALUE);
    return 1;
  }

  // The sheet operation's block for `reason`, calling back into this recorder.
  PROPSHEETUI_INFO Info(WORD reason) {
    PROPSHEETUI_INFO info = {};
    info.cbSize = sizeof info;
    info.Version = PROPSHEETUI_INFO_VERSION;
    info.Reason = reason;
    info.hComPropSheet = this;
    info.pfnComPropSheet = &Callback;
    return info;
  }
};

}  // namespace qxtest
