// The X display and X windows behind the layer's handles, for programs that make their own Xlib
// calls. (The GLX context of a rendering context is given out by wgl_context.cpp, which owns it.)
#include <win/native_x11.h>

#include "window_internal.h"
#include "x_display.h"

Display* ZelvoXDisplay(void) { return plat::x_display(); }

Window ZelvoXWindow(HWND window) { return plat::x_window(window); }
