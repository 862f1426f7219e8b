// A stand-in for the kernel's activation-context functions, for a probe that
// looks them up in this module: each forwards to the kernel, except that
// activation can be made to fail as on a system without activation contexts
// from a chosen moment on.
#include <windows.h>

namespace {
void (*nextActivationHook)() = nullptr;
bool activationMissing = false;
}  // namespace

// After the next successful activation, and before it returns, activation
// starts failing with ERROR_PROC_NOT_FOUND and `hook` runs.
extern "C" __declspec(dllexport) void FailActivationAfterNext(void (*hook)()) {
  nextActivationHook = hook;
  activationMissing = false;
}

extern "C" BOOL WINAPI FakeActivateActCtx(HANDLE context, ULONG_PTR *cookie) {
  if (activationMissing) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
  }
  BOOL activated = ActivateActCtx(context, cookie);
  if (auto hook = nextActivationHook) {
    nextActivationHook = nullptr;
    activationMissing = true;
    hook();
  }
  return activated;
}

extern "C" BOOL WINAPI FakeDeactivateActCtx(DWORD flags, ULONG_PTR cookie) { return DeactivateActCtx(flags, cookie); }
extern "C" BOOL WINAPI FakeQueryActCtxW(DWORD flags, HANDLE context, PVOID subInstance, ULONG infoClass, PVOID buffer,
                                        SIZE_T size, SIZE_T *written) {
  return QueryActCtxW(flags, context, subInstance, infoClass, buffer, size, written);
}
extern "C" BOOL WINAPI FakeGetModuleHandleExW(DWORD flags, LPCWSTR name, HMODULE *module) {
  return GetModuleHandleExW(flags, name, module);
}
extern "C" HANDLE WINAPI FakeCreateActCtxW(const ACTCTXW *description) { return CreateActCtxW(description); }
extern "C" BOOL WINAPI FakeFindActCtxSectionStringW(DWORD flags, const GUID *guid, ULONG section, LPCWSTR name,
                                                    ACTCTX_SECTION_KEYED_DATA *data) {
  return FindActCtxSectionStringW(flags, guid, section, name, data);
}
extern "C" void WINAPI FakeReleaseActCtx(HANDLE context) { ReleaseActCtx(context); }
