// The one connection to the X server that every service of the layer shares.
#pragma once

#include <X11/Xlib.h>

namespace plat {

// Opens the connection on first use (from $DISPLAY) and returns it; nullptr when no display can be
// opened. X protocol errors never abort the program: they are recorded and the failing call reports
// failure through its own result. Losing the server ends the program with a message and status 1.
Display* x_display();

// The last X protocol error code seen since the previous call (0 when none), and clears it. Lets a
// service test whether a request it just made was refused, after XSync.
int x_take_error();

// The default screen's size in pixels (0 x 0 without a display).
int x_screen_width();
int x_screen_height();

// Interned atoms, cached.
Atom x_atom(const char* name);

}  // namespace plat
