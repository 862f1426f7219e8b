#include "printstart/document_event.h"

#include <memory>
#include <new>

#include "printstart/start_doc_checker.h"

namespace qx {

INT DocumentEvent(HANDLE hPrinter, HDC, INT iEsc, ULONG cbIn, PVOID pvIn, ULONG, PVOID pvOut, UiContext *ctx) {
  switch (iEsc) {
    case DOCUMENTEVENT_CREATEDCPRE:
    case DOCUMENTEVENT_RESETDCPRE:
      // The driver keeps its own devmode: the plug-in hands out none.
      if (!hPrinter || !pvIn || !pvOut) return DOCUMENTEVENT_FAILURE;
      *static_cast<DEVMODEW **>(pvOut) = nullptr;
      return DOCUMENTEVENT_SUCCESS;
    case DOCUMENTEVENT_CREATEDCPOST:
    case DOCUMENTEVENT_RESETDCPOST:
      // pvIn points to what the PRE event handed out, always null here. A
      // devmode found there was not allocated by the plug-in, so it is only
      // forgotten, never freed.
      if (!pvIn) return DOCUMENTEVENT_FAILURE;
      *static_cast<DEVMODEW **>(pvIn) = nullptr;
      return DOCUMENTEVENT_SUCCESS;
    case DOCUMENTEVENT_STARTDOC:
      return DOCUMENTEVENT_SUCCESS;
    case DOCUMENTEVENT_STARTDOCPOST: {
      if (!pvIn) return DOCUMENTEVENT_FAILURE;
      std::unique_ptr<StartDocChecker> checker(new (std::nothrow) StartDocChecker());
      if (!checker) return DOCUMENTEVENT_FAILURE;
      return checker->CheckStartDocPost(hPrinter, cbIn, *static_cast<const DWORD *>(pvIn), ctx);
    }
    default:
      return DOCUMENTEVENT_UNSUPPORTED;
  }
}

}  // namespace qx
