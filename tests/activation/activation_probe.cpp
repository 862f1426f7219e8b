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
