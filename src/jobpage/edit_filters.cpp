#include "jobpage/edit_filters.h"

#include <cstdint>
#include <initializer_list>

namespace qx {
namespace {

// The name of the property that keeps an edit's own window procedure. It
// carries this module's address, so that two copies of the plug-in in one
// process never read each other's.
struct PropertyName {
  WCHAR text[48];
};

PropertyName OriginalProcProperty();

WNDPROC OriginalProc(HWND edit) {
  return reinterpret_cast<WNDPROC>(GetPropW(edit, OriginalProcProperty().text));
}

template <EditFilter kFilter>
LRESULT CALLBACK FilteredEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = OriginalProc(hwnd);
  if (msg == WM_NCDESTROY)
    RemovePropW(hwnd, OriginalProcProperty().text);  // a window's properties go before the window
  else if (msg == WM_CHAR && !FilterAccepts(kFilter, static_cast<uint32_t>(wParam)))
    return 0;
  if (!original) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return CallWindowProcW(original, hwnd, msg, wParam, lParam);
}

WNDPROC ProcFor(EditFilter filter) {
  switch (filter) {
    case EditFilter::Name: return FilteredEditProc<EditFilter::Name>;
    case EditFilter::AccessPassword: return FilteredEditProc<EditFilter::AccessPassword>;
    case EditFilter::Printable: return FilteredEditProc<EditFilter::Printable>;
    case EditFilter::Digit: return FilteredEditProc<EditFilter::Digit>;
  }
  return nullptr;
}

bool IsFilterProc(WNDPROC proc) {
  for (EditFilter f : {EditFilter::Name, EditFilter::AccessPassword, EditFilter::Printable, EditFilter::Digit})
    if (proc == ProcFor(f)) return true;
  return false;
}

PropertyName OriginalProcProperty() {
  static const WCHAR kPrefix[] = L"QuillexEditProc";
  PropertyName name = {};
  size_t at = 0;
  for (; kPrefix[at]; ++at) name.text[at] = kPrefix[at];
  auto address = reinterpret_cast<uintptr_t>(ProcFor(EditFilter::Name));
  for (int shift = sizeof address * 8 - 4; shift >= 0; shift -= 4)
    name.text[at++] = L"0123456789abcdef"[(address >> shift) & 0xF];
  return name;
}

bool KeepOriginal(HWND edit, LONG_PTR proc) {
  // An edit that filters already keeps the procedure it had before.
  if (!proc || IsFilterProc(reinterpret_cast<WNDPROC>(proc))) return true;
  return SetPropW(edit, OriginalProcProperty().text, reinterpret_cast<HANDLE>(proc)) != FALSE;
}

}  // namespace

bool FilterEdit(HWND edit, EditFilter filter) {
  if (!edit) return false;
  // Kept before the swap, so that no message reaches the filter without it.
  LONG_PTR current = GetWindowLongPtrW(edit, GWLP_WNDPROC);
  if (!current || !KeepOriginal(edit, current)) return false;
  LONG_PTR replaced = SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcFor(filter)));
  if (!replaced) {
    if (!IsFilterProc(reinterpret_cast<WNDPROC>(current))) RemovePropW(edit, OriginalProcProperty().text);
    return false;
  }
  // What the swap replaced is the edit's procedure, should it have changed since it was read.
  return replaced == current || KeepOriginal(edit, replaced);
}

}  // namespace qx
