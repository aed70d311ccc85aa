// DestroyWindow: WM_DESTROY to the window and then its children, WM_NCDESTROY from the children up;
// children are gone before their parent, and every handle of the tree becomes stale.
#include "window_object.h"
#include "x_display.h"

namespace plat {
namespace {

void destroy_tree(HWND h, bool destroy_x) {
  WindowObject* w = window_get(h);
  if (!w) return;
  SendMessageA(h, WM_DESTROY, 0, 0);
  // Children made during WM_DESTROY are destroyed too; copy, as each removes itself from the list.
  for (;;) {
    w = window_get(h);
    if (!w || w->children.empty()) break;
    HWND child = w->children.front();
    if (WindowObject* c = window_get(child); c && !c->destroying) {
      c->destroying = true;
      destroy_tree(child, false);  // the X server takes subwindows down with their parent
    } else {
      w->children.erase(w->children.begin());
    }
  }
  SendMessageA(h, WM_NCDESTROY, 0, 0);

  w = window_get(h);
  if (!w) return;
  input_forget_window(h);
  queue_forget_window(h);
  if (w->invalid) window_validate(w);
  if (w->region) {
    DeleteObject(w->region);
    w->region = 0;
  }
  if (WindowObject* parent = window_get(w->parent)) {
    auto& siblings = parent->children;
    for (auto it = siblings.begin(); it != siblings.end(); ++it)
      if (*it == h) {
        siblings.erase(it);
        break;
      }
  }
  Display* d = x_display();
  if (w->xwindow) {
    window_unregister_x(w->xwindow);
    if (d && destroy_x) XDestroyWindow(d, w->xwindow);
  }
  if (d && w->colormap) XFreeColormap(d, w->colormap);
  if (w->window_class) w->window_class->windows--;
  window_list_remove(h);
  handle_remove(h);
}

}  // namespace
}  // namespace plat

BOOL DestroyWindow(HWND window) {
  plat::WindowObject* w = plat::window_get(window);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  plat::destroy_tree(window, true);
  if (Display* d = plat::x_display()) XFlush(d);
  return TRUE;
}

BOOL IsWindow(HWND window) { return plat::window_get(window) ? TRUE : FALSE; }
