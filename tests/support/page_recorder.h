// The common property sheet's callback at its smallest: keeps the activation
// context of every page record added through it (INVALID_HANDLE_VALUE for a
// page without one) and answers each call with a non-null handle, or, with
// `createPages`, makes each record a real page and answers with it.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "platform/printoem.h"

namespace qxtest {

struct PageRecorder {
  std::vector<HANDLE> contexts;
  bool createPages = false;
  std::vector<HPROPSHEETPAGE> pages;  // destroyed with the recorder unless taken (set to null)

  PageRecorder() = default;
  explicit PageRecorder(bool create) : createPages(create) {}
  PageRecorder(PageRecorder &&) = default;
  PageRecorder(const PageRecorder &) = delete;
  PageRecorder &operator=(const PageRecorder &) = delete;
  ~PageRecorder() {
    for (HPROPSHEETPAGE page : pages)
      if (page) DestroyPropertySheetPage(page);
  }

  static LONG_PTR CALLBACK Callback(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM) {
    if (function != CPSFUNC_ADD_PROPSHEETPAGEW) return 1;
    auto *self = static_cast<PageRecorder *>(sheet);
    auto *record = reinterpret_cast<const PROPSHEETPAGEW *>(lParam1);
    self->contexts.push_back((record->dwFlags & PSP_USEFUSIONCONTEXT) ? record->hActCtx : INVALID_HANDLE_VALUE);
    if (!self->createPages) return 1;
    self->pages.push_back(CreatePropertySheetPageW(record));
    return reinterpret_cast<LONG_PTR>(self->pages.back());
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
