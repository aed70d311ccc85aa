// A window takes the visual that its GL pixel format needs: the X window is made again with that
// visual, and everything the program knows of the window (handle, geometry, title, hints, cursor,
// shape, properties, children, shown state, capture) carries over.
#include "input_state.h"
#include "window_internal.h"
#include "window_object.h"
#include "x_display.h"
#include "x_input_method.h"

namespace plat {

bool window_use_visual(HWND window, Visual* visual, int depth) {
  WindowObject* w = window_get(window);
  Display* d = x_display();
  if (!w || !d || !w->xwindow || !visual) return false;
  XWindowAttributes current;
  {
    XErrorTrap trap;  // the X window may have been destroyed behind our back
    bool known = XGetWindowAttributes(d, w->xwindow, &current);
    if (!trap.succeeded() || !known) return false;
  }
  if (current.visual == visual && current.depth == depth) return true;

  ::Window old = w->xwindow;
  Colormap old_colormap = w->colormap;
  Visual* old_visual = w->visual;
  int old_depth = w->depth;
  w->visual = visual;
  w->depth = depth;
  w->colormap = 0;
  WindowObject* parent = window_get(w->parent);
  ::Window x_parent = parent ? parent->xwindow : DefaultRootWindow(d);
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
    if (w->colormap) XFreeColormap(d, w->colormap);
    w->visual = old_visual;
    w->depth = old_depth;
    w->colormap = old_colormap;
    return false;
  }
  x_input_context_destroy(w);  // it belongs to the old X window; the next key press makes one
  w->xwindow = replacement;
  window_unregister_x(old);
  window_apply_x_attributes(w);
  for (HWND child : w->children)
    if (WindowObject* c = window_get(child); c && c->xwindow)
      XReparentWindow(d, c->xwindow, replacement, c->client_x - c->border_width,
                      c->client_y - c->border_width);
  bool had_capture = GetCapture() == window;
  bool had_focus = input_focus_window() && window_root(input_focus_window()) == window;
  if (w->mapped) window_map_x(w, had_focus);
  if (had_capture) SetCapture(window);
  if (had_focus && w->mapped && w->parent == 0)
    XSetInputFocus(d, w->xwindow, RevertToParent, CurrentTime);
  XDestroyWindow(d, old);
  if (old_colormap) XFreeColormap(d, old_colormap);
  XFlush(d);
  if ((w = window_get(window)) && w->mapped) window_invalidate(w, nullptr, true);
  return true;
}

}  // namespace plat
