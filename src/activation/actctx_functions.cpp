#include "activation/actctx_functions.h"

// The module that holds the functions; a test build names one that does not
// exist, to stand for a system without activation contexts.
#ifndef QX_ACTCTX_MODULE
#define QX_ACTCTX_MODULE "Kernel32.dll"
#endif

namespace qx {
namespace actctx {

FARPROC LookUp(const char *name) {
  // The ANSI module lookup is the one that the 9x family implements.
  if (GetVersion() & 0x80000000u) {
    // Any wide call makes the Unicode layer load, if the host uses one.
    GetFileAttributesW(L"???.???");
    if (HMODULE unicows = GetModuleHandleA("Unicows.dll"))
      if (FARPROC proc = GetProcAddress(unicows, name)) return proc;
  }
  HMODULE kernel = GetModuleHandleA(QX_ACTCTX_MODULE);
  return kernel ? GetProcAddress(kernel, name) : nullptr;
}

bool MeansNoActCtxSupport(DWORD error) {
  return error == ERROR_CALL_NOT_IMPLEMENTED || error == ERROR_MOD_NOT_FOUND || error == ERROR_PROC_NOT_FOUND;
}

#if defined(_WIN64) && !defined(QX_ACTCTX_LOOKUP)

BOOL Query(DWORD flags, HANDLE context, PVOID subInstance, ULONG infoClass, PVOID buffer, SIZE_T size,
           SIZE_T *written) {
  return QueryActCtxW(flags, context, subInstance, infoClass, buffer, size, written);
}
BOOL ModuleFromAddress(LPCWSTR address, HMODULE *module) {
  return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            address, module);
}
HANDLE Create(const ACTCTXW *description) { return CreateActCtxW(description); }
BOOL Activate(HANDLE context, ULONG_PTR *cookie) { return ActivateActCtx(context, cookie); }
BOOL Deactivate(ULONG_PTR cookie) { return DeactivateActCtx(0, cookie); }
BOOL FindDllRedirection(LPCWSTR dllName, ACTCTX_SECTION_KEYED_DATA *data) {
  return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, dllName, data);
}
void Release(HANDLE context) { ReleaseActCtx(context); }

#else

namespace {

// One entry point, looked up at its first use and kept; a failed lookup is
// tried again at the next use.
template <typename Fn>
class LateBound {
 public:
  explicit constexpr LateBound(const char *name) : name_(name) {}
  Fn get() {
    if (!fn_) fn_ = reinterpret_cast<Fn>(reinterpret_cast<void *>(LookUp(name_)));
    return fn_;
  }

 private:
  const char *name_;
  Fn fn_ = nullptr;
};

LateBound<decltype(&QueryActCtxW)> queryActCtx("QueryActCtxW");
LateBound<decltype(&GetModuleHandleExW)> getModuleHandleEx("GetModuleHandleExW");
LateBound<decltype(&CreateActCtxW)> createActCtx("CreateActCtxW");
LateBound<decltype(&ActivateActCtx)> activateActCtx("ActivateActCtx");
LateBound<decltype(&DeactivateActCtx)> deactivateActCtx("DeactivateActCtx");
LateBound<decltype(&FindActCtxSectionStringW)> findActCtxSectionString("FindActCtxSectionStringW");
LateBound<decltype(&ReleaseActCtx)> releaseActCtx("ReleaseActCtx");

}  // namespace

BOOL Query(DWORD flags, HANDLE context, PVOID subInstance, ULONG infoClass, PVOID buffer, SIZE_T size,
           SIZE_T *written) {
  auto fn = queryActCtx.get();
  return fn ? fn(flags, context, subInstance, infoClass, buffer, size, written) : FALSE;
}
BOOL ModuleFromAddress(LPCWSTR address, HMODULE *module) {
  auto fn = getModuleHandleEx.get();
  return fn ? fn(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT, address,
                 module)
            : FALSE;
}
HANDLE Create(const ACTCTXW *description) {
  auto fn = createActCtx.get();
  return fn ? fn(description) : INVALID_HANDLE_VALUE;
}
BOOL Activate(HANDLE context, ULONG_PTR *cookie) {
  auto fn = activateActCtx.get();
  return fn ? fn(context, cookie) : FALSE;
}
BOOL Deactivate(ULONG_PTR cookie) {
  auto fn = deactivateActCtx.get();
  return fn ? fn(0, cookie) : TRUE;
}
BOOL FindDllRedirection(LPCWSTR dllName, ACTCTX_SECTION_KEYED_DATA *data) {
  auto fn = findActCtxSectionString.get();
  return fn ? fn(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, dllName, data) : FALSE;
}
void Release(HANDLE context) {
  if (auto fn = releaseActCtx.get()) fn(context);
}

#endif

}  // namespace actctx
}  // namespace qx
