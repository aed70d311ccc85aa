// A window takes the visual that its GL pixel format needs: the X window is made again with that
// visual, and everything the program knows of the window (handle, geometry, title, hints, cursor,
// shape, properties, children, shown state, capture) carries over.
#include "input_state.h"
#include "window_internal.h"
#include "x_display.h"

namespace plat {

bool window_use_visual(HWND window, Visual* visual, int depth) {
  WindowObject* w = window_get(window);
  Display* d = x_display();
  if (!w || !d || !xwindow_of(w) || !visual) return false;
  XWindowAttributes current;
  {
    XErrorTrap trap;  // the X window may have been destroyed behind our back
    bool known = XGetWindowAttributes(d, w->native->xwindow, &current);
    if (!trap.succeeded() || !known) return false;
  }
  if (current.visual == visual && current.depth == depth) return true;

  ::Window old = w->native->xwindow;
  Colormap old_colormap = w->native->colormap;
  Visual* old_visual = w->native->visual;
  int old_depth = w->native->depth;
  w->native->visual = visual;
  w->native->depth = depth;
  w->native->colormap = 0;
  WindowObject* parent = window_get(w->parent);
  ::Window x_parent = parent ? xwindow_of(parent) : DefaultRootWindow(d);
  ::Window replacement = 0;
  {
    XErrorTrap trap;  // the server may refuse the visual or run out of memory
    replacement = window_create_x(w, x_parent);
    if (!trap.succeeded() && replacement) {
      window_unregister_x(replacement);
      XDestroyWindow(d, replacement);
      replacement = 0;
    }
  }
  if (!replacement) {
    if (w->native->colormap) XFreeColormap(d, w->native->colormap);
    w->native->visual = old_visual;
    w->native->depth = old_depth;
    w->native->colormap = old_colormap;
    return false;
  }
  w->native->xwindow = replacement;
  window_unregister_x(old);
  window_apply_x_attributes(w);
  for (HWND child : w->children)
    if (WindowObject* c = window_get(child); c && xwindow_of(c))
      XReparentWindow(d, c->native->xwindow, replacement, c->client_x - c->native->border_width,
                      c->client_y - c->native->border_width);
  bool had_capture = GetCapture() == window;
  bool had_focus = input_focus_window() && window_root(input_focus_window()) == window;
  if (w->mapped) window_map_x(w, had_focus);
  if (had_capture) SetCapture(window);
  if (had_focus && w->mapped && w->parent == 0)
    XSetInputFocus(d, w->native->xwindow, RevertToParent, CurrentTime);
  XDestroyWindow(d, old);
  if (old_colormap) XFreeColormap(d, old_colormap);
  XFlush(d);
  if ((w = window_get(window)) && w->mapped) window_invalidate(w, nullptr, true);
  return true;
}

}  // namespace plat
