// The pointer on the X server: grabs for SetCapture, and its position on the root window.
#include "native_backend.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {
namespace {

constexpr unsigned kGrabEvents = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;

}  // namespace

void native_pointer_grab(WindowObject* w) {
  Display* d = x_display();
  if (!d) return;
  if (!w) {
    XUngrabPointer(d, CurrentTime);
    XFlush(d);
    return;
  }
  if (!xwindow_of(w)) return;
  // Events report to the capturing window alone (owner_events False), as the original does.
  XGrabPointer(d, w->native->xwindow, False, kGrabEvents, GrabModeAsync, GrabModeAsync, None, None,
               CurrentTime);
  XFlush(d);
}

bool native_cursor_position(POINT* point) {
  Display* d = x_display();
  if (!d) return false;
  ::Window root, child;
  int root_x, root_y, x, y;
  unsigned mask;
  if (!XQueryPointer(d, DefaultRootWindow(d), &root, &child, &root_x, &root_y, &x, &y, &mask))
    return false;
  *point = POINT{root_x, root_y};
  return true;
}

bool native_set_cursor_position(int x, int y) {
  Display* d = x_display();
  if (!d) return false;
  XWarpPointer(d, None, DefaultRootWindow(d), 0, 0, 0, 0, x, y);
  XFlush(d);
  return true;
}

}  // namespace plat
