// Keyboard focus and the foreground window.
#include <X11/Xatom.h>

#include "input_state.h"
#include "window_internal.h"
#include "window_object.h"
#include "x_display.h"

namespace plat {
namespace {

HWND g_focus = 0;

void move_focus(HWND to) {
  HWND from = g_focus;
  if (from == to) return;
  g_focus = to;
  if (from && window_get(from)) SendMessageA(from, WM_KILLFOCUS, to, 0);
  if (to && window_get(to)) SendMessageA(to, WM_SETFOCUS, from, 0);
}

HWND active_by_window_manager(Display* d) {
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  HWND found = 0;
  if (XGetWindowProperty(d, DefaultRootWindow(d), x_atom("_NET_ACTIVE_WINDOW"), 0, 1, False,
                         XA_WINDOW, &type, &format, &count, &after, &data) == Success &&
      data) {
    if (count == 1 && format == 32)
      found = window_root(window_from_x(*reinterpret_cast<::Window*>(data)));
    XFree(data);
  }
  return found;
}

}  // namespace

HWND input_focus_window() {
  if (g_focus && !window_get(g_focus)) g_focus = 0;
  return g_focus;
}

void input_focus_changed(HWND window, bool gained) {
  HWND current = input_focus_window();
  if (gained) {
    if (!current || window_root(current) != window_root(window)) move_focus(window);
  } else if (current && window_root(current) == window_root(window)) {
    move_focus(0);
  }
}

}  // namespace plat

HWND GetForegroundWindow(void) {
  Display* d = plat::x_display();
  if (!d) return 0;
  ::Window focus = 0;
  int revert = 0;
  XGetInputFocus(d, &focus, &revert);
  if (focus != None && focus != PointerRoot) {
    if (HWND h = plat::window_from_x(focus)) return plat::window_root(h);
  }
  return plat::active_by_window_manager(d);
}

BOOL SetForegroundWindow(HWND window) {
  HWND root = plat::window_root(window);
  plat::WindowObject* w = plat::window_get(root);
  Display* d = plat::x_display();
  if (!w || !d || !w->xwindow) return FALSE;
  if (plat::x_window_manager_running()) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w->xwindow;
    event.xclient.message_type = plat::x_atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;  // a request from an application
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
  }
  if (w->mapped) XSetInputFocus(d, w->xwindow, RevertToParent, CurrentTime);
  XFlush(d);
  return TRUE;
}

HWND SetFocus(HWND window) {
  HWND previous = plat::input_focus_window();
  if (window == 0) {
    plat::move_focus(0);
    return previous;
  }
  plat::WindowObject* target = plat::window_get(window);
  if (!target) return 0;
  plat::WindowObject* root = plat::window_get(plat::window_root(window));
  Display* d = plat::x_display();
  if (d && root && root->xwindow && root->mapped) {
    XSetInputFocus(d, root->xwindow, RevertToParent, CurrentTime);
    XFlush(d);
  }
  plat::move_focus(window);
  return previous;
}

HWND GetFocus(void) { return plat::input_focus_window(); }
