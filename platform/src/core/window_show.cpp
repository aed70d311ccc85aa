// ShowWindow and UpdateWindow.
#include "input_state.h"
#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

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

namespace plat {
namespace {

// `h` is `ancestor` or lies inside it.
bool within(HWND h, HWND ancestor) {
  while (h) {
    if (h == ancestor) return true;
    WindowObject* w = window_get(h);
    if (!w) return false;
    h = w->parent;
  }
  return false;
}

bool activates(int command) {
  switch (command) {
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
    case SW_SHOWMINNOACTIVE:
    case SW_MINIMIZE:
    case SW_FORCEMINIMIZE:
    case SW_HIDE:
      return false;
    default:
      return true;
  }
}

// Hides a shown window: WM_SHOWWINDOW (unless `quiet`, as for a top-level window being destroyed),
// the position messages around the unmapping, then the activation and the focus move on.
void hide(HWND window, bool quiet) {
  if (!quiet) SendMessageA(window, WM_SHOWWINDOW, FALSE, 0);
  WINDOWPOS pos = window_place(
      window, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (!window_pos_changing(window, pos)) return;
  WindowObject* w = window_get(window);
  if (!w || !w->mapped) return;
  w->mapped = false;
  w->style &= ~static_cast<DWORD>(WS_VISIBLE);
  native_window_hide(w);
  pos.flags |= kSwpNoClientSize | kSwpNoClientMove;
  window_pos_changed(window, pos);
  if (!window_get(window)) return;
  if (w->parent == 0) {
    window_activate_other(window);
  } else if (within(GetFocus(), window)) {
    SetFocus(w->parent);  // the focus goes back to the parent
  }
}

// Shows a hidden window: WM_SHOWWINDOW, the position messages around the mapping and, for a
// top-level window shown with activation, the activation inside them.
void show(HWND window, bool activate) {
  SendMessageA(window, WM_SHOWWINDOW, TRUE, 0);
  WindowObject* w = window_get(window);
  if (!w) return;
  activate = activate && w->parent == 0;
  WINDOWPOS pos = window_place(window, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW |
                                           (activate ? 0u : static_cast<UINT>(SWP_NOACTIVATE)));
  if (!window_pos_changing(window, pos) || !(w = window_get(window)) || w->mapped) return;
  w->mapped = true;
  w->style |= WS_VISIBLE;
  native_window_show(w, activate);
  if (!(w = window_get(window))) return;
  window_invalidate(w, nullptr, true);
  if (activate) window_activate(window, false);
  pos.flags |= kSwpNoClientSize | kSwpNoClientMove;
  window_pos_changed(window, pos);
  // An overlapped window created hidden hears of its size and place now.
  if ((w = window_get(window)) && w->size_pending) {
    w->size_pending = false;
    SendMessageA(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(w->client_width, w->client_height));
    if ((w = window_get(window)))
      SendMessageA(window, WM_MOVE, 0, MAKELPARAM(w->client_x, w->client_y));
  }
}

bool minimizes(int command) {
  return command == SW_MINIMIZE || command == SW_SHOWMINIMIZED || command == SW_SHOWMINNOACTIVE ||
         command == SW_FORCEMINIMIZE;
}

// Minimises or restores a shown top-level window: the focus leaves a window being minimised, the
// position messages carry the size limits and the new client area, and DefWindowProcA's WM_SIZE
// says which it is. Minimising with SW_MINIMIZE activates the window before it, if any; restoring
// gives the focus back.
void set_minimized(HWND window, int command) {
  WindowObject* w = window_get(window);
  const bool minimize = minimizes(command);
  if (!w || w->parent != 0 || ((w->style & WS_MINIMIZE) != 0) == minimize) return;
  if (minimize && within(GetFocus(), window)) input_move_focus(0);
  WINDOWPOS pos = window_place(window, SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED |
                                           (minimize ? static_cast<UINT>(SWP_SHOWWINDOW) : 0u));
  if (!window_pos_changing(window, pos)) return;
  window_track_size(window, pos.cx, pos.cy);
  if (!(w = window_get(window))) return;
  NCCALCSIZE_PARAMS params{};
  params.rgrc[0] = params.rgrc[1] = window_rect_in_parent(w);
  params.rgrc[2] =
      RECT{w->client_x, w->client_y, w->client_x + w->client_width, w->client_y + w->client_height};
  params.lppos = &pos;
  SendMessageA(window, WM_NCCALCSIZE, TRUE, PtrToLParam(&params));
  if (!(w = window_get(window))) return;
  if (minimize)
    w->style |= WS_MINIMIZE;
  else
    w->style &= ~static_cast<DWORD>(WS_MINIMIZE);
  native_window_set_minimized(w, minimize);
  pos.flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
  window_pos_changed(window, pos);
  if (!window_get(window)) return;
  if (minimize) {
    if (command == SW_MINIMIZE) window_activate_other(window, true);
  } else if (activates(command)) {
    if (GetActiveWindow() != window) {
      window_activate(window, true);
    } else {
      input_move_focus(window);
      if (window_get(window)) SendMessageA(window, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0), 0);
    }
  }
}

}  // namespace

void window_hide_for_destruction(HWND window) {
  WindowObject* w = window_get(window);
  if (w && w->mapped) hide(window, w->parent == 0);
}

}  // namespace plat

BOOL ShowWindow(HWND window, int command) {
  plat::WindowObject* w = plat::window_checked(window);
  if (!w) return FALSE;
  BOOL was_visible = w->mapped ? TRUE : FALSE;
  if (command == SW_HIDE) {
    if (w->mapped) plat::hide(window, false);
    return was_visible;
  }
  const bool minimize = plat::minimizes(command);
  if (!w->mapped) plat::show(window, plat::activates(command) && !minimize);
  w = plat::window_get(window);
  const bool restore = command == SW_RESTORE || command == SW_SHOWNORMAL ||
                       command == SW_SHOWDEFAULT || command == SW_SHOWNOACTIVATE;
  if (w && (minimize || restore)) plat::set_minimized(window, command);
  return was_visible;
}

BOOL IsIconic(HWND window) {
  plat::WindowObject* w = plat::window_checked(window);
  return w && (w->style & WS_MINIMIZE) ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND window) {
  // A message box is visible once it is on the screen (asked from any thread).
  if (plat::BoxWindowState box; plat::box_state(window, &box)) return box.visible ? TRUE : FALSE;
  plat::WindowObject* w = plat::window_checked(window);
  return w && plat::visible_on_screen(w) ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND window) {
  if (!plat::window_checked(window)) return FALSE;
  plat::update_tree(window);
  return TRUE;
}
