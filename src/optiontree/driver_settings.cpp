// What the option tree code asks of the spooler, the driver and its own
// string table.
#include <cwchar>

#include "platform/win_handles.h"
#include "optiontree/feature_names.h"
#include "optiontree/option_tree.h"

namespace qx {

HRESULT FindFeatureName(HMODULE hModule, FeatureName *result, LPCWSTR keyword, DWORD dmPubId) {
  if (!result || (!keyword && dmPubId == 0)) return E_INVALIDARG;
  const FeatureNameRow *row = FindFeatureRow(keyword, dmPubId);
  if (!row) return E_FAIL;
  result->dwFeatureId = row->featureId;
  result->wszName[0] = L'\0';
  int loaded = LoadStringW(hModule, row->stringId, result->wszName, ARRAYSIZE(result->wszName));
  return loaded > 0 ? S_OK : E_FAIL;
}

namespace {
// A block on the caller's heap, freed on every path.
struct HeapBlock {
  HANDLE heap;
  void *p;
  ~HeapBlock() {
    if (p) HeapFree(heap, 0, p);
  }
};
}  // namespace

bool GetPpdFilePath(HANDLE heap, HANDLE hPrinter, WCHAR (&path)[MAX_PATH]) {
  path[0] = L'\0';
  if (!heap || !hPrinter) return false;
  DWORD needed = 0;
  GetPrinterDriverW(hPrinter, nullptr, 3, nullptr, 0, &needed);
  if (needed == 0) return false;
  HeapBlock block{heap, HeapAlloc(heap, HEAP_ZERO_MEMORY, needed)};
  if (!block.p) return false;
  auto *info = static_cast<DRIVER_INFO_3W *>(block.p);
  if (!GetPrinterDriverW(hPrinter, nullptr, 3, static_cast<LPBYTE>(block.p), needed, &needed)) return false;
  if (!info->pDataFile) return false;
  // A longer path would name another file once cut: refuse it instead.
  size_t length = wcslen(info->pDataFile);
  if (length == 0 || length >= MAX_PATH) return false;
  wmemcpy(path, info->pDataFile, length + 1);
  return true;
}

HRESULT GetDriverFeatureSetting(POEMUIOBJ poemuiobj, UiContext *ctx, LPCWSTR keyword, WCHAR (&output)[MAX_PATH]) {
  output[0] = L'\0';
  if (!ctx || !ctx->pDriverUI || !keyword || !keyword[0]) return E_FAIL;
  char feature[MAX_PATH] = {};
  if (WideCharToMultiByte(CP_ACP, 0, keyword + 1, -1, feature, sizeof feature, nullptr, nullptr) == 0)
    return E_FAIL;
  // The driver is told of four bytes less than there are, so whatever it
  // writes stays zero-terminated.
  char option[MAX_PATH] = {};
  DWORD needed = 0, returned = 0;
  HRESULT hr = ctx->pDriverUI->DrvGetDriverSetting(poemuiobj, feature, option, 256, &needed, &returned);
  if (FAILED(hr)) return hr;
  if (MultiByteToWideChar(CP_ACP, 0, option, -1, output, MAX_PATH) == 0) return E_FAIL;
  return S_OK;
}

}  // namespace qx
