// Window titles: the text goes through the window procedure, as on the original platform.
#include "message_box_window.h"
#include "window_object.h"
#include "x_display.h"

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!plat::window_checked(window)) return FALSE;
  // The title goes to the X window inside the window procedure's default handling.
  plat::XErrorTrap trap;
  BOOL done = SendMessageA(window, WM_SETTEXT, 0, PtrToLParam(text ? text : "")) ? TRUE : FALSE;
  return done && trap.succeeded();
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  // A message box's title can be read from any thread while it is shown.
  if (int length; plat::message_box_text(window, 0, buffer, size, &length)) return length;
  buffer[0] = '\0';
  if (!plat::window_checked(window)) return 0;
  return SendMessageA(window, WM_GETTEXT, static_cast<WPARAM>(size), PtrToLParam(buffer));
}

int GetWindowTextLengthA(HWND window) {
  if (!plat::window_checked(window)) return 0;
  return SendMessageA(window, WM_GETTEXTLENGTH, 0, 0);
}

UINT GetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  buffer[0] = '\0';
  // A message box's text is its static control's, readable from any thread while it is shown.
  if (int length; plat::message_box_text(dialog, id, buffer, size, &length))
    return static_cast<UINT>(length);
  plat::WindowObject* w = plat::window_get(dialog);
  if (!w) return 0;
  for (HWND child : w->children) {
    plat::WindowObject* c = plat::window_get(child);
    if (c && c->id == id) return static_cast<UINT>(GetWindowTextA(child, buffer, size));
  }
  return 0;
}
