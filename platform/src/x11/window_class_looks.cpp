// The class cursor and icon of a window, shown by the X server and the window manager.
#include <X11/Xatom.h>

#include "cursor_internal.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {

void window_apply_class_looks(WindowObject* w) {
  Display* d = x_display();
  if (!d || !xwindow_of(w) || !w->window_class) return;
  ::Cursor cursor = x_cursor(w->window_class->cursor);
  if (cursor != None)
    XDefineCursor(d, w->native->xwindow, cursor);
  else
    XUndefineCursor(d, w->native->xwindow);
  if (w->parent != 0) return;
  std::vector<unsigned long> icon = icon_argb(w->window_class->icon);
  std::vector<unsigned long> small = icon_argb(w->window_class->icon_small);
  icon.insert(icon.end(), small.begin(), small.end());
  Atom atom = x_atom("_NET_WM_ICON");
  if (icon.empty())
    XDeleteProperty(d, w->native->xwindow, atom);
  else
    XChangeProperty(d, w->native->xwindow, atom, XA_CARDINAL, 32, PropModeReplace,
                    reinterpret_cast<unsigned char*>(icon.data()), static_cast<int>(icon.size()));
}

}  // namespace plat
