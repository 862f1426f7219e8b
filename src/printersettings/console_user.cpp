#include "printersettings/console_user.h"

#include "activation/activation.h"
#include "platform/win_handles.h"

namespace qx {
namespace {

constexpr DWORD kNoConsoleSession = 0xFFFFFFFF;

// Keeps both libraries loaded while their functions are in use.
struct SessionLibraries {
  ModuleHandle kernel32{IsolatedLoadLibrary(L"kernel32.dll")};
  ModuleHandle wtsapi32{IsolatedLoadLibrary(L"wtsapi32.dll")};
};

template <typename Fn>
bool Bind(HMODULE module, const char *name, Fn *fn) {
  *fn = module ? reinterpret_cast<Fn>(reinterpret_cast<void *>(GetProcAddress(module, name))) : nullptr;
  return *fn != nullptr;
}

// The first session in list order that is active, or kNoConsoleSession.
DWORD FirstActiveSession(const WtsFunctions &wts) {
  PWTS_SESSION_INFOW sessions = nullptr;
  DWORD count = 0;
  if (!wts.EnumerateSessions(WTS_CURRENT_SERVER_HANDLE, 0, 1, &sessions, &count) || !sessions)
    return kNoConsoleSession;
  DWORD found = kNoConsoleSession;
  for (DWORD i = 0; i < count; ++i) {
    if (sessions[i].State == WTSActive) {
      found = sessions[i].SessionId;
      break;
    }
  }
  wts.FreeMemory(sessions);
  return found;
}

// The thread's own impersonation token, opened so that it can be put back;
// none (null) when the thread runs on the process token. False when there is
// one that cannot be kept.
bool KeepThreadToken(HANDLE *token) {
  *token = nullptr;
  if (OpenThreadToken(GetCurrentThread(), TOKEN_IMPERSONATE | TOKEN_QUERY, TRUE, token)) return true;
  *token = nullptr;
  return GetLastError() == ERROR_NO_TOKEN;
}

}  // namespace

void ConsoleUserImpersonation::ImpersonateConsoleUser() {
  RevertImpersonation();
  SessionLibraries libraries;
  WtsFunctions wts;
  if (!Bind(libraries.kernel32.get(), "WTSGetActiveConsoleSessionId", &wts.GetActiveConsoleSessionId) ||
      !Bind(libraries.wtsapi32.get(), "WTSQueryUserToken", &wts.QueryUserToken) ||
      !Bind(libraries.wtsapi32.get(), "WTSEnumerateSessionsW", &wts.EnumerateSessions) ||
      !Bind(libraries.wtsapi32.get(), "WTSFreeMemory", &wts.FreeMemory))
    return;
  ImpersonateConsoleUser(wts);
}

void ConsoleUserImpersonation::ImpersonateConsoleUser(const WtsFunctions &wts) {
  RevertImpersonation();
  if (!wts.GetActiveConsoleSessionId || !wts.QueryUserToken || !wts.EnumerateSessions || !wts.FreeMemory) return;
  DWORD console = wts.GetActiveConsoleSessionId();
  if (console == kNoConsoleSession) return;

  // A token is kept only from a call that succeeded.
  HANDLE token = nullptr;
  BOOL gotToken = wts.QueryUserToken(console, &token);
  if (!gotToken) {
    DWORD session = FirstActiveSession(wts);
    token = nullptr;
    if (session != kNoConsoleSession) gotToken = wts.QueryUserToken(session, &token);
  }
  if (!gotToken) return;
  userToken_.reset(token);

  if (!DuplicateToken(userToken_.get(), SecurityImpersonation, impersonationToken_.put()) ||
      !KeepThreadToken(previousToken_.put()) || !SetThreadToken(nullptr, impersonationToken_.get())) {
    RevertImpersonation();
    return;
  }
  active_ = TRUE;
}

void ConsoleUserImpersonation::RevertImpersonation() {
  LastErrorKeeper keepError;
  // Without a token kept, the thread goes back to the process token.
  if (active_ && !SetThreadToken(nullptr, previousToken_.get())) RevertToSelf();
  impersonationToken_.reset();
  userToken_.reset();
  previousToken_.reset();
  active_ = FALSE;
}

}  // namespace qx
