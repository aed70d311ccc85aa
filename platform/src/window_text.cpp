// Window titles: the text goes through the window procedure, as on the original platform.
#include "window_object.h"
#include "x_display.h"

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!plat::window_get(window)) return FALSE;
  // The title goes to the X window inside the window procedure's default handling.
  plat::XErrorTrap trap;
  BOOL done = SendMessageA(window, WM_SETTEXT, 0, PtrToLParam(text ? text : "")) ? TRUE : FALSE;
  return done && trap.succeeded();
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  if (!plat::window_get(window)) return 0;
  return SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), PtrToLParam(buffer));
}

int GetWindowTextLengthA(HWND window) {
  if (!plat::window_get(window)) return 0;
  return SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
}
