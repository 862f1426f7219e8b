// The COM server as the driver sees it: through the DLL's two exports.
#include <gtest/gtest.h>

#include "support/fake_driver_ui.h"
#include "support/plugin_loader.h"
#include "support/plugin_test.h"

namespace {

using qxtest::FakeDriverUI;
using qxtest::PluginLoader;

constexpr DWORD kSentinel = 0xdeadbeef;

// Busy blocks on every heap of the process (Wine has no handle or memory counts).
size_t BusyHeapBlocks() {
  HANDLE heaps[64];
  const DWORD count = GetProcessHeaps(64, heaps);
  size_t blocks = 0;
  for (DWORD i = 0; i < count && i < 64; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heaps[i], &entry))
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) ++blocks;
    HeapUnlock(heaps[i]);
  }
  return blocks;
}

// Every object and reference is gone after each test.
class PluginObjectTest : public qxtest::PluginTest {
 protected:
  void TearDown() override {
    if (plugin_) EXPECT_EQ(plugin_->Release(), 0u);
    EXPECT_EQ(loader_.CanUnloadNow(), S_OK);
  }
};

TEST(ClassObject, OnlyTheOemUiClassAndFactoryInterfaces) {
  PluginLoader loader;
  void *p = reinterpret_cast<void *>(1);
  EXPECT_EQ(loader.GetClassObject(IID_IPrintOemUI2, IID_IClassFactory, &p), CLASS_E_CLASSNOTAVAILABLE);
  p = reinterpret_cast<void *>(1);
  EXPECT_EQ(loader.GetClassObject(CLSID_OEMUI, IID_IPrintOemUI2, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  // DllCanUnloadNow does not count factories: the heaps show the refused one is freed.
  const size_t blocks = BusyHeapBlocks();
  for (int i = 0; i < 8; ++i) loader.GetClassObject(CLSID_OEMUI, IID_IPrintOemUI2, &p);
  EXPECT_EQ(BusyHeapBlocks(), blocks);

  IUnknown *unknown = nullptr;
  ASSERT_EQ(loader.GetClassObject(CLSID_OEMUI, IID_IUnknown, reinterpret_cast<void **>(&unknown)), S_OK);
  EXPECT_EQ(unknown->Release(), 0u);
}

TEST(ClassObject, CreateInstanceRefusesAggregationAndOldInterface) {
  PluginLoader loader;
  IClassFactory *factory = nullptr;
  ASSERT_EQ(loader.GetClassObject(CLSID_OEMUI, IID_IClassFactory, reinterpret_cast<void **>(&factory)), S_OK);
  void *p = nullptr;
  IUnknown *outer = factory;
  EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &p), CLASS_E_NOAGGREGATION);
  EXPECT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI, &p), E_NOINTERFACE);
  EXPECT_EQ(p, nullptr);
  EXPECT_EQ(loader.CanUnloadNow(), S_OK);  // no object left behind

  ASSERT_EQ(factory->LockServer(TRUE), S_OK);
  EXPECT_EQ(loader.CanUnloadNow(), S_FALSE);
  ASSERT_EQ(factory->LockServer(FALSE), S_OK);
  EXPECT_EQ(loader.CanUnloadNow(), S_OK);

  IPrintOemUI2 *plugin = nullptr;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPrintOemUI2, reinterpret_cast<void **>(&plugin)), S_OK);
  EXPECT_EQ(factory->Release(), 0u);
  EXPECT_EQ(loader.CanUnloadNow(), S_FALSE);
  EXPECT_EQ(plugin->AddRef(), 2u);
  EXPECT_EQ(plugin->Release(), 1u);
  IUnknown *same = nullptr;
  EXPECT_EQ(plugin->QueryInterface(IID_IUnknown, reinterpret_cast<void **>(&same)), S_OK);
  EXPECT_EQ(same->Release(), 1u);
  EXPECT_EQ(plugin->Release(), 0u);
  EXPECT_EQ(loader.CanUnloadNow(), S_OK);
}

TEST_F(PluginObjectTest, GetInfoSignatureAndVersion) {
  DWORD value = 0, needed = 0;
  ASSERT_EQ(plugin_->GetInfo(OEMGI_GETSIGNATURE, &value, sizeof value, &needed), S_OK);
  EXPECT_EQ(value, 0x4B514C58u);
  EXPECT_EQ(needed, 4u);
  ASSERT_EQ(plugin_->GetInfo(OEMGI_GETVERSION, &value, sizeof value, &needed), S_OK);
  EXPECT_EQ(value, 3u);
}

TEST_F(PluginObjectTest, GetInfoFailuresSetTheirLastErrors) {
  DWORD value = 0, needed = 77;
  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->GetInfo(OEMGI_GETINTERFACEVERSION, &value, sizeof value, &needed), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_SUPPORTED));
  EXPECT_EQ(needed, 0u);

  needed = 77;
  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->GetInfo(OEMGI_GETSIGNATURE, &value, 2, &needed), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(needed, 4u);

  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->GetInfo(OEMGI_GETSIGNATURE, nullptr, 4, &needed), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));

  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->GetInfo(OEMGI_GETSIGNATURE, &value, 4, nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PluginObjectTest, DevModeSizesDefaultsAndMerges) {
  OEMDMPARAM p = {};
  p.cbSize = sizeof p;
  ASSERT_EQ(plugin_->DevMode(OEMDM_SIZE, &p), S_OK);
  EXPECT_EQ(p.cbBufSize, 6904u);

  std::vector<BYTE> in(6904, 0xAA), out(6904, 0xBB);
  p.pOEMDMOut = in.data();
  ASSERT_EQ(plugin_->DevMode(OEMDM_DEFAULT, &p), S_OK);
  EXPECT_EQ(*reinterpret_cast<DWORD *>(in.data() + 4), 0x4B514C58u);
  in[1244] = 'p';
  p.pOEMDMIn = in.data();
  p.pOEMDMOut = out.data();
  *reinterpret_cast<DWORD *>(out.data() + 4) = 0x4B514C58u;
  *reinterpret_cast<DWORD *>(out.data()) = 6904;
  ASSERT_EQ(plugin_->DevMode(OEMDM_MERGE, &p), S_OK);
  EXPECT_EQ(out[1244], 'p');
  // A merge whose blocks are missing still answers S_OK; nothing is written.
  p.pOEMDMIn = nullptr;
  EXPECT_EQ(plugin_->DevMode(OEMDM_CONVERT, &p), S_OK);

  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->DevMode(5, &p), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->DevMode(OEMDM_SIZE, nullptr), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(PluginObjectTest, ColorProfileNeedsThirtyTwoBytes) {
  BYTE buffer[64] = {};
  ULONG size = 30;
  FLONG flags = 0;
  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, &size, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
  EXPECT_EQ(size, 32u);

  size = 32;
  ASSERT_EQ(plugin_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_DEVICEPROFILE, buffer, &size, &flags),
            S_OK);
  EXPECT_STREQ(reinterpret_cast<wchar_t *>(buffer), L"OEMPROFILE.icm");
  EXPECT_EQ(size, 32u);
  EXPECT_EQ(flags, static_cast<FLONG>(QCP_PROFILEDISK));

  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->QueryColorProfile(nullptr, nullptr, nullptr, nullptr, QCP_TARGETPROFILE, buffer, &size, &flags),
            E_FAIL);
  EXPECT_EQ(GetLastError(), kSentinel);
}

TEST_F(PluginObjectTest, PublishDriverInterfaceKeepsTheFirstOne) {
  FakeDriverUI first, second;
  EXPECT_EQ(plugin_->PublishDriverInterface(nullptr), E_FAIL);
  ASSERT_EQ(plugin_->PublishDriverInterface(&first), S_OK);
  EXPECT_EQ(first.refs, 2);
  EXPECT_EQ(plugin_->PublishDriverInterface(&second), S_OK);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(plugin_->Release(), 0u);
  plugin_ = nullptr;
  EXPECT_EQ(first.refs, 1);  // released with the object
}

TEST_F(PluginObjectTest, DeclinedOperationsLeaveTheLastError) {
  SetLastError(kSentinel);
  EXPECT_EQ(plugin_->DevQueryPrintEx(nullptr, nullptr, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(plugin_->DeviceCapabilities(nullptr, nullptr, nullptr, 0, nullptr, nullptr, nullptr, 0, nullptr),
            E_NOTIMPL);
  EXPECT_EQ(plugin_->DriverEvent(0, 0, nullptr, 0), E_NOTIMPL);
  EXPECT_EQ(plugin_->FontInstallerDlgProc(nullptr, 0, 0, 0), E_NOTIMPL);
  EXPECT_EQ(plugin_->UpdateExternalFonts(nullptr, nullptr, nullptr), E_NOTIMPL);
  EXPECT_EQ(plugin_->QueryJobAttributes(nullptr, nullptr, 0, nullptr), E_NOTIMPL);
  EXPECT_EQ(plugin_->HideStandardUI(0), E_NOTIMPL);
  EXPECT_EQ(GetLastError(), kSentinel);
}

TEST_F(PluginObjectTest, DocumentEventNeedsAResultPointer) {
  EXPECT_EQ(plugin_->DocumentEvent(nullptr, nullptr, 100, 0, nullptr, 0, nullptr, nullptr), E_FAIL);
  INT result = 42;
  EXPECT_EQ(plugin_->DocumentEvent(nullptr, nullptr, 100, 0, nullptr, 0, nullptr, &result), S_OK);
  EXPECT_EQ(result, DOCUMENTEVENT_UNSUPPORTED);
}

}  // namespace
