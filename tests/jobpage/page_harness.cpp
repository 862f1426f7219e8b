#include "jobpage/page_harness.h"

#include <gtest/gtest.h>

#include <cstring>

#include "activation/activation.h"
#include "plugin/document_sheets.h"

namespace qxtest {

FakeComPropSheet::~FakeComPropSheet() {
  for (auto &entry : pages_)
    if (entry.second) DestroyPropertySheetPage(entry.second);
}

LONG_PTR CALLBACK FakeComPropSheet::Callback(HANDLE sheet, UINT function, LPARAM lParam1, LPARAM lParam2) {
  auto *self = static_cast<FakeComPropSheet *>(sheet);
  SheetCall call;
  call.function = function;
  call.lParam1 = lParam1;
  call.lParam2 = lParam2;
  LONG_PTR result = 1;
  if (function == CPSFUNC_ADD_PROPSHEETPAGEW) {
    auto *record = reinterpret_cast<const PROPSHEETPAGEW *>(lParam1);
    call.recordSize = record->dwSize;
    call.flags = record->dwFlags;
    call.instance = record->hInstance;
    call.templateName = record->pszTemplate;
    call.hasTitle = record->pszTitle != nullptr;
    if (record->pszTitle) call.title = record->pszTitle;
    call.proc = record->pfnDlgProc;
    call.pageParam = record->lParam;
    call.actCtx = record->hActCtx;
    result = 0;
    if (self->createPages) {
      HPROPSHEETPAGE page = CreatePropertySheetPageW(record);
      self->pages_.emplace_back(record->pfnDlgProc, page);
      result = reinterpret_cast<LONG_PTR>(page);
    }
  }
  call.result = reinterpret_cast<HANDLE>(result);
  self->calls.push_back(call);
  return result;
}

HPROPSHEETPAGE FakeComPropSheet::TakePage(DLGPROC proc) {
  for (auto &entry : pages_)
    if (entry.first == proc && entry.second) {
      HPROPSHEETPAGE page = entry.second;
      entry.second = nullptr;
      return page;
    }
  return nullptr;
}

const SheetCall *FakeComPropSheet::FindAdd(DLGPROC proc) const {
  for (const SheetCall &call : calls)
    if (call.function == CPSFUNC_ADD_PROPSHEETPAGEW && call.proc == proc) return &call;
  return nullptr;
}

PreferencesSetup::PreferencesSetup() : blockBytes(qx::kPrivateDevmodeSize) {
  // The pages' template comes from the module's resources, as in the driver.
  qx::OnProcessAttach(resources);
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);
  heap = HeapCreate(0, 0, 0);
  qx::InitPrivateDevmode(blockBytes.data());
  param.cbSize = sizeof param;
  param.poemuiobj = &driverObject;
  param.hModule = resources;
  param.hOEMHeap = heap;
  param.pOEMDM = blockBytes.data();
  ctx.pCuiParam = &param;
  driver.settings["PasswordMode"] = "OFF";
  ctx.pDriverUI = &driver;
}

PreferencesSetup::~PreferencesSetup() {
  if (heap) HeapDestroy(heap);
}

HRESULT PreferencesSetup::AddPages(FakeComPropSheet &sheet) {
  PROPSHEETUI_INFO info = {};
  info.cbSize = sizeof info;
  info.Version = PROPSHEETUI_INFO_VERSION;
  info.Reason = PROPSHEETUI_REASON_INIT;
  info.hComPropSheet = sheet.handle();
  info.pfnComPropSheet = FakeComPropSheet::Callback;
  return qx::DocumentPropertySheets(&info, 0, &ctx);
}

size_t PreferencesSetup::HeapBlocks() const {
  size_t busy = 0;
  PROCESS_HEAP_ENTRY entry = {};
  while (HeapWalk(heap, &entry))
    if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++busy;
  return busy;
}

void Type(HWND control, const std::wstring &text) {
  for (wchar_t c : text) SendMessageW(control, WM_CHAR, c, 1);
}

bool Paste(HWND control, const std::wstring &text) {
  if (!OpenClipboard(control)) return false;
  EmptyClipboard();
  SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  bool ok = false;
  if (memory) {
    std::memcpy(GlobalLock(memory), text.c_str(), bytes);
    GlobalUnlock(memory);
    ok = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
    if (!ok) GlobalFree(memory);
  }
  CloseClipboard();
  if (ok) SendMessageW(control, WM_PASTE, 0, 0);
  return ok;
}

}  // namespace qxtest
