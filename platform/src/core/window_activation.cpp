// Activation: one top-level window of the program is the active one, the foreground window while
// the program is in front. It changes inside the call that changes it (showing, SetFocus,
// SetForegroundWindow, hiding, destruction) with the messages in the order Windows sends them, and
// when the window system moves the keyboard focus between our windows and others'.
#include <algorithm>
#include <vector>

#include "backend_reports.h"
#include "input_state.h"
#include "message_box_registry.h"
#include "native_backend.h"
#include "window_object.h"

namespace plat {
namespace {

HWND g_active = 0;
bool g_program_active = false;
std::vector<HWND> g_recent;  // top-level windows by their last activation, the latest last

HWND live_active() {
  if (g_active && !window_get(g_active)) g_active = 0;
  return g_active;
}

void send_activate_program(bool active) {
  std::vector<HWND> top_level;
  for (HWND h : window_list())
    if (WindowObject* w = window_get(h); w && w->parent == 0) top_level.push_back(h);
  for (HWND h : top_level) SendMessageA(h, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
}

// Without a window manager nobody else gives a shown window the keyboard.
void give_native_focus(HWND h) {
  WindowObject* w = window_get(h);
  if (w && w->mapped) native_window_focus(w, true);
}

}  // namespace

void window_activate(HWND to, bool native_focus) {
  if (to && (!window_get(to) || window_get(to)->parent != 0)) return;
  HWND from = live_active();
  if (from == to) return;
  g_active = to;
  if (from) {
    SendMessageA(from, WM_NCACTIVATE, FALSE, 0);
    if (window_get(from)) SendMessageA(from, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0), to);
  }
  if (g_active != to) return;  // the old window's procedure activated another one
  if (to && !window_get(to)) return;
  if (static_cast<bool>(to) != g_program_active) {
    g_program_active = to != 0;
    send_activate_program(g_program_active);
  }
  if (!to) {
    input_move_focus(0);
    return;
  }
  g_recent.erase(std::remove(g_recent.begin(), g_recent.end(), to), g_recent.end());
  g_recent.push_back(to);
  if (native_focus) give_native_focus(to);
  SendMessageA(to, WM_NCACTIVATE, TRUE, 0);
  if (WindowObject* w = window_get(to))
    SendMessageA(to, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, (w->style & WS_MINIMIZE) ? 1 : 0), from);
  // DefWindowProcA gave the window the focus; a procedure of its own may have chosen a child.
  HWND focus = input_focus_window();
  if (live_active() == to && (!focus || window_root(focus) != to)) input_move_focus(to);
}

void window_activate_other(HWND leaving, bool stay_if_none) {
  if (live_active() != leaving) return;
  for (auto it = g_recent.rbegin(); it != g_recent.rend(); ++it) {
    WindowObject* w = window_get(*it);
    if (*it != leaving && w && w->mapped && !w->destroying) {
      window_activate(*it, true);
      return;
    }
  }
  if (!stay_if_none) window_activate(0, false);
}

void window_forget_activation(HWND h) {
  if (g_active == h) g_active = 0;
  g_recent.erase(std::remove(g_recent.begin(), g_recent.end(), h), g_recent.end());
}

// The native focus is where the user (or a window manager) put it: one of our windows becomes
// active, or, when the focus left for another program's window, none. A focus event that is already
// out of date when it is read changes nothing.
void report_keyboard_focus(HWND window, bool gained, HWND holder) {
  HWND now = window_root(holder);
  if (now) {
    if (WindowObject* w = window_get(now); w && w->mapped && !w->destroying && now != live_active())
      window_activate(now, false);
    return;
  }
  if (!gained && live_active() == window_root(window)) window_activate(0, false);
}

}  // namespace plat

HWND GetActiveWindow(void) { return plat::live_active(); }

// The foreground window is our active window while the program is in front; another program's
// window is none of ours to name.
HWND GetForegroundWindow(void) {
  // While a message box has the keyboard, it is the window in front (asked from any thread).
  if (HWND box = plat::box_foreground()) return box;
  return plat::live_active();
}

BOOL SetForegroundWindow(HWND window) {
  if (!plat::window_checked(window)) return FALSE;
  HWND root = plat::window_root(window);
  plat::WindowObject* w = plat::window_get(root);
  if (!w) return FALSE;
  plat::window_activate(root, false);
  // The activation's messages may have destroyed the window.
  if ((w = plat::window_get(root))) plat::native_window_bring_to_front(w);
  return TRUE;
}
