// The X side of the window service: the native part of a window record, and what the other X
// services of the backend ask of it.
#pragma once

#include <windows.h>
#include <X11/Xlib.h>

#include "window_object.h"

namespace plat {

// What the X backend keeps about one window.
struct NativeWindow {
  ::Window xwindow = 0;
  Visual* visual = nullptr;  // nullptr: the parent's visual
  int depth = 0;
  Colormap colormap = 0;  // our own, made for a non-default visual
  int border_width = 0;   // an X border stands for the one-pixel WS_BORDER of a caption-less window
  bool reparented = false;  // a window manager put our top-level window into its frame
};

// The X window of a window record; 0 when it has none.
inline ::Window xwindow_of(const WindowObject* w) {
  return w && w->native ? w->native->xwindow : 0;
}

// The X window that holds a window's client area; 0 for a destroyed window or a stale handle.
::Window x_window(HWND window);

// The window whose client area is the X window `xw`; 0 when it is none of ours.
HWND window_from_x(::Window xw);

// Gives the window an X visual that a GL frame-buffer configuration needs. When the window already
// has that visual nothing happens; otherwise its X window is replaced by one with the same
// geometry, title, state and children. False when the window is not live.
bool window_use_visual(HWND window, Visual* visual, int depth);

// The X window -> window map behind window_from_x.
void window_register_x(::Window xw, HWND h);
void window_unregister_x(::Window xw);

// True when a window manager runs on the display (it announces itself on the root window).
bool x_window_manager_running();

// The class cursor and icon on the window's X window.
void window_apply_class_looks(WindowObject* w);

// Sets title, hints, protocols, cursor, icon and shape on the window's current X window.
void window_apply_x_attributes(WindowObject* w);
void window_set_x_title(WindowObject* w);
// Position and, for fixed-size captioned windows, min = max size for the window manager.
void window_set_size_hints(WindowObject* w);
void window_apply_shape(WindowObject* w);
::Window window_create_x(WindowObject* w, ::Window x_parent);
// Maps the X window; for a top-level window waits (bounded) until the server reports it mapped.
// A window shown without activation asks the window manager not to focus it; with `activate` and no
// window manager, the window takes the X keyboard focus.
void window_map_x(WindowObject* w, bool activate);

}  // namespace plat
