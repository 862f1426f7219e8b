// Lets code in the print spooler act for a moment as the user at the active
// console session, so that per-user settings read meanwhile are that user's.
#pragma once

#include <windows.h>
#include <wtsapi32.h>

namespace qx {

// The session functions, bound at run time: the plug-in imports nothing from
// wtsapi32, and WTSGetActiveConsoleSessionId is looked up by name too.
struct WtsFunctions {
  DWORD(WINAPI *GetActiveConsoleSessionId)();
  BOOL(WINAPI *QueryUserToken)(ULONG sessionId, PHANDLE token);
  BOOL(WINAPI *EnumerateSessions)(HANDLE server, DWORD reserved, DWORD version, PWTS_SESSION_INFOW *sessions,
                                  DWORD *count);
  void(WINAPI *FreeMemory)(PVOID memory);
};

// A scoped holder: created inactive; releasing it reverts. Used by one thread.
class ConsoleUserImpersonation {
 public:
  ConsoleUserImpersonation() = default;
  ~ConsoleUserImpersonation() { RevertImpersonation(); }
  ConsoleUserImpersonation(const ConsoleUserImpersonation &) = delete;
  ConsoleUserImpersonation &operator=(const ConsoleUserImpersonation &) = delete;

  // Makes the calling thread run on a copy of the console user's token (or,
  // when the console's user cannot be had, the first active session's user).
  // Every failure leaves the holder inactive and the thread's token alone.
  void ImpersonateConsoleUser();
  // The same with session functions the caller supplies (all four present).
  void ImpersonateConsoleUser(const WtsFunctions &wts);
  // Back to the thread's own token; closes both tokens. Safe to repeat.
  void RevertImpersonation();

  bool active() const { return active_ != FALSE; }
  HANDLE userToken() const { return userToken_; }
  HANDLE impersonationToken() const { return impersonationToken_; }

 private:
  BOOL active_ = FALSE;
  HANDLE userToken_ = nullptr;
  HANDLE impersonationToken_ = nullptr;
};

}  // namespace qx
