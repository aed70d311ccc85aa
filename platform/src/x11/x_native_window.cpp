// The X backend's windows: the native part of a window record, the X window -> window map, and
// what the core asks of an X window (made, shown, hidden, moved, focused, shaped, destroyed).
#include <X11/XKBlib.h>

#include <algorithm>
#include <memory>
#include <unordered_map>

#include "error_codes.h"
#include "native_backend.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

std::unordered_map<::Window, HWND>& x_map() {
  static std::unordered_map<::Window, HWND> map;
  return map;
}

// The X requests of a window's native part that go with it; `with_window` false when the X server
// takes the X window down with its parent's.
void free_native(WindowObject* w, bool with_window) {
  NativeWindow* n = w->native;
  if (!n) return;
  Display* d = x_display();
  if (n->xwindow) {
    window_unregister_x(n->xwindow);
    if (d && with_window) XDestroyWindow(d, n->xwindow);
  }
  if (d && n->colormap) XFreeColormap(d, n->colormap);
  // DestroyWindow returns once the server has taken the window down, as on Windows: a key pressed
  // or released after it cannot reach the window any more and goes where the keyboard is now.
  if (d && with_window) XSync(d, False);
  delete n;
  w->native = nullptr;
}

}  // namespace

void window_register_x(::Window xw, HWND h) { x_map()[xw] = h; }

void window_unregister_x(::Window xw) { x_map().erase(xw); }

::Window x_window(HWND window) { return xwindow_of(window_get(window)); }

HWND window_from_x(::Window xw) {
  auto it = x_map().find(xw);
  if (it == x_map().end() || !window_get(it->second)) return 0;
  return it->second;
}

bool native_prepare_windows() {
  Display* d = x_display();
  if (!d) {
    SetLastError(kErrorNotSupported);
    return false;
  }
  static bool done = false;
  if (!done) {
    done = true;
    // Held keys repeat as key presses without releases in between, as on the original platform.
    Bool supported = False;
    XkbSetDetectableAutoRepeat(d, True, &supported);
  }
  return true;
}

bool native_window_create(WindowObject* w) {
  Display* d = x_display();
  if (!d) {
    SetLastError(kErrorNotSupported);
    return false;
  }
  w->native = new NativeWindow;
  Frame f = window_frame(w->style, w->ex_style);
  // A thin border without caption is drawn by X itself, so a screen-sized window covers the screen.
  if (f.left == 1 && f.top == 1) w->native->border_width = 1;
  WindowObject* parent = window_get(w->parent);
  ::Window x_parent = parent ? xwindow_of(parent) : DefaultRootWindow(d);
  // The server may refuse the window (its parent gone behind our back, no memory): the creation
  // fails with the reason the trap leaves.
  XErrorTrap trap;
  w->native->xwindow = window_create_x(w, x_parent);
  if (w->native->xwindow) window_apply_x_attributes(w);
  if (!trap.succeeded() || !w->native->xwindow) {
    const DWORD reason = w->native->xwindow ? GetLastError() : kErrorNotEnoughMemory;
    free_native(w, true);  // inside the trap: its requests on the refused window fail too
    SetLastError(reason);
    return false;
  }
  return true;
}

void native_window_destroy(WindowObject* w, bool with_window) { free_native(w, with_window); }

// No request: at exit the X server takes the windows down with the connection.
void native_window_forget(NativeWindow* native) { delete native; }

bool native_window_set_title(WindowObject* w) {
  if (!xwindow_of(w)) return true;
  XErrorTrap trap;
  window_set_x_title(w);
  return trap.succeeded();
}

bool native_window_move_resize(WindowObject* w) {
  Display* d = x_display();
  if (!d || !xwindow_of(w)) return true;
  XErrorTrap trap;
  unsigned width = static_cast<unsigned>(std::max(1, w->client_width));
  unsigned height = static_cast<unsigned>(std::max(1, w->client_height));
  // The window manager needs the new place and fixed size in the hints too, or it keeps the old.
  if (w->parent == 0) window_set_size_hints(w);
  const int border = w->native->border_width;
  XMoveResizeWindow(d, w->native->xwindow, w->client_x - border, w->client_y - border, width,
                    height);
  return trap.succeeded();
}

void native_window_show(WindowObject* w, bool activate) { window_map_x(w, activate); }

void native_window_hide(WindowObject* w) {
  Display* d = x_display();
  if (d && xwindow_of(w)) {
    XUnmapWindow(d, w->native->xwindow);
    XFlush(d);
  }
}

void native_window_set_minimized(WindowObject* w, bool minimized) {
  Display* d = x_display();
  if (!d || !xwindow_of(w)) return;
  if (minimized)
    XIconifyWindow(d, w->native->xwindow, DefaultScreen(d));
  else
    XMapRaised(d, w->native->xwindow);  // out of the iconic state
  XFlush(d);
}

void native_window_focus(WindowObject* w, bool unless_managed) {
  Display* d = x_display();
  if (!d || !xwindow_of(w)) return;
  if (unless_managed && x_window_manager_running()) return;
  XSetInputFocus(d, w->native->xwindow, RevertToParent, CurrentTime);
  XFlush(d);
}

void native_window_bring_to_front(WindowObject* w) {
  Display* d = x_display();
  if (!d || !xwindow_of(w)) return;
  if (x_window_manager_running()) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = w->native->xwindow;
    event.xclient.message_type = x_atom("_NET_ACTIVE_WINDOW");
    event.xclient.format = 32;
    event.xclient.data.l[0] = 1;  // a request from an application
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
               &event);
  }
  if (w->mapped) XSetInputFocus(d, w->native->xwindow, RevertToParent, CurrentTime);
  XFlush(d);
}

void native_window_set_shape(WindowObject* w) {
  window_apply_shape(w);
  if (Display* d = x_display()) XFlush(d);
}

}  // namespace plat
