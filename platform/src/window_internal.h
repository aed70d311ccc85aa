// What the window service offers the other services of the layer.
#pragma once

#include <windows.h>
#include <X11/Xlib.h>

namespace plat {

// The instance that stands for the system's own module: the classes the system registers are global
// and carry it, and asking for a class with it finds those alone.
constexpr HINSTANCE kSystemModule = 0x7FF00000u;

// The X window that holds a window's client area; 0 for a destroyed window or a stale handle.
::Window x_window(HWND window);

// The window whose client area is the X window `xw`; 0 when it is none of ours.
HWND window_from_x(::Window xw);

// Gives the window an X visual that a GL frame-buffer configuration needs. When the window already
// has that visual nothing happens; otherwise its X window is replaced by one with the same
// geometry, title, state and children. False when the window is not live.
bool window_use_visual(HWND window, Visual* visual, int depth);

}  // namespace plat
