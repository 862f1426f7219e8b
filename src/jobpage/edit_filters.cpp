#include "jobpage/edit_filters.h"

#include <initializer_list>

namespace qx {
namespace {

WNDPROC editClassProc = nullptr;

template <EditFilter kFilter>
LRESULT CALLBACK FilteredEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CHAR && !FilterAccepts(kFilter, static_cast<uint32_t>(wParam))) return 0;
  if (!editClassProc) return DefWindowProcW(hwnd, msg, wParam, lParam);
  return CallWindowProcW(editClassProc, hwnd, msg, wParam, lParam);
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

}  // namespace

void SaveEditClassProc(HWND edit) {
  auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(edit, GWLP_WNDPROC));
  // A control that already filters would make every edit call itself.
  if (proc && !IsFilterProc(proc)) editClassProc = proc;
}

bool FilterEdit(HWND edit, EditFilter filter) {
  if (!edit || !editClassProc) return false;
  return SetWindowLongPtrW(edit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ProcFor(filter))) != 0;
}

}  // namespace qx
