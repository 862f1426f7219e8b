#include "activation_probe.h"

#include "activation/activation.h"

extern "C" __declspec(dllexport) const ActivationProbe *GetActivationProbe() {
  static const ActivationProbe probe = {
      qx::EnsurePluginActCtx,        qx::PluginActCtx,          qx::ActivatePluginActCtx,
      qx::IsolatedLoadLibrary,       qx::IsolatedComctlProc,    qx::IsolatedInitCommonControls,
      qx::IsolatedImageListCreate,   qx::IsolatedImageListDestroy, qx::IsolatedImageListReplaceIcon,
      qx::CreatePageActCtx,          &qx::PageActCtx,           qx::OnProcessDetach,
  };
  return &probe;
}

#ifdef QX_PROBE_OWN_DLLMAIN
// The probes built from the activation sources alone stand in for the
// plug-in's entry point.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) qx::OnProcessAttach(instance);
  if (reason == DLL_PROCESS_DETACH) qx::OnProcessDetach();
  return TRUE;
}
#endif
