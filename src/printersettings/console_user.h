// Lets code in the print spooler act for a moment as the user at the active
// console session, so that per-user settings read meanwhile are that user's.
#pragma once

#include <windows.h>
#include <wtsapi32.h>

#include "platform/win_handles.h"

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
  // A token the thread already had (the spooler impersonating its client) is
  // kept to be put back. Every failure leaves the holder inactive and the
  // thread's token alone.
  void ImpersonateConsoleUser();
  // The same with session functions the caller supplies (all four present).
  void ImpersonateConsoleUser(const WtsFunctions &wts);
  // Gives the thread back the token it had before, or none; closes every
  // token. Safe to repeat.
  void RevertImpersonation();

  bool active() const { return active_ != FALSE; }
  HANDLE userToken() const { return userToken_.get(); }
  HANDLE impersonationToken() const { return impersonationToken_.get(); }

 private:
  BOOL active_ = FALSE;
  KernelHandle userToken_;
  KernelHandle impersonationToken_;
  KernelHandle previousToken_;  // null when the thread ran on the process token
};

}  // namespace qx
