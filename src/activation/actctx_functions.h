// The kernel's activation-context functions as this build binds them. The
// x64 builds import them. The x86 builds look each one up by name at its first
// use, so that the module still loads on systems that lack them; a function
// that cannot be found fails with the lookup's error (ERROR_PROC_NOT_FOUND,
// ERROR_MOD_NOT_FOUND or ERROR_CALL_NOT_IMPLEMENTED).
#pragma once
#include <windows.h>

namespace qx {
namespace actctx {

// QX_ACTCTX_LOOKUP makes an x64 build bind like the x86 builds (the tests
// run that path, which the x86 builds cannot do here).
#if defined(_WIN64) && !defined(QX_ACTCTX_LOOKUP)
constexpr bool kBoundAtRunTime = false;
#else
constexpr bool kBoundAtRunTime = true;
#endif

BOOL Query(DWORD flags, HANDLE context, PVOID subInstance, ULONG infoClass, PVOID buffer, SIZE_T size,
           SIZE_T *written);
BOOL ModuleFromAddress(LPCWSTR address, HMODULE *module);
HANDLE Create(const ACTCTXW *description);
BOOL Activate(HANDLE context, ULONG_PTR *cookie);
// A deactivate function that cannot be found does nothing.
BOOL Deactivate(ULONG_PTR cookie);
BOOL FindDllRedirection(LPCWSTR dllName, ACTCTX_SECTION_KEYED_DATA *data);
// A release function that cannot be found does nothing.
void Release(HANDLE context);

// Whether a failed activation means that the system has no activation
// contexts at all (the function, or the module holding it, does not exist).
bool MeansNoActCtxSupport(DWORD error);

// The run-time lookup of the x86 builds: from a loaded Unicows.dll on the
// Windows 9x family when it has the function, otherwise from Kernel32.dll.
// Null with the lookup's last error when neither has it.
FARPROC LookUp(const char *name);

}  // namespace actctx
}  // namespace qx
