// The activation code in a module without a manifest: the loader gives it no
// context, so it runs in the process default context. A process of its own,
// so that no earlier test has loaded another comctl32.
#include <gtest/gtest.h>

#include "probe_module.h"

namespace {

using qxtest::ModulePathOf;

TEST(DefaultContext, ModuleWithoutManifestUsesTheHostsComctl32) {
  qxtest::ProbeModule probe(L"qxactprobe_bare.dll");
  ASSERT_TRUE(probe);
  ASSERT_TRUE(probe->ensurePluginActCtx());
  EXPECT_EQ(probe->pluginActCtx(), nullptr);

  FARPROC create = probe->isolatedComctlProc("ImageList_Create");
  ASSERT_NE(create, nullptr);
  HMODULE hostComctl = LoadLibraryW(L"Comctl32.dll");
  ASSERT_NE(hostComctl, nullptr);
  EXPECT_EQ(ModulePathOf(reinterpret_cast<void *>(create)), ModulePathOf(hostComctl));
  EXPECT_EQ(ModulePathOf(hostComctl).find(L"winsxs"), std::wstring::npos);
  FreeLibrary(hostComctl);

  HIMAGELIST list = probe->imageListCreate(16, 16, ILC_COLOR32, 0, 4);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(probe->imageListDestroy(list));
}

}  // namespace

namespace {

// The x86 builds on a system without activation contexts: activation then
// succeeds without doing anything, and everything runs in the process
// default context.
TEST(DefaultContext, SystemWithoutActivationContexts) {
  qxtest::ProbeModule probe(L"qxactprobe_nosupport.dll");
  ASSERT_TRUE(probe);
  SetLastError(0xdeadbeef);
  EXPECT_FALSE(probe->ensurePluginActCtx());
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
  ULONG_PTR cookie = 1;
  EXPECT_TRUE(probe->activatePluginActCtx(&cookie));
  EXPECT_EQ(cookie, 0u);
  HANDLE active = INVALID_HANDLE_VALUE;
  EXPECT_TRUE(GetCurrentActCtx(&active));
  EXPECT_EQ(active, nullptr);

  FARPROC create = probe->isolatedComctlProc("ImageList_Create");
  ASSERT_NE(create, nullptr);
  HMODULE hostComctl = LoadLibraryW(L"Comctl32.dll");
  EXPECT_EQ(ModulePathOf(reinterpret_cast<void *>(create)), ModulePathOf(hostComctl));
  FreeLibrary(hostComctl);
  HIMAGELIST list = probe->imageListCreate(16, 16, ILC_COLOR32, 0, 4);
  ASSERT_NE(list, nullptr);
  EXPECT_TRUE(probe->imageListDestroy(list));
  HMODULE msimg = probe->isolatedLoadLibrary(L"Msimg32.dll");
  EXPECT_NE(msimg, nullptr);
  if (msimg) FreeLibrary(msimg);

  // No page context can be made; detach has nothing to release.
  EXPECT_EQ(probe->createPageActCtx(), INVALID_HANDLE_VALUE);
  probe->onProcessDetach();
  EXPECT_EQ(*probe->pageActCtx, INVALID_HANDLE_VALUE);
}

}  // namespace
