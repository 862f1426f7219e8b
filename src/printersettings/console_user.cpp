#include "printersettings/console_user.h"

#include "activation/activation.h"
#include "frame/win_handles.h"

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
  active_ = wts.QueryUserToken(console, &token);
  if (!active_) {
    DWORD session = FirstActiveSession(wts);
    token = nullptr;
    if (session != kNoConsoleSession) active_ = wts.QueryUserToken(session, &token);
  }
  if (!active_) return;
  userToken_ = token;

  HANDLE copy = nullptr;
  active_ = DuplicateToken(userToken_, SecurityImpersonation, &copy);
  if (!active_) return;
  impersonationToken_ = copy;
  active_ = SetThreadToken(nullptr, impersonationToken_);
}

void ConsoleUserImpersonation::RevertImpersonation() {
  if (active_) RevertToSelf();
  if (impersonationToken_) CloseHandle(impersonationToken_);
  if (userToken_) CloseHandle(userToken_);
  impersonationToken_ = nullptr;
  userToken_ = nullptr;
  active_ = FALSE;
}

}  // namespace qx
