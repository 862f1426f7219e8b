#include "optiontree/option_tree.h"

namespace qx {
HRESULT CustomizeOptionTree(DWORD, POEMCUIPPARAM, UiContext *) { return E_NOTIMPL; }
}  // namespace qx
