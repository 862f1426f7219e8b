#include "platform/spooler.h"

namespace qx {
namespace {

// One size probe, one read: a block that grows in between makes the fetch fail.
template <typename T, typename Read>
HRESULT FetchBlock(SpoolerBlock<T> *out, Read read) {
  if (!out || *out) return E_INVALIDARG;
  DWORD needed = 0;
  if (read(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER) return E_FAIL;
  MallocPtr<T> block(static_cast<T *>(std::malloc(needed)));
  if (!block) return E_OUTOFMEMORY;
  if (!read(reinterpret_cast<LPBYTE>(block.get()), needed, &needed)) return E_FAIL;
  *out = SpoolerBlock<T>(std::move(block), needed);
  return S_OK;
}

}  // namespace

HRESULT FetchJobInfo(HANDLE hPrinter, DWORD jobId, SpoolerBlock<JOB_INFO_2W> *out) {
  return FetchBlock(out, [&](LPBYTE buf, DWORD size, DWORD *needed) {
    return GetJobW(hPrinter, jobId, 2, buf, size, needed);
  });
}

HRESULT FetchPrinterInfo(HANDLE hPrinter, SpoolerBlock<PRINTER_INFO_2W> *out) {
  return FetchBlock(out, [&](LPBYTE buf, DWORD size, DWORD *needed) {
    return GetPrinterW(hPrinter, 2, buf, size, needed);
  });
}

HRESULT FetchDriverInfo(HANDLE hPrinter, SpoolerBlock<DRIVER_INFO_3W> *out) {
  return FetchBlock(out, [&](LPBYTE buf, DWORD size, DWORD *needed) {
    return GetPrinterDriverW(hPrinter, nullptr, 3, buf, size, needed);
  });
}

DWORD ReadPrinterDword(HANDLE hPrinter, LPCWSTR name, DWORD *out) {
  if (!hPrinter || !name) return ERROR_INVALID_PARAMETER;
  DWORD type = REG_DWORD, needed = 0, scratch = 0;
  DWORD rc = GetPrinterDataW(hPrinter, const_cast<LPWSTR>(name), &type, reinterpret_cast<LPBYTE>(&scratch),
                             sizeof scratch, &needed);
  if (rc == ERROR_SUCCESS && needed == 0) return ERROR_FILE_NOT_FOUND;
  if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return rc;
  if (!out) return ERROR_MORE_DATA;
  if (needed != sizeof(DWORD)) return 0xFFFFFFFF;
  return GetPrinterDataW(hPrinter, const_cast<LPWSTR>(name), &type, reinterpret_cast<LPBYTE>(out), sizeof(DWORD),
                         &needed);
}

HANDLE PluginStringHeap(HANDLE driverHeap) { return driverHeap ? driverHeap : GetProcessHeap(); }

WCHAR *LoadHeapString(HMODULE module, HANDLE driverHeap, UINT id) {
  HANDLE heap = PluginStringHeap(driverHeap);
  // LoadStringW cannot say whether it cut a string, so a string that fills the
  // buffer is read again into one twice as large.
  size_t capacity = 257;
  for (;;) {
    auto *buf = static_cast<WCHAR *>(HeapAlloc(heap, HEAP_ZERO_MEMORY, capacity * sizeof(WCHAR)));
    if (!buf) return nullptr;
    int length = LoadStringW(module, id, buf, static_cast<int>(capacity));
    if (static_cast<size_t>(length) != capacity - 1) return buf;
    HeapFree(heap, 0, buf);
    capacity = capacity == 257 ? 513 : (capacity - 1) * 2 + 1;
  }
}

HeapString LoadPluginString(HMODULE module, HANDLE driverHeap, UINT id) {
  return HeapString(PluginStringHeap(driverHeap), LoadHeapString(module, driverHeap, id));
}

void SetControlString(HWND window, int id, HMODULE module, HANDLE driverHeap, UINT text) {
  HeapString buffer = LoadPluginString(module, driverHeap, text);
  SetDlgItemTextW(window, id, buffer ? buffer.get() : L"");
  if (driverHeap) buffer.release();
}

}  // namespace qx
