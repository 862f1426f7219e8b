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
