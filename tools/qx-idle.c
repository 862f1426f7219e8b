/* Keeps a warm Wine session alive while the tests run. It also brings up the
   session's desktop once, before any test: test programs that start side by
   side would otherwise race to start it, and the loser gets no windows or
   dies at start-up. Once its window exists (and with it the desktop) it
   creates the file QX_IDLE_READY names, which the entry script waits for. */
#include <windows.h>

static void SayReady(void) {
  WCHAR path[MAX_PATH];
  DWORD length = GetEnvironmentVariableW(L"QX_IDLE_READY", path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
}

int WINAPI WinMain(HINSTANCE i, HINSTANCE p, LPSTR c, int s) {
  (void)i; (void)p; (void)c; (void)s;
  HWND window = CreateWindowExW(0, L"STATIC", L"qx-idle", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  (void)GetDesktopWindow();
  if (window) SayReady();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
  }
  return 0;
}
