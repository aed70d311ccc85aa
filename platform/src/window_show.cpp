// ShowWindow and UpdateWindow.
#include <X11/Xutil.h>

#include "window_object.h"
#include "x_display.h"

namespace plat {

bool visible_on_screen(const WindowObject* w) {
  while (w) {
    if (!w->mapped) return false;
    w = window_get(w->parent);
  }
  return true;
}

namespace {

void update_tree(HWND h) {
  WindowObject* w = window_get(h);
  if (!w) return;
  if (w->invalid && visible_on_screen(w)) SendMessageA(h, WM_PAINT, 0, 0);
  w = window_get(h);
  if (!w) return;
  std::vector<HWND> children = w->children;  // a paint handler may create or destroy children
  for (HWND child : children) update_tree(child);
}

}  // namespace
}  // namespace plat

BOOL ShowWindow(HWND window, int command) {
  plat::WindowObject* w = plat::window_get(window);
  if (!w) return FALSE;
  BOOL was_visible = w->mapped ? TRUE : FALSE;
  Display* d = plat::x_display();
  if (command == SW_HIDE) {
    if (w->mapped) {
      w->mapped = false;
      w->style &= ~static_cast<DWORD>(WS_VISIBLE);
      if (d && w->xwindow) {
        XUnmapWindow(d, w->xwindow);
        XFlush(d);
      }
    }
    return was_visible;
  }
  if (!w->mapped) {
    w->mapped = true;
    w->style |= WS_VISIBLE;
    plat::window_map_x(w);
    if ((w = plat::window_get(window))) plat::window_invalidate(w, nullptr, true);
  }
  bool minimize = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED ||
                  command == SW_SHOWMINNOACTIVE || command == SW_FORCEMINIMIZE;
  if (w && minimize && w->parent == 0 && d && w->xwindow) {
    XIconifyWindow(d, w->xwindow, DefaultScreen(d));
    XFlush(d);
  }
  return was_visible;
}

BOOL IsWindowVisible(HWND window) {
  plat::WindowObject* w = plat::window_get(window);
  return w && plat::visible_on_screen(w) ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
  if (!plat::window_get(window)) return FALSE;
  plat::update_tree(window);
  return TRUE;
}
