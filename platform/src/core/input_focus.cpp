// Keyboard focus: one window of the active top-level window (or none) has it.
#include "input_state.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

HWND g_focus = 0;

}  // namespace

void input_move_focus(HWND to) {
  HWND from = input_focus_window();
  if (from == to) return;
  g_focus = to;
  if (from && window_get(from)) SendMessageA(from, WM_KILLFOCUS, to, 0);
  if (to && window_get(to) && g_focus == to) SendMessageA(to, WM_SETFOCUS, from, 0);
}

void input_drop_focus(HWND h) {
  if (g_focus == h) g_focus = 0;
}

HWND input_focus_window() {
  if (g_focus && !window_get(g_focus)) g_focus = 0;
  return g_focus;
}

}  // namespace plat

// Focus on a window of an inactive top-level window activates that window first.
HWND SetFocus(HWND window) {
  HWND previous = plat::input_focus_window();
  if (window == 0) {
    plat::input_move_focus(0);
    return previous;
  }
  plat::WindowObject* target = plat::window_checked(window);
  if (!target) return 0;
  HWND root = plat::window_root(window);
  if (root != GetActiveWindow()) {
    plat::window_activate(root, false);
    if (!plat::window_get(window)) return 0;
  }
  plat::WindowObject* root_window = plat::window_get(root);
  if (root_window && root_window->mapped) plat::native_window_focus(root_window, false);
  plat::input_move_focus(window);
  return previous;
}

HWND GetFocus(void) { return plat::input_focus_window(); }
