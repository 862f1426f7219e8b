// On systems older than XP SP3 the driver keeps its own layout items. Wine
// reports the version a program starts with, so each case runs a copy of
// this test program as a child under a per-program Windows version.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "optiontree/fake_driver.h"
#include "support/plugin_loader.h"

namespace {

using qxtest::BesideTestProgram;

const wchar_t kChildEnv[] = L"QX_OPTIONTREE_CHILD_EXPECTS_HIDDEN";

// Runs this program's LegacyChild test as "<name>.exe" under Wine's `version`;
// returns its exit code.
DWORD RunChild(const std::wstring &name, const wchar_t *version, bool expectHidden) {
  wchar_t self[MAX_PATH];
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring exe = BesideTestProgram((name + L".exe").c_str());
  if (!CopyFileW(self, exe.c_str(), FALSE)) return 1001;
  std::wstring key = L"Software\\Wine\\AppDefaults\\" + name + L".exe";
  HKEY hkey;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &hkey, nullptr) !=
      ERROR_SUCCESS)
    return 1002;
  RegSetValueExW(hkey, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(version),
                 static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
  RegCloseKey(hkey);

  SetEnvironmentVariableW(kChildEnv, expectHidden ? L"1" : L"0");
  std::wstring command = L"\"" + exe + L"\" --gtest_filter=LegacyChild.*";
  STARTUPINFOW si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  DWORD code = 1003;
  if (CreateProcessW(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    WaitForSingleObject(pi.hProcess, 60000);
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
  }
  SetEnvironmentVariableW(kChildEnv, nullptr);
  RegDeleteKeyW(HKEY_CURRENT_USER, key.c_str());
  DeleteFileW(exe.c_str());
  return code;
}

TEST(LegacySystem, Windows2000KeepsTheDriversLayoutItems) {
  EXPECT_EQ(RunChild(L"optiontree_legacy_w2k", L"win2k", false), 0u);
}

TEST(LegacySystem, Server2003HidesThem) {
  EXPECT_EQ(RunChild(L"optiontree_legacy_w2k3", L"win2003", true), 0u);
}

// Runs only as the child of the cases above.
TEST(LegacyChild, LayoutItemsFollowTheSystemVersion) {
  wchar_t expect[4] = {};
  if (!GetEnvironmentVariableW(kChildEnv, expect, 4)) GTEST_SKIP() << "runs as a child only";
  const bool expectHidden = expect[0] == L'1';
  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof version;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW *>(&version)));
  EXPECT_EQ(version.dwMajorVersion, 5u);
  EXPECT_EQ(version.dwMinorVersion, expectHidden ? 2u : 0u);

  qxtest::PluginLoader loader;
  IPrintOemUI2 *plugin = loader.Create();
  ASSERT_NE(plugin, nullptr);
  qxtest::DriverItems items;
  items.Add(L"Orientation", DMPUB_ORIENTATION, nullptr, {L"Portrait", L"Landscape"});
  items.Add(L"Pages per Sheet", DMPUB_NUP, nullptr, {L"1", L"2"});
  items.Add(L"Copies", DMPUB_COPIES_COLLATE, nullptr, {L"1"});
  OEMUIOBJ uiobj = {sizeof uiobj, nullptr};
  OEMCUIPPARAM p = qxtest::SheetParam(items, &uiobj, loader.module(), nullptr);
  qxtest::OpenSheet(plugin, &p);
  const DWORD hidden = expectHidden ? OPTIF_HIDE : 0;
  EXPECT_EQ(items[0].Flags, hidden);
  EXPECT_EQ(items[1].Flags, hidden);
  EXPECT_EQ(items[2].Flags, 0u);
  EXPECT_NE(p.OEMCUIPCallback, nullptr);  // the callback is installed either way
  plugin->Release();
}

}  // namespace
