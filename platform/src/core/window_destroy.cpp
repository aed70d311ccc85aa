// DestroyWindow: WM_DESTROY to the window and then its children, WM_NCDESTROY from the children up;
// children are gone before their parent, and every handle of the tree becomes stale.
#include <algorithm>
#include <vector>

#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

// WM_DESTROY to the window, then to its children, from the top down; `announced` collects them.
void announce(HWND h, std::vector<HWND>& announced) {
  SendMessageA(h, WM_DESTROY, 0, 0);
  announced.push_back(h);
  WindowObject* w = window_get(h);
  if (!w) return;
  std::vector<HWND> children = w->children;  // a handler may create or destroy children
  for (HWND child : children)
    if (WindowObject* c = window_get(child); c && !c->destroying) {
      c->destroying = true;
      announce(child, announced);
    }
}

// WM_NCDESTROY from the bottom up, and the records go. Children made during WM_DESTROY are
// destroyed too; a child another DestroyWindow is taking down is left to it.
void finish(HWND h, bool destroy_native, std::vector<HWND>& announced) {
  for (;;) {
    WindowObject* w = window_get(h);
    if (!w || w->children.empty()) break;
    HWND child = w->children.front();
    WindowObject* c = window_get(child);
    if (c && !c->destroying) {
      c->destroying = true;
      announce(child, announced);
    }
    if (c && std::find(announced.begin(), announced.end(), child) != announced.end())
      finish(child, false, announced);  // native subwindows go down with their parent's
    else
      w->children.erase(w->children.begin());
  }
  SendMessageA(h, WM_NCDESTROY, 0, 0);

  WindowObject* w = window_get(h);
  if (!w) return;
  input_forget_window(h);
  window_forget_activation(h);
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
  native_window_destroy(w, destroy_native);
  if (w->window_class) w->window_class->windows--;
  window_list_remove(h);
  handle_remove(h);
}

}  // namespace
}  // namespace plat

// A child's parent hears of it first; a shown window is hidden, so that activation and focus move
// on; then the messages of destruction.
BOOL DestroyWindow(HWND window) {
  // A message box and its controls belong to its modal loop, which ends them; taking their records
  // away beneath it would leave it with stale ones. Windows refuses another thread's windows too.
  if (plat::BoxWindowState box; plat::box_state(window, &box)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  plat::WindowObject* w = plat::window_checked(window);
  if (!w || w->destroying) return FALSE;
  w->destroying = true;
  if (w->parent) plat::window_notify_parent(window, WM_DESTROY);
  plat::window_hide_for_destruction(window);
  if ((w = plat::window_get(window)) && w->parent == 0) plat::window_activate_other(window);
  if (!plat::window_get(window)) return TRUE;
  std::vector<HWND> announced;
  plat::announce(window, announced);
  plat::finish(window, true, announced);
  return TRUE;
}

BOOL IsWindow(HWND window) {
  if (plat::BoxWindowState box; plat::box_state(window, &box)) return TRUE;
  return plat::window_checked(window) ? TRUE : FALSE;
}
