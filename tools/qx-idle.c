#include <windows.h>

int WINAPI WinMain(HINSTANCE i, HINSTANCE p, LPSTR c, int s) {
  (void)i; (void)p; (void)c; (void)s;
  Sleep(INFINITE);
  return 0;
}
