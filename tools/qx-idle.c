/* Keeps a warm Wine session alive while the tests run. It also brings up the
   session's desktop once, before any test: test programs that start side by
   side would otherwise race to start it, and the loser gets no windows. */
#include <windows.h>

int WINAPI WinMain(HINSTANCE i, HINSTANCE p, LPSTR c, int s) {
  (void)i; (void)p; (void)c; (void)s;
  HWND window = CreateWindowExW(0, L"STATIC", L"qx-idle", 0, 0, 0, 1, 1, NULL, NULL, NULL, NULL);
  (void)GetDesktopWindow();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, NULL, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    MsgWaitForMultipleObjects(0, NULL, FALSE, INFINITE, QS_ALLINPUT);
  }
  (void)window;
  return 0;
}
