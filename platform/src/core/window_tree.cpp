// Parents, control identifiers and the window's 32-bit values. A shown message box and its
// controls answer from any thread.
#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

HWND GetParent(HWND window) {
  if (plat::BoxWindowState box; plat::box_state(window, &box)) return box.parent;
  plat::WindowObject* w = plat::window_checked(window);
  return w ? w->parent : 0;
}

HWND GetAncestor(HWND window, UINT flags) {
  if (plat::BoxWindowState box; plat::box_state(window, &box))
    return flags == GA_PARENT ? box.parent : box.parent ? box.parent : window;
  plat::WindowObject* w = plat::window_get(window);
  if (!w) return 0;
  if (flags == GA_PARENT) return w->parent;
  return plat::window_root(window);
}

int GetDlgCtrlID(HWND window) {
  if (plat::BoxWindowState box; plat::box_state(window, &box)) return box.id;
  plat::WindowObject* w = plat::window_checked(window);
  return w && w->parent ? w->id : 0;
}

HWND GetDlgItem(HWND dialog, int id) {
  if (HWND control; plat::box_control(dialog, id, &control)) return control;
  // A stale dialog leaves the error code alone, as Wine does (GetDlgItemTextA relies on it).
  plat::WindowObject* w = plat::window_get(dialog);
  if (!w) return 0;
  for (HWND child : w->children) {
    const plat::WindowObject* c = plat::window_get(child);
    if (c && !c->destroying && c->id == id) return child;
  }
  return 0;
}

LONG GetWindowLongA(HWND window, int index) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w) return 0;
  switch (index) {
    case GWL_STYLE:
      return static_cast<LONG>(w->style);
    case GWL_EXSTYLE:
      return static_cast<LONG>(w->ex_style);
    case GWL_ID:
      return w->id;
    case GWL_USERDATA:
      return w->user_data;
    default:
      return 0;
  }
}

LONG SetWindowLongA(HWND window, int index, LONG value) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w) return 0;
  LONG previous = GetWindowLongA(window, index);
  switch (index) {
    case GWL_ID:
      w->id = value;
      break;
    case GWL_USERDATA:
      w->user_data = value;
      break;
    default:
      return 0;  // styles are fixed at creation here
  }
  return previous;
}
