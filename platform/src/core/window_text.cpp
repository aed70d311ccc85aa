// Window titles: the text goes through the window procedure, as on the original platform.
#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

BOOL SetWindowTextA(HWND window, LPCSTR text) {
  if (!plat::window_checked(window)) return FALSE;
  // The title goes to the native window inside the window procedure's default handling, which
  // fails, with the reason, when the native window refuses it.
  return SendMessageA(window, WM_SETTEXT, 0, PtrToLParam(text ? text : "")) ? TRUE : FALSE;
}

int GetWindowTextA(HWND window, LPSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  // A message box's title and its controls' texts can be read from any thread while it is shown.
  if (int length; plat::box_text(window, buffer, size, &length)) return length;
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
  HWND control = GetDlgItem(dialog, id);
  return control ? static_cast<UINT>(GetWindowTextA(control, buffer, size)) : 0;
}
