// Console-user impersonation and remote-printer classification under Wine.
#include "printersettings/console_user.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/spooler.h"
#include "printersettings/printer_events.h"
#include "printersettings/remote_printer.h"
#include "support/test_printer.h"

namespace {

using qx::ConsoleUserImpersonation;

// Wine's GetProcessHandleCount answers 0: count the open handles by probing
// the low handle values, which is where this small process keeps its handles.
DWORD HandleCount() {
  DWORD count = 0, flags = 0;
  for (UINT_PTR value = 4; value < 0x1000; value += 4)
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++count;
  return count;
}

bool ThreadHasToken() {
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) return false;
  CloseHandle(token);
  return true;
}

bool IsOpen(HANDLE h) {
  DWORD flags = 0;
  return GetHandleInformation(h, &flags) != FALSE;
}

TEST(ConsoleUserImpersonation, WineSessionBecomesActiveAndReverts) {
  DWORD before = HandleCount();
  {
    ConsoleUserImpersonation impersonation;
    EXPECT_FALSE(impersonation.active());
    impersonation.ImpersonateConsoleUser();
    ASSERT_TRUE(impersonation.active());
    EXPECT_TRUE(ThreadHasToken());
    HANDLE user = impersonation.userToken(), copy = impersonation.impersonationToken();
    EXPECT_TRUE(IsOpen(user));
    EXPECT_TRUE(IsOpen(copy));
    EXPECT_EQ(HandleCount(), before + 2);  // the count does see the two tokens

    impersonation.RevertImpersonation();
    EXPECT_FALSE(impersonation.active());
    EXPECT_FALSE(ThreadHasToken());
    EXPECT_EQ(impersonation.userToken(), nullptr);
    EXPECT_EQ(impersonation.impersonationToken(), nullptr);
    impersonation.RevertImpersonation();  // a second revert does nothing
    EXPECT_FALSE(impersonation.active());

    impersonation.ImpersonateConsoleUser();
    impersonation.ImpersonateConsoleUser();  // starts over, leaking nothing
    EXPECT_TRUE(impersonation.active());
  }
  // Released while active: reverted, and both tokens closed.
  EXPECT_FALSE(ThreadHasToken());
  EXPECT_EQ(HandleCount(), before);
}

// The identity of the thread's token; zero without one.
LUID ThreadTokenId() {
  LUID id = {};
  HANDLE token = nullptr;
  if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, &token)) return id;
  TOKEN_STATISTICS stats = {};
  DWORD size = 0;
  if (GetTokenInformation(token, TokenStatistics, &stats, sizeof stats, &size)) id = stats.TokenId;
  CloseHandle(token);
  return id;
}

bool SameLuid(LUID a, LUID b) { return a.LowPart == b.LowPart && a.HighPart == b.HighPart; }

// The spooler may call while impersonating its client: the client's token
// comes back after the console user's, not the process token.
TEST(ConsoleUserImpersonation, ThreadAlreadyImpersonatingGetsItsOwnTokenBack) {
  DWORD before = HandleCount();
  SetLastError(0xdeadbeef);
  ASSERT_TRUE(ImpersonateSelf(SecurityImpersonation)) << GetLastError();
  const LUID own = ThreadTokenId();
  ASSERT_FALSE(SameLuid(own, LUID{}));
  {
    ConsoleUserImpersonation impersonation;
    impersonation.ImpersonateConsoleUser();
    ASSERT_TRUE(impersonation.active());
    EXPECT_FALSE(SameLuid(ThreadTokenId(), own));
    SetLastError(0xdeadbeef);
    impersonation.RevertImpersonation();
    EXPECT_EQ(GetLastError(), 0xdeadbeefu);
    EXPECT_TRUE(ThreadHasToken());
    EXPECT_TRUE(SameLuid(ThreadTokenId(), own));

    impersonation.ImpersonateConsoleUser();
    EXPECT_TRUE(impersonation.active());
  }
  // Released while active: the same.
  EXPECT_TRUE(SameLuid(ThreadTokenId(), own));
  EXPECT_TRUE(RevertToSelf());
  EXPECT_FALSE(ThreadHasToken());
  EXPECT_EQ(HandleCount(), before);
}

// Session functions under the test's control.
struct FakeSessions {
  DWORD console = 1;
  std::vector<ULONG> tokenSessions;  // sessions whose token query succeeds
  std::vector<ULONG> asked;
  BOOL enumerates = TRUE;
  std::vector<WTS_SESSION_INFOW> list;
  int freed = 0;
  std::vector<HANDLE> issued;
};
FakeSessions *g_fake;

DWORD WINAPI FakeConsole() { return g_fake->console; }
BOOL WINAPI FakeQuery(ULONG session, PHANDLE token) {
  g_fake->asked.push_back(session);
  for (ULONG s : g_fake->tokenSessions) {
    if (s == session && OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, token)) {
      g_fake->issued.push_back(*token);
      return TRUE;
    }
  }
  SetLastError(ERROR_NO_TOKEN);
  return FALSE;
}
BOOL WINAPI FakeEnumerate(HANDLE, DWORD, DWORD, PWTS_SESSION_INFOW *sessions, DWORD *count) {
  if (!g_fake->enumerates) return FALSE;
  *sessions = g_fake->list.data();
  *count = static_cast<DWORD>(g_fake->list.size());
  return TRUE;
}
void WINAPI FakeFree(PVOID) { ++g_fake->freed; }
constexpr qx::WtsFunctions kFakeWts = {FakeConsole, FakeQuery, FakeEnumerate, FakeFree};

class ImpersonationWithFakeSessions : public ::testing::Test {
 protected:
  void SetUp() override { g_fake = &fake_; before_ = HandleCount(); }
  void TearDown() override {
    g_fake = nullptr;
    EXPECT_FALSE(ThreadHasToken());
    EXPECT_EQ(HandleCount(), before_);
    for (HANDLE h : fake_.issued) EXPECT_FALSE(IsOpen(h));
  }
  static WTS_SESSION_INFOW Session(DWORD id, WTS_CONNECTSTATE_CLASS state) {
    return {id, const_cast<LPWSTR>(L"session"), state};
  }
  FakeSessions fake_;
  DWORD before_ = 0;
};

TEST_F(ImpersonationWithFakeSessions, NoConsoleSession) {
  fake_.console = 0xFFFFFFFF;
  fake_.tokenSessions = {1};
  ConsoleUserImpersonation impersonation;
  impersonation.ImpersonateConsoleUser(kFakeWts);
  EXPECT_FALSE(impersonation.active());
  EXPECT_TRUE(fake_.asked.empty());
  EXPECT_EQ(impersonation.userToken(), nullptr);
}

TEST_F(ImpersonationWithFakeSessions, ConsoleUsersToken) {
  fake_.tokenSessions = {1};
  ConsoleUserImpersonation impersonation;
  impersonation.ImpersonateConsoleUser(kFakeWts);
  EXPECT_TRUE(impersonation.active());
  EXPECT_TRUE(ThreadHasToken());
  EXPECT_EQ(fake_.asked, std::vector<ULONG>({1}));
  EXPECT_EQ(fake_.freed, 0);
}

TEST_F(ImpersonationWithFakeSessions, FirstActiveSessionWhenTheConsoleFails) {
  fake_.tokenSessions = {7, 9};
  fake_.list = {Session(1, WTSDisconnected), Session(7, WTSActive), Session(9, WTSActive)};
  ConsoleUserImpersonation impersonation;
  impersonation.ImpersonateConsoleUser(kFakeWts);
  EXPECT_TRUE(impersonation.active());
  EXPECT_TRUE(ThreadHasToken());
  EXPECT_EQ(fake_.asked, std::vector<ULONG>({1, 7}));
  EXPECT_EQ(fake_.freed, 1);
}

TEST_F(ImpersonationWithFakeSessions, NoActiveSessionAnywhere) {
  fake_.tokenSessions = {2};
  fake_.list = {Session(2, WTSDisconnected), Session(3, WTSIdle)};
  ConsoleUserImpersonation impersonation;
  impersonation.ImpersonateConsoleUser(kFakeWts);
  EXPECT_FALSE(impersonation.active());
  EXPECT_EQ(fake_.asked, std::vector<ULONG>({1}));
  EXPECT_EQ(fake_.freed, 1);
}

TEST_F(ImpersonationWithFakeSessions, EnumerationFails) {
  fake_.enumerates = FALSE;
  ConsoleUserImpersonation impersonation;
  impersonation.ImpersonateConsoleUser(kFakeWts);
  EXPECT_FALSE(impersonation.active());
  EXPECT_EQ(fake_.freed, 0);
}

TEST_F(ImpersonationWithFakeSessions, ActiveSessionWhoseTokenFails) {
  fake_.list = {Session(4, WTSActive)};
  ConsoleUserImpersonation impersonation;
  impersonation.ImpersonateConsoleUser(kFakeWts);
  EXPECT_FALSE(impersonation.active());
  EXPECT_EQ(fake_.asked, std::vector<ULONG>({1, 4}));
  EXPECT_EQ(fake_.freed, 1);
}

TEST(IsNumericPasswordNation, LeavesTheHolderInactive) {
  DWORD before = HandleCount();
  GEOID saved = GetUserGeoID(GEOCLASS_NATION);
  ConsoleUserImpersonation impersonation;
  SetUserGeoID(244);
  EXPECT_TRUE(qx::IsNumericPasswordNation(impersonation));
  EXPECT_FALSE(impersonation.active());
  SetUserGeoID(242);
  EXPECT_FALSE(qx::IsNumericPasswordNation(impersonation));
  SetUserGeoID(saved);
  EXPECT_FALSE(ThreadHasToken());
  EXPECT_EQ(HandleCount(), before);
}

TEST(RemotePrinter, ByServerName) {
  qx::MallocPtr<WCHAR> computer = qx::GetLocalComputerName();
  ASSERT_NE(computer, nullptr);
  WCHAR expected[MAX_COMPUTERNAME_LENGTH + 1];
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  ASSERT_TRUE(GetComputerNameW(expected, &size));
  EXPECT_STREQ(computer.get(), expected);

  std::wstring local = computer.get();
  for (wchar_t &c : local) c = static_cast<wchar_t>(towlower(c));
  EXPECT_FALSE(qx::IsRemoteServerName((L"\\\\" + local + L"\\Laser").c_str()));
  EXPECT_FALSE(qx::IsRemoteServerName((L"\\\\\\" + std::wstring(computer.get()) + L"\\Laser").c_str()));
  EXPECT_TRUE(qx::IsRemoteServerName(L"\\\\qx-other-server\\Laser"));
  EXPECT_FALSE(qx::IsRemoteServerName(L"\\\\http://qx-other-server/printers/Laser"));
  EXPECT_FALSE(qx::IsRemoteServerName(L"Laser"));
  EXPECT_FALSE(qx::IsRemoteServerName(nullptr));
  EXPECT_FALSE(qx::IsRemotePrinter(nullptr));
}

TEST(RemotePrinter, FromTheSpoolersInformation) {
  qxtest::TestPrinterOptions session;
  session.port = L"TS001";
  session.attributes = PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL;
  qxtest::TestPrinter remote(L"qx remote session", session);
  qxtest::TestPrinter local(L"qx local");
  ASSERT_TRUE(remote.ok() && local.ok());

  qx::SpoolerBlock<PRINTER_INFO_2W> info;
  ASSERT_EQ(qx::FetchPrinterInfo(remote.handle(), &info), S_OK);
  EXPECT_EQ(info->Attributes & (PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL),
            static_cast<DWORD>(PRINTER_ATTRIBUTE_TS | PRINTER_ATTRIBUTE_LOCAL));
  EXPECT_TRUE(qx::IsRemotePrinter(info.get()));
  info.reset();
  ASSERT_EQ(qx::FetchPrinterInfo(local.handle(), &info), S_OK);
  EXPECT_FALSE(qx::IsRemotePrinter(info.get()));

  // A UNC name of another server is remote, whatever the attributes say.
  PRINTER_INFO_2W unc = *info;
  unc.pPrinterName = const_cast<LPWSTR>(L"\\\\qx-other-server\\Laser");
  EXPECT_TRUE(qx::IsRemotePrinter(&unc));
}

}  // namespace
