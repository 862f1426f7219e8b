#include "frame/document_event.h"

namespace qx {
INT DocumentEvent(HANDLE, HDC, INT, ULONG, PVOID, ULONG, PVOID, UiContext *) { return DOCUMENTEVENT_UNSUPPORTED; }
}  // namespace qx
