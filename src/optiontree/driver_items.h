// Small readers of the driver's option items.
#pragma once

#include <cstring>

#include "platform/printoem.h"

namespace qx {

// Below this value a name or option text is a resource id, not a string.
inline bool IsResourceId(const void *text) { return reinterpret_cast<ULONG_PTR>(text) < 0x10000; }

// The item's PPD keyword (without asterisk) from the driver's USERDATA; null
// when it has none.
inline const char *ItemKeyword(const OPTITEM &item) {
  auto *data = reinterpret_cast<const USERDATA *>(item.UserData);
  return data ? data->pKeyWordName : nullptr;
}

// The driver's colour-mode item carries the PPD keyword "QXRendering".
inline bool IsColorModeItem(const OPTITEM &item) {
  const char *keyword = ItemKeyword(item);
  return keyword && std::strcmp(keyword, "QXRendering") == 0;
}

// The option parameter at `index`, or null when the item has none there.
inline OPTPARAM *ItemParam(const OPTITEM &item, LONG index) {
  if (!item.pOptType || !item.pOptType->pOptParam || index < 0 || index >= item.pOptType->Count) return nullptr;
  return &item.pOptType->pOptParam[index];
}

}  // namespace qx
