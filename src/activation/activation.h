// Loads comctl32 and msimg32, calls the comctl32 functions the plug-in uses,
// and creates its property pages under the plug-in's own activation context,
// so that version 6 of the common controls serves them whatever the host uses.
#pragma once
#include <windows.h>
#include <commctrl.h>

namespace qx {

void OnProcessAttach(HMODULE module);
void OnProcessDetach();
HMODULE PluginModule();
// The context the plug-in's loads and comctl32 calls run under: null for the
// process default, INVALID_HANDLE_VALUE until EnsurePluginActCtx succeeds.
HANDLE PluginActCtx();

BOOL EnsurePluginActCtx();
BOOL ActivatePluginActCtx(ULONG_PTR *cookie);
HMODULE IsolatedLoadLibrary(LPCWSTR name);
FARPROC IsolatedComctlProc(LPCSTR name);
void IsolatedInitCommonControls();
HIMAGELIST IsolatedImageListCreate(int cx, int cy, UINT flags, int initial, int grow);
BOOL IsolatedImageListDestroy(HIMAGELIST list);
int IsolatedImageListReplaceIcon(HIMAGELIST list, int index, HICON icon);
HANDLE CreatePageActCtx();
// The context shared by every property page: PageActCtx, created and
// published on the first call that succeeds; INVALID_HANDLE_VALUE while
// creation fails. Safe to call from any thread.
HANDLE SharedPageActCtx();

// Context shared by every property page of the plug-in; INVALID_HANDLE_VALUE
// until the first page is created, released at process detach.
extern HANDLE PageActCtx;

}  // namespace qx
