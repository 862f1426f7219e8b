// The plug-in object's DocumentPropertySheets, reached through the DLL's
// exports: it answers as the sheet operation does.
#include <gtest/gtest.h>

#include "support/page_recorder.h"
#include "support/plugin_loader.h"

namespace {

constexpr DWORD kSentinel = 0xdeadbeef;

TEST(DocumentSheets, ThePluginObjectForwardsToThem) {
  qxtest::PluginLoader loader;
  IPrintOemUI2 *plugin = loader.Create();
  ASSERT_NE(plugin, nullptr);
  qxtest::PageRecorder recorder;
  PROPSHEETUI_INFO info = recorder.Info(PROPSHEETUI_REASON_GET_INFO_HEADER);
  PROPSHEETUI_INFO_HEADER header = {};
  EXPECT_EQ(plugin->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header)), S_OK);
  EXPECT_STREQ(header.pTitle, L"OEM UI Page");
  info.Version = 0x0101;
  SetLastError(kSentinel);
  EXPECT_EQ(plugin->DocumentPropertySheets(&info, reinterpret_cast<LPARAM>(&header)), E_FAIL);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
  EXPECT_EQ(plugin->Release(), 0u);
}

}  // namespace
