// Reads the spooler's information blocks, the printer's stored DWORD values
// and the plug-in's strings. Stateless; each call stands alone.
#pragma once

#include "platform/win_handles.h"

namespace qx {

// Each fetch takes an empty owner and fills it on S_OK. E_INVALIDARG when the
// owner is missing or already holds a block; E_FAIL when the spooler refuses;
// E_OUTOFMEMORY when the block cannot be allocated.
HRESULT FetchJobInfo(HANDLE hPrinter, DWORD jobId, SpoolerBlock<JOB_INFO_2W> *out);
HRESULT FetchPrinterInfo(HANDLE hPrinter, SpoolerBlock<PRINTER_INFO_2W> *out);
HRESULT FetchDriverInfo(HANDLE hPrinter, SpoolerBlock<DRIVER_INFO_3W> *out);

// A printer data value that counts only when it is exactly four bytes long.
// Returns 0 on success, the spooler's error, ERROR_FILE_NOT_FOUND for an empty
// value, ERROR_MORE_DATA when `out` is null, or 0xFFFFFFFF for another size.
// `out` is written only on success.
DWORD ReadPrinterDword(HANDLE hPrinter, LPCWSTR name, DWORD *out);

// The heap the plug-in's strings live on: the driver's heap when it lent one,
// else the process heap (on Windows HeapAlloc faults on a null heap).
HANDLE PluginStringHeap(HANDLE driverHeap);

// String `id` of `module` in a zeroed buffer from PluginStringHeap(heap),
// however long it is; an empty buffer when the string is missing, null when
// allocation fails. Free it on PluginStringHeap(heap).
WCHAR *LoadHeapString(HMODULE module, HANDLE heap, UINT id);
// The same, freed on its heap when the owner goes.
HeapString LoadPluginString(HMODULE module, HANDLE driverHeap, UINT id);
// Sets the text of control `id` of `window` to string `text` (empty when it
// is missing). On the driver's heap the buffer stays until the driver frees
// the heap as a whole; a process-heap buffer is freed at once.
void SetControlString(HWND window, int id, HMODULE module, HANDLE driverHeap, UINT text);

}  // namespace qx
