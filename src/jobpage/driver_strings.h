// The plug-in's strings for its pages, on the heap the driver lends them.
#pragma once

#include "frame/printoem.h"
#include "frame/spooler.h"

namespace qx {

// String `id` of the plug-in module named in `param`, on the driver's heap;
// null when the driver gave no heap or the allocation failed.
inline WCHAR *LoadDriverHeapString(const OEMCUIPPARAM &param, UINT id) {
  if (!param.hOEMHeap) return nullptr;
  return LoadHeapString(static_cast<HMODULE>(param.hModule), param.hOEMHeap, id);
}

}  // namespace qx
