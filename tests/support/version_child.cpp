#include "support/version_child.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <string>

namespace qxtest {
namespace {

constexpr wchar_t kChildVariable[] = L"QX_TEST_CHILD_VERSION";

std::wstring Widen(const char *text) {
  std::wstring wide;
  for (; *text; ++text) wide += static_cast<wchar_t>(static_cast<unsigned char>(*text));
  return wide;
}

bool SetProgramVersion(const std::wstring &program, const wchar_t *version) {
  std::wstring keyName = L"Software\\Wine\\AppDefaults\\" + program;
  HKEY key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, keyName.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr))
    return false;
  LONG rc = RegSetValueExW(key, L"Version", 0, REG_SZ, reinterpret_cast<const BYTE *>(version),
                           static_cast<DWORD>((wcslen(version) + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return rc == ERROR_SUCCESS;
}

}  // namespace

bool RunCurrentTestAs(const wchar_t *version) {
  wchar_t current[32] = {};
  if (GetEnvironmentVariableW(kChildVariable, current, 32) && wcscmp(current, version) == 0) return false;

  const testing::TestInfo *test = testing::UnitTest::GetInstance()->current_test_info();
  std::wstring filter = L"--gtest_filter=" + Widen(test->test_suite_name()) + L"." + Widen(test->name());
  wchar_t self[MAX_PATH];
  std::wstring selfPath(self, GetModuleFileNameW(nullptr, self, MAX_PATH));
  std::wstring directory = selfPath.substr(0, selfPath.find_last_of(L"\\/") + 1);
  std::wstring stem = selfPath.substr(directory.size());
  stem = stem.substr(0, stem.rfind(L'.'));
  std::wstring program = stem + L"_" + version + L".exe";
  std::wstring child = directory + program;

  EXPECT_TRUE(CopyFileW(selfPath.c_str(), child.c_str(), FALSE)) << GetLastError();
  EXPECT_TRUE(SetProgramVersion(program, version));
  std::wstring command = L"\"" + child + L"\" " + filter;
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;  // the child's report goes into this test's output
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION process = {};
  SetEnvironmentVariableW(kChildVariable, version);
  BOOL started = CreateProcessW(child.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                                &process);
  SetEnvironmentVariableW(kChildVariable, nullptr);
  EXPECT_TRUE(started) << "CreateProcessW error " << GetLastError();
  if (started) {
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 100000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u) << "the test failed as " << testing::PrintToString(std::wstring(version));
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  DeleteFileW(child.c_str());
  return true;
}

}  // namespace qxtest
