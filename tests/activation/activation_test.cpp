// The activation code in a module that carries the plug-in's manifest.
#include <gtest/gtest.h>

#include "activation/actctx_functions.h"
#include "probe_module.h"

namespace {

using qxtest::ModulePathOf;
using qxtest::ProbeModule;

constexpr DWORD kSentinel = 0xdeadbeef;

// The code as the x64 builds bind the activation-context functions
// (imported), and as the x86 builds do (looked up by name at first use).
class ActivationTest : public ::testing::TestWithParam<const wchar_t *> {
 protected:
  void SetUp() override { ASSERT_TRUE(probe_); }
  ProbeModule probe_{GetParam()};
};

TEST_P(ActivationTest, PluginContextIsTheOneTheLoaderBuiltFromTheManifest) {
  EXPECT_EQ(probe_->pluginActCtx(), INVALID_HANDLE_VALUE);
  ASSERT_TRUE(probe_->ensurePluginActCtx());
  HANDLE context = probe_->pluginActCtx();
  EXPECT_NE(context, nullptr);
  EXPECT_NE(context, INVALID_HANDLE_VALUE);

  ACTIVATION_CONTEXT_BASIC_INFORMATION info = {};
  ASSERT_TRUE(QueryActCtxW(QUERY_ACTCTX_FLAG_ACTCTX_IS_ADDRESS | QUERY_ACTCTX_FLAG_NO_ADDREF,
                           reinterpret_cast<void *>(probe_->pluginActCtx), nullptr,
                           ActivationContextBasicInformation, &info, sizeof info, nullptr));
  EXPECT_EQ(context, info.hActCtx);
  // Determined once.
  EXPECT_TRUE(probe_->ensurePluginActCtx());
  EXPECT_EQ(probe_->pluginActCtx(), context);

  // Activation puts it on the thread and deactivation takes it off again.
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(probe_->activatePluginActCtx(&cookie));
  HANDLE active = nullptr;
  EXPECT_TRUE(GetCurrentActCtx(&active));
  EXPECT_EQ(active, context);
  ReleaseActCtx(active);
  EXPECT_TRUE(DeactivateActCtx(0, cookie));
}

TEST_P(ActivationTest, Comctl32ComesFromTheCommonControlsAssembly) {
  FARPROC create = probe_->isolatedComctlProc("ImageList_Create");
  ASSERT_NE(create, nullptr);
  EXPECT_NE(ModulePathOf(reinterpret_cast<void *>(create)).find(L"winsxs"), std::wstring::npos)
      << "loaded from " << testing::PrintToString(ModulePathOf(reinterpret_cast<void *>(create)));
  // Nothing of the context stays active after the call.
  HANDLE active = INVALID_HANDLE_VALUE;
  EXPECT_TRUE(GetCurrentActCtx(&active));
  EXPECT_EQ(active, nullptr);

  SetLastError(kSentinel);
  EXPECT_EQ(probe_->isolatedComctlProc("NoSuchExport"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  probe_->isolatedInitCommonControls();
}

TEST_P(ActivationTest, IsolatedLoadLibraryKeepsTheLoadersError) {
  HMODULE msimg = probe_->isolatedLoadLibrary(L"Msimg32.dll");
  ASSERT_NE(msimg, nullptr);
  EXPECT_NE(GetProcAddress(msimg, "TransparentBlt"), nullptr);
  FreeLibrary(msimg);

  SetLastError(kSentinel);
  EXPECT_EQ(probe_->isolatedLoadLibrary(L"qx-no-such-module.dll"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST_P(ActivationTest, ImageListWrappers) {
  HIMAGELIST list = probe_->imageListCreate(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
  ASSERT_NE(list, nullptr);
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  ASSERT_NE(icon, nullptr);
  EXPECT_EQ(probe_->imageListReplaceIcon(list, -1, icon), 0);  // -1 appends
  EXPECT_EQ(probe_->imageListReplaceIcon(list, -1, icon), 1);
  EXPECT_EQ(probe_->imageListReplaceIcon(list, 0, icon), 0);   // replaces in place
  EXPECT_TRUE(probe_->imageListDestroy(list));

  EXPECT_FALSE(probe_->imageListDestroy(nullptr));
  EXPECT_EQ(probe_->imageListCreate(-1, -1, ILC_COLOR32, 0, 4), nullptr);
}

TEST_P(ActivationTest, FailedReplaceIconKeepsComctlsLastError) {
  HIMAGELIST list = probe_->imageListCreate(16, 16, ILC_COLOR32 | ILC_MASK, 0, 4);
  ASSERT_NE(list, nullptr);
  auto replace = reinterpret_cast<decltype(&ImageList_ReplaceIcon)>(
      reinterpret_cast<void *>(probe_->isolatedComctlProc("ImageList_ReplaceIcon")));
  ASSERT_NE(replace, nullptr);
  HICON bogus = reinterpret_cast<HICON>(static_cast<INT_PTR>(0x7ff0));

  // What comctl32 itself leaves behind for a bogus icon...
  SetLastError(kSentinel);
  EXPECT_EQ(replace(list, -1, bogus), -1);
  DWORD direct = GetLastError();
  // ...is what the wrapper leaves behind after deactivating.
  SetLastError(kSentinel);
  EXPECT_EQ(probe_->imageListReplaceIcon(list, -1, bogus), -1);
  EXPECT_EQ(GetLastError(), direct);
  EXPECT_TRUE(probe_->imageListDestroy(list));
}

TEST_P(ActivationTest, PageContextComesFromManifestTwoAndIsReleasedAtDetach) {
  EXPECT_EQ(*probe_->pageActCtx, INVALID_HANDLE_VALUE);
  HANDLE page = probe_->createPageActCtx();
  ASSERT_NE(page, INVALID_HANDLE_VALUE) << GetLastError();
  ASSERT_NE(page, nullptr);

  // It redirects comctl32 to the common-controls assembly.
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(page, &cookie));
  ACTCTX_SECTION_KEYED_DATA data = {};
  data.cbSize = sizeof data;
  EXPECT_TRUE(FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, L"Comctl32.dll",
                                       &data));
  EXPECT_TRUE(DeactivateActCtx(0, cookie));

  *probe_->pageActCtx = page;  // as the page creator keeps it
  probe_->onProcessDetach();
  EXPECT_EQ(*probe_->pageActCtx, INVALID_HANDLE_VALUE);
  probe_->onProcessDetach();  // nothing left to release
  EXPECT_EQ(*probe_->pageActCtx, INVALID_HANDLE_VALUE);
}

INSTANTIATE_TEST_SUITE_P(Binding, ActivationTest, ::testing::Values(L"qxactprobe.dll", L"qxactprobe_lookup.dll"),
                         [](const ::testing::TestParamInfo<const wchar_t *> &info) {
                           return info.index == 0 ? "Imported" : "LookedUp";
                         });

// A scope that activated the plug-in context deactivates it, even when
// another activation finds meanwhile that the system has none.
TEST(ActCtxLookUp, ScopeEndsByItsOwnActivation) {
  HMODULE fake = LoadLibraryW(qxtest::BesideTestProgram(L"qxfakeactctx.dll").c_str());
  ASSERT_NE(fake, nullptr);
  auto failAfterNext = reinterpret_cast<void (*)(void (*)())>(
      reinterpret_cast<void *>(GetProcAddress(fake, "FailActivationAfterNext")));
  ASSERT_NE(failAfterNext, nullptr);
  {
    ProbeModule probe(L"qxactprobe_late.dll");
    ASSERT_TRUE(probe);
    ASSERT_TRUE(probe->ensurePluginActCtx());
    static const ActivationProbe *meanwhile;
    meanwhile = probe.operator->();
    failAfterNext([] {
      ULONG_PTR cookie = 1;
      EXPECT_TRUE(meanwhile->activatePluginActCtx(&cookie));  // no activation contexts: counts as done
      EXPECT_EQ(cookie, 0u);
    });
    HANDLE before = nullptr, after = nullptr;
    ASSERT_TRUE(GetCurrentActCtx(&before));
    EXPECT_NE(probe->isolatedComctlProc("InitCommonControls"), nullptr);
    ASSERT_TRUE(GetCurrentActCtx(&after));
    EXPECT_EQ(after, before) << "the scope's activation was left on the thread";
    ReleaseActCtx(before);
    ReleaseActCtx(after);
  }
  FreeLibrary(fake);
}

TEST(ActCtxLookUp, FindsKernelFunctionsByName) {
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  EXPECT_EQ(qx::actctx::LookUp("ActivateActCtx"), GetProcAddress(kernel, "ActivateActCtx"));
  EXPECT_EQ(qx::actctx::LookUp("QueryActCtxW"), GetProcAddress(kernel, "QueryActCtxW"));
  SetLastError(kSentinel);
  EXPECT_EQ(qx::actctx::LookUp("NoSuchActCtxFunction"), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
  EXPECT_TRUE(qx::actctx::MeansNoActCtxSupport(GetLastError()));
  EXPECT_FALSE(qx::actctx::MeansNoActCtxSupport(ERROR_ACCESS_DENIED));
}

}  // namespace
