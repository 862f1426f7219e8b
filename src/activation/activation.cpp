// Placeholder: plain loads in the process default context.
#include "activation/activation.h"

namespace qx {

static HMODULE g_module;
HANDLE PageActCtx = INVALID_HANDLE_VALUE;

void OnProcessAttach(HMODULE module) { g_module = module; }
void OnProcessDetach() {}
HMODULE PluginModule() { return g_module; }
BOOL EnsurePluginActCtx() { return TRUE; }
BOOL ActivatePluginActCtx(ULONG_PTR *cookie) { *cookie = 0; return TRUE; }
HMODULE IsolatedLoadLibrary(LPCWSTR name) { return LoadLibraryW(name); }
FARPROC IsolatedComctlProc(LPCSTR name) { return GetProcAddress(LoadLibraryW(L"Comctl32.dll"), name); }
void IsolatedInitCommonControls() {}
HIMAGELIST IsolatedImageListCreate(int, int, UINT, int, int) { return nullptr; }
BOOL IsolatedImageListDestroy(HIMAGELIST) { return FALSE; }
int IsolatedImageListReplaceIcon(HIMAGELIST, int, HICON) { return -1; }
HANDLE CreatePageActCtx() { return INVALID_HANDLE_VALUE; }

}  // namespace qx
