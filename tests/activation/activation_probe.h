// The activation code built into a module of its own, as the plug-in carries
// it: qxactprobe.dll has the plug-in's manifest (id 2), qxactprobe_bare.dll has
// none. Each exports one function that hands out its copies of the operations.
#pragma once
#include <windows.h>
#include <commctrl.h>

struct ActivationProbe {
  BOOL(*ensurePluginActCtx)();
  HANDLE(*pluginActCtx)();
  BOOL(*activatePluginActCtx)(ULONG_PTR *cookie);
  HMODULE(*isolatedLoadLibrary)(LPCWSTR name);
  FARPROC(*isolatedComctlProc)(LPCSTR name);
  void(*isolatedInitCommonControls)();
  HIMAGELIST(*imageListCreate)(int cx, int cy, UINT flags, int initial, int grow);
  BOOL(*imageListDestroy)(HIMAGELIST list);
  int(*imageListReplaceIcon)(HIMAGELIST list, int index, HICON icon);
  HANDLE(*createPageActCtx)();
  HANDLE *pageActCtx;
  void(*onProcessDetach)();
};

using GetActivationProbeFn = const ActivationProbe *(*)();
