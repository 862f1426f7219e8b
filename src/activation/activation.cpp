#include "activation/activation.h"

#include <cstdlib>

#include "activation/actctx_functions.h"

namespace qx {

HANDLE PageActCtx = INVALID_HANDLE_VALUE;

namespace {

// Module variables: written on first use, kept for the life of the process
// (the plug-in context and comctl32 are never freed). Threads that race to
// the first use write the same values; only the page context, which each
// would create anew, is published once (SharedPageActCtx).
HMODULE instance = nullptr;
HANDLE pluginActCtx = INVALID_HANDLE_VALUE;  // INVALID_HANDLE_VALUE: not yet determined
HMODULE comctl32 = nullptr;
FARPROC initCommonControls = nullptr;
FARPROC imageListCreate = nullptr;
FARPROC imageListDestroy = nullptr;
FARPROC imageListReplaceIcon = nullptr;
// Set on the x86 builds once the system turned out to have no activation
// contexts: activation then succeeds without doing anything.
bool noActCtxSupport = false;

constexpr WCHAR kComctl32[] = L"Comctl32.dll";
constexpr WORD kPluginManifestId = 3;  // what the loader would have used; absent, so no context
constexpr WORD kPageManifestId = 2;

// The plug-in context activated for one scope. A failing call inside the
// scope keeps its last error across the deactivation.
class Activation {
 public:
  Activation() : active_(ActivatePluginActCtx(&cookie_)) {}
  ~Activation() {
    if (!active_) return;
    // Decided by this scope's own cookie: another thread may find out in
    // between that the system has no activation contexts.
    if (cookie_) actctx::Deactivate(cookie_);
    if (keepError_) SetLastError(error_);
  }
  Activation(const Activation &) = delete;
  Activation &operator=(const Activation &) = delete;

  explicit operator bool() const { return active_; }
  void KeepLastError() {
    error_ = GetLastError();
    keepError_ = true;
  }

 private:
  ULONG_PTR cookie_ = 0;
  bool active_;
  bool keepError_ = false;
  DWORD error_ = 0;
};

bool IsMissingManifestError(DWORD error) {
  return error == ERROR_RESOURCE_DATA_NOT_FOUND || error == ERROR_RESOURCE_TYPE_NOT_FOUND ||
         error == ERROR_RESOURCE_NAME_NOT_FOUND || error == ERROR_RESOURCE_LANG_NOT_FOUND;
}

// The context the loader did not give the module: one built from the
// module's own manifest resource, or null when it has none. False with the
// last error when it cannot be decided now.
bool DeterminePluginActCtxFromResource(LPCWSTR address, HANDLE *context) {
  HMODULE module = nullptr;
  if (!actctx::ModuleFromAddress(address, &module)) return false;
  WCHAR path[MAX_PATH + 1];
  path[MAX_PATH] = L'\0';
  DWORD length = GetModuleFileNameW(module, path, MAX_PATH + 1);
  if (length == 0) return false;
  // A path that filled the buffer may have been cut.
  if (path[MAX_PATH] != L'\0' || length > MAX_PATH) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return false;
  }
  ACTCTXW description = {};
  description.cbSize = sizeof description;
  description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
  description.lpSource = path;
  description.lpResourceName = MAKEINTRESOURCEW(kPluginManifestId);
  description.hModule = module;
  HANDLE created = actctx::Create(&description);
  if (created == INVALID_HANDLE_VALUE) {
    if (!IsMissingManifestError(GetLastError())) return false;
    created = nullptr;
  }
  *context = created;
  return true;
}

// Loads comctl32 under the plug-in context when the context redirects it, so
// that the version its manifest names (6) is the one in the process.
void PreloadRedirectedComctl32() {
  ULONG_PTR cookie = 0;
  if (!actctx::Activate(pluginActCtx, &cookie)) return;
  ACTCTX_SECTION_KEYED_DATA data = {};
  data.cbSize = sizeof data;
  if (actctx::FindDllRedirection(kComctl32, &data)) LoadLibraryW(kComctl32);  // kept for the process
  actctx::Deactivate(cookie);
}

// The comctl32 entry point `name`, resolved once under the plug-in context.
template <typename Fn>
Fn CachedComctlProc(FARPROC *cache, const char *name) {
  if (!*cache) *cache = IsolatedComctlProc(name);
  return reinterpret_cast<Fn>(reinterpret_cast<void *>(*cache));
}

}  // namespace

void OnProcessAttach(HMODULE module) { instance = module; }

void OnProcessDetach() {
  HANDLE context = InterlockedExchangePointer(&PageActCtx, INVALID_HANDLE_VALUE);
  if (context != INVALID_HANDLE_VALUE) actctx::Release(context);
}

HMODULE PluginModule() { return instance; }
HANDLE PluginActCtx() { return pluginActCtx; }

BOOL EnsurePluginActCtx() {
  if (pluginActCtx != INVALID_HANDLE_VALUE) return TRUE;
  // Any address inside this module names the context that the loader built
  // for it from its manifest.
  auto address = reinterpret_cast<LPCWSTR>(&pluginActCtx);
  ACTIVATION_CONTEXT_BASIC_INFORMATION info = {};
  if (!actctx::Query(QUERY_ACTCTX_FLAG_ACTCTX_IS_ADDRESS | QUERY_ACTCTX_FLAG_NO_ADDREF, const_cast<LPWSTR>(address),
                     nullptr, ActivationContextBasicInformation, &info, sizeof info, nullptr))
    return FALSE;
  HANDLE context = info.hActCtx;
  if (!context && !DeterminePluginActCtxFromResource(address, &context)) return FALSE;
  pluginActCtx = context;
  PreloadRedirectedComctl32();
  return TRUE;
}

BOOL ActivatePluginActCtx(ULONG_PTR *cookie) {
  *cookie = 0;
  if (noActCtxSupport) return TRUE;
  if (EnsurePluginActCtx() && actctx::Activate(pluginActCtx, cookie)) return TRUE;
  if (actctx::kBoundAtRunTime && actctx::MeansNoActCtxSupport(GetLastError())) {
    // Such a system runs everything in the process default context.
    noActCtxSupport = true;
    *cookie = 0;
    return TRUE;
  }
  return FALSE;
}

HMODULE IsolatedLoadLibrary(LPCWSTR name) {
  Activation activation;
  if (!activation) return nullptr;
  HMODULE module = LoadLibraryW(name);
  if (!module) activation.KeepLastError();
  return module;
}

FARPROC IsolatedComctlProc(LPCSTR name) {
  Activation activation;
  if (!activation) return nullptr;
  if (!comctl32) comctl32 = LoadLibraryW(kComctl32);
  FARPROC proc = comctl32 ? GetProcAddress(comctl32, name) : nullptr;
  if (!proc) activation.KeepLastError();
  return proc;
}

void IsolatedInitCommonControls() {
  // The scope deactivates on every way out, exceptions included.
  Activation activation;
  if (!activation) return;
  if (auto fn = CachedComctlProc<void(WINAPI *)()>(&initCommonControls, "InitCommonControls")) fn();
}

HIMAGELIST IsolatedImageListCreate(int cx, int cy, UINT flags, int initial, int grow) {
  Activation activation;
  if (!activation) return nullptr;
  HIMAGELIST list = nullptr;
  if (auto fn = CachedComctlProc<decltype(&ImageList_Create)>(&imageListCreate, "ImageList_Create"))
    list = fn(cx, cy, flags, initial, grow);
  if (!list) activation.KeepLastError();
  return list;
}

BOOL IsolatedImageListDestroy(HIMAGELIST list) {
  Activation activation;
  if (!activation) return FALSE;
  BOOL destroyed = FALSE;
  if (auto fn = CachedComctlProc<decltype(&ImageList_Destroy)>(&imageListDestroy, "ImageList_Destroy"))
    destroyed = fn(list);
  if (!destroyed) activation.KeepLastError();
  return destroyed;
}

int IsolatedImageListReplaceIcon(HIMAGELIST list, int index, HICON icon) {
  Activation activation;
  if (!activation) return -1;
  int result = -1;
  if (auto fn = CachedComctlProc<decltype(&ImageList_ReplaceIcon)>(&imageListReplaceIcon, "ImageList_ReplaceIcon"))
    result = fn(list, index, icon);
  if (result == -1) activation.KeepLastError();
  return result;
}

HANDLE SharedPageActCtx() {
  HANDLE current = InterlockedCompareExchangePointer(&PageActCtx, INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE);
  if (current != INVALID_HANDLE_VALUE) return current;
  // Sheets opening on several threads may each create one; the first
  // published stays, the others are released. A failure publishes nothing.
  HANDLE created = CreatePageActCtx();
  if (created == INVALID_HANDLE_VALUE) return created;
  HANDLE published = InterlockedCompareExchangePointer(&PageActCtx, created, INVALID_HANDLE_VALUE);
  if (published == INVALID_HANDLE_VALUE) return created;
  actctx::Release(created);
  return published;
}

HANDLE CreatePageActCtx() {
  // The module's path, however long: the buffer doubles while the path fills it.
  DWORD capacity = MAX_PATH;
  WCHAR *path = nullptr;
  for (int reads = 0;; ++reads) {
    std::free(path);
    path = static_cast<WCHAR *>(std::malloc(capacity * sizeof(WCHAR)));
    if (!path) return INVALID_HANDLE_VALUE;
    DWORD length = GetModuleFileNameW(instance, path, capacity);
    if (length == 0 || (length >= capacity && reads == 9)) {  // no path, or still cut after ten reads
      std::free(path);
      return INVALID_HANDLE_VALUE;
    }
    if (length < capacity) break;
    capacity *= 2;
  }
  ACTCTXW description = {};
  description.cbSize = sizeof description;
  description.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
  description.lpSource = path;
  description.lpResourceName = MAKEINTRESOURCEW(kPageManifestId);
  HANDLE context = actctx::Create(&description);
  DWORD error = GetLastError();
  std::free(path);
  SetLastError(error);
  return context;
}

}  // namespace qx
