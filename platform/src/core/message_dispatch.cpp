// Delivering messages to window procedures: SendMessageA, DispatchMessageA, TranslateMessage.
#include "keyboard_state.h"
#include "message_queue.h"
#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  // A shown message box, or one of its buttons, answers in its own modal loop (BM_CLICK, a
  // button's WM_COMMAND); its sender waits until the loop has taken the message.
  if (plat::box_message(window, message, wparam, lparam, true)) return 0;
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || !w->proc) return 0;
  return w->proc(window, message, wparam, lparam);
}

LRESULT DispatchMessageA(const MSG* msg) {
  if (!msg || msg->hwnd == 0) return 0;  // thread messages, WM_QUIT among them, go to no procedure
  return SendMessageA(msg->hwnd, msg->message, msg->wParam, msg->lParam);
}

BOOL TranslateMessage(const MSG* msg) {
  if (!msg) return FALSE;
  if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN) return FALSE;
  plat::TypedText text = plat::keyboard_take_text(*msg);
  if (text.chars.empty()) return FALSE;
  bool system = msg->message == WM_SYSKEYDOWN;
  UINT char_message =
      text.dead ? (system ? WM_SYSDEADCHAR : WM_DEADCHAR) : (system ? WM_SYSCHAR : WM_CHAR);
  // Typed characters are input: they go out even when the program has used up its post quota.
  if (msg->hwnd != 0 && !plat::window_get(msg->hwnd)) return FALSE;
  for (char c : text.chars)
    plat::queue_posted_input(plat::make_message(
        msg->hwnd, char_message, static_cast<WPARAM>(static_cast<unsigned char>(c)), msg->lParam));
  return TRUE;
}
